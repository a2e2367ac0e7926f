// Reading numbers out of user text and writing numbers as text, the same on every machine whatever its locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quendrel {

// The value of the number a text starts with: blanks, tabs and line feeds anywhere are skipped; an optional
// sign, digits with at most one "." and an optional exponent (E or D, optional sign, digits); or "&H" and
// hexadecimal digits, or "&O" and octal digits. Reading stops at the first character that does not fit, and
// a text that does not start with a number is worth 0.
// A "&H"/"&O" value that fits in 16 bits reads as a signed 16-bit integer (&HFFFF is -1, &H8000 is -32768),
// one that fits in 32 bits as a signed 32-bit integer (&H10000 is 65536, &HFFFFFFFF is -1), anything larger
// as its plain unsigned value: the classic reading, so drive words typed in hex keep their sign.
// A decimal number too large for a double reads as the largest double of its sign; one too small, as 0.
double LeadingNumber(std::string_view text);

// When the text starts with an "&H" or "&O" number as LeadingNumber reads it: the plain unsigned value of its
// digits (2^64 - 1 when they hold more), for fields wider than a drive word. Nothing for any other text.
std::optional<std::uint64_t> LeadingRadixDigits(std::string_view text);

// True when LeadingNumber found at least one digit, so "0" and "abc" can be told apart.
bool HasLeadingNumber(std::string_view text);

// The number at the start of a text a user typed as a value for a drive or a file: nothing when the
// text holds no number (so a slip never becomes 0), when a 32-bit float cannot hold it, or when a digit
// follows the number: "12,5", "0x10" and "1.2.3" would otherwise go out as 12, 0 and 1.2, which is not
// what was typed, while a unit or a word after it ("12 Hz", "12abc") is read past as before.
std::optional<float> TypedNumberValue(std::string_view text);
// The same number at full precision: LeadingNumber's value for a text TypedNumberValue accepts.
std::optional<double> TypedNumber(std::string_view text);

// True when the whole text, outer blanks and tabs aside, is one number in the form LeadingNumber reads
// (no blanks inside, no thousands separators, no currency signs).
bool IsNumericText(std::string_view text);

// The value of a text for which IsNumericText holds; nothing otherwise.
std::optional<double> NumericTextValue(std::string_view text);

// Formats with a digit pattern: "0" a digit always shown, "#" a digit shown only when significant, "." the
// decimal point; every other character is copied as it stands ("00000 " ends in a blank). The value is
// rounded, half away from zero, to as many decimals as the pattern has placeholders after the point, after
// being taken at 15 significant digits so that 2.675 formats "0.00" as 2.68, as it was typed. Integer digits
// beyond the pattern's are all shown. Trailing zeros are dropped only from "#" places, so "0.##" gives "3."
// for 3 and callers that want no bare point remove it. A result that rounds to zero carries no minus sign.
// An empty pattern gives DoubleToText.
std::string FormatNumber(double value, std::string_view pattern);

// The shortest decimal text with at most 15 significant digits that stands for the value: 0.1 + 0.2 gives
// "0.3", 1/3 gives "0.333333333333333". Exponents from -5 to 14 are written out in full; others as
// mantissa, "E", sign and at least two digits ("1E+15", "1.5E-07"). Never depends on the locale.
std::string DoubleToText(double value);

// The same for a single-precision value, with at most 7 significant digits and exponents from -5 to 6
// written in full (16777216 gives "1.677722E+07").
std::string SingleToText(float value);

// The value rounded to the nearest integer, halves to the even neighbour (2.5 gives 2, 3.5 gives 4), as a
// double, so it also serves values beyond the 32-bit range.
double RoundHalfEvenValue(double value);

// RoundHalfEvenValue as a 32-bit integer, held to the 32-bit range; NaN gives 0. For geometry and other
// places where an out-of-range value is no error.
std::int32_t RoundHalfEven(double value);

// Conversions that raise RuntimeError 6 "Overflow" when the rounded value does not fit (or is NaN): the
// type-conversion rules of the script engine and the settings readers.
std::int32_t ToInt32Checked(double value);
std::int16_t ToInt16Checked(double value);

// The value rounded half to even and reduced to its low 16 bits as a signed 16-bit integer (40000 gives
// -25536, -1 stays -1): how a typed value becomes a drive's raw parameter word. Never raises; NaN and
// infinities give 0.
std::int16_t RoundToWord(double value);

}  // namespace quendrel
