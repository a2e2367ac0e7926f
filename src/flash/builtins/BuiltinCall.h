// One call of a built-in command as the dispatcher hands it over: the evaluated arguments, the same
// arguments as names, the running script, its progress channel and the step's result code.
#pragma once

#include <cstddef>
#include <string>

#include "comms/functions/dfResponseCodes.h"
#include "flash/language/ScriptEvaluator.h"

namespace quendrel {

class IFlashCommandFile;
class ProgressServer;

struct BuiltinCall {
  const ScriptValueList& values;
  const ScriptValueList& names;
  IFlashCommandFile& ffile;
  ProgressServer* prog;
  dfResponseCodes& ErrCode;

  bool Has(std::size_t i) const { return values.size() >= i; }
  // 1-based; an argument the call did not give raises RuntimeError 9, which fails the statement.
  const Variant& At(std::size_t i) const;
  // The argument's text without its enclosing quotes.
  std::string Stripped(std::size_t i) const;
};

}  // namespace quendrel
