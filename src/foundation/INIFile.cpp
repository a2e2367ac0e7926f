#include "foundation/INIFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "foundation/ParseBoolean.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr char kErrorTitle[] = "INI File Error";

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

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

// Shared by the const and non-const section look-ups.
template <typename Sections>
auto* FindByName(Sections& sections, const std::string& name) {
  const auto it = std::find_if(sections.begin(), sections.end(),
                               [&](const auto& s) { return s.name == name; });
  return it == sections.end() ? nullptr : &*it;
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

mode_t NewFileMode(const std::string& target) {
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0) return existing.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// A temporary file beside the target that replaces it only when completely written; dropped otherwise.
class PendingFile {
 public:
  explicit PendingFile(const std::string& target) : target_(target), temp_(target + ".tmp-XXXXXX") {
    fd_ = ::mkstemp(temp_.data());
    created_ = fd_ >= 0;
  }
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile() {
    if (fd_ >= 0) ::close(fd_);
    if (created_ && !committed_) ::unlink(temp_.c_str());
  }

  bool Write(std::string_view bytes) {
    if (fd_ < 0) return false;
    while (!bytes.empty()) {
      const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
  }

  bool Commit() {
    if (fd_ < 0) return false;
    const bool flushed = ::fchmod(fd_, NewFileMode(target_)) == 0 && ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!flushed || !closed) return false;
    committed_ = ::rename(temp_.c_str(), target_.c_str()) == 0;
    return committed_;
  }

 private:
  std::string target_;
  std::string temp_;
  int fd_ = -1;
  bool created_ = false;
  bool committed_ = false;
};

}  // namespace

const INIFile::Section* INIFile::FindSection(const std::string& name) const {
  return FindByName(sections_, name);
}

INIFile::Section* INIFile::FindSection(const std::string& name) { return FindByName(sections_, name); }

INIFile::Section& INIFile::SectionFor(const std::string& name) {
  if (Section* found = FindSection(name)) return *found;
  sections_.push_back(Section{name, {}});
  return sections_.back();
}

const std::string* INIFile::OwnValue(const std::string& key, const std::string& section) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return nullptr;
  const auto it = std::find_if(s->entries.begin(), s->entries.end(),
                               [&](const auto& entry) { return entry.first == key; });
  return it == s->entries.end() ? nullptr : &it->second;
}

std::string INIFile::Value(const std::string& key, const std::string& section) const {
  if (const std::string* own = OwnValue(key, section)) return *own;
  if (delegate_ != nullptr) return delegate_->Value(key, section);
  return {};
}

void INIFile::SetValue(const std::string& key, const std::string& section, const std::string& value) {
  auto& entries = SectionFor(section).entries;
  const auto it = std::find_if(entries.begin(), entries.end(),
                               [&](const auto& entry) { return entry.first == key; });
  if (it != entries.end()) {
    it->second = value;
    return;
  }
  entries.emplace_back(key, value);
}

void INIFile::SetValue(const std::string& key, const std::string& section, bool value) {
  SetValue(key, section, std::string(value ? "True" : "False"));
}

void INIFile::SetValue(const std::string& key, const std::string& section, const char* value) {
  SetValue(key, section, std::string(value == nullptr ? "" : value));
}

bool INIFile::HasKey(const std::string& key, const std::string& section) const {
  return OwnValue(key, section) != nullptr;
}

void INIFile::RemoveKey(const std::string& key, const std::string& section) {
  Section* found = FindSection(section);
  if (found == nullptr) return;
  std::erase_if(found->entries, [&](const auto& entry) { return entry.first == key; });
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
  std::transform(s->entries.begin(), s->entries.end(), std::back_inserter(keys),
                 [](const auto& entry) { return entry.first; });
  return keys;
}

void INIFile::Clear() { sections_.clear(); }

void INIFile::LoadText(std::string_view text) {
  std::string section;
  for (const std::string_view line : SplitLines(text)) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';') continue;
    if (trimmed.front() == '[' && trimmed.back() == ']') {
      section = std::string(trimmed.substr(1, trimmed.size() - 2));
      SectionFor(section);
      continue;
    }
    const auto equals = trimmed.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = Trim(trimmed.substr(0, equals));
    if (key.empty()) continue;
    SetValue(std::string(key), section, ReadValueText(trimmed.substr(equals + 1)));
  }
}

std::string INIFile::Text(bool preserveAll) const {
  // Keys read before any section header belong to the nameless section, which must come first.
  std::vector<const Section*> order;
  if (const Section* nameless = FindSection("")) order.push_back(nameless);
  for (const Section& s : sections_) {
    if (!s.name.empty()) order.push_back(&s);
  }

  std::string out;
  for (const Section* s : order) {
    std::string body;
    for (const auto& [key, value] : s->entries) {
      if (!preserveAll && delegate_ != nullptr && delegate_->Value(key, s->name) == value) continue;
      body += key + '=' + WrittenValueText(value) + '\n';
    }
    if (body.empty()) continue;
    if (!out.empty()) out += '\n';
    if (!s->name.empty()) out += '[' + s->name + "]\n";
    out += body;
  }
  return out;
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
  LoadText(text);
  return true;
}

bool INIFile::Save() const {
  if (path_.empty()) return false;
  if (loadFailed_) {
    ReportError("The settings were not saved, because the settings file " + path_ +
                " could not be read when the program started.");
    return false;
  }
  return SaveAs(path_);
}

bool INIFile::SaveAs(const std::string& path) const {
  PendingFile file(path);
  if (file.Write(Text(PreserveAll())) && file.Commit()) return true;
  ReportError("Unable to save the settings to " + path + ".");
  return false;
}

bool INIFile::PreserveAll() const { return ParseBoolean(Value("PreserveINI", "General")); }

void INIFile::ReportError(const std::string& message) const {
  Ui().MsgBox(message, vbOKOnly | vbExclamation, kErrorTitle);
}

}  // namespace quendrel
