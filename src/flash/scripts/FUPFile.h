// A firmware upgrade package held in memory: the release's version, flags, the script run first and
// the member files that script names.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flash/scripts/ScriptArchive.h"

namespace quendrel {

enum EnumFupFlags : std::uint32_t {
  // The upgrade wizard skips its firmware series checks.
  FUPIgnoreVersions = 1,
};

// The largest package file read. A release holds scripts, hex and parameter files of a few MB; the
// limit only keeps a wrong file from being read whole into memory.
inline constexpr std::uint64_t kLargestPackageFile = 256ULL << 20;

// Members are served from memory only and never written to disk by the program. Their names come from
// the file and are untrusted: a lookup key is a plain lower-case file name, so a member whose stored
// name is empty, holds a capital or a path character is kept but never found.
class FUPFile final : public ScriptArchive {
 public:
  FUPFile() = default;

  bool IgnoreVersions() const { return (flags_ & FUPIgnoreVersions) != 0; }
  void SetIgnoreVersions(bool ignore);
  std::uint32_t Flags() const { return flags_; }
  float Version() const { return version_; }
  void SetVersion(float version) { version_ = version; }

  // Empties the members, the flags, the root name and the last load's error; the version stays.
  void Clear();

  bool FileExists(const std::string& name) const override;
  std::optional<std::string> GetFile(const std::string& name) const override;
  std::unique_ptr<TextStream> GetStream(const std::string& name) const override;

  // As stored in the package, not lower-cased.
  const std::string& RootFile() const { return rootFile_; }
  // Stores the lookup key of the path.
  void SetRootFile(const std::string& path);
  // The members' names as stored, in name order.
  std::vector<std::string> MemberNames() const;

  // Clears first, then reads the package. False, with the package left empty (root name "", no
  // member) and the version unchanged, when the file is missing or unreadable, or the image is no
  // well-formed package.
  bool Load(const std::string& path);
  // The same from the bytes of a package file.
  bool LoadImage(std::string_view image);
  // Why the last load failed, for a message after the file's name ("it ends before its last
  // member"); empty after a load that succeeded.
  const std::string& LoadError() const { return loadError_; }
  // True when the last load read the file and found no well-formed package in it.
  bool Damaged() const { return damaged_; }

  // The file-name part of a path, lower-cased. A key that is empty or holds a ":" finds no member.
  static std::string LookupKey(std::string_view path);

 private:
  const std::string* Member(const std::string& name) const;

  std::map<std::string, std::string> members_;
  std::uint32_t flags_ = 0;
  float version_ = 0.0F;
  std::string rootFile_;
  std::string loadError_;
  bool damaged_ = false;
};

}  // namespace quendrel
