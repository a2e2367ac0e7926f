// The byte layout of the binary parameter file (*.KVB); no other class knows it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quendrel {

class ByteReader;
class KVBFile;

// Magic "KVB1"; the body's length (32-bit); the body, enciphered as one field; CRC-16 over everything
// before it, low byte first. The body: the description (16-bit length), the record count (16-bit) and per
// present slot in ascending number: number (16-bit), identifier, name, value, value name and PAD (each with
// an 8-bit length, so an empty PAD survives), the value-name count (16-bit) and per value name its number
// (16-bit) and text (8-bit length).
class KVBCodec {
 public:
  enum class Result { Ok, NotKVB, Corrupted };

  // The magic and the body's length: all a reader needs to judge a file before reading the rest of it.
  static constexpr std::size_t kHeaderSize = 8;

  // The verdict from a file's first bytes (at most kHeaderSize) and its size alone: NotKVB without the
  // magic, Corrupted when the size is not the one the header gives (so a file larger than the layout can
  // describe, 4 GiB and 10 bytes, never passes), else Ok with the rest still to check.
  static Result CheckHeader(std::string_view head, std::uint64_t fileSize);

  // Nothing when a field does not fit its place in the layout (a name of 256 characters, say).
  static std::optional<std::string> Encode(const KVBFile& file, bool onlyWorkFlagged);
  // Fills `into`, which must be a new set; after a failure it may hold part of the image. Anything short,
  // truncated, inconsistent or left over, a record numbered 2100 or above, records out of order, or a
  // record without an identifier is Corrupted, and never read past.
  static Result Decode(std::string_view image, KVBFile& into);

 private:
  static bool DecodeBody(std::string_view body, KVBFile& into);
  static bool DecodeRecord(ByteReader& in, KVBFile& into, std::int32_t n);
  static bool DecodeValueNames(ByteReader& in, KVBFile& into, std::int32_t n);
};

}  // namespace quendrel
