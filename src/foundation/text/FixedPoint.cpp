#include "foundation/text/FixedPoint.h"

#include <cmath>
#include <optional>

#include "foundation/text/NumberText.h"

namespace quendrel {

namespace {

bool FlagSet(std::string_view pad, std::size_t bit) { return pad.size() > bit && pad[pad.size() - 1 - bit] == '1'; }

}  // namespace

std::int16_t DecimalPlacesFromFlags(std::string_view pad) {
  return static_cast<std::int16_t>((FlagSet(pad, 1) ? 2 : 0) + (FlagSet(pad, 0) ? 1 : 0));
}

std::string FixedPointFormat(int decimalPlaces) {
  std::string format = "######0";
  if (decimalPlaces > 0) format += "." + std::string(static_cast<std::size_t>(decimalPlaces), '0');
  return format;
}

std::string FixedPointFormat(std::string_view pad) { return FixedPointFormat(DecimalPlacesFromFlags(pad)); }

std::string FormatFixedPointText(double value, std::string_view pad) {
  return FormatNumber(value, FixedPointFormat(pad));
}

std::string FormatFixedPointText(std::string_view valueText, std::string_view pad) {
  const std::optional<double> value = NumericTextValue(valueText);
  if (!value) return std::string(valueText);
  return FormatFixedPointText(*value, pad);
}

std::string ScaleFixedPointValue(std::string_view rawText, std::string_view pad) {
  const std::optional<double> raw = NumericTextValue(rawText);
  if (!raw) return std::string(rawText);
  return FormatFixedPointText(*raw / std::pow(10.0, DecimalPlacesFromFlags(pad)), pad);
}

}  // namespace quendrel
