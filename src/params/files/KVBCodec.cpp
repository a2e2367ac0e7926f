#include "params/files/KVBCodec.h"

#include <set>
#include <utility>

#include "foundation/files/FileCipher.h"
#include "foundation/values/Crc16.h"
#include "params/files/ByteReader.h"
#include "params/files/ByteWriter.h"
#include "params/files/KVBFile.h"

namespace quendrel {

namespace {

constexpr std::string_view kMagic = "KVB1";
constexpr std::size_t kLengthSize = 4;
constexpr std::size_t kCrcSize = 2;
static_assert(KVBCodec::kHeaderSize == kMagic.size() + kLengthSize);

bool IsSaved(const KVBFile& file, std::int32_t n, bool onlyWorkFlagged) {
  return !file.Identifier(n).empty() && (!onlyWorkFlagged || file.WorkFlag(n));
}

void EncodeRecord(ByteWriter& out, const KVBFile& file, std::int32_t n) {
  out.U16(static_cast<std::uint32_t>(n));
  out.Text8(file.Identifier(n));
  out.Text8(file.Name(n));
  out.Text8(file.Value(n));
  out.Text8(file.ValueName(n));
  out.Text8(file.PAD(n));
  const std::int32_t names = file.NumDVDs(n);
  out.U16(static_cast<std::uint32_t>(names));
  for (std::int32_t i = 0; i < names; ++i) {
    out.I16(file.DVDNumber(n, i));
    out.Text8(file.DVD(n, i));
  }
}

std::optional<std::string> EncodeBody(const KVBFile& file, bool onlyWorkFlagged) {
  ByteWriter out;
  out.Text16(file.Description());
  std::uint32_t records = 0;
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) records += IsSaved(file, n, onlyWorkFlagged) ? 1 : 0;
  out.U16(records);
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) {
    if (IsSaved(file, n, onlyWorkFlagged)) EncodeRecord(out, file, n);
  }
  if (!out.Ok()) return std::nullopt;
  return out.TakeImage();
}

bool HasValidChecksum(std::string_view image) {
  const std::size_t bodyEnd = image.size() - kCrcSize;
  const auto low = static_cast<std::uint8_t>(image[bodyEnd]);
  const auto high = static_cast<std::uint8_t>(image[bodyEnd + 1]);
  return Crc16(image.substr(0, bodyEnd)) == static_cast<std::uint16_t>(low | (high << 8));
}

}  // namespace

// A record's value names must have distinct numbers: the set would otherwise merge them and the set read
// would not be the set written. Appended directly, since a crafted file of thousands of names must not
// cost a search per name.
bool KVBCodec::DecodeValueNames(ByteReader& in, KVBFile& into, std::int32_t n) {
  const std::uint16_t names = in.U16();
  std::set<std::int16_t> numbers;
  auto& dvds = into.At(n).DVDs;
  for (std::uint16_t i = 0; i < names; ++i) {
    const std::int16_t number = in.I16();
    std::string text = in.Text8();
    if (!in.Ok() || !numbers.insert(number).second) return false;
    dvds.push_back({number, std::move(text)});
  }
  return true;
}

// A record without an identifier would load as an absent slot that the next save drops: no file written
// here holds one.
bool KVBCodec::DecodeRecord(ByteReader& in, KVBFile& into, std::int32_t n) {
  into.SetIdentifier(n, in.Text8());
  if (into.Identifier(n).empty()) return false;
  into.SetName(n, in.Text8());
  into.SetValue(n, in.Text8());
  into.SetValueName(n, in.Text8());
  into.SetPAD(n, in.Text8());
  return in.Ok() && DecodeValueNames(in, into, n);
}

bool KVBCodec::DecodeBody(std::string_view body, KVBFile& into) {
  ByteReader in(body);
  into.SetDescription(in.Text16());
  const std::uint16_t records = in.U16();
  std::int32_t previous = -1;
  for (std::uint16_t i = 0; i < records; ++i) {
    const std::int32_t n = in.U16();
    if (!in.Ok() || n <= previous || n >= KVBFile::kSlotCount) return false;
    previous = n;
    if (!DecodeRecord(in, into, n)) return false;
  }
  return in.AtEnd();
}

std::optional<std::string> KVBCodec::Encode(const KVBFile& file, bool onlyWorkFlagged) {
  const auto body = EncodeBody(file, onlyWorkFlagged);
  if (!body) return std::nullopt;
  ByteWriter out;
  out.Bytes(kMagic);
  out.U32(static_cast<std::uint32_t>(body->size()));
  out.Bytes(DecryptString(*body));
  std::string image = out.TakeImage();
  AppendCrc16(image);
  return image;
}

KVBCodec::Result KVBCodec::CheckHeader(std::string_view head, std::uint64_t fileSize) {
  if (!head.starts_with(kMagic)) return Result::NotKVB;
  if (head.size() < kHeaderSize) return Result::Corrupted;
  ByteReader in(head.substr(kMagic.size(), kLengthSize));
  const std::uint64_t bodySize = in.U32();
  return fileSize == kHeaderSize + bodySize + kCrcSize ? Result::Ok : Result::Corrupted;
}

KVBCodec::Result KVBCodec::Decode(std::string_view image, KVBFile& into) {
  if (!image.starts_with(kMagic)) return Result::NotKVB;
  if (image.size() < kMagic.size() + kLengthSize + kCrcSize || !HasValidChecksum(image)) {
    return Result::Corrupted;
  }
  ByteReader in(image.substr(kMagic.size(), image.size() - kMagic.size() - kCrcSize));
  const std::string_view body = in.Bytes(in.U32());
  if (!in.AtEnd() || !DecodeBody(DecryptString(body), into)) return Result::Corrupted;
  return Result::Ok;
}

}  // namespace quendrel
