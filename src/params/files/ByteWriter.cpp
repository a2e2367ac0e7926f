#include "params/files/ByteWriter.h"

#include <algorithm>

namespace quendrel {

void ByteWriter::U8(std::uint32_t value) {
  if (value > 0xFFU) ok_ = false;
  bytes_.push_back(static_cast<char>(value & 0xFFU));
}

void ByteWriter::U16(std::uint32_t value) {
  if (value > 0xFFFFU) ok_ = false;
  bytes_.push_back(static_cast<char>((value >> 8) & 0xFFU));
  bytes_.push_back(static_cast<char>(value & 0xFFU));
}

void ByteWriter::I16(std::int32_t value) {
  if (value < -32768 || value > 32767) ok_ = false;
  U16(static_cast<std::uint32_t>(value) & 0xFFFFU);
}

void ByteWriter::U32(std::uint32_t value) {
  U16(value >> 16);
  U16(value & 0xFFFFU);
}

void ByteWriter::Text8(std::string_view text) {
  U8(static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), 0x100U)));
  bytes_.append(text);
}

void ByteWriter::Text16(std::string_view text) {
  U16(static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), 0x10000U)));
  bytes_.append(text);
}

}  // namespace quendrel
