// How a script name reads and assigns: the script's live settings, the named constants, then the
// script's own variables; a name that is none of them reads as itself.
#pragma once

#include <string>

#include "foundation/values/Variant.h"

namespace quendrel {

class IFlashCommandFile;

class ScriptVariables {
 public:
  // ffile may be null (no running script).
  static Variant GetVariableOrConstant(IFlashCommandFile* ffile, const std::string& strToken);
  // Returns the value whatever happened to it. A value a setting cannot take raises RuntimeError
  // before anything changes, so the setting keeps its old value.
  static Variant SetVariable(IFlashCommandFile* ffile, const std::string& strVar, const Variant& vValue);
};

}  // namespace quendrel
