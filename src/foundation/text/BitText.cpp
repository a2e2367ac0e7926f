#include "foundation/text/BitText.h"

#include <algorithm>

namespace quendrel {

namespace {
unsigned char Byte(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]);
}
}  // namespace

std::int32_t BinaryStringToLong(std::string_view bits) {
  std::uint32_t value = 0;
  const std::size_t count = std::min<std::size_t>(bits.size(), 32);
  for (std::size_t bit = 0; bit < count; ++bit) {
    if (bits[bits.size() - 1 - bit] == '1') value |= std::uint32_t{1} << bit;
  }
  return static_cast<std::int32_t>(value);
}

std::string LongToBinaryString(std::int32_t value, bool grouped) {
  const auto word = static_cast<std::uint16_t>(value);
  std::string text;
  for (int bit = 15; bit >= 0; --bit) {
    text.push_back(((word >> bit) & 1U) != 0 ? '1' : '0');
    if (grouped && bit % 4 == 0 && bit > 0) text.push_back(' ');
  }
  return text;
}

std::int16_t LowWordOf(std::int32_t value) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

std::int16_t ShiftLeft(std::int16_t value, std::int16_t n) {
  if (n <= -16 || n >= 16) return 0;
  if (n < 0) return ShiftRight(value, static_cast<std::int16_t>(-n));
  const auto shifted = static_cast<std::uint32_t>(static_cast<std::uint16_t>(value)) << n;
  return LowWordOf(static_cast<std::int32_t>(shifted));
}

std::int16_t ShiftRight(std::int16_t value, std::int16_t n) {
  if (n <= -16 || n >= 16) return 0;
  if (n < 0) return ShiftLeft(value, static_cast<std::int16_t>(-n));
  // Division, not an arithmetic shift: negative values round toward zero.
  return static_cast<std::int16_t>(value / (std::int32_t{1} << n));
}

std::string Int16ToStr(std::int16_t value) {
  const auto word = static_cast<std::uint16_t>(value);
  return {static_cast<char>(word >> 8), static_cast<char>(word & 0xFF)};
}

std::int16_t StrToInt16(std::string_view bytes) {
  if (bytes.size() < 2) return 0;
  return static_cast<std::int16_t>(
      static_cast<std::uint16_t>((Byte(bytes, 0) << 8) | Byte(bytes, 1)));
}

std::int32_t StrToInt32(std::string_view bytes) {
  if (bytes.size() < 4) return 0;
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | Byte(bytes, i);
  return static_cast<std::int32_t>(value);
}

std::string FormatHex(std::int32_t value, int width, std::string_view pad) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  auto rest = static_cast<std::uint32_t>(value);
  std::string digits;
  do {
    digits.insert(digits.begin(), kDigits[rest & 0xF]);
    rest >>= 4;
  } while (rest != 0);
  if (width > 0) {
    const auto wanted = static_cast<std::size_t>(width);
    if (digits.size() < wanted)
      digits.insert(0, wanted - digits.size(), pad.empty() ? '0' : pad.front());
    digits = digits.substr(digits.size() - wanted);
  }
  return "0x" + digits;
}

}  // namespace quendrel
