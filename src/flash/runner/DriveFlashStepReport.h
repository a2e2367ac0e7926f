// How the drive flash window reports a step that failed: its status text, its box and whether the
// user may abort, retry or ignore it.
#pragma once

#include "comms/functions/dfResponseCodes.h"

namespace quendrel {

struct DriveFlashStepReport {
  dfResponseCodes Code;
  // Shown before the box; nullptr for none.
  const char* Status;
  const char* Prompt;
  // Abort, Retry and Ignore; otherwise the box has OK and the script is dropped.
  bool MayRetry;
  // Shown once the box is answered; nullptr for none.
  const char* StatusAnswered;
};

// The report of a failure code, or nullptr for a code that is no failure (0, 1, 8 to 11).
const DriveFlashStepReport* FindDriveFlashStepReport(dfResponseCodes code);

}  // namespace quendrel
