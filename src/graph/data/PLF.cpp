#include "graph/data/PLF.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "foundation/files/RegularFile.h"
#include "foundation/files/ReplaceFile.h"
#include "foundation/settings/ColorText.h"
#include "foundation/settings/ParseBoolean.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/ParameterId.h"
#include "foundation/values/RuntimeError.h"

namespace quendrel {

namespace {

constexpr const char* kUntitled = "Untitled.SCP";
constexpr std::size_t kFields = 5;
// A list of every parameter takes about 100 KB; a file far beyond that is no scan list and is refused
// before it is read.
constexpr std::uint64_t kLargestFile = 16ULL << 20;

const char* BooleanText(bool value) { return value ? "True" : "False"; }

// The fields a line is read by, seen in place. Nothing past the fifth is split off, so a line of
// nothing but separators costs no more than its own bytes.
struct LeadingFields {
  std::array<std::string_view, kFields> Field;
  std::size_t Count = 0;
};

LeadingFields SplitFields(std::string_view line) {
  LeadingFields fields;
  while (fields.Count < kFields) {
    const std::size_t end = std::min(line.find(';'), line.size());
    fields.Field[fields.Count++] = line.substr(0, end);
    if (end == line.size()) break;
    line.remove_prefix(end + 1);
  }
  return fields;
}

// Files are written with "." whatever the locale, so a fractional gain reads back as written; a
// gain that is not a finite number would spoil every value shown with it.
double GainOf(std::string_view field) {
  const double gain = LeadingNumber(field);
  return std::isfinite(gain) ? gain : 0.0;
}

// One name for a file however it was reached: relative to another folder, or through a link.
std::string FileIdentity(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  if (ec) return std::filesystem::path(path).lexically_normal().string();
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, ec);
  return (ec ? absolute.lexically_normal() : resolved).string();
}

}  // namespace

PLF2Node& PLF::Entry(std::int32_t tn) {
  return const_cast<PLF2Node&>(static_cast<const PLF&>(*this).Entry(tn));
}

const PLF2Node& PLF::Entry(std::int32_t tn) const {
  if (tn < 0 || tn >= kEntries) throw RuntimeError(errSubscriptOutOfRange, "PLF", "Subscript out of range");
  return entries_[static_cast<std::size_t>(tn)];
}

std::string PLF::Text() const {
  std::string text;
  for (std::int32_t tn = 0; tn < kEntries; ++tn) {
    const PLF2Node& entry = entries_[static_cast<std::size_t>(tn)];
    if (!entry.Present) continue;
    text += ParameterIdText(tn) + ";" + BooleanText(entry.Graphed) + ";" + BooleanText(entry.Logged) + ";" +
            ColorToHtml(entry.Color) + ";" + DoubleToText(entry.Gain) + "\r\n";
  }
  return text;
}

std::string PLF::SavePath(const std::string& fileName) const {
  const std::filesystem::path name = fileName.empty() ? kUntitled : fileName;
  if (name.is_absolute()) return name.string();
  return (std::filesystem::path(programFolder_) / name).string();
}

bool PLF::IsUnreadFile(const std::string& path) const {
  return !unreadFile_.empty() && FileIdentity(path) == unreadFile_;
}

void PLF::Save(const std::string& fileName) const {
  const std::string path = SavePath(fileName);
  if (IsUnreadFile(path)) return;
  const ReplaceFileResult saved = ReplaceFile(path, Text());
  if (!saved) throw RuntimeError(errPathFileAccess, "PLF", saved.Reason);
}

// The file is read whole before the list changes, so one that cannot be read leaves the list as it was.
void PLF::Load(const std::string& fileName) {
  unreadFile_.clear();
  // Only a file that is not there is an empty list; one the program may not even look at is unread.
  std::error_code ignored;
  if (std::filesystem::status(fileName, ignored).type() == std::filesystem::file_type::not_found) {
    for (PLF2Node& entry : entries_) entry.Present = false;
    return;
  }
  // Marked unread until the whole file has been taken in, so no failure on the way can let the exit
  // replace it.
  unreadFile_ = FileIdentity(fileName);
  std::string reason;
  const std::optional<std::string> text = ReadRegularFile(fileName, kLargestFile, reason);
  if (!text) throw RuntimeError(errPathFileAccess, "PLF", fileName + ": " + reason);
  for (PLF2Node& entry : entries_) entry.Present = false;
  // Editors and other programs end lines with CR, LF, CR LF or LF CR. Splitting at each CR and each
  // LF leaves an empty line inside a pair, which has too few fields and is skipped like any such.
  std::string_view rest = *text;
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find_first_of("\r\n"), rest.size());
    LoadLine(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  unreadFile_.clear();
}

void PLF::LoadLine(std::string_view line) {
  const LeadingFields fields = SplitFields(line);
  if (fields.Count < kFields) return;
  const std::int32_t tn = ParseParameterId(std::string(fields.Field[0]));
  if (tn < 0 || tn >= kEntries) return;
  PLF2Node& entry = entries_[static_cast<std::size_t>(tn)];
  entry.Present = true;
  entry.Graphed = ParseBoolean(fields.Field[1]);
  entry.Logged = ParseBoolean(fields.Field[2]);
  entry.Color = ParseColor(fields.Field[3]);
  entry.Gain = GainOf(fields.Field[4]);
}

}  // namespace quendrel
