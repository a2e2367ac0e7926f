// A sectioned key/value settings store read from and written to an INI file, with a delegate store
// that answers for keys this one does not hold.
#pragma once

#include <string>
#include <string_view>
#include <utility>
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
  void Clear();

  // Adds the settings of INI text to the store: "[Section]" lines, "key=value" lines, ";" comments.
  void LoadText(std::string_view text);
  // The store as INI text. Unless preserveAll, values equal to what the delegate answers are left out.
  std::string Text(bool preserveAll) const;

  // Replaces the store with the file's settings and fixes the path that Save writes to. A missing file
  // leaves the store empty without complaint; an unreadable one is reported to the user.
  bool Load(const std::string& path);
  // Writes the store to the path given at Load, leaving out defaults unless [General] PreserveINI is
  // true. The old file is replaced only once the new one is completely written.
  bool Save() const;
  bool SaveAs(const std::string& path) const;
  const std::string& Path() const { return path_; }

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
  };

  const Section* FindSection(const std::string& name) const;
  Section* FindSection(const std::string& name);
  Section& SectionFor(const std::string& name);
  const std::string* OwnValue(const std::string& key, const std::string& section) const;
  bool PreserveAll() const;
  void ReportError(const std::string& message) const;

  const INIFile* delegate_ = nullptr;
  // Kept in file order so a saved file reads like the one that was loaded.
  std::vector<Section> sections_;
  std::string path_;
  // A file that exists but could not be read must not be replaced by the little we know.
  bool loadFailed_ = false;
};

}  // namespace quendrel
