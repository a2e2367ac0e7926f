#include "flash/runner/DriveFlash.h"

#include <filesystem>

#include "comms/server/CommServer.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "flash/language/ScriptParser.h"
#include "flash/runner/DriveFlashAddress.h"
#include "flash/runner/DriveFlashStepReport.h"
#include "flash/runner/ScriptFileLoader.h"
#include "flash/scripts/FUPFile.h"
#include "foundation/files/BrowseForFile.h"
#include "foundation/settings/Config.h"
#include "foundation/settings/INIFile.h"
#include "foundation/settings/ParseBoolean.h"
#include "foundation/text/DateText.h"
#include "foundation/text/NumberText.h"
#include "platform/Clock.h"
#include "platform/NumberedError.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

constexpr const char* kSection = "Drive Flash";
constexpr const char* kTitle = "Drive Flash";
constexpr const char* kSuccess = "Drive Flash was successful.";
constexpr const char* kScriptFilter =
    "All Drive Flash Files (*.FLA, *.FL2, *.FUP)|*.FLA;*.FL2;*.FUP|Flash Script Files Only (*.FL2, *.FLA)|*.FL2;*.FLA|"
    "Flash Script Version 2 Files Only (*.FL2)|*.FL2|Flash Script Version 1 Files Only (*.FLA)|*.FLA|"
    "Firmware Upgrade Packages Only (*.FUP)|*.FUP|All Files (*.*)|*.*";
constexpr const char* kLogFilter = "Log Files (*.LOG)|*.LOG|Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*";

// The program's own services wherever the window was given none.
DriveFlashLinks Completed(DriveFlashLinks links) {
  ScriptEnvironment& environment = links.Environment;
  if (environment.commServer == nullptr) environment.commServer = &CommServer();
  if (environment.settings == nullptr) environment.settings = &Config();
  if (environment.clock == nullptr) environment.clock = &CurrentClock();
  if (environment.ui == nullptr) environment.ui = &quendrel::Ui();
  if (environment.parser == nullptr) environment.parser = &ScriptParser();
  return links;
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::exists(ScriptFileLoader::AbsolutePath(path), error);
}

}  // namespace

// Marks a handler that steps the script: the window's events run inside it, and none of them may
// start another step or take the window away from under it.
class DriveFlash::RunScope {
 public:
  explicit RunScope(bool& running) : running_(running) { running_ = true; }
  ~RunScope() { running_ = false; }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

 private:
  bool& running_;
};

DriveFlash::DriveFlash(DriveFlashLinks links)
    : links_(Completed(std::move(links))),
      reservation_(*links_.Environment.commServer) {}

DriveFlash::~DriveFlash() { DropScript(); }

void DriveFlash::Changed() {
  if (onChanged_) onChanged_();
}

void DriveFlash::SetState(DriveFlashState state) { ApplyDriveFlashState(controls_, state); }

void DriveFlash::ShowStatus(const std::string& text) {
  controls_.lblStatus = text;
  Changed();
}

void DriveFlash::ShowSubProgress(bool visible) {
  controls_.lblSubProgressVisible = visible;
  Changed();
}

void DriveFlash::Form_Load() {
  INIFile& settings = *links_.Environment.settings;
  controls_ = DriveFlashControls{};
  controls_.tbFileName = settings.Value("LastScriptFile", kSection);
  controls_.chkLogOutput = ParseBoolean(settings.Value("LogOutput", kSection));
  controls_.tbLogFile = settings.Value("LogFile", kSection);
  controls_.tbDriveAddress = DriveFlashAddressText(settings.Value("DriveAddress", "General"));
  SetState(DriveFlashState::Idle);
  DropScript();
  progress_.SetClient(links_.Client);
  progress_.SetupPrimary(nullptr, links_.tpbProgress, nullptr, nullptr, links_.tbCommand, nullptr, links_.tbData, 0,
                         100, 0);
  progress_.SetupSecondary(nullptr, links_.tpbSubProgress, nullptr, nullptr, nullptr, nullptr, links_.tbData, 0, 100,
                           0);
  progress_.HideAlternate();
}

void DriveFlash::Form_Unload() {
  INIFile& settings = *links_.Environment.settings;
  settings.SetValue("LastScriptFile", kSection, controls_.tbFileName);
  settings.SetValue("LogOutput", kSection, controls_.chkLogOutput ? "True" : "False");
  settings.SetValue("LogFile", kSection, controls_.tbLogFile);
  settings.SetValue("DriveAddress", "General", controls_.tbDriveAddress);
  DropScript();
}

bool DriveFlash::QueryClose() {
  if (!running_) return true;
  closeRequested_ = true;
  return false;
}

