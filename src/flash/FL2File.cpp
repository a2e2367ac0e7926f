#include "flash/FL2File.h"

#include <optional>

#include "flash/ScriptEvaluator.h"
#include "foundation/ProgressServer.h"
#include "foundation/RuntimeError.h"

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
  auto statements = loader.LoadFL2(text);
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
  if (pc >= 1 && pc <= ProgramLength()) {
    SetLastExecuted(pc);
    SetResult(ScriptEvaluator::ExecuteStatement(At(pc), *this, Progress(), code));
  }
  code = Advance(code);
  ProgressServer* progress = Progress();
  if (progress == nullptr) return code;
  if (!Result().empty()) progress->SetDetail(Result());
  progress->SetProgress(PC());
  return code;
}

bool FL2File::IsEmptyStatement(std::int32_t index) const { return At(index)->Token().empty(); }

std::string FL2File::StatementText(std::int32_t index) const { return At(index)->Value(); }

}  // namespace quendrel
