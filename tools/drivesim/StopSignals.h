// Ends the simulator cleanly on SIGTERM and SIGINT: the signals are held back except while the
// loop waits, so one that arrives is seen at once and the loop returns through its destructors,
// which remove the --link symbolic link.
#pragma once

#include <signal.h>

namespace quendrel {

class StopSignals {
 public:
  // Blocks the two signals and notes the mask to wait with; call once, before the loop.
  static void Install();
  // The mask for ppoll, under which the signals can arrive; nullptr before Install.
  static const sigset_t* WaitMask();
  static bool Raised();
};

}  // namespace quendrel
