#include "foundation/settings/INIFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "foundation/files/ReplaceFile.h"
#include "foundation/settings/ParseBoolean.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr char kErrorTitle[] = "INI File Error";
// Editors on Windows start UTF-8 text with it; the reader skips it and a save keeps it.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

// Values are read trimmed, as users edit "key = value" by hand. A value that must keep its outer
// blanks, or that is itself quoted, is written inside double quotes so that it reads back unchanged.
bool NeedsQuotes(const std::string& value) {
  if (value.empty()) return false;
  if (Trim(value).size() != value.size()) return true;
  return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

std::string ReadValueText(std::string_view raw) {
  const std::string_view value = Trim(raw);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return std::string(value.substr(1, value.size() - 2));
  }
  return std::string(value);
}

std::string WrittenValueText(const std::string& value) {
  // A line break inside a value would end the line early and turn the rest into a key of its own.
  std::string flat = value;
  std::replace_if(flat.begin(), flat.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return NeedsQuotes(flat) ? '"' + flat + '"' : flat;
}

// A line of text without and with its line break.
struct TextLine {
  std::string_view content;
  std::string_view withBreak;
};

std::vector<TextLine> SplitLines(std::string_view text) {
  std::vector<TextLine> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto found = text.find_first_of("\r\n", start);
    const std::size_t end = found == std::string_view::npos ? text.size() : found;
    std::size_t next = end;
    if (next < text.size()) next += text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    lines.push_back({text.substr(start, end - start), text.substr(start, next - start)});
    start = next;
  }
  return lines;
}

std::string_view WithoutBreak(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  return line;
}

bool IsBlank(std::string_view line) { return Trim(WithoutBreak(line)).empty(); }

// ASCII letters only, whatever the locale: values are UTF-8 or Latin-1 bytes.
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool IsComment(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  return !trimmed.empty() && trimmed.front() == ';';
}

// The user's own spelling of the line survives a changed value: indentation, the key, the blanks
// around "=" and the line break.
std::string RewrittenLine(std::string_view line, const std::string& value) {
  const std::string_view content = WithoutBreak(line);
  std::size_t valueStart = content.find('=') + 1;
  while (valueStart < content.size() && kBlanks.find(content[valueStart]) != std::string_view::npos) {
    ++valueStart;
  }
  return std::string(content.substr(0, valueStart)) + WrittenValueText(value) +
         std::string(line.substr(content.size()));
}

// Fixed at load, so that a later change of the current directory cannot move the save; a link is
// followed so that the save replaces the file it points to rather than the link itself.
std::string FixedPath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path fixed = std::filesystem::absolute(path, ec);
  if (ec) fixed = path;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(fixed, ec);
  return (ec ? fixed : resolved).string();
}

bool ReadWholeFile(const std::string& path, std::string& text) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

// Builds the saved text line by line. A last line that the file left without a break gets one as soon
// as another line follows it.
class INIFile::TextBuilder {
 public:
  TextBuilder(std::string_view lineBreak, bool byteOrderMark)
      : lineBreak_(lineBreak), start_(byteOrderMark ? kByteOrderMark.size() : 0) {
    if (byteOrderMark) text_ = kByteOrderMark;
  }

  void Add(std::string_view line) {
    EndOpenLine();
    text_ += line;
    lastBlank_ = IsBlank(line);
  }
  void AddNew(std::string_view content) {
    EndOpenLine();
    text_ += content;
    text_ += lineBreak_;
    lastBlank_ = Trim(content).empty();
  }
  // Sections are set apart by a blank line.
  void SeparateSection() {
    if (text_.size() > start_ && !lastBlank_) AddNew("");
  }
  std::string Take() { return std::move(text_); }

 private:
  void EndOpenLine() {
    if (text_.size() > start_ && text_.back() != '\n' && text_.back() != '\r') text_ += lineBreak_;
  }

  std::string_view lineBreak_;
  std::size_t start_;
  std::string text_;
  bool lastBlank_ = false;
};

const INIFile::Section* INIFile::FindSection(const std::string& name) const {
  const std::size_t index = FindSectionIndex(name);
  return index == kNone ? nullptr : &sections_[index];
}

