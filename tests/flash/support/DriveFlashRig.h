// The drive flash window's core with recording controls, a scripted user, a module that answers from
// a queue and drive functions answered with chosen codes: what the window would show and send.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "comms/server/GIOServer.h"
#include "comms/support/FakeModule.h"
#include "flash/language/ParseEngine.h"
#include "flash/runner/DriveFlash.h"
#include "platform/Clock.h"
#include "platform/ScriptedUi.h"
#include "support/TempFolder.h"

namespace quendrel {

class RecordingTextBox final : public ProgressTextBoxSink {
 public:
  void SetText(const std::string& value) override { text = value; }
  void SetVisible(bool value) override { visible = value; }
  void Refresh() override { ++refreshes; }
  std::string text;
  bool visible = true;
  int refreshes = 0;
};

class RecordingTextBar final : public ProgressTextBarSink {
 public:
  void SetRange(std::int32_t low, std::int32_t high) override {
    min = low;
    max = high;
  }
  void SetValue(std::int32_t position) override { value = position; }
  void SetText(const std::string& shown) override { text = shown; }
  void SetVisible(bool shown) override { visible = shown; }
  void Refresh() override {}
  std::int32_t min = 0;
  std::int32_t max = 0;
  std::int32_t value = 0;
  std::string text;
  bool visible = true;
};

// A clock whose monotonic time moves on by a fixed tick each time it is read.
class TickingClock final : public Clock {
 public:
  double Now() const override { return now; }
  double MonotonicSeconds() const override { return ticks++ * tick; }
  void Sleep(double seconds) override { now += seconds; }
  double now = 45292.0 * 86400.0 + 3723.0;  // 01-01-2024 01:02:03
  double tick = 0.125;
  mutable int ticks = 0;
};

class DriveFlashRig {
 public:
  DriveFlashRig();
  ~DriveFlashRig();
  DriveFlashRig(const DriveFlashRig&) = delete;
  DriveFlashRig& operator=(const DriveFlashRig&) = delete;

  DriveFlash& Window() { return *window_; }
  const DriveFlashControls& View() const { return window_->View(); }
  IFlashCommandFile* Script() const { return window_->Script(); }
  // Writes the script into the rig's folder and names it in the file box.
  std::string UseScript(const std::string& name, const std::string& text);
  void Start() { window_->bStartFlash_Click(); }
  void Step() { window_->bSingleStep_Click(); }
  // The drive function calls the scripts made, as "name(arguments)".
  const std::vector<std::string>& Calls() const { return calls_; }
  // The next calls of the drive function answer these codes, in order; later ones succeed. A call
  // is worth True when it succeeds, False when it fails.
  void Answer(const std::string& name, std::initializer_list<dfResponseCodes> codes);
  // Every box the scripts and the window asked, by prompt.
  std::vector<std::string> Prompts() const { return ui.Prompts(); }

  ScriptedUi ui;
  TickingClock clock;
  GIOServer server{clock};
  FakeModule* module = nullptr;
  TempFolder folder;
  std::shared_ptr<RecordingTextBar> tpbProgress = std::make_shared<RecordingTextBar>();
  std::shared_ptr<RecordingTextBar> tpbSubProgress = std::make_shared<RecordingTextBar>();
  std::shared_ptr<RecordingTextBox> tbCommand = std::make_shared<RecordingTextBox>();
  std::shared_ptr<RecordingTextBox> tbData = std::make_shared<RecordingTextBox>();
  std::vector<std::string> mainStatus;
  // The context each drive function call ran on.
  std::vector<const GIOContext*> contexts;

 private:
  static ParseEngine& Parser();
  Variant DriveCommand(const std::string& name, const std::vector<Variant>& values, IFlashCommandFile& ffile,
                       dfResponseCodes& code);

  std::vector<std::string> calls_;
  std::map<std::string, std::deque<dfResponseCodes>> answers_;
  std::unique_ptr<DriveFlash> window_;
};

}  // namespace quendrel
