// Runs one parsed statement of a version-2 script: expressions, assignments, jumps, loops and calls.
#pragma once

#include <vector>

#include "comms/functions/dfResponseCodes.h"
#include "flash/language/ParseTreeNode.h"
#include "foundation/values/Variant.h"

namespace quendrel {

class IFlashCommandFile;
class ProgressServer;

using ScriptValueList = std::vector<Variant>;

class ScriptEvaluator {
 public:
  // Runs a whole statement. A value some operand or argument cannot take ends the statement with
  // dfResponseGeneralError and an empty value, nothing assigned; no such error escapes.
  static Variant ExecuteStatement(const ParseTreeNodePtr& node, IFlashCommandFile& ffile, ProgressServer* prog,
                                  dfResponseCodes& ErrCode);

  // Evaluates one node; errors in operands raise RuntimeError. blnLhs asks an identifier for its
  // name instead of its value.
  static Variant Execute(const ParseTreeNodePtr& node, IFlashCommandFile& ffile, ProgressServer* prog,
                         dfResponseCodes& ErrCode, bool blnLhs);

  // The argument list of a call, evaluated as values or as names.
  static ScriptValueList EvaluateList(const ParseTreeNodePtr& node, IFlashCommandFile& ffile, ProgressServer* prog,
                                      dfResponseCodes& ErrCode, bool blnLhs);
};

}  // namespace quendrel
