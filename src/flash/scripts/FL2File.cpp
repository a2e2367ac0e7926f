#include "flash/scripts/FL2File.h"

#include <algorithm>
#include <cctype>
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
  std::optional<StatementList> statements;
  try {
    statements = loader.LoadFL2(text);
  } catch (const std::exception&) {
    // Out of memory, or a length beyond what a container holds: the text cannot be a script.
    Environment().ui->MsgBox("Syntax error in FL2 file.", vbCritical | vbOKOnly, "Unable to load FL2 script");
  }
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
    SetResult(ScriptEvaluator::ExecuteStatement(At(pc), *this, Progress(), code));
  }
  code = Advance(code, runs ? pc : 0);
  ProgressServer* progress = Progress();
  if (progress == nullptr) return code;
  if (!Result().empty()) progress->SetDetail(Result());
  progress->SetProgress(PC());
  return code;
}

bool FL2File::IsEmptyStatement(std::int32_t index) const { return At(index)->Token().empty(); }

std::string FL2File::StatementText(std::int32_t index) const { return At(index)->Value(); }

bool FL2File::GuardsNextStatement(std::int32_t index) const {
  if (index < 1 || index > ProgramLength()) return false;
  const ParseTreeNodePtr body = FL2Loader::PPHelperGetBody(At(index));
  const ParseTreeNodePtr call = body ? body->Child() : nullptr;
  if (call == nullptr || call->Token() != "fcall" || call->Child() == nullptr) return false;
  std::string name = call->Child()->Value();
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  return name == "if";
}

}  // namespace quendrel
