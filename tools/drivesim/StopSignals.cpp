#include "drivesim/StopSignals.h"

namespace quendrel {
namespace {

volatile sig_atomic_t raised = 0;
sigset_t waitMask;
bool installed = false;

void OnStopSignal(int) { raised = 1; }

}  // namespace

void StopSignals::Install() {
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGTERM);
  sigaddset(&stops, SIGINT);
  sigprocmask(SIG_BLOCK, &stops, &waitMask);
  sigdelset(&waitMask, SIGTERM);
  sigdelset(&waitMask, SIGINT);
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  installed = true;
}

const sigset_t* StopSignals::WaitMask() { return installed ? &waitMask : nullptr; }

bool StopSignals::Raised() { return raised != 0; }

}  // namespace quendrel
