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

// Reads the layout field by field; the first field that does not fit ends the reading with the
// reason, so a damaged package is refused as a whole and the user is told what is wrong with it.
class PackageReader {
 public:
  explicit PackageReader(std::string_view image) : reader_(image) {}

  std::optional<PackageContents> Read() {
    if (reader_.U32() != kPackageMagic || !reader_.Ok()) return Fail(kNoPackage);
    PackageContents package;
    const std::optional<std::string> versionText = EncipheredField(kVersionTextLength);
    if (!versionText) return std::nullopt;
    package.version = static_cast<float>(LeadingNumber(*versionText));
    package.flags = reader_.U32();
    std::optional<std::string> root = EncipheredField(reader_.I16());
    if (!root) return std::nullopt;
    package.rootFile = std::move(*root);
    const std::int16_t count = reader_.I16();
    if (!reader_.Ok()) return Fail(kCutShort);
    if (count < 0) return Fail(kNegativeLength);
    for (std::int16_t member = 0; member < count; ++member) {
      if (!ReadMember(package.members)) return std::nullopt;
    }
    return package;
  }

  const std::string& Reason() const { return reason_; }

 private:
  static constexpr const char* kNoPackage = "it does not begin as a firmware update file does";
  static constexpr const char* kCutShort = "it ends before its last member";
  static constexpr const char* kNegativeLength = "it holds a negative length";

  std::nullopt_t Fail(std::string reason) {
    reason_ = std::move(reason);
    return std::nullopt;
  }

  // A length field read as the signed number it is stored as; a negative one is refused, and the
  // reader refuses any length beyond the bytes left, so nothing is allocated that the image does not
  // hold.
  std::optional<std::string> EncipheredField(std::int64_t length) {
    if (!reader_.Ok()) return Fail(kCutShort);
    if (length < 0) return Fail(kNegativeLength);
    const std::string_view bytes = reader_.Bytes(static_cast<std::size_t>(length));
    if (!reader_.Ok()) return Fail(kCutShort);
    return DecryptString(bytes);
  }

  bool ReadMember(std::map<std::string, std::string>& members) {
    std::optional<std::string> name = EncipheredField(reader_.I16());
    if (!name) return false;
    const auto contentLength = static_cast<std::int32_t>(reader_.U32());
    std::optional<std::string> contents = EncipheredField(contentLength);
    if (!contents) return false;
    // A second member under one name would make the package mean two things.
    if (members.emplace(std::move(*name), std::move(*contents)).second) return true;
    Fail("it holds two members of the same name");
    return false;
  }

  ByteReader reader_;
  std::string reason_;
};

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
  loadError_.clear();
  damaged_ = false;
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
  if (!image) {
    loadError_ = std::move(reason);
    return false;
  }
  return LoadImage(*image);
}

bool FUPFile::LoadImage(std::string_view image) {
  Clear();
  PackageReader reader(image);
  std::optional<PackageContents> package = reader.Read();
  if (!package) {
    damaged_ = true;
    loadError_ = reader.Reason();
    return false;
  }
  version_ = package->version;
  flags_ = package->flags;
  rootFile_ = std::move(package->rootFile);
  members_ = std::move(package->members);
  return true;
}

}  // namespace quendrel
