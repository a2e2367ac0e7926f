// The commands a version-2 script calls by name: the dispatcher and the built-ins that need no drive.
#pragma once

#include <string>

#include "flash/language/ScriptEvaluator.h"

namespace quendrel {

class ScriptBuiltins {
 public:
  // A built-in that reads an argument the call did not give raises RuntimeError, which ends the
  // statement as a failure.
  static Variant CallBuiltinFunction(const std::string& name, const ScriptValueList& values,
                                     const ScriptValueList& names, IFlashCommandFile& ffile, ProgressServer* prog,
                                     dfResponseCodes& ErrCode);

  // The name with a " (n)" counter before the extension of its file-name part, for the first n
  // that names no file yet; the name itself when it names none.
  static std::string UnusedFileName(const std::string& name, IFlashCommandFile& ffile);
};

}  // namespace quendrel
