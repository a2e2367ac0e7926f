// The drive flash window's controls as its core keeps them, and the three states its handlers put
// them in: idle (no script, or after a finish or a failure), running and paused.
#pragma once

#include <string>

namespace quendrel {

enum class DriveFlashState { Idle, Running, Paused };

// The control the window gives the focus to when the core asks.
enum class DriveFlashFocus { StartButton, PauseButton };

struct DriveFlashControls {
  std::string tbFileName;
  std::string tbDriveAddress = "1";
  bool chkLogOutput = false;
  std::string tbLogFile = "flash.log";
  // "Single Step" chosen; "Execute Entire File" otherwise. Decides which of bStartFlash and
  // bSingleStep shows: they sit in the same place.
  bool SingleStepMode = false;
  std::string lblStatus;
  // lblSubProgress; tpbSubProgress is shown and hidden by the progress service.
  bool lblSubProgressVisible = false;

  bool chkLogOutputEnabled = true;
  bool LogFileEnabled = false;     // tbLogFile and bBrowseLog
  bool SourceEnabled = true;       // tbDriveAddress, tbFileName and bBrowse
  bool ExecuteModeEnabled = true;  // both rbExecuteMode
  bool StartEnabled = true;        // bStartFlash and bSingleStep
  bool bPauseFlashEnabled = false;
  bool NavigationEnabled = false;  // bSkipBack, bSkipFwd and bReset

  // A request, not a state: the window moves the focus each time the count changes, so that a
  // repaint never takes the focus from the box the user types in.
  DriveFlashFocus Focus = DriveFlashFocus::StartButton;
  int FocusRequests = 0;
};

// Sets every control the state rules and asks for the state's focus: the visible one of Start and
// Single Step when idle or paused, Pause while running.
void ApplyDriveFlashState(DriveFlashControls& controls, DriveFlashState state);

}  // namespace quendrel
