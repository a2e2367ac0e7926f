#include "flash/scripts/FUPFile.h"

#include <algorithm>
#include <cctype>

#include "foundation/files/FileCipher.h"
#include "foundation/files/PathText.h"
#include "foundation/files/RegularFile.h"
#include "foundation/files/qovStringStream.h"
#include "foundation/text/NumberText.h"
#include "params/files/ByteReader.h"

namespace quendrel {

namespace {

constexpr std::uint32_t kPackageMagic = 0x46555021U;  // "FUP!"
constexpr std::size_t kVersionTextLength = 5;

struct PackageContents {
  float version = 0.0F;
  std::uint32_t flags = 0;
  std::string rootFile;
  std::map<std::string, std::string> members;
};

// A length field read as the signed number it is stored as; a negative one is refused, and the
// reader refuses any length beyond the bytes left, so nothing is allocated that the image does not
// hold.
std::optional<std::string> EncipheredField(ByteReader& reader, std::int64_t length) {
  if (length < 0) return std::nullopt;
  const std::string_view bytes = reader.Bytes(static_cast<std::size_t>(length));
  if (!reader.Ok()) return std::nullopt;
  return DecryptString(bytes);
}

bool ReadMember(ByteReader& reader, std::map<std::string, std::string>& members) {
  std::optional<std::string> name = EncipheredField(reader, reader.I16());
  if (!name) return false;
  const auto contentLength = static_cast<std::int32_t>(reader.U32());
  std::optional<std::string> contents = EncipheredField(reader, contentLength);
  if (!contents) return false;
  // A second member under one name would make the package mean two things.
  return members.emplace(std::move(*name), std::move(*contents)).second;
}

std::optional<PackageContents> ReadPackage(std::string_view image) {
  ByteReader reader(image);
  if (reader.U32() != kPackageMagic || !reader.Ok()) return std::nullopt;
  PackageContents package;
  const std::optional<std::string> versionText = EncipheredField(reader, kVersionTextLength);
  if (!versionText) return std::nullopt;
  package.version = static_cast<float>(LeadingNumber(*versionText));
  package.flags = reader.U32();
  std::optional<std::string> root = EncipheredField(reader, reader.I16());
  if (!root) return std::nullopt;
  package.rootFile = std::move(*root);
  const std::int16_t count = reader.I16();
  if (!reader.Ok() || count < 0) return std::nullopt;
  for (std::int16_t member = 0; member < count; ++member) {
    if (!ReadMember(reader, package.members)) return std::nullopt;
  }
  return package;
}

}  // namespace

void FUPFile::SetIgnoreVersions(bool ignore) {
  if (ignore) {
    flags_ |= FUPIgnoreVersions;
  } else {
    flags_ &= ~static_cast<std::uint32_t>(FUPIgnoreVersions);
  }
}

void FUPFile::Clear() {
  members_.clear();
  flags_ = 0;
  rootFile_.clear();
}

std::string FUPFile::LookupKey(std::string_view path) {
  std::string key = GetPathFileName(path);
  std::transform(key.begin(), key.end(), key.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return key;
}

const std::string* FUPFile::Member(const std::string& name) const {
  const std::string key = LookupKey(name);
  if (key.empty() || key.find(':') != std::string::npos) return nullptr;
  const auto found = members_.find(key);
  return found == members_.end() ? nullptr : &found->second;
}

bool FUPFile::FileExists(const std::string& name) const { return Member(name) != nullptr; }

std::optional<std::string> FUPFile::GetFile(const std::string& name) const {
  const std::string* contents = Member(name);
  if (contents == nullptr) return std::nullopt;
  return *contents;
}

std::unique_ptr<TextStream> FUPFile::GetStream(const std::string& name) const {
  const std::string* contents = Member(name);
  if (contents == nullptr) return nullptr;
  return std::make_unique<qovStringStream>(*contents);
}

void FUPFile::SetRootFile(const std::string& path) { rootFile_ = LookupKey(path); }

std::vector<std::string> FUPFile::MemberNames() const {
  std::vector<std::string> names;
  names.reserve(members_.size());
  for (const auto& member : members_) names.push_back(member.first);
  return names;
}

bool FUPFile::Load(const std::string& path) {
  // Cleared before anything else, so a mistyped path can never leave the previous package to run.
  Clear();
  std::string reason;
  const std::optional<std::string> image = ReadRegularFile(path, kLargestPackageFile, reason);
  return image && LoadImage(*image);
}

bool FUPFile::LoadImage(std::string_view image) {
  Clear();
  std::optional<PackageContents> package = ReadPackage(image);
  if (!package) return false;
  version_ = package->version;
  flags_ = package->flags;
  rootFile_ = std::move(package->rootFile);
  members_ = std::move(package->members);
  return true;
}

}  // namespace quendrel
