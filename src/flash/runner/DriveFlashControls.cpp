#include "flash/runner/DriveFlashControls.h"

namespace quendrel {

namespace {

enum class Rule { Keep, Enable, Disable, FollowLogOutput };

struct StateRules {
  Rule chkLogOutput;
  Rule LogFile;
  Rule Source;
  Rule ExecuteMode;
  Rule Start;
  Rule Pause;
  Rule Navigation;
};

// A paused script keeps its file, address and log settings until it is dropped.
constexpr StateRules kIdle{Rule::Enable, Rule::FollowLogOutput, Rule::Enable, Rule::Enable,
                           Rule::Enable, Rule::Disable,         Rule::Disable};
constexpr StateRules kRunning{Rule::Disable, Rule::Disable, Rule::Disable, Rule::Disable,
                              Rule::Disable, Rule::Enable,  Rule::Disable};
constexpr StateRules kPaused{Rule::Keep,   Rule::Keep,    Rule::Keep,  Rule::Enable,
                             Rule::Enable, Rule::Disable, Rule::Enable};

const StateRules& RulesOf(DriveFlashState state) {
  switch (state) {
    case DriveFlashState::Running:
      return kRunning;
    case DriveFlashState::Paused:
      return kPaused;
    case DriveFlashState::Idle:
      break;
  }
  return kIdle;
}

void Apply(Rule rule, bool& enabled, bool logOutput) {
  switch (rule) {
    case Rule::Keep:
      return;
    case Rule::Enable:
      enabled = true;
      return;
    case Rule::Disable:
      enabled = false;
      return;
    case Rule::FollowLogOutput:
      enabled = logOutput;
      return;
  }
}

}  // namespace

void ApplyDriveFlashState(DriveFlashControls& controls, DriveFlashState state) {
  const StateRules& rules = RulesOf(state);
  const bool log = controls.chkLogOutput;
  Apply(rules.chkLogOutput, controls.chkLogOutputEnabled, log);
  Apply(rules.LogFile, controls.LogFileEnabled, log);
  Apply(rules.Source, controls.SourceEnabled, log);
  Apply(rules.ExecuteMode, controls.ExecuteModeEnabled, log);
  Apply(rules.Start, controls.StartEnabled, log);
  Apply(rules.Pause, controls.bPauseFlashEnabled, log);
  Apply(rules.Navigation, controls.NavigationEnabled, log);
  controls.Focus = state == DriveFlashState::Running ? DriveFlashFocus::PauseButton : DriveFlashFocus::StartButton;
  ++controls.FocusRequests;
}

}  // namespace quendrel
