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

constexpr double kHighestMenu = 255;
constexpr double kHighestParameter = 99;
constexpr double kHighestParameterNumber = 100 * kHighestMenu + kHighestParameter;

bool InCellRange(double value, double highest) { return value >= 0 && value <= highest; }

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

std::optional<std::int32_t> ParameterNumberFromCells(std::string_view menu, std::string_view parameter,
                                                     std::string& refused) {
  const std::optional<double> menuValue = TypedNumberBeforeRounding(menu);
  if (!menuValue || !InCellRange(*menuValue, kHighestMenu)) {
    refused = "Menu";
    return std::nullopt;
  }
  const std::optional<double> parameterValue = TypedNumberBeforeRounding(parameter);
  if (!parameterValue || !InCellRange(*parameterValue, kHighestParameter)) {
    refused = "Parameter";
    return std::nullopt;
  }
  // One number, rounded once: a menu's fraction carries into the parameter.
  const double number = RoundHalfEvenValue(100 * *menuValue + *parameterValue);
  if (number > kHighestParameterNumber) {
    refused = "Menu";
    return std::nullopt;
  }
  return static_cast<std::int32_t>(number);
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