void DriveFlash::bBrowse_Click() {
  if (!controls_.SourceEnabled) return;
  const std::string path = BrowseForFile(false, kScriptFilter, 1, "Select Flash File", controls_.tbFileName);
  if (path.empty()) return;
  EditSource(controls_.tbFileName, path);
  links_.Environment.settings->SetValue("LastScriptFile", kSection, path);
}

void DriveFlash::bBrowseLog_Click() {
  if (!controls_.LogFileEnabled) return;
  const std::string path = BrowseForFile(true, kLogFilter, 1, "Save Log as...", controls_.tbLogFile);
  if (path.empty()) return;
  controls_.tbLogFile = path;
  links_.Environment.settings->SetValue("LogFile", kSection, path);
}

void DriveFlash::chkLogOutput_Click(bool ticked) {
  if (!controls_.chkLogOutputEnabled) return;
  controls_.chkLogOutput = ticked;
  controls_.LogFileEnabled = ticked;
  links_.Environment.settings->SetValue("LogOutput", kSection, ticked ? "True" : "False");
}

void DriveFlash::rbExecuteMode_Click(bool singleStep) {
  if (!controls_.ExecuteModeEnabled) return;
  controls_.SingleStepMode = singleStep;
}

void DriveFlash::tbFileName_Change(std::string text) {
  if (controls_.SourceEnabled) EditSource(controls_.tbFileName, std::move(text));
}

void DriveFlash::tbLogFile_Change(std::string text) {
  if (controls_.LogFileEnabled) controls_.tbLogFile = std::move(text);
}

void DriveFlash::tbDriveAddress_Change(std::string_view text) {
  if (controls_.SourceEnabled) EditSource(controls_.tbDriveAddress, DriveFlashAddressText(text));
}

// A script kept after a failure was loaded for the file and the address shown then. Once either box
// shows something else, the script and its hold on the line go, so the next Start loads the file
// shown for the drive shown: the rest of the old script never reaches a drive the window no longer
// names.
void DriveFlash::EditSource(std::string& box, std::string text) {
  if (box == text) return;
  box = std::move(text);
  DropScript();
}

void DriveFlash::bPauseFlash_Click() {
  if (controls_.bPauseFlashEnabled) progress_.SetSemaphore(true);
}

// --- Loading ---------------------------------------------------------------------------------------

// A script's own load tells why its file cannot be read; a package or a file of no script kind is
// looked at first, so that a folder, a pipe or a device is named as such before its kind matters.
std::unique_ptr<IFlashCommandFile> DriveFlash::LoadByKind(const std::string& path) {
  const ScriptFileLoader loader(links_.Environment);
  if (ScriptFileLoader::HasExtension(path, ".FL2") || ScriptFileLoader::HasExtension(path, ".FLA")) {
    return loader.LoadScript(path);
  }
  const std::string absolute = ScriptFileLoader::AbsolutePath(path);
  if (absolute.empty() || !loader.CheckNamedFile(absolute)) return nullptr;
  if (!ScriptFileLoader::HasExtension(path, ".FUP")) return nullptr;
  std::shared_ptr<FUPFile> package = ScriptFileLoader::LoadPackage(absolute);
  if (package->Damaged()) {
    loader.RefusePackage(path, *package);
    return nullptr;
  }
  package_ = std::move(package);
  return loader.LoadPackageRoot(package_, ScriptFileLoader::ExistingFolderOf(absolute));
}

std::unique_ptr<IFlashCommandFile> DriveFlash::LoadScriptFile(const std::string& path) {
  Clock& clock = *links_.Environment.clock;
  const double start = clock.MonotonicSeconds();
  std::unique_ptr<IFlashCommandFile> script = LoadByKind(path);
  const double parseSeconds = clock.MonotonicSeconds() - start;
  if (controls_.chkLogOutput) {
    if (script != nullptr && !OpenLog(*script, path, parseSeconds)) return nullptr;
    return script;
  }
  if (links_.MainStatus) links_.MainStatus("(Parsed in " + DoubleToText(parseSeconds) + " seconds)");
  return script;
}

// A log that cannot be opened is refused as an empty log name is, with the reason after the words.
bool DriveFlash::OpenLog(IFlashCommandFile& script, const std::string& path, double parseSeconds) {
  std::string prompt = "Unable to load Drive Flash log file.";
  bool opened = !controls_.tbLogFile.empty() && FileExists(path);
  if (opened) {
    try {
      script.SetlogFile(controls_.tbLogFile);
    } catch (const NumberedError& error) {
      prompt += "\n\n" + std::string(error.what());
      opened = false;
    }
  }
  if (!opened) {
    Ui().MsgBox(prompt, vbCritical | vbOKOnly, "Error");
    controls_.lblStatus = "Invalid Log Fileb Name.";
    SetState(DriveFlashState::Idle);
    return false;
  }
  const double now = NowSeconds(*links_.Environment.clock);
  script.Log("File Loaded: \"" + path + "\" at " + FormatTimestamp(now, false, false));
  script.Log("(Parsed in " + DoubleToText(parseSeconds) + " seconds)");
  return true;
}

