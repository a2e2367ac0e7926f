#include "flash/language/ScriptEvaluator.h"

#include <cctype>

#include "flash/builtins/ScriptBuiltins.h"
#include "flash/language/ScriptOperators.h"
#include "flash/language/ScriptVariables.h"
#include "flash/scripts/IFlashCommandFile.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/TextChecks.h"
#include "foundation/values/RuntimeError.h"

namespace quendrel {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool IsIdentifier(const ParseTreeNode& node) { return node.Token() == "ID" || node.Token() == "SYMBOL"; }

// An argument that is nothing but a name, however many single-child levels the grammar wraps it in.
bool IsBareIdentifier(const ParseTreeNodePtr& node) {
  const ParseTreeNode* at = node.get();
  while (at != nullptr && at->Child() != nullptr && at->Child()->Sibling() == nullptr) at = at->Child().get();
  return at != nullptr && at->Child() == nullptr && IsIdentifier(*at);
}

ParseTreeNodePtr Required(const ParseTreeNodePtr& node) {
  if (node == nullptr) throw RuntimeError(errInvalidProcedureCall, "ScriptEvaluator", "Incomplete statement");
  return node;
}

void LoopJump(const ParseTreeNode& leaf, IFlashCommandFile& ffile, dfResponseCodes& ErrCode, bool isBreak) {
  if (leaf.Sibling() != nullptr) {
    ffile.SetPC(ffile.PC() + 1);
    ErrCode = dfResponseJump;
    return;
  }
  auto& stack = ffile.LoopStack();
  if (stack.empty()) {
    ErrCode = dfResponseGeneralError;
    return;
  }
  const ParseTreeNodePtr header = stack.back();
  stack.pop_back();
  const std::int32_t target = isBreak ? header->BreakTo() : header->ContinueTo();
  if (target == 0) {
    ErrCode = dfResponseGeneralError;
    return;
  }
  ffile.SetPC(target);
  ErrCode = dfResponseJump;
}

Variant Identifier(const ParseTreeNode& leaf, IFlashCommandFile& ffile, bool blnLhs) {
  if (blnLhs) return Variant(StripQuotes(leaf.Value()));
  return ScriptVariables::GetVariableOrConstant(&ffile, leaf.Value());
}

Variant Leaf(const ParseTreeNode& leaf, IFlashCommandFile& ffile, dfResponseCodes& ErrCode, bool blnLhs) {
  const std::string& token = leaf.Token();
  if (IsIdentifier(leaf)) {
    const std::string keyword = Lower(leaf.Value());
    if (keyword == "break" || keyword == "continue") {
      LoopJump(leaf, ffile, ErrCode, keyword == "break");
      if (ErrCode == dfResponseGeneralError) return Variant(std::int16_t{0});
    }
    return Identifier(leaf, ffile, blnLhs);
  }
  if (token == "NUMBER") return Variant(ScriptOperators::LiteralNumber(leaf.Value()));
  if (token == "STRING") return Variant("\"" + StripQuotes(leaf.Value()) + "\"");
  if (token == "()") return Variant("\"()\"");
  return Variant(std::string());
}

}  // namespace

Variant ScriptEvaluator::ExecuteStatement(const ParseTreeNodePtr& node, IFlashCommandFile& ffile,
                                          ProgressServer* prog, dfResponseCodes& ErrCode) {
  try {
    return Execute(node, ffile, prog, ErrCode, false);
  } catch (const RuntimeError&) {
    ErrCode = dfResponseGeneralError;
    return Variant();
  }
}

