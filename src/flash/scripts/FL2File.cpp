#include "flash/scripts/FL2File.h"

#include <exception>
#include <optional>

#include "flash/language/ScriptEvaluator.h"
#include "flash/scripts/ScriptFileTexts.h"
#include "foundation/progress/ProgressServer.h"
#include "foundation/values/RuntimeError.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

constexpr int kFileNotFound = -10427;

}  // namespace

FL2File::FL2File(ScriptEnvironment environment) : FlashCommandFileBase(std::move(environment)) {}

bool FL2File::LoadFile(const std::string& fileName) {
  std::optional<std::string> text = ScriptText(fileName);
  if (!text) throw RuntimeError(kFileNotFound, "IFlashCommandFile", FileNotFoundText(fileName));
  return LoadText(*text);
}

bool FL2File::LoadText(const std::string& text) {
  FL2Loader loader(*Environment().parser, *Environment().ui, Labels());
  std::optional<ScriptProgram> statements;
  try {
    statements = loader.LoadFL2(text);
  } catch (const std::exception&) {
    // Out of memory, or a length beyond what a container holds: the text cannot be a script.
    Environment().ui->MsgBox("Syntax error in FL2 file.", vbCritical | vbOKOnly, "Unable to load FL2 script");
  }
  trees_.Clear();
  if (!statements) {
    statements_ = ScriptProgram();
    return false;
  }
  statements_ = std::move(*statements);
  return true;
}

dfResponseCodes FL2File::singleStep() {
  dfResponseCodes code = dfResponseOK;
  const std::int32_t pc = PC();
  const bool runs = pc >= 1 && pc <= ProgramLength();
  if (runs) {
    SetLastExecuted(pc);
    SetResult(ScriptEvaluator::ExecuteStatement(StatementTree(pc), *this, Progress(), code));
  }
  code = Advance(code, runs ? pc : 0);
  ProgressServer* progress = Progress();
  if (progress == nullptr) return code;
  if (!Result().empty()) progress->SetDetail(Result());
  progress->SetProgress(PC());
  return code;
}

ParseTreeNodePtr FL2File::StatementTree(std::int32_t index) {
  if (index < 1 || index > ProgramLength()) return nullptr;
  if (ParseTreeNodePtr kept = trees_.Find(index)) return kept;
  ParseTreeNodePtr tree = FL2Loader::StatementTree(statements_, index, *Environment().parser);
  trees_.Keep(index, tree, statements_.Source(index).size(), statements_.Loop(index) != nullptr);
  return tree;
}

bool FL2File::IsEmptyStatement(std::int32_t index) const {
  return statements_.LoweringOf(index) == ScriptProgram::Lowering::kEmptied;
}

std::string FL2File::StatementText(std::int32_t index) const { return std::string(statements_.Text(index)); }

bool FL2File::GuardsNextStatement(std::int32_t index) const {
  return index >= 1 && index <= ProgramLength() && statements_.RunsIf(index);
}

}  // namespace quendrel