std::size_t INIFile::FindSectionIndex(const std::string& name) const {
  const auto found = sectionIndex_.find(name);
  return found == sectionIndex_.end() ? kNone : found->second;
}

std::size_t INIFile::SectionIndexFor(const std::string& name) {
  const auto [found, added] = sectionIndex_.try_emplace(name, sections_.size());
  if (added) sections_.push_back(Section{name, {}, {}, kNone, kNone});
  return found->second;
}

std::size_t INIFile::EntryIndexFor(Section& section, const std::string& key) {
  const auto [found, added] = section.entryIndex.try_emplace(key, section.entries.size());
  if (added) section.entries.push_back(Entry{key, {}, false, std::nullopt, kNone});
  return found->second;
}

const INIFile::Entry* INIFile::OwnEntry(const std::string& key, const std::string& section) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return nullptr;
  const auto found = s->entryIndex.find(key);
  if (found == s->entryIndex.end()) return nullptr;
  const Entry& entry = s->entries[found->second];
  return entry.present ? &entry : nullptr;
}

std::string INIFile::Value(const std::string& key, const std::string& section) const {
  if (const Entry* own = OwnEntry(key, section)) return own->value;
  if (delegate_ != nullptr) return delegate_->Value(key, section);
  return {};
}

void INIFile::SetValue(const std::string& key, const std::string& section, const std::string& value) {
  Section& s = sections_[SectionIndexFor(section)];
  Entry& entry = s.entries[EntryIndexFor(s, key)];
  entry.value = value;
  entry.present = true;
}

void INIFile::SetValue(const std::string& key, const std::string& section, bool value) {
  SetValue(key, section, std::string(value ? "True" : "False"));
}

void INIFile::SetValue(const std::string& key, const std::string& section, const char* value) {
  SetValue(key, section, std::string(value == nullptr ? "" : value));
}

bool INIFile::HasKey(const std::string& key, const std::string& section) const {
  return OwnEntry(key, section) != nullptr;
}

void INIFile::RemoveKey(const std::string& key, const std::string& section) {
  const std::size_t index = FindSectionIndex(section);
  if (index == kNone) return;
  Section& s = sections_[index];
  const auto entry = s.entryIndex.find(key);
  if (entry == s.entryIndex.end()) return;
  s.entries[entry->second].present = false;
  s.entries[entry->second].value.clear();
}

std::vector<std::string> INIFile::Sections() const {
  std::vector<std::string> names;
  std::transform(sections_.begin(), sections_.end(), std::back_inserter(names),
                 [](const Section& s) { return s.name; });
  return names;
}

std::vector<std::string> INIFile::Keys(const std::string& section) const {
  std::vector<std::string> keys;
  const Section* s = FindSection(section);
  if (s == nullptr) return keys;
  for (const Entry& entry : s->entries) {
    if (entry.present) keys.push_back(entry.key);
  }
  return keys;
}

void INIFile::Clear() {
  sections_.clear();
  sectionIndex_.clear();
  lines_.clear();
  firstHeader_ = kNone;
  byteOrderMark_ = false;
  lineBreak_ = "\n";
}

void INIFile::LoadText(std::string_view text) { Parse(text, false); }

void INIFile::Parse(std::string_view text, bool keepLines) {
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.remove_prefix(kByteOrderMark.size());
    byteOrderMark_ = byteOrderMark_ || (keepLines && lines_.empty());
  }
  std::string section;
  for (const TextLine& line : SplitLines(text)) {
    if (keepLines && lines_.empty() && line.withBreak.size() > line.content.size()) {
      lineBreak_ = std::string(line.withBreak.substr(line.content.size()));
    }
    const Line read = ParseLine(Trim(line.content), section, keepLines);
    if (keepLines) lines_.push_back(Line{std::string(line.withBreak), read.section, read.entry});
  }
}

