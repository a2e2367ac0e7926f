#include "flash/builtins/TransferProgress.h"

#include "flash/scripts/IFlashCommandFile.h"
#include "foundation/progress/ProgressServer.h"

namespace quendrel {

namespace {

// Every transfer counts parameter numbers.
constexpr std::int32_t kLastParameter = 2099;

ProgressServer& Chosen(ProgressServer* prog, std::unique_ptr<ProgressServer>& fallback) {
  if (prog != nullptr) return *prog;
  fallback = std::make_unique<ProgressServer>();
  return *fallback;
}

}  // namespace

TransferProgress::TransferProgress(IFlashCommandFile& ffile, ProgressServer* prog, const std::string& prefix,
                                   const std::string& status)
    : server_(Chosen(prog, private_)), ffile_(ffile) {
  server_.SetSwapped(true);
  server_.SetMin(0);
  server_.SetMax(kLastParameter);
  server_.SetProgress(0);
  server_.SetPrefix(prefix);
  server_.SetStatus(status);
}

TransferProgress::~TransferProgress() { Finish(); }

void TransferProgress::ShowControls() {
  server_.ShowAlternate();
  shown_ = true;
  ffile_.ShowSubProgress(true);
}

void TransferProgress::Finish(const std::string& status) {
  if (finished_) return;
  finished_ = true;
  server_.HideAlternate();
  if (!status.empty()) server_.SetStatus(status);
  if (shown_) ffile_.ShowSubProgress(false);
  if (const auto detail = server_.TextboxDetail()) detail->SetVisible(true);
  server_.SetSwapped(false);
}

}  // namespace quendrel
