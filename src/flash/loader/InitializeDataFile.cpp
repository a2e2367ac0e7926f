#include "flash/loader/InitializeDataFile.h"

#include <numeric>

#include "comms/functions/ScriptPackage.h"
#include "flash/loader/LoaderText.h"
#include "foundation/files/RegularFile.h"
#include "foundation/files/TextStream.h"
#include "foundation/progress/ProgressServer.h"

namespace quendrel {

namespace {

constexpr std::size_t kWordDigits = 4;

}  // namespace

bool InitializeDataFile::LoadFile(const std::string& path) {
  std::string reason;
  const auto text = ReadRegularFile(path, kLargestScriptFile, reason);
  return text && LoadFromText(*text);
}

bool InitializeDataFile::LoadFromStream(TextStream* stream) {
  if (stream == nullptr) return false;
  const std::string text = stream->ReadAll();
  stream->Close();
  return LoadFromText(text);
}

bool InitializeDataFile::LoadFromText(std::string_view raw) {
  std::string text = LoaderText::Clean(raw);
  // The section count is read and not used.
  text.erase(0, kWordDigits);
  std::vector<InitializeDataSection> sections;
  while (text.size() >= kWordDigits) {
    InitializeDataSection section;
    if (!section.LoadFromBinary(text)) return false;
    if (section.Length() > 0) sections.push_back(std::move(section));
  }
  sections_ = std::move(sections);
  return true;
}

bool InitializeDataFile::Send(const LoaderLine& line, ProgressServer* ps) const {
  ProgressServer privateProgress;
  ProgressServer& progress = ps != nullptr ? *ps : privateProgress;
  if (sections_.empty()) return false;
  progress.SetSwapped(true);
  progress.ShowAlternate();
  progress.SetMin(0);
  progress.SetMax(std::accumulate(sections_.begin(), sections_.end(), 0,
                                  [](int sum, const InitializeDataSection& s) { return sum + s.Blocks(); }));
  progress.SetProgress(0);
  bool sent = true;
  for (std::size_t i = 0; i < sections_.size() && sent; ++i) {
    sent = sections_[i].Send(line, progress, i + 1 == sections_.size());
    if (sent) progress.SetProgress(progress.Progress() + 1);
  }
  progress.HideAlternate();
  progress.SetSwapped(false);
  return sent;
}

}  // namespace quendrel
