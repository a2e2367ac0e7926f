// A script call of any name that is no built-in command: the drive function of that name, run from its
// template on the script's drive connection.
#pragma once

#include <string>

#include "comms/functions/dfResponseCodes.h"
#include "flash/language/ScriptEvaluator.h"

namespace quendrel {

class IFlashCommandFile;
class ProgressServer;

class ScriptDriveFunction {
 public:
  // True when the drive function succeeded, False when it failed (ErrCode says how). A name no template
  // has asks the user to abort, retry or ignore, sets ErrCode to the answer and gives an empty value.
  static Variant CallDriveFunction(IFlashCommandFile& ffile, const std::string& name, const ScriptValueList& values,
                                   dfResponseCodes& ErrCode, ProgressServer* prog);
};

}  // namespace quendrel
