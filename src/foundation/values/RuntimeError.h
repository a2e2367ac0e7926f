#pragma once

// The exception raised where an operation "raises a run-time error": a number, the class that
// raised it and a description the user can be shown.

#include <string>

#include "platform/NumberedError.h"

namespace quendrel {

// Error numbers shared with the script engine, which reports them to the user.
enum RuntimeErrorNumber : int {
  errInvalidProcedureCall = 5,
  errOverflow = 6,
  errSubscriptOutOfRange = 9,
  errTypeMismatch = 13,
  errPathFileAccess = 75,
};

class RuntimeError : public NumberedError {
 public:
  RuntimeError(int number, std::string source, std::string description);

  const std::string& Source() const { return source_; }
  const std::string& Description() const { return description_; }

 private:
  std::string source_;
  std::string description_;
};

}  // namespace quendrel