std::optional<std::uint8_t> DriveFlash::AddressForRun() {
  const std::optional<std::uint8_t> address = DriveFlashAddressByte(controls_.tbDriveAddress);
  if (address) return address;
  Ui().MsgBox("Invalid drive address.", vbCritical | vbOKOnly, "Error");
  controls_.lblStatus.clear();
  SetState(DriveFlashState::Idle);
  return std::nullopt;
}

void DriveFlash::StartScript(std::uint8_t address) {
  script_->SetProgress(&progress_);
  script_->Reset();
  script_->SetAddress(address);
  script_->SetSubProgressHook([this](bool visible) { ShowSubProgress(visible); });
  progress_.SetMin(1);
  progress_.SetMax(script_->ProgramLength());
  progress_.SetProgress(1);
}

// Every press of Start opens a fresh context; the module is held for it, so no other window's frame
// can fall into the loader session the script may start.
void DriveFlash::OpenContext() {
  GIOServer& server = *links_.Environment.commServer;
  const std::shared_ptr<GIOContext> context = server.OpenContext(script_->Address(), script_->Timeout());
  reservation_.Hold(context);
  script_->SetContext(context);
}

void DriveFlash::DropScript() {
  reservation_.Release();
  script_.reset();
}

// --- Running ---------------------------------------------------------------------------------------

void DriveFlash::bStartFlash_Click() {
  if (!controls_.StartEnabled || running_) return;
  const RunScope scope(running_);
  SetState(DriveFlashState::Running);
  controls_.lblStatus = "Executing Drive Flash script...";
  progress_.SetSemaphore(false);
  Changed();
  if (script_ == nullptr) {
    const std::optional<std::uint8_t> address = AddressForRun();
    if (!address) return;
    script_ = LoadScriptFile(controls_.tbFileName);
    if (script_ == nullptr) {
      Ui().MsgBox("Unable to load Drive Flash file.", vbCritical | vbOKOnly, "Error");
      controls_.lblStatus = "Couldn't load Drive Flash script.";
      SetState(DriveFlashState::Idle);
      return;
    }
    StartScript(*address);
  }
  OpenContext();
  RunLoop();
}

void DriveFlash::RunLoop() {
  dfResponseCodes code = dfResponseOK;
  for (;;) {
    code = StepAndReport();
    if (code == dfResponseAbort) {
      closeRequested_ = true;
      DropScript();
      return;
    }
    ShowCurrentCommand();
    if (closeRequested_) {
      DropScript();
      return;
    }
    if (progress_.Semaphore()) {
      progress_.SetSemaphore(false);
      break;
    }
    if (code == dfResponseOK || code == dfResponseIgnore) continue;
    if (code != dfResponseRetry) break;
    RetryLastStatement();
    Ui().PumpMessages();
  }
  Finish(code);
}

void DriveFlash::Finish(dfResponseCodes code) {
  if (code == dfResponseOK) return Pause();
  if (code == dfResponseEOF) {
    Ui().MsgBox(kSuccess, vbInformation | vbOKOnly, kTitle);
    controls_.lblStatus = "Finished";
    DropScript();
  }
  SetState(DriveFlashState::Idle);
}

void DriveFlash::Pause() {
  controls_.lblStatus = "Paused";
  SetState(DriveFlashState::Paused);
  ShowCurrentCommand();
}

dfResponseCodes DriveFlash::StepAndReport() {
  if (script_ == nullptr) return dfResponseAbort;
  const dfResponseCodes code = script_->singleStep();
  if (code == dfResponseAbort) return code;
  const bool failed = FindDriveFlashStepReport(code) != nullptr;
  const dfResponseCodes reported = failed && script_->NoErrors() ? dfResponseOK : Report(code);
  Changed();
  Ui().PumpMessages();
  return reported;
}

dfResponseCodes DriveFlash::Report(dfResponseCodes code) {
  const DriveFlashStepReport* report = FindDriveFlashStepReport(code);
  if (report == nullptr) return code;
  if (report->Status != nullptr) ShowStatus(report->Status);
  if (!report->MayRetry) {
    Ui().MsgBox(report->Prompt, vbInformation | vbOKOnly, kTitle);
    DropScript();
    return code;
  }
  const int answer = Ui().MsgBox(report->Prompt, vbInformation | vbAbortRetryIgnore, kTitle);
  if (report->StatusAnswered != nullptr) {
    ShowStatus(report->StatusAnswered);
    ShowStatus("Paused");
  }
  if (answer == vbAbort) {
    DropScript();
    return code;
  }
  if (answer == vbRetry) {
    RetryLastStatement();
    return code;
  }
  return dfResponseOK;
}

