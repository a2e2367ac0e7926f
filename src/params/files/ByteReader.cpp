#include "params/files/ByteReader.h"

namespace quendrel {

bool ByteReader::Take(std::size_t count) {
  if (!ok_ || count > Remaining()) {
    ok_ = false;
    return false;
  }
  position_ += count;
  return true;
}

std::uint8_t ByteReader::U8() {
  if (!Take(1)) return 0;
  return static_cast<std::uint8_t>(bytes_[position_ - 1]);
}

std::uint16_t ByteReader::U16() {
  const std::uint16_t high = U8();
  const std::uint16_t low = U8();
  return ok_ ? static_cast<std::uint16_t>((high << 8) | low) : 0;
}

std::uint32_t ByteReader::U32() {
  const std::uint32_t high = U16();
  const std::uint32_t low = U16();
  return ok_ ? (high << 16) | low : 0;
}

std::string_view ByteReader::Bytes(std::size_t count) {
  if (!Take(count)) return {};
  return bytes_.substr(position_ - count, count);
}

std::string ByteReader::Text8() { return std::string(Bytes(U8())); }

std::string ByteReader::Text16() { return std::string(Bytes(U16())); }

}  // namespace quendrel
