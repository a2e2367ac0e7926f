#include "widgets/SettingsChecks.h"

#include <cmath>

#include "foundation/NumberText.h"

namespace quendrel {

namespace {

constexpr int kMaximumRetries = 100;

}  // namespace

bool IsWholeNumberText(const std::string& text) {
  if (!IsNumericText(text)) return false;
  const double value = LeadingNumber(text);
  return value == std::floor(value);
}

std::string TimeoutProblem(const std::string& seconds) {
  if (IsNumericText(seconds) && LeadingNumber(seconds) > 0.0) return "";
  return "The timeout must be a number of seconds above 0.";
}

std::string RetriesProblem(const std::string& retries) {
  if (IsWholeNumberText(retries) && LeadingNumber(retries) >= 0 &&
      LeadingNumber(retries) <= kMaximumRetries) {
    return "";
  }
  return "Retries must be a whole number from 0 to " + std::to_string(kMaximumRetries) + ".";
}

std::string StoredNumberText(const std::string& text) { return DoubleToText(LeadingNumber(text)); }

}  // namespace quendrel
