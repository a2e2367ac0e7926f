#pragma once

// Conversions between integers and their bit, hexadecimal and big-endian byte-string forms, as
// the drive's words and the parameter attribute flags are shown and sent.

#include <cstdint>
#include <string>
#include <string_view>

namespace quendrel {

// The rightmost character is bit 0; "1" sets a bit, any other character leaves it clear. Bits
// beyond 31 are dropped.
std::int32_t BinaryStringToLong(std::string_view bits);
// The low 16 bits as "0"/"1", most significant first; grouped puts a blank between groups of
// four ("0000 0000 0001 0010").
std::string LongToBinaryString(std::int32_t value, bool grouped);

// The low 16 bits as a signed 16-bit integer (40000 gives -25536).
std::int16_t LowWordOf(std::int32_t value);
// value × 2^n kept to 16 bits; a negative n shifts right.
std::int16_t ShiftLeft(std::int16_t value, std::int16_t n);
// value integer-divided by 2^n, rounding toward zero (-3 by 2^1 gives -1); a negative n shifts
// left.
std::int16_t ShiftRight(std::int16_t value, std::int16_t n);

// Two bytes, high byte first.
std::string Int16ToStr(std::int16_t value);
// The first two bytes, high byte first; 0 when there are fewer.
std::int16_t StrToInt16(std::string_view bytes);
// The first four bytes, most significant first; 0 when there are fewer.
std::int32_t StrToInt32(std::string_view bytes);

// "0x" and the upper-case hexadecimal digits of the value (a negative value as its 32-bit two's
// complement), left-padded with the first character of `pad` ("0" when empty) to `width` digits
// and cut to the last `width` digits; width 0 or less neither pads nor cuts.
std::string FormatHex(std::int32_t value, int width, std::string_view pad);

}  // namespace quendrel