// The statement that failed runs again, wherever its failure left the program counter: a jump
// inside it, or the end of the script after a failed last statement.
void DriveFlash::RetryLastStatement() {
  if (script_ != nullptr && script_->LastExecuted() > 0) script_->SetPC(script_->LastExecuted());
}

void DriveFlash::bSingleStep_Click() {
  if (!controls_.StartEnabled || running_) return;
  const RunScope scope(running_);
  SetState(DriveFlashState::Running);
  controls_.lblStatus = "Single Stepping...";
  Changed();
  if (script_ == nullptr) {
    if (!LoadForStep()) return;
  } else if (!StepOnce()) {
    return;
  }
  Pause();
  if (script_ == nullptr) progress_.SetProgress(1);
}

// The first click only loads: the user sees statement 1 before it runs.
bool DriveFlash::LoadForStep() {
  ShowStatus("Loading Flash File...");
  const std::optional<std::uint8_t> address = AddressForRun();
  if (!address) return false;
  script_ = LoadScriptFile(controls_.tbFileName);
  if (script_ == nullptr) {
    Ui().MsgBox("Unable to load Flash file.", vbExclamation | vbOKOnly, "Flash Error");
    SetState(DriveFlashState::Idle);
    controls_.lblStatus.clear();
    return false;
  }
  StartScript(*address);
  controls_.SourceEnabled = false;
  OpenContext();
  return true;
}

// False when the step ended the script or the window.
bool DriveFlash::StepOnce() {
  const dfResponseCodes code = StepAndReport();
  if (code == dfResponseAbort || closeRequested_) {
    closeRequested_ = true;
    DropScript();
    return false;
  }
  if (code == dfResponseEOF) {
    controls_.lblStatus = "Finished";
    Ui().MsgBox(kSuccess, vbInformation | vbOKOnly, kTitle);
    DropScript();
    SetState(DriveFlashState::Idle);
    return false;
  }
  if (code == dfResponseRetry) RetryLastStatement();
  return true;
}

// --- Moving the program counter ----------------------------------------------------------------------

void DriveFlash::ShowCurrentCommand() {
  if (script_ == nullptr) return;
  const std::int32_t pc = script_->PC();
  progress_.SetProgress(pc);
  for (const auto& [box, text] : {std::pair{links_.tbCommand, script_->CommandString(pc)},
                                  std::pair{links_.tbData, script_->CommandData(pc)}}) {
    if (box == nullptr) continue;
    box->SetText(text);
    box->Refresh();
  }
}

void DriveFlash::MoveTo(std::int32_t pc) {
  script_->SetPC(pc);
  ShowCurrentCommand();
}

void DriveFlash::bSkipFwd_Click() {
  if (!controls_.NavigationEnabled || script_ == nullptr) return;
  const std::int32_t length = script_->ProgramLength();
  std::int32_t p = script_->PC();
  do {
    ++p;
  } while (p <= length && script_->CommandString(p).empty());
  if (p > length) {
    p = length;
    controls_.lblStatus = "End of file.";
  }
  MoveTo(p);
}

void DriveFlash::bSkipBack_Click() {
  if (!controls_.NavigationEnabled || script_ == nullptr) return;
  std::int32_t p = script_->PC();
  do {
    --p;
  } while (p >= 1 && script_->CommandString(p).empty());
  if (p < 1) {
    p = 1;
    controls_.lblStatus = "Beginning of file.";
  }
  MoveTo(p);
}

void DriveFlash::bReset_Click() {
  if (!controls_.NavigationEnabled) return;
  if (script_ != nullptr) script_->Reset();
  progress_.HideAlternate();
  controls_.lblSubProgressVisible = false;
  progress_.SetStatus("");
  progress_.SetDetail("");
  progress_.SetProgress(1);
  ShowCurrentCommand();
}

void DriveFlash::tpbProgress_Mouse(float value) {
  if (!controls_.NavigationEnabled || script_ == nullptr) return;
  SetProgramCounter(RoundHalfEven(value));
}

// Walks from the program counter towards the target and stops on the first statement at or past it
// that has text; the ends of the script stop the walk with a word to the user.
void DriveFlash::SetProgramCounter(std::int32_t target) {
  const std::int32_t pc = script_->PC();
  const std::int32_t length = script_->ProgramLength();
  if (target == pc) return MoveTo(pc);
  const std::int32_t step = pc > target ? -1 : 1;
  std::int32_t p = pc;
  for (;;) {
    p += step;
    if (p < 1) {
      p = 1;
      controls_.lblStatus = "Beginning of file.";
      break;
    }
    if (p > length) {
      p = length;
      controls_.lblStatus = "End of file.";
      break;
    }
    const bool reached = step > 0 ? p >= target : p <= target;
    if (reached && !script_->CommandString(p).empty()) break;
  }
  MoveTo(p);
}

}  // namespace quendrel