// The setting a line makes, if any; a header changes the section the following lines belong to.
INIFile::Line INIFile::ParseLine(std::string_view trimmed, std::string& section, bool keepLines) {
  if (trimmed.empty() || trimmed.front() == ';') return {};
  if (trimmed.front() == '[' && trimmed.back() == ']') {
    const std::size_t previous = keepLines ? FindSectionIndex(section) : kNone;
    section = std::string(trimmed.substr(1, trimmed.size() - 2));
    const std::size_t current = SectionIndexFor(section);
    if (keepLines) StartBlock(previous, current);
    return {};
  }
  const auto equals = trimmed.find('=');
  if (equals == std::string_view::npos) return {};
  const std::string_view key = Trim(trimmed.substr(0, equals));
  if (key.empty()) return {};

  const std::size_t sectionIndex = SectionIndexFor(section);
  Section& s = sections_[sectionIndex];
  const std::size_t entryIndex = EntryIndexFor(s, std::string(key));
  Entry& entry = s.entries[entryIndex];
  entry.value = ReadValueText(trimmed.substr(equals + 1));
  entry.present = true;
  if (keepLines) {
    entry.fileValue = entry.value;
    entry.line = lines_.size();
  }
  return {{}, sectionIndex, entryIndex};
}

// The header about to be kept ends the block of the section before it and starts its own.
void INIFile::StartBlock(std::size_t previous, std::size_t current) {
  const std::size_t header = lines_.size();
  if (firstHeader_ == kNone) firstHeader_ = header;
  if (previous != kNone) sections_[previous].blockEnd = header;
  sections_[current].blockBegin = header + 1;
  sections_[current].blockEnd = kNone;
}

bool INIFile::Written(const Section& section, const Entry& entry, bool preserveAll) const {
  if (!entry.present) return false;
  return preserveAll || delegate_ == nullptr || delegate_->Value(entry.key, section.name) != entry.value;
}

// New keys go after the section's last setting in the file, before the blank lines and the comments
// that lead into the next section. Keys without a section must stay ahead of the first header.
std::size_t INIFile::InsertionLine(const Section& section) const {
  const bool nameless = section.name.empty();
  const std::size_t begin = nameless ? 0 : section.blockBegin;
  const std::size_t blockEnd = nameless ? firstHeader_ : section.blockEnd;
  const std::size_t end = blockEnd == kNone ? lines_.size() : blockEnd;
  std::size_t at = end;
  if (end < lines_.size()) {
    while (at > begin && IsComment(lines_[at - 1].text)) --at;
  }
  while (at > begin && IsBlank(lines_[at - 1].text)) --at;
  return at;
}

bool INIFile::HasBlock(const Section& section) const {
  return section.name.empty() || section.blockBegin != kNone;
}

void INIFile::AddKeptLine(TextBuilder& out, std::size_t index, bool preserveAll) const {
  const Line& line = lines_[index];
  if (line.entry == kNone) return out.Add(line.text);
  const Section& section = sections_[line.section];
  const Entry& entry = section.entries[line.entry];
  // A line the program never changed stays as the user wrote it, even when it says the default.
  if (entry.present && entry.fileValue == entry.value) return out.Add(line.text);
  // Leaving out the last line alone would bring an earlier duplicate back to life.
  if (!Written(section, entry, preserveAll)) return;
  if (index == entry.line) return out.Add(RewrittenLine(line.text, entry.value));
  out.Add(line.text);
}

void INIFile::AddNewKeys(TextBuilder& out, const Section& section, bool preserveAll) const {
  for (const Entry& entry : section.entries) {
    if (entry.line == kNone && Written(section, entry, preserveAll)) {
      out.AddNew(entry.key + '=' + WrittenValueText(entry.value));
    }
  }
}

bool INIFile::HasNewKeys(const Section& section, bool preserveAll) const {
  return std::any_of(section.entries.begin(), section.entries.end(), [&](const Entry& entry) {
    return entry.line == kNone && Written(section, entry, preserveAll);
  });
}

