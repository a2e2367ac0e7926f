#include "foundation/text/NumberText.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "foundation/values/RuntimeError.h"

namespace quendrel {

namespace {

bool IsSkippedBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c, int base) {
  int digit = -1;
  if (c >= '0' && c <= '9') digit = c - '0';
  if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
  return digit < base ? digit : -1;
}

// Walks a text one character at a time, optionally stepping over the blanks that user text may hold anywhere.
class Reader {
 public:
  Reader(std::string_view text, bool skipBlanks) : text_(text), skipBlanks_(skipBlanks) {}

  char Peek() {
    SkipBlanks();
    return position_ < text_.size() ? text_[position_] : '\0';
  }
  void Advance() { ++position_; }
  bool AtEnd() {
    SkipBlanks();
    return position_ >= text_.size();
  }
  std::size_t Position() const { return position_; }
  void Restore(std::size_t position) { position_ = position; }

 private:
  void SkipBlanks() {
    while (skipBlanks_ && position_ < text_.size() && IsSkippedBlank(text_[position_])) ++position_;
  }

  std::string_view text_;
  bool skipBlanks_;
  std::size_t position_ = 0;
};

struct ReadResult {
  double value = 0;
  bool hasDigits = false;
};

double ValueOfRadixDigits(std::uint64_t raw) {
  if (raw <= 0xFFFF) return static_cast<std::int16_t>(static_cast<std::uint16_t>(raw));
  if (raw <= 0xFFFFFFFF) return static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
  return static_cast<double>(raw);
}

struct RadixDigits {
  std::uint64_t raw = 0;
  bool hasDigits = false;
};

RadixDigits ReadRadixDigits(Reader& reader, int base) {
  RadixDigits result;
  constexpr std::uint64_t kSaturated = std::numeric_limits<std::uint64_t>::max();
  for (int digit = DigitValue(reader.Peek(), base); digit >= 0; digit = DigitValue(reader.Peek(), base)) {
    reader.Advance();
    result.hasDigits = true;
    const auto next = static_cast<std::uint64_t>(digit);
    const bool fits = result.raw <= (kSaturated - next) / static_cast<std::uint64_t>(base);
    result.raw = fits ? result.raw * static_cast<std::uint64_t>(base) + next : kSaturated;
  }
  return result;
}

// The base an "&H" or "&O" prefix announces, with the reader past it; 0 and the reader untouched otherwise.
int ReadRadixPrefix(Reader& reader) {
  if (reader.Peek() != '&') return 0;
  const std::size_t start = reader.Position();
  reader.Advance();
  const char prefix = reader.Peek();
  if (prefix == 'H' || prefix == 'h' || prefix == 'O' || prefix == 'o') {
    reader.Advance();
    return prefix == 'H' || prefix == 'h' ? 16 : 8;
  }
  reader.Restore(start);
  return 0;
}

std::string ReadDigits(Reader& reader) {
  std::string digits;
  while (IsDecimalDigit(reader.Peek())) {
    digits.push_back(reader.Peek());
    reader.Advance();
  }
  return digits;
}

// An exponent counts only when digits follow its letter; "1E" reads as 1 and leaves the "E" unread.
int ReadExponent(Reader& reader) {
  const std::size_t start = reader.Position();
  const char letter = reader.Peek();
  if (letter != 'E' && letter != 'e' && letter != 'D' && letter != 'd') return 0;
  reader.Advance();
  bool negative = false;
  if (reader.Peek() == '+' || reader.Peek() == '-') {
    negative = reader.Peek() == '-';
    reader.Advance();
  }
  const std::string digits = ReadDigits(reader);
  if (digits.empty()) {
    reader.Restore(start);
    return 0;
  }
  // Far beyond any double's range, so a longer exponent changes nothing but could overflow an int.
  constexpr int kExponentLimit = 100000;
  int exponent = 0;
  for (const char c : digits) exponent = std::min(kExponentLimit, exponent * 10 + (c - '0'));
  return negative ? -exponent : exponent;
}

double DecimalValue(const std::string& whole, const std::string& fraction, int exponent) {
  const std::string text = (whole.empty() ? "0" : whole) + "." + fraction + "e" + std::to_string(exponent);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc::result_out_of_range) return value;
  // Out of range either way: the position of the first significant digit says which way.
  const auto firstWhole = whole.find_first_not_of('0');
  const auto firstFraction = fraction.find_first_not_of('0');
  const long long order = firstWhole != std::string::npos
                              ? static_cast<long long>(whole.size() - firstWhole) + exponent
                              : -static_cast<long long>(firstFraction) + exponent;
  return order > 0 ? std::numeric_limits<double>::max() : 0.0;
}

