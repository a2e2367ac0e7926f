// The drive flash window without its widgets: loads a version-2 or version-1 script or a package's
// root script, runs it whole or statement by statement with pause, skips, reset and seeking, reports
// every failed step, logs, and holds the communication module for the script while it is loaded.
// The window renders View() after every handler and at once whenever OnChanged fires inside one
// (before each pump of a run); it forwards only what the user did.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "comms/functions/dfResponseCodes.h"
#include "flash/runner/DriveFlashControls.h"
#include "flash/runner/ScriptReservation.h"
#include "flash/scripts/IFlashCommandFile.h"
#include "flash/scripts/ScriptEnvironment.h"
#include "foundation/progress/ProgressServer.h"

namespace quendrel {

class FUPFile;

struct DriveFlashLinks {
  // The scripts' services, and the window's: its questions and pump go through ui, the parse time
  // is measured on clock, contexts come from commServer and the settings live in settings.
  ScriptEnvironment Environment;
  // The main window's status text.
  std::function<void(const std::string&)> MainStatus;
  // The controls the progress service writes to; any may be null.
  std::shared_ptr<ProgressTextBarSink> tpbProgress;
  std::shared_ptr<ProgressTextBarSink> tpbSubProgress;
  std::shared_ptr<ProgressTextBoxSink> tbCommand;
  std::shared_ptr<ProgressTextBoxSink> tbData;
  std::shared_ptr<ProgressClientSink> Client;
};

class DriveFlash {
 public:
  explicit DriveFlash(DriveFlashLinks links);
  ~DriveFlash();
  DriveFlash(const DriveFlash&) = delete;
  DriveFlash& operator=(const DriveFlash&) = delete;

  const DriveFlashControls& View() const { return controls_; }
  void OnChanged(std::function<void()> handler) { onChanged_ = std::move(handler); }

  // Idle controls and the boxes filled from the settings; no script.
  void Form_Load();
  // Writes the settings back and drops the script.
  void Form_Unload();
  // False while a run or step is under way: the close is remembered, the run stops after its
  // current step, and CloseRequested() tells the window to close once the handler has returned.
  bool QueryClose();
  // The window is to close (a close during a run, or a script that aborted) once no handler runs.
  bool CloseRequested() const { return closeRequested_ && !running_; }
  bool Running() const { return running_; }

  void bBrowse_Click();
  void bBrowseLog_Click();
  void chkLogOutput_Click(bool ticked);
  void rbExecuteMode_Click(bool singleStep);
  void tbFileName_Change(std::string text);
  void tbLogFile_Change(std::string text);
  void tbDriveAddress_Change(std::string_view text);
  void bStartFlash_Click();
  void bSingleStep_Click();
  void bPauseFlash_Click();
  void bSkipFwd_Click();
  void bSkipBack_Click();
  void bReset_Click();
  // A press or release of any button, or a move with the left button held, over the progress bar:
  // the bar's value under the mouse.
  void tpbProgress_Mouse(float value);

  // The script loaded now, or nullptr.
  IFlashCommandFile* Script() const { return script_.get(); }
  ProgressServer& Progress() { return progress_; }

 private:
  class RunScope;

  UiServices& Ui() const { return *links_.Environment.ui; }
  void Changed();
  void SetState(DriveFlashState state);
  std::unique_ptr<IFlashCommandFile> LoadScriptFile(const std::string& path);
  std::unique_ptr<IFlashCommandFile> LoadByKind(const std::string& path);
  bool OpenLog(IFlashCommandFile& script, const std::string& path, double parseSeconds);
  // The address in the box; nothing, after telling the user, when it names no drive.
  std::optional<std::uint8_t> AddressForRun();
  bool LoadForStep();
  bool StepOnce();
  void StartScript(std::uint8_t address);
  void OpenContext();
  void RunLoop();
  dfResponseCodes StepAndReport();
  dfResponseCodes Report(dfResponseCodes code);
  void RetryLastStatement();
  void Finish(dfResponseCodes code);
  void Pause();
  void DropScript();
  void EditSource(std::string& box, std::string text);
  void ShowCurrentCommand();
  void MoveTo(std::int32_t pc);
  void SetProgramCounter(std::int32_t target);
  void ShowStatus(const std::string& text);
  void ShowSubProgress(bool visible);

  DriveFlashLinks links_;
  DriveFlashControls controls_;
  ProgressServer progress_;
  std::shared_ptr<FUPFile> package_;
  std::unique_ptr<IFlashCommandFile> script_;
  ScriptReservation reservation_;
  std::function<void()> onChanged_;
  bool running_ = false;
  bool closeRequested_ = false;
};

}  // namespace quendrel
