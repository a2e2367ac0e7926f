// Writes firmware upgrade packages for tests, well-formed or broken in chosen ways. The program
// itself only reads packages.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quendrel {

class FUPFile;

struct PackageMember {
  std::string name;
  std::string contents;
};

struct PackageSpec {
  std::string versionText = "1.00 ";  // five characters in a well-formed package
  std::uint32_t flags = 0;
  std::string rootName;
  std::vector<PackageMember> members;
};

// Field by field, each enciphered field on its own; the length fields take any value, so a test
// can make them lie.
class PackageWriter {
 public:
  PackageWriter& Magic(std::string_view magic = "FUP!");
  PackageWriter& Version(std::string_view text);
  PackageWriter& Flags(std::uint32_t flags);
  PackageWriter& Root(std::string_view name) { return RootWithLength(Length(name), name); }
  PackageWriter& RootWithLength(std::int32_t length, std::string_view name);
  PackageWriter& Count(std::int32_t count);
  PackageWriter& Member(std::string_view name, std::string_view contents);
  PackageWriter& MemberWithLengths(std::int32_t nameLength, std::string_view name, std::int64_t contentLength,
                                   std::string_view contents);
  PackageWriter& Raw(std::string_view bytes);

  const std::string& Image() const { return image_; }

 private:
  static std::int32_t Length(std::string_view text) { return static_cast<std::int32_t>(text.size()); }
  void Word(std::int32_t value);
  void Long(std::int64_t value);
  void Enciphered(std::string_view text);

  std::string image_;
};

// The well-formed image of the package.
std::string PackageImage(const PackageSpec& spec);
// Writes the image to the path; false when the file cannot be written.
bool WritePackageFile(const std::filesystem::path& path, const std::string& image);

struct MalformedPackage {
  std::string what;
  std::string image;
};

// The package broken every way a reader must refuse: cut short at every byte, a wrong magic,
// lengths and counts that lie or are negative, and a name given twice. The spec needs at least
// two members.
std::vector<MalformedPackage> MalformedPackages(const PackageSpec& spec);

// Member names a package may carry to reach outside the folder it is unpacked into, or to hide.
std::vector<std::string> HostileMemberNames(const std::filesystem::path& folder);

// Writes every member a lookup finds whose stored name is a plain file name into the folder, and
// no other (empty, ".", "..", holding "/", "\", ":" or a NUL); the number written.
int UnpackMembers(const FUPFile& package, const std::filesystem::path& folder);

}  // namespace quendrel