ReadResult ReadDecimal(Reader& reader) {
  ReadResult result;
  bool negative = false;
  if (reader.Peek() == '+' || reader.Peek() == '-') {
    negative = reader.Peek() == '-';
    reader.Advance();
  }
  const std::string whole = ReadDigits(reader);
  std::string fraction;
  const std::size_t beforePoint = reader.Position();
  if (reader.Peek() == '.') {
    reader.Advance();
    fraction = ReadDigits(reader);
  }
  result.hasDigits = !whole.empty() || !fraction.empty();
  if (!result.hasDigits) {
    reader.Restore(beforePoint);
    return result;
  }
  const int exponent = ReadExponent(reader);
  const double magnitude = DecimalValue(whole, fraction, exponent);
  result.value = negative ? -magnitude : magnitude;
  return result;
}

ReadResult ReadNumber(Reader& reader) {
  if (const int base = ReadRadixPrefix(reader); base != 0) {
    const RadixDigits digits = ReadRadixDigits(reader, base);
    return {ValueOfRadixDigits(digits.raw), digits.hasDigits};
  }
  if (reader.Peek() == '&') return {};
  return ReadDecimal(reader);
}

std::string_view TrimBlanksAndTabs(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// A value as significant decimal digits (no leading or trailing zeros) and the power of ten of the first one.
struct DecimalDigits {
  bool negative = false;
  std::string digits;  // empty for zero
  int exponent = 0;
};

template <typename T>
DecimalDigits SignificantDigits(T value, int significant) {
  DecimalDigits result;
  if (value == 0) return result;
  result.negative = value < 0;
  std::array<char, 64> buffer{};
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                 std::chars_format::scientific, significant - 1)
                       .ptr;
  const std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
  const auto e = text.find('e');
  for (const char c : text.substr(0, e)) {
    if (c != '.') result.digits.push_back(c);
  }
  result.digits.erase(result.digits.find_last_not_of('0') + 1);
  const std::string_view exponentText = text.substr(e + 1);
  const bool negativeExponent = exponentText.front() == '-';
  std::from_chars(exponentText.data() + 1, exponentText.data() + exponentText.size(), result.exponent);
  if (negativeExponent) result.exponent = -result.exponent;
  return result;
}

// Seven significant digits of a float by exact arithmetic, for the floats it covers (1E-06 up to
// 1E+07); nothing for the others. The float times a power of ten up to 10^12 is exact in a double (its
// 24 bits and the 28 of 5^12 fit in 53), so rounding that product to a whole number, half to even as
// the general conversion rounds, gives the same digits as that conversion at a fraction of its cost: a
// scan formats every value it logs. Checked against the general conversion for every float covered.
std::optional<DecimalDigits> SevenDigitsExactly(float value) {
  constexpr std::array<double, 13> kPowersOfTen = {1e0, 1e1, 1e2, 1e3, 1e4,  1e5,  1e6,
                                                   1e7, 1e8, 1e9, 1e10, 1e11, 1e12};
  constexpr double kLeast = 1e6;
  constexpr double kBeyond = 1e7;
  const double magnitude = std::fabs(static_cast<double>(value));
  if (!(magnitude >= 1e-6 && magnitude < kBeyond)) return std::nullopt;
  std::size_t shift = 0;
  while (magnitude * kPowersOfTen[shift] < kLeast) {
    if (++shift == kPowersOfTen.size()) return std::nullopt;
  }
  double whole = RoundHalfEvenValue(magnitude * kPowersOfTen[shift]);
  DecimalDigits result;
  result.negative = value < 0;
  result.exponent = 6 - static_cast<int>(shift);
  if (whole == kBeyond) {
    whole = kLeast;
    ++result.exponent;
  }
  std::array<char, 8> buffer{};
  char* end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), static_cast<std::uint32_t>(whole)).ptr;
  while (end[-1] == '0') --end;
  result.digits.assign(buffer.data(), end);
  return result;
}

std::string NonFiniteText(double value) {
  if (std::isnan(value)) return "NaN";
  return value < 0 ? "-Infinity" : "Infinity";
}

// The texts below are appended to one string in place: a scan formats every value it logs, and each
// piece built on its own costs a string of its own.
void AppendScientific(std::string& text, const DecimalDigits& d) {
  text += d.digits.front();
  if (d.digits.size() > 1) {
    text += '.';
    text.append(d.digits, 1);
  }
  const int magnitude = std::abs(d.exponent);
  text += d.exponent < 0 ? "E-" : "E+";
  if (magnitude < 10) text += '0';
  text += std::to_string(magnitude);
}

