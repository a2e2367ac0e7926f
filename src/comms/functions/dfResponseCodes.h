// The result of one script step, and of one built-in command or drive function within a step.
#pragma once

#include <cstdint>

namespace quendrel {

enum dfResponseCodes : std::int32_t {
  dfResponseAbort = -1,  // the user chose to abort the script
  dfResponseOK = 0,
  dfResponseEOF = 1,  // the script has ended
  dfResponseGeneralError = 2,
  dfResponseTimeout = 3,  // the drive did not answer in time
  dfResponseEraseFailed = 4,
  dfResponseProgramFailed = 5,
  dfResponseFileNotFound = 6,  // neither on disk nor in the script's package
  dfResponseFileAlreadyExists = 7,
  dfResponseSkipLine = 8,  // the work was already done; the script goes on as after success
  dfResponseJump = 9,      // the step set the program counter itself
  dfResponseRetry = 10,    // the user chose to retry the step
  dfResponseIgnore = 11,   // the user chose to ignore the failure
};

}  // namespace quendrel
