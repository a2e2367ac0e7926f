// Reads the big-endian fields of Quendrel's binary files from a byte image without ever reading past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quendrel {

// Every read after the first one that did not fit fails too and yields zero or "", so a parser can read a
// whole record and test Ok() once; a lying length never allocates more than the image holds.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  std::uint8_t U8();
  std::uint16_t U16();
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::uint32_t U32();
  std::string_view Bytes(std::size_t count);
  // A text preceded by its length in one byte, or in two bytes.
  std::string Text8();
  std::string Text16();

  bool Ok() const { return ok_; }
  bool AtEnd() const { return ok_ && position_ == bytes_.size(); }
  std::size_t Remaining() const { return bytes_.size() - position_; }

 private:
  bool Take(std::size_t count);

  std::string_view bytes_;
  std::size_t position_ = 0;
  bool ok_ = true;
};

}  // namespace quendrel
