#include "flash/scripts/FL2File.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <optional>

#include "flash/language/ScriptEvaluator.h"
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
  if (!text) throw RuntimeError(kFileNotFound, "IFlashCommandFile", "File Not Found: " + fileName);
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
    statements_.clear();
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
  const ScriptStatement& statement = At(index);
  ParseTreeNodePtr tree = FL2Loader::StatementTree(statement, *Environment().parser);
  trees_.Keep(index, tree, statement.source.size(), statement.loopHeader);
  return tree;
}

bool FL2File::IsEmptyStatement(std::int32_t index) const {
  return At(index).lowering == ScriptStatement::Lowering::kEmptied;
}

std::string FL2File::StatementText(std::int32_t index) const { return At(index).text; }

bool FL2File::GuardsNextStatement(std::int32_t index) const {
  if (index < 1 || index > ProgramLength()) return false;
  std::string name = At(index).CalledName();
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  return name == "if";
}

}  // namespace quendrel