namespace {


Variant GotoStatement(const ParseTreeNode& body, IFlashCommandFile& ffile, ProgressServer* prog,
                      dfResponseCodes& ErrCode) {
  const std::string label =
      ScriptEvaluator::Execute(Required(body.Child()->Sibling()), ffile, prog, ErrCode, true).AsText();
  const std::int32_t index = ffile.Label(label);
  if (index == -1) {
    ErrCode = dfResponseGeneralError;
    return Variant();
  }
  ffile.SetPC(index);
  ErrCode = dfResponseJump;
  return Variant();
}

bool IsTrue(const Variant& value) {
  if (value.Type() == Variant::Kind::Boolean || value.IsNumeric()) return value.AsDouble() != 0;
  return false;
}

Variant Call(const ParseTreeNode& call, IFlashCommandFile& ffile, ProgressServer* prog, dfResponseCodes& ErrCode) {
  ScriptValueList values;
  ScriptValueList names;
  const ParseTreeNodePtr arguments = call.OrdinalChild(3);
  if (call.Children() > 3 && arguments->Token() == "plist") {
    values = ScriptEvaluator::EvaluateList(arguments, ffile, prog, ErrCode, false);
    names = ScriptEvaluator::EvaluateList(arguments, ffile, prog, ErrCode, true);
  }
  const ParseTreeNodePtr& nameNode = call.Child();
  const std::string name = ScriptEvaluator::Execute(nameNode, ffile, prog, ErrCode, true).AsText();
  const bool loopHeader = nameNode->BreakTo() != 0;
  auto& stack = ffile.LoopStack();
  if (loopHeader && (stack.empty() || stack.back() != nameNode)) stack.push_back(nameNode);
  Variant value = ScriptBuiltins::CallBuiltinFunction(name, values, names, ffile, prog, ErrCode);
  if (loopHeader && IsTrue(value) && !stack.empty()) stack.pop_back();
  return value;
}

Variant Binary(const ParseTreeNode& node, IFlashCommandFile& ffile, ProgressServer* prog, dfResponseCodes& ErrCode) {
  const Variant left = ScriptOperators::Operand(ScriptEvaluator::Execute(node.Child(), ffile, prog, ErrCode, false));
  const Variant right =
      ScriptOperators::Operand(ScriptEvaluator::Execute(node.OrdinalChild(3), ffile, prog, ErrCode, false));
  const ParseTreeNodePtr op = Required(node.OrdinalChild(2)->Child());
  return ScriptOperators::Apply(StripQuotes(op->Token()), left, right);
}

Variant Unary(const ParseTreeNode& node, IFlashCommandFile& ffile, ProgressServer* prog, dfResponseCodes& ErrCode,
              bool blnLhs) {
  const Variant value = ScriptEvaluator::Execute(node.OrdinalChild(2), ffile, prog, ErrCode, blnLhs);
  const std::string& op = node.Child()->Value();
  if (op == "-") return Variant(-ScriptOperators::Number(value));
  if (op == "!") return Variant(static_cast<std::int16_t>(ScriptOperators::IsNonZero(value) ? 0 : 1));
  if (op == "~") return Variant(static_cast<std::int32_t>(~ToInt32Checked(ScriptOperators::Number(value))));
  return value;
}

bool IsBinaryLevel(const std::string& token) {
  return token == "expr" || token == "comp-e" || token == "add-e" || token == "mul-e" || token == "bit-e";
}

}  // namespace

Variant ScriptEvaluator::Execute(const ParseTreeNodePtr& node, IFlashCommandFile& ffile, ProgressServer* prog,
                                 dfResponseCodes& ErrCode, bool blnLhs) {
  const ParseTreeNode& at = *Required(node);
  const std::string& token = at.Token();
  if (token.empty()) return Variant();
  if (at.Child() == nullptr) return Leaf(at, ffile, ErrCode, blnLhs);
  const int children = at.Children();
  if (token == "statement") {
    // A label alone has no statement to run.
    if (children == 1) return Execute(at.Child(), ffile, prog, ErrCode, blnLhs);
    const ParseTreeNodePtr body = at.OrdinalChild(3);
    return body ? Execute(body, ffile, prog, ErrCode, blnLhs) : Variant();
  }
  if (token == "statement-body") {
    if (Lower(StripQuotes(at.Child()->Token())) == "goto") return GotoStatement(at, ffile, prog, ErrCode);
    return Execute(at.Child(), ffile, prog, ErrCode, blnLhs);
  }
  if (token == "fcall") return Call(at, ffile, prog, ErrCode);
  if (token == "assign") {
    const std::string name = Execute(at.Child(), ffile, prog, ErrCode, true).AsText();
    const Variant value = Execute(Required(at.OrdinalChild(3)), ffile, prog, ErrCode, blnLhs);
    return ScriptVariables::SetVariable(&ffile, name, value);
  }
  if (IsBinaryLevel(token)) {
    if (children <= 2) return Execute(at.Child(), ffile, prog, ErrCode, blnLhs);
    return Binary(at, ffile, prog, ErrCode);
  }
  if (token == "value") {
    if (children == 1) return Execute(at.Child(), ffile, prog, ErrCode, blnLhs);
    return Unary(at, ffile, prog, ErrCode, blnLhs);
  }
  return Variant();
}

ScriptValueList ScriptEvaluator::EvaluateList(const ParseTreeNodePtr& node, IFlashCommandFile& ffile,
                                              ProgressServer* prog, dfResponseCodes& ErrCode, bool blnLhs) {
  ScriptValueList list;
  const int children = node->Children();
  if (children != 1 && children != 3) return list;
  const ParseTreeNodePtr& element = node->Child();
  list.push_back(Execute(element, ffile, prog, ErrCode, blnLhs && IsBareIdentifier(element)));
  if (children == 3) {
    ScriptValueList rest = EvaluateList(node->OrdinalChild(3), ffile, prog, ErrCode, blnLhs);
    list.insert(list.end(), rest.begin(), rest.end());
  }
  return list;
}

}  // namespace quendrel
