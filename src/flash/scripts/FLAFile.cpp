#include "flash/scripts/FLAFile.h"

#include <optional>

#include "flash/scripts/FLATranslation.h"
#include "flash/language/ParseEngine.h"
#include "flash/scripts/ScriptLength.h"
#include "flash/language/ScriptEvaluator.h"
#include "flash/scripts/ScriptFileTexts.h"
#include "foundation/progress/ProgressServer.h"
#include "foundation/values/RuntimeError.h"

namespace quendrel {

namespace {

constexpr int kFileNotFound = 427;

}  // namespace

FLAFile::FLAFile(ScriptEnvironment environment) : FlashCommandFileBase(std::move(environment)) {}

bool FLAFile::LoadFile(const std::string& fileName) {
  std::optional<std::string> text = ScriptText(fileName);
  if (!text) throw RuntimeError(kFileNotFound, "IFlashCommandFile", FileNotFoundText(fileName));
  return LoadText(*text);
}

bool FLAFile::LoadText(const std::string& text) {
  std::vector<std::string> statements = TranslateFLAScript(text);
  if (!StatementCountFits(statements.size(), *Environment().ui, "Unable to load FLA script")) {
    statements_.clear();
    return false;
  }
  statements_ = std::move(statements);
  Labels().clear();
  SetResult(Variant(std::string()));
  return true;
}

std::optional<dfResponseCodes> FLAFile::Execute(std::int32_t pc) {
  SetLastExecuted(pc);
  dfResponseCodes code = dfResponseOK;
  const std::string& text = At(pc);
  if (text.empty()) return code;
  const ParseTreeNodePtr tree = Environment().parser->ParseSingle(text, "statement");
  if (!tree) return std::nullopt;
  SetResult(ScriptEvaluator::ExecuteStatement(tree, *this, Progress(), code));
  return code;
}

dfResponseCodes FLAFile::singleStep() {
  const std::int32_t pc = PC();
  dfResponseCodes code = dfResponseOK;
  if (pc >= 1 && pc <= ProgramLength()) {
    const std::optional<dfResponseCodes> ran = Execute(pc);
    if (!ran) return Report(dfResponseGeneralError);
    code = *ran;
  }
  const dfResponseCodes advanced = Advance(code, pc >= 1 && pc <= ProgramLength() ? pc : 0);
  return Report(code == dfResponseSkipLine && advanced == dfResponseOK ? code : advanced);
}

dfResponseCodes FLAFile::Report(dfResponseCodes code) {
  if (Progress() != nullptr) Progress()->SetProgress(PC());
  return code;
}

}  // namespace quendrel