std::string INIFile::Text(bool preserveAll) const {
  TextBuilder out(lineBreak_, byteOrderMark_);
  std::vector<std::pair<std::size_t, const Section*>> insertions;
  for (const Section& s : sections_) {
    if (HasBlock(s)) insertions.emplace_back(InsertionLine(s), &s);
  }
  std::stable_sort(insertions.begin(), insertions.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });

  auto next = insertions.begin();
  for (std::size_t index = 0; index <= lines_.size(); ++index) {
    for (; next != insertions.end() && next->first == index; ++next) AddNewKeys(out, *next->second, preserveAll);
    if (index < lines_.size()) AddKeptLine(out, index, preserveAll);
  }
  for (const Section& s : sections_) {
    if (HasBlock(s) || !HasNewKeys(s, preserveAll)) continue;
    out.SeparateSection();
    out.AddNew('[' + s.name + ']');
    AddNewKeys(out, s, preserveAll);
  }
  return out.Take();
}

bool INIFile::Load(const std::string& path) {
  Clear();
  loadFailed_ = false;
  path_ = FixedPath(path);
  std::error_code ec;
  if (std::filesystem::status(path_, ec).type() == std::filesystem::file_type::not_found) return true;

  std::string text;
  if (!ReadWholeFile(path_, text)) {
    loadFailed_ = true;
    ReportError("Unable to read the settings file " + path_ + ". The default settings are used instead.");
    return false;
  }
  Parse(text, true);
  return true;
}

bool INIFile::Save() const {
  if (path_.empty()) return false;
  if (loadFailed_) {
    ReportError("The settings were not saved, because the settings file " + path_ +
                " could not be read when the program started.");
    return false;
  }
  // The user may have edited the file while the program ran: what it holds now is the base, and only
  // the values the program itself changed go over it.
  INIFile merged(delegate_);
  std::string onDisk;
  std::error_code ec;
  const bool exists = std::filesystem::status(path_, ec).type() != std::filesystem::file_type::not_found;
  if (exists && !ReadWholeFile(path_, onDisk)) {
    ReportError("The settings were not saved, because the settings file " + path_ + " could not be read.");
    return false;
  }
  merged.Parse(onDisk, true);
  ApplyOwnChanges(merged);
  return merged.Write(path_, merged.Text(merged.PreserveAll()));
}

bool INIFile::SaveAs(const std::string& path) const { return Write(path, Text(PreserveAll())); }

// Windows store every setting they show when they close, changed or not, in the program's own
// spelling ("True", "#F4F4F4"): what they read back from the file, or from the defaults behind it,
// is no change of the program's even when its letters' case differs.
bool INIFile::ChangedSinceLoad(const Section& section, const Entry& entry) const {
  if (!entry.present) return entry.fileValue.has_value();
  if (entry.fileValue) return !SameIgnoringCase(*entry.fileValue, entry.value);
  const std::string fallback = delegate_ == nullptr ? std::string() : delegate_->Value(entry.key, section.name);
  return !SameIgnoringCase(fallback, entry.value);
}

void INIFile::ApplyOwnChanges(INIFile& target) const {
  for (const Section& section : sections_) {
    for (const Entry& entry : section.entries) {
      if (!ChangedSinceLoad(section, entry)) {
        // A default stored for a key neither file holds still belongs in a file that keeps them all.
        if (entry.present && !entry.fileValue && !target.HasKey(entry.key, section.name)) {
          target.SetValue(entry.key, section.name, entry.value);
        }
        continue;
      }
      if (entry.present) {
        target.SetValue(entry.key, section.name, entry.value);
      } else {
        target.RemoveKey(entry.key, section.name);
      }
    }
  }
}

bool INIFile::Write(const std::string& path, const std::string& text) const {
  // An exit that changed nothing leaves the file alone, its date included.
  std::string current;
  if (ReadWholeFile(path, current) && current == text) return true;
  const ReplaceFileResult saved = ReplaceFile(path, text);
  if (saved) return true;
  ReportError("Unable to save the settings to " + path + ": " + saved.Reason + ".");
  return false;
}

bool INIFile::PreserveAll() const { return ParseBoolean(Value("PreserveINI", "General")); }

void INIFile::ReportError(const std::string& message) const {
  Ui().MsgBox(message, vbOKOnly | vbExclamation, kErrorTitle);
}

}  // namespace quendrel
