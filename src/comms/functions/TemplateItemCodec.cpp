#include "comms/functions/TemplateItemCodec.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "foundation/text/NumberText.h"
#include "foundation/text/TextChecks.h"

namespace quendrel {

namespace {

void AppendBytes(std::string& out, std::uint32_t value, int count) {
  for (int shift = 8 * (count - 1); shift >= 0; shift -= 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

std::uint32_t ReadBytes(std::string_view data, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | static_cast<std::uint8_t>(data[at + static_cast<std::size_t>(i)]);
  return value;
}

std::string TwoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

std::string DecimalPattern(int decimals) { return decimals > 0 ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0"; }

// The text with its point removed, read as the raw word: "1.5" with two decimals is 150.
std::uint32_t FixedRaw(const udtTemplateItem& item, const std::string& argument) {
  std::string digits = FormatNumber(LeadingNumber(argument), DecimalPattern(item.Decimals));
  digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
  return static_cast<std::uint32_t>(TemplateItemCodec::WholeNumber(digits));
}

// Wider than a drive word, an "&H" or "&O" number is an address or a mask rather than a signed word, so
// &H8000 in a 24-bit field is 00 80 00, not the sign-extended FF 80 00.
std::uint32_t WideFieldValue(const std::string& argument) {
  if (const auto digits = LeadingRadixDigits(argument)) return static_cast<std::uint32_t>(*digits);
  return static_cast<std::uint32_t>(TemplateItemCodec::WholeNumber(argument));
}

int Width(DFTValueType type) {
  switch (type) {
    case dftByte:
    case dftCharacter:
      return 1;
    case dftShort:
    case dftFixed:
    case dftMxxPxx:
      return 2;
    case dftMedium:
      return 3;
    case dftLong:
      return 4;
    default:
      return 0;
  }
}

std::optional<std::size_t> StringLength(const udtTemplateItem& item, std::string_view data, std::size_t& at,
                                        const TemplateItemCodec::Earlier& earlier) {
  if (item.Length == "0") {
    if (at >= data.size()) return std::nullopt;
    return static_cast<std::uint8_t>(data[at++]);
  }
  const auto found = earlier.find(item.Length);
  if (found == earlier.end() || found->second < 0) return std::nullopt;
  return static_cast<std::size_t>(found->second);
}

}  // namespace

long long TemplateItemCodec::WholeNumber(const std::string& argument) {
  const double rounded = RoundHalfEvenValue(LeadingNumber(argument));
  // Far beyond any field's width either way; the bytes kept are the low ones.
  constexpr double kLimit = 9.0e18;
  if (!std::isfinite(rounded)) return 0;
  return static_cast<long long>(std::fmax(-kLimit, std::fmin(kLimit, rounded)));
}

void TemplateItemCodec::Encode(const udtTemplateItem& item, const std::string& argument, std::string& out) {
  switch (item.Type) {
    case dftString: {
      std::string text = StripQuotes(argument);
      if (item.Length == "0") {
        if (text.size() > 255) text.resize(255);
        out.push_back(static_cast<char>(text.size()));
      }
      out += text;
      return;
    }
    case dftCharacter: {
      const std::string text = StripQuotes(argument);
      out.push_back(text.empty() ? '\0' : text[0]);
      return;
    }
    case dftFixed:
      AppendBytes(out, FixedRaw(item, argument), 2);
      return;
    case dftMxxPxx: {
      const long long number = WholeNumber(argument);
      out.push_back(static_cast<char>(number / 100));
      out.push_back(static_cast<char>(number % 100));
      return;
    }
    default: {
      const int width = Width(item.Type);
      const std::uint32_t value =
          width > 2 ? WideFieldValue(argument) : static_cast<std::uint32_t>(WholeNumber(argument));
      AppendBytes(out, value, width);
      return;
    }
  }
}

std::optional<TemplateItemCodec::Value> TemplateItemCodec::Decode(const udtTemplateItem& item, std::string_view data,
                                                                  std::size_t& at, const Earlier& earlier) {
  if (item.Type == dftString) {
    std::size_t start = at;
    const auto length = StringLength(item, data, start, earlier);
    if (!length || start + *length > data.size()) return std::nullopt;
    at = start + *length;
    return Value{std::string(data.substr(start, *length)), 0};
  }
  const int width = Width(item.Type);
  if (at + static_cast<std::size_t>(width) > data.size()) return std::nullopt;
  const std::uint32_t raw = ReadBytes(data, at, width);
  at += static_cast<std::size_t>(width);
  switch (item.Type) {
    case dftShort:
      return Value{std::to_string(static_cast<std::int16_t>(raw)), static_cast<double>(static_cast<std::int16_t>(raw))};
    case dftLong:
      return Value{std::to_string(static_cast<std::int32_t>(raw)), static_cast<double>(static_cast<std::int32_t>(raw))};
    case dftFixed: {
      const double value = static_cast<std::int16_t>(raw) / std::pow(10.0, item.Decimals);
      return Value{FormatNumber(value, DecimalPattern(item.Decimals)), value};
    }
    case dftMxxPxx: {
      const int menu = static_cast<int>(raw >> 8);
      const int pram = static_cast<int>(raw & 0xFF);
      return Value{"M" + TwoDigits(menu) + "P" + TwoDigits(pram), menu * 100.0 + pram};
    }
    case dftCharacter:
      return Value{std::string(1, static_cast<char>(raw)), static_cast<double>(raw)};
    default:
      return Value{std::to_string(raw), static_cast<double>(raw)};
  }
}

}  // namespace quendrel