void AppendFixed(std::string& text, const DecimalDigits& d) {
  if (d.exponent < 0) {
    text += "0.";
    text.append(static_cast<std::size_t>(-d.exponent - 1), '0');
    text += d.digits;
    return;
  }
  const auto wholeCount = static_cast<std::size_t>(d.exponent) + 1;
  if (d.digits.size() <= wholeCount) {
    text += d.digits;
    text.append(wholeCount - d.digits.size(), '0');
    return;
  }
  text.append(d.digits, 0, wholeCount);
  text += '.';
  text.append(d.digits, wholeCount);
}

std::string GeneralText(const DecimalDigits& d, int largestFixedExponent) {
  if (d.digits.empty()) return "0";
  constexpr int kSmallestFixedExponent = -5;
  const bool fixed = d.exponent >= kSmallestFixedExponent && d.exponent <= largestFixedExponent;
  std::string text;
  if (d.negative) text += '-';
  if (fixed) {
    AppendFixed(text, d);
  } else {
    AppendScientific(text, d);
  }
  return text;
}

// The value's whole digits (no leading zeros; empty for less than 1) and exactly `decimals` fraction digits,
// rounded half away from zero.
struct FixedDigits {
  std::string whole;
  std::string fraction;
  bool IsZero() const {
    return whole.find_first_not_of('0') == std::string::npos && fraction.find_first_not_of('0') == std::string::npos;
  }
};

// Adds one unit in the last place of a string of decimal digits; returns false when it carried out of the front.
bool IncrementDigits(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return true;
    }
    *it = '0';
  }
  return false;
}

FixedDigits RoundToDecimals(const DecimalDigits& d, std::size_t decimals) {
  // Lay the digits out around the point: `all` holds whole digits followed by fraction digits.
  const int wholeCount = std::max(0, d.exponent + 1);
  const std::size_t leadingFractionZeros = d.exponent < 0 ? static_cast<std::size_t>(-d.exponent - 1) : 0;
  std::string all = std::string(leadingFractionZeros, '0') + d.digits;
  const std::size_t keep = static_cast<std::size_t>(wholeCount) + decimals;
  if (all.size() < keep) all.append(keep - all.size(), '0');
  const bool roundUp = all.size() > keep && all[keep] >= '5';
  all.resize(keep);
  std::size_t wholeDigits = static_cast<std::size_t>(wholeCount);
  if (roundUp && !IncrementDigits(all)) {
    all.insert(all.begin(), '1');
    ++wholeDigits;
  }
  FixedDigits result{all.substr(0, wholeDigits), all.substr(wholeDigits)};
  result.whole.erase(0, std::min(result.whole.find_first_not_of('0'), result.whole.size()));
  return result;
}

bool IsPlaceholder(char c) { return c == '0' || c == '#'; }

std::string FormatWhole(std::string_view pattern, const std::string& digits) {
  const auto placeholders = static_cast<std::size_t>(std::count_if(pattern.begin(), pattern.end(), IsPlaceholder));
  if (placeholders == 0) return std::string(pattern) + digits;
  // Filled from the right; whatever digits the pattern has no room for go where its first placeholder stands.
  std::string reversed;
  std::size_t used = 0;
  std::size_t seen = 0;
  for (auto it = pattern.rbegin(); it != pattern.rend(); ++it) {
    if (!IsPlaceholder(*it)) {
      reversed.push_back(*it);
      continue;
    }
    ++seen;
    if (used < digits.size()) {
      reversed.push_back(digits[digits.size() - 1 - used++]);
    } else if (*it == '0') {
      reversed.push_back('0');
    }
    if (seen == placeholders) {
      while (used < digits.size()) reversed.push_back(digits[digits.size() - 1 - used++]);
    }
  }
  return {reversed.rbegin(), reversed.rend()};
}

std::string FormatFraction(std::string_view pattern, const std::string& digits) {
  // Trailing zeros vanish only where the pattern has "#".
  std::vector<char> places;
  for (const char c : pattern) {
    if (IsPlaceholder(c)) places.push_back(c);
  }
  std::size_t shown = digits.size();
  while (shown > 0 && places[shown - 1] == '#' && digits[shown - 1] == '0') --shown;
  std::string text;
  std::size_t index = 0;
  for (const char c : pattern) {
    if (!IsPlaceholder(c)) {
      text.push_back(c);
    } else if (index < shown) {
      text.push_back(digits[index++]);
    }
  }
  return text;
}

}  // namespace

