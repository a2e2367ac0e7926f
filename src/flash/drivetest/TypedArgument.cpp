#include "flash/drivetest/TypedArgument.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "comms/functions/DriveReport.h"
#include "foundation/text/NumberText.h"
#include "params/transfer/ParameterDownload.h"

namespace quendrel {
bool InInt32Range(double value) {
  return value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max();
}

std::optional<double> TypedNumberBeforeRounding(std::string_view text) {
  const std::optional<double> typed = TypedNumber(text);
  if (!typed || !InInt32Range(RoundHalfEvenValue(*typed))) return std::nullopt;
  return typed;
}

std::optional<double> TypedWholeNumber(std::string_view text) {
  const std::optional<double> typed = TypedNumberBeforeRounding(text);
  if (!typed) return std::nullopt;
  return RoundHalfEvenValue(*typed);
}

namespace {

int FieldBits(DFTValueType type) {
  switch (type) {
    case dftByte:
      return 8;
    case dftShort:
      return 16;
    case dftMedium:
      return 24;
    case dftLong:
      return 32;
    default:
      return 0;
  }
}

}  // namespace

bool FieldTakesTypedNumber(std::string_view text, DFTValueType type, int decimals) {
  const std::optional<double> typed = TypedNumber(text);
  if (!typed) return false;
  if (type == dftFixed) return ParameterDownload::TypedRawValue(*typed, decimals).has_value();
  const int bits = FieldBits(type);
  if (bits == 0) return false;
  const auto radix = bits > 16 ? LeadingRadixDigits(text) : std::nullopt;
  const double value = radix ? static_cast<double>(*radix) : RoundHalfEvenValue(*typed);
  return value >= -std::ldexp(1.0, bits - 1) && value <= std::ldexp(1.0, bits) - 1;
}

Variant TypedArgumentValue(std::string_view text, DFTValueType type) {
  if (IsNumericText(text)) return Variant(std::string(text));
  // As the encoder reads an "&H" or "&O" number in a field wider than a word: its digits unsigned.
  const auto radix = FieldBits(type) > 16 ? LeadingRadixDigits(text) : std::nullopt;
  return Variant(radix ? static_cast<double>(*radix) : TypedNumber(text).value_or(0.0));
}

double BoxNumber(std::string_view text) {
  const double value = LeadingNumber(text);
  if (!std::isfinite(value) || !InInt32Range(RoundHalfEvenValue(value))) return 0;
  return value;
}

std::string RefusalReport(std::string_view field) {
  DriveReport report;
  report.RequestHeading();
  report.Line(std::string(field) + ": not a valid number - nothing sent");
  return report.Text();
}

}  // namespace quendrel
