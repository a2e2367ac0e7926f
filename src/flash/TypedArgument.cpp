#include "flash/TypedArgument.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "comms/DriveReport.h"
#include "foundation/NumberText.h"

namespace quendrel {
bool InInt32Range(double value) {
  return value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max();
}

std::optional<double> TypedWholeNumber(std::string_view text) {
  if (!TypedNumberValue(text)) return std::nullopt;
  const double value = RoundHalfEvenValue(LeadingNumber(text));
  if (!InInt32Range(value)) return std::nullopt;
  return value;
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
