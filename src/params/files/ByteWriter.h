// Builds the big-endian fields of Quendrel's binary files, refusing any value its field cannot hold.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace quendrel {

// A field that does not fit (a text longer than its length byte allows, a count beyond 16 bits) marks the
// writer failed instead of being cut, so a file is never written with a silently shortened name.
class ByteWriter {
 public:
  void U8(std::uint32_t value);
  void U16(std::uint32_t value);
  void I16(std::int32_t value);
  void U32(std::uint32_t value);
  void Bytes(std::string_view bytes) { bytes_.append(bytes); }
  void Text8(std::string_view text);
  void Text16(std::string_view text);

  bool Ok() const { return ok_; }
  const std::string& Image() const { return bytes_; }
  std::string TakeImage() { return std::move(bytes_); }

 private:
  std::string bytes_;
  bool ok_ = true;
};

}  // namespace quendrel