double LeadingNumber(std::string_view text) {
  Reader reader(text, true);
  return ReadNumber(reader).value;
}

std::optional<std::uint64_t> LeadingRadixDigits(std::string_view text) {
  Reader reader(text, true);
  const int base = ReadRadixPrefix(reader);
  if (base == 0) return std::nullopt;
  return ReadRadixDigits(reader, base).raw;
}

bool HasLeadingNumber(std::string_view text) {
  Reader reader(text, true);
  return ReadNumber(reader).hasDigits;
}

std::optional<double> TypedNumber(std::string_view text) {
  Reader reader(text, true);
  const ReadResult number = ReadNumber(reader);
  if (!number.hasDigits) return std::nullopt;
  const std::string_view rest = text.substr(reader.Position());
  if (std::any_of(rest.begin(), rest.end(), IsDecimalDigit)) return std::nullopt;
  if (!std::isfinite(number.value) || std::fabs(number.value) > FLT_MAX) return std::nullopt;
  return number.value;
}

std::optional<float> TypedNumberValue(std::string_view text) {
  const std::optional<double> number = TypedNumber(text);
  if (!number) return std::nullopt;
  return static_cast<float>(*number);
}

std::optional<double> NumericTextValue(std::string_view text) {
  Reader reader(TrimBlanksAndTabs(text), false);
  const ReadResult result = ReadNumber(reader);
  if (!result.hasDigits || !reader.AtEnd()) return std::nullopt;
  return result.value;
}

bool IsNumericText(std::string_view text) { return NumericTextValue(text).has_value(); }

std::string FormatNumber(double value, std::string_view pattern) {
  if (pattern.empty() || !std::isfinite(value)) return DoubleToText(value);
  const auto point = pattern.find('.');
  const std::string_view wholePattern = pattern.substr(0, point);
  const std::string_view fractionPattern = point == std::string_view::npos ? std::string_view{} : pattern.substr(point + 1);
  const auto decimals =
      static_cast<std::size_t>(std::count_if(fractionPattern.begin(), fractionPattern.end(), IsPlaceholder));

  constexpr int kSignificantDigits = 15;
  const DecimalDigits d = SignificantDigits(value, kSignificantDigits);
  const FixedDigits rounded = RoundToDecimals(d, decimals);

  std::string text = d.negative && !rounded.IsZero() ? "-" : "";
  text += FormatWhole(wholePattern, rounded.whole);
  if (point == std::string_view::npos) return text;
  return text + "." + FormatFraction(fractionPattern, rounded.fraction);
}

std::string DoubleToText(double value) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  constexpr int kSignificantDigits = 15;
  constexpr int kLargestFixedExponent = 14;
  return GeneralText(SignificantDigits(value, kSignificantDigits), kLargestFixedExponent);
}

std::string SingleToText(float value) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  constexpr int kSignificantDigits = 7;
  constexpr int kLargestFixedExponent = 6;
  const std::optional<DecimalDigits> exact = SevenDigitsExactly(value);
  return GeneralText(exact ? *exact : SignificantDigits(value, kSignificantDigits), kLargestFixedExponent);
}

double RoundHalfEvenValue(double value) {
  if (!std::isfinite(value)) return value;
  const double below = std::floor(value);
  const double rest = value - below;
  if (rest < 0.5) return below;
  if (rest > 0.5) return below + 1;
  return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

std::int32_t RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(RoundHalfEvenValue(value), kLowest, kHighest));
}

namespace {

template <typename Integer>
Integer CheckedRound(double value) {
  const double rounded = RoundHalfEvenValue(value);
  const bool fits = rounded >= static_cast<double>(std::numeric_limits<Integer>::min()) &&
                    rounded <= static_cast<double>(std::numeric_limits<Integer>::max());
  if (!fits) throw RuntimeError(errOverflow, "Quendrel", "Overflow");
  return static_cast<Integer>(rounded);
}

}  // namespace

std::int32_t ToInt32Checked(double value) { return CheckedRound<std::int32_t>(value); }

std::int16_t ToInt16Checked(double value) { return CheckedRound<std::int16_t>(value); }

std::int16_t RoundToWord(double value) {
  const double rounded = RoundHalfEvenValue(value);
  if (!std::isfinite(rounded)) return 0;
  double low = std::fmod(rounded, 65536.0);
  if (low < 0) low += 65536.0;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(low));
}

}  // namespace quendrel
