#include "flash/support/PackageWriter.h"

#include <fstream>

#include "flash/scripts/FUPFile.h"
#include "foundation/files/FileCipher.h"
#include "params/files/ByteWriter.h"

namespace quendrel {

namespace {

namespace fs = std::filesystem;

PackageWriter& Header(PackageWriter& writer, const PackageSpec& spec) {
  return writer.Magic().Version(spec.versionText).Flags(spec.flags).Root(spec.rootName);
}

PackageWriter& Members(PackageWriter& writer, const std::vector<PackageMember>& members, std::size_t from = 0) {
  for (std::size_t i = from; i < members.size(); ++i) writer.Member(members[i].name, members[i].contents);
  return writer;
}

std::int32_t Count(const PackageSpec& spec) { return static_cast<std::int32_t>(spec.members.size()); }

// The package with its first member written by the given lengths.
std::string FirstMemberLying(const PackageSpec& spec, std::int32_t nameLength, std::int64_t contentLength) {
  PackageWriter writer;
  Header(writer, spec).Count(Count(spec));
  const PackageMember& first = spec.members.front();
  writer.MemberWithLengths(nameLength, first.name, contentLength, first.contents);
  return Members(writer, spec.members, 1).Image();
}

std::string LastMemberOneByteLong(const PackageSpec& spec) {
  PackageWriter writer;
  Header(writer, spec).Count(Count(spec));
  std::vector<PackageMember> leading(spec.members.begin(), spec.members.end() - 1);
  Members(writer, leading);
  const PackageMember& last = spec.members.back();
  const auto length = static_cast<std::int32_t>(last.name.size());
  return writer.MemberWithLengths(length, last.name, static_cast<std::int64_t>(last.contents.size()) + 1, last.contents)
      .Image();
}

std::string WithRootLength(const PackageSpec& spec, std::int32_t length) {
  PackageWriter writer;
  writer.Magic().Version(spec.versionText).Flags(spec.flags).RootWithLength(length, spec.rootName);
  return Members(writer.Count(Count(spec)), spec.members).Image();
}

std::string WithCount(const PackageSpec& spec, std::int32_t count) {
  PackageWriter writer;
  return Members(Header(writer, spec).Count(count), spec.members).Image();
}

std::string WithFirstMemberTwice(const PackageSpec& spec) {
  PackageWriter writer;
  Members(Header(writer, spec).Count(Count(spec) + 1), spec.members);
  return writer.Member(spec.members.front().name, "again").Image();
}

bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of(std::string("/\\:\0", 4)) == std::string::npos;
}

}  // namespace

PackageWriter& PackageWriter::Magic(std::string_view magic) { return Raw(magic); }

PackageWriter& PackageWriter::Version(std::string_view text) {
  Enciphered(text);
  return *this;
}

PackageWriter& PackageWriter::Flags(std::uint32_t flags) {
  Long(flags);
  return *this;
}

PackageWriter& PackageWriter::RootWithLength(std::int32_t length, std::string_view name) {
  Word(length);
  Enciphered(name);
  return *this;
}

PackageWriter& PackageWriter::Count(std::int32_t count) {
  Word(count);
  return *this;
}

PackageWriter& PackageWriter::Member(std::string_view name, std::string_view contents) {
  return MemberWithLengths(Length(name), name, static_cast<std::int64_t>(contents.size()), contents);
}

PackageWriter& PackageWriter::MemberWithLengths(std::int32_t nameLength, std::string_view name,
                                                std::int64_t contentLength, std::string_view contents) {
  Word(nameLength);
  Enciphered(name);
  Long(contentLength);
  Enciphered(contents);
  return *this;
}

PackageWriter& PackageWriter::Raw(std::string_view bytes) {
  image_.append(bytes);
  return *this;
}

void PackageWriter::Word(std::int32_t value) {
  ByteWriter writer;
  writer.U16(static_cast<std::uint32_t>(value) & 0xFFFFU);
  image_ += writer.Image();
}

void PackageWriter::Long(std::int64_t value) {
  ByteWriter writer;
  writer.U32(static_cast<std::uint32_t>(value));
  image_ += writer.Image();
}

void PackageWriter::Enciphered(std::string_view text) { image_ += DecryptString(text); }

std::string PackageImage(const PackageSpec& spec) {
  PackageWriter writer;
  return Members(Header(writer, spec).Count(Count(spec)), spec.members).Image();
}

bool WritePackageFile(const fs::path& path, const std::string& image) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(image.data(), static_cast<std::streamsize>(image.size()));
  return static_cast<bool>(file.flush());
}

std::vector<MalformedPackage> MalformedPackages(const PackageSpec& spec) {
  const std::string image = PackageImage(spec);
  std::vector<MalformedPackage> variants;
  for (std::size_t size = 0; size < image.size(); ++size) {
    variants.push_back({"cut to " + std::to_string(size) + " bytes", image.substr(0, size)});
  }
  variants.push_back({"magic fup!", "fup!" + image.substr(4)});
  variants.push_back({"magic FUP?", "FUP?" + image.substr(4)});
  variants.push_back({"root length past the end", WithRootLength(spec, 0x7FFF)});
  variants.push_back({"root length -1", WithRootLength(spec, -1)});
  variants.push_back({"root length -32768", WithRootLength(spec, -32768)});
  variants.push_back({"one member more than written", WithCount(spec, Count(spec) + 1)});
  variants.push_back({"count -1", WithCount(spec, -1)});
  variants.push_back({"count -32768", WithCount(spec, -32768)});
  const auto nameLength = static_cast<std::int32_t>(spec.members.front().name.size());
  const auto contentLength = static_cast<std::int64_t>(spec.members.front().contents.size());
  variants.push_back({"name length past the end", FirstMemberLying(spec, 0x7FFF, contentLength)});
  variants.push_back({"name length -1", FirstMemberLying(spec, -1, contentLength)});
  variants.push_back({"contents length 2 GB", FirstMemberLying(spec, nameLength, 0x7FFFFFFF)});
  variants.push_back({"contents length -1", FirstMemberLying(spec, nameLength, -1)});
  variants.push_back({"contents length -2^31", FirstMemberLying(spec, nameLength, 0x80000000LL)});
  variants.push_back({"last contents one byte long", LastMemberOneByteLong(spec)});
  variants.push_back({"a name given twice", WithFirstMemberTwice(spec)});
  return variants;
}

std::vector<std::string> HostileMemberNames(const fs::path& folder) {
  return {"",
          ".",
          "..",
          "../escaped.txt",
          "..\\escaped.txt",
          "sub/../../escaped.txt",
          (folder / "absolute.txt").string(),
          "c:escaped.txt",
          "C:\\escaped.txt",
          "name/",
          std::string("nul\0byte.txt", 12),
          "CAPITAL.TXT"};
}

int UnpackMembers(const FUPFile& package, const fs::path& folder) {
  int written = 0;
  for (const std::string& name : package.MemberNames()) {
    if (!IsPlainFileName(name)) continue;
    const std::optional<std::string> contents = package.GetFile(name);
    if (!contents) continue;
    std::ofstream file(folder / name, std::ios::binary | std::ios::trunc);
    file.write(contents->data(), static_cast<std::streamsize>(contents->size()));
    if (file.flush()) ++written;
  }
  return written;
}

}  // namespace quendrel
