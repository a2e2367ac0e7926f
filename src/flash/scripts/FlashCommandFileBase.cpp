#include "flash/scripts/FlashCommandFileBase.h"

#include <filesystem>
#include <sstream>

#include "comms/server/GIOContext.h"
#include "flash/scripts/ScriptArchive.h"
#include "flash/scripts/ScriptFileTexts.h"
#include "foundation/files/RegularFile.h"
#include "foundation/text/DateText.h"
#include "foundation/values/RuntimeError.h"
#include "platform/Clock.h"

namespace quendrel {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

FlashCommandFileBase::FlashCommandFileBase(ScriptEnvironment environment)
    : environment_(environment), workingFolder_(fs::current_path().string()) {}

FlashCommandFileBase::~FlashCommandFileBase() {
  DeleteTempFiles();
  if (!log_.IsOpen()) return;
  Log("File Closed at " + FormatTimestamp(NowSeconds(*environment_.clock), false, false));
}

void FlashCommandFileBase::DeleteTempFiles() {
  for (const std::string& file : tempFiles_) {
    std::error_code error;
    if (!fs::exists(file, error)) {
      Log("Temporary file " + Quoted(file) + " no longer exists!");
      continue;
    }
    Log("Deleting temporary file " + Quoted(file) + "...");
    fs::remove(file, error);
  }
}

void FlashCommandFileBase::SetTimeout(float seconds) {
  timeout_ = seconds;
  if (context_) context_->SetTimeout(seconds);
}

void FlashCommandFileBase::SetAddress(std::uint8_t address) {
  address_ = address;
  if (context_) context_->SetAddress(address);
}

std::int32_t FlashCommandFileBase::Label(const std::string& key) const {
  const auto found = labels_.find(key);
  return found == labels_.end() ? -1 : found->second;
}

Variant FlashCommandFileBase::Variable(const std::string& name) const {
  const auto found = variables_.find(name);
  return found == variables_.end() ? Variant() : found->second;
}

void FlashCommandFileBase::SetPC(std::int32_t pc) {
  if (pc < 1 || pc > ProgramLength() + 1) return;
  pc_ = pc;
  while (pc_ <= ProgramLength() && IsEmptyStatement(pc_)) ++pc_;
}

std::string FlashCommandFileBase::CommandString(std::int32_t pc) const {
  const std::int32_t index = pc == -1 ? pc_ : pc;
  if (index < 1 || index > ProgramLength()) return {};
  return StatementText(index);
}

void FlashCommandFileBase::SetContext(std::shared_ptr<GIOContext> context) {
  if (!context) return;
  context_ = std::move(context);
  address_ = context_->Address();
  timeout_ = context_->Timeout();
}

void FlashCommandFileBase::SetlogFile(const std::string& path) {
  logPath_ = path;
  log_.Close();
  if (path.empty()) return;
  const std::string absolute = ResolvePath(path);
  if (!log_.Open(absolute)) {
    throw RuntimeError(errPathFileAccess, "IFlashCommandFile", FileAccessText(absolute, log_.Reason()));
  }
}

void FlashCommandFileBase::AllocateTempFile(const std::string& file) {
  const std::string absolute = ResolvePath(file);
  Log("Allocating temporary file " + Quoted(absolute) + "...");
  std::error_code error;
  if (!fs::exists(absolute, error)) tempFiles_.push_back(absolute);
}

void FlashCommandFileBase::Log(const std::string& line) { log_.WriteLine(line); }

void FlashCommandFileBase::SetWorkingFolder(const std::string& folder) { workingFolder_ = ResolvePath(folder); }

std::optional<std::string> FlashCommandFileBase::FileText(const std::string& path) const {
  const std::string absolute = ResolvePath(path);
  std::string unread;
  if (auto text = ReadRegularFile(absolute, kLargestScriptFile, unread)) return text;
  if (archive_ && archive_->FileExists(path)) return archive_->GetFile(path);
  return std::nullopt;
}

// Only a name that stands for nothing on disk counts as not found: a folder, a pipe or a device of
// that name is refused with what it is, unless the package holds the member.
std::optional<std::string> FlashCommandFileBase::ScriptText(const std::string& fileName) const {
  const std::string path = ResolvePath(fileName);
  std::string reason;
  if (std::optional<std::string> text = ReadRegularFile(path, kLargestScriptFile, reason)) return text;
  std::error_code error;
  if (!fs::is_regular_file(path, error) && archive_ && archive_->FileExists(fileName)) {
    const std::unique_ptr<TextStream> stream = archive_->GetStream(fileName);
    if (!stream) return std::nullopt;
    return stream->ReadAll();
  }
  if (NothingAtPath(path)) return std::nullopt;
  throw RuntimeError(errPathFileAccess, "IFlashCommandFile", FileAccessText(path, reason));
}

std::string FlashCommandFileBase::ResolvePath(const std::string& path) const {
  if (path.empty()) return workingFolder_;
  const fs::path given(path);
  if (given.is_absolute()) return given.lexically_normal().string();
  return (fs::path(workingFolder_) / given).lexically_normal().string();
}

dfResponseCodes FlashCommandFileBase::Advance(dfResponseCodes code, std::int32_t ran) {
  if (code == dfResponseSkipLine) code = dfResponseOK;
  if (code == dfResponseJump) {
    LeaveLoopsNotHolding(pc_);
    return dfResponseOK;
  }
  // A failed step moves on past the statement that failed, wherever a jump inside it pointed:
  // moving on from the jump's target could bring the same failure back for ever. An if() that
  // failed and skipped the statement it guards still skips it.
  const bool skipped = pc_ == ran + 1 && GuardsNextStatement(ran);
  if (ran != 0 && code != dfResponseOK && code != dfResponseEOF && !skipped) pc_ = ran;
  const std::int32_t length = ProgramLength();
  if (pc_ < length) {
    ++pc_;
    LeaveLoopsNotHolding(pc_);
    return code;
  }
  loopStack_.clear();
  if (pc_ > length || code == dfResponseOK) return dfResponseEOF;
  // A failing last statement must not pass for the end of the script; the next step reports it.
  pc_ = length + 1;
  return code;
}

// A loop runs from its header to the jump back before its BreakTo. Loops nest, so the loops the
// program counter has left are the innermost ones, at the top of the stack.
void FlashCommandFileBase::LeaveLoopsNotHolding(std::int32_t pc) {
  while (!loopStack_.empty()) {
    const ParseTreeNode& header = *loopStack_.back();
    if (pc >= header.ContinueTo() && pc < header.BreakTo()) return;
    loopStack_.pop_back();
  }
}

}  // namespace quendrel
