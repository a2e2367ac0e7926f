// A sectioned key/value settings store read from and written to an INI file, with a delegate store
// that answers for keys this one does not hold.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quendrel {

class INIFile {
 public:
  INIFile() = default;
  explicit INIFile(const INIFile* delegate) : delegate_(delegate) {}

  // The delegate must outlive this store; nullptr means no fallback.
  void SetDelegate(const INIFile* delegate) { delegate_ = delegate; }
  const INIFile* Delegate() const { return delegate_; }

  // This store's text for the key, else the delegate's, else "". Sections and keys are case-sensitive.
  std::string Value(const std::string& key, const std::string& section) const;
  void SetValue(const std::string& key, const std::string& section, const std::string& value);
  void SetValue(const std::string& key, const std::string& section, bool value);
  // Without this overload a string literal would pick the Boolean one.
  void SetValue(const std::string& key, const std::string& section, const char* value);

  // Only this store, never the delegate.
  bool HasKey(const std::string& key, const std::string& section) const;
  void RemoveKey(const std::string& key, const std::string& section);
  std::vector<std::string> Sections() const;
  std::vector<std::string> Keys(const std::string& section) const;
  // Forgets the settings and the loaded file's lines.
  void Clear();

  // Adds the settings of INI text to the store: "[Section]" lines, "key=value" lines, ";" comments. A
  // UTF-8 byte-order mark at the start is skipped.
  void LoadText(std::string_view text);
  // The text Save writes. The loaded file's lines stay as they were, comments, blank lines and lines
  // the reader ignores included; a changed value is rewritten in its own line, a new key goes to the
  // end of its section and a new section to the end of the file. Unless preserveAll, a changed or new
  // value equal to what the delegate answers is left out; a line the user wrote and the program never
  // changed stays even so.
  std::string Text(bool preserveAll) const;

  // Replaces the store with the file's settings and fixes the path that Save writes to. A missing file
  // leaves the store empty without complaint; an unreadable one is reported to the user.
  bool Load(const std::string& path);
  // Writes the store to the path given at Load, leaving out defaults unless [General] PreserveINI is
  // true. The file is read again first and only the values this store changed since Load (set,
  // changed or removed) are written over what it holds now, so edits the user made to the file
  // meanwhile survive. A key the file did not hold, set to the default it was read as, and a value
  // set again in other letter case are no changes: they never replace what the file holds now. A
  // file that already holds that text is not touched; otherwise the old file is replaced only once
  // the new one is completely written.
  bool Save() const;
  // The whole store, as Text gives it, over whatever the path holds.
  bool SaveAs(const std::string& path) const;
  const std::string& Path() const { return path_; }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  class TextBuilder;

  struct Entry {
    std::string key;
    std::string value;
    // A removed key keeps its place, so the lines the file had for it can be left out when saving.
    bool present = true;
    // What the loaded file said and its last line saying it; a key the file did not hold has neither.
    std::optional<std::string> fileValue;
    std::size_t line = kNone;
  };

  struct Section {
    std::string name;
    std::vector<Entry> entries;
    std::unordered_map<std::string, std::size_t> entryIndex;
    // The section's last run of lines in the loaded file, header excluded: where its new keys go.
    std::size_t blockBegin = kNone;
    std::size_t blockEnd = kNone;
  };

  // One line of the loaded file with its line break, and the key it sets, if any.
  struct Line {
    std::string text;
    std::size_t section = kNone;
    std::size_t entry = kNone;
  };

  const Section* FindSection(const std::string& name) const;
  std::size_t FindSectionIndex(const std::string& name) const;
  std::size_t SectionIndexFor(const std::string& name);
  static std::size_t EntryIndexFor(Section& section, const std::string& key);
  const Entry* OwnEntry(const std::string& key, const std::string& section) const;

  void Parse(std::string_view text, bool keepLines);
  Line ParseLine(std::string_view trimmed, std::string& section, bool keepLines);
  void StartBlock(std::size_t previous, std::size_t current);

  bool Written(const Section& section, const Entry& entry, bool preserveAll) const;
  bool HasBlock(const Section& section) const;
  std::size_t InsertionLine(const Section& section) const;
  void AddKeptLine(TextBuilder& out, std::size_t index, bool preserveAll) const;
  void AddNewKeys(TextBuilder& out, const Section& section, bool preserveAll) const;
  bool HasNewKeys(const Section& section, bool preserveAll) const;
  bool PreserveAll() const;
  bool ChangedSinceLoad(const Section& section, const Entry& entry) const;
  void ApplyOwnChanges(INIFile& target) const;
  bool Write(const std::string& path, const std::string& text) const;
  void ReportError(const std::string& message) const;

  const INIFile* delegate_ = nullptr;
  // Kept in file order so a saved file reads like the one that was loaded; looked up by name.
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> sectionIndex_;
  // The loaded file as it was, so that saving changes no more of it than the settings did.
  std::vector<Line> lines_;
  std::size_t firstHeader_ = kNone;
  bool byteOrderMark_ = false;
  std::string lineBreak_ = "\n";
  std::string path_;
  // A file that exists but could not be read must not be replaced by the little we know.
  bool loadFailed_ = false;
};

}  // namespace quendrel
