#include "comms/server/CommSettings.h"

#include <cmath>
#include <limits>

#include "comms/server/SettingsChecks.h"
#include "foundation/settings/Config.h"
#include "foundation/settings/ParseBoolean.h"
#include "foundation/text/NumberText.h"

namespace quendrel {

std::string CommSettings::Text(const std::string& key, const std::string& section,
                               const std::string& fallback) {
  std::string value = Config().Value(key, section);
  return value.empty() ? fallback : value;
}

double CommSettings::Number(const std::string& key, const std::string& section, double fallback) {
  const std::string value = Config().Value(key, section);
  if (!HasLeadingNumber(value)) return fallback;
  return LeadingNumber(value);
}

int CommSettings::Integer(const std::string& key, const std::string& section, int fallback) {
  const double value = Number(key, section, fallback);
  if (!std::isfinite(value)) return fallback;
  constexpr double kLimit = std::numeric_limits<int>::max();
  return static_cast<int>(std::trunc(std::fmax(-kLimit, std::fmin(kLimit, value))));
}

bool CommSettings::Boolean(const std::string& key, const std::string& section, bool fallback) {
  const std::string value = Config().Value(key, section);
  return value.empty() ? fallback : ParseBoolean(value);
}

std::string CommSettings::CheckedText(const std::string& key, const std::string& section,
                                      const std::string& fallback, TextCheck check) {
  std::string value = Text(key, section, fallback);
  return check(value).empty() ? value : fallback;
}

int CommSettings::CheckedInteger(const std::string& key, const std::string& section, int fallback,
                                 IntegerCheck check) {
  const int value = Integer(key, section, fallback);
  return check(value).empty() ? value : fallback;
}

double CommSettings::Timeout(const std::string& section, double fallback) {
  const std::string text = CheckedText("Timeout", section, DoubleToText(fallback), TimeoutProblem);
  return LeadingNumber(text);
}

int CommSettings::Retries(const std::string& section) {
  const std::string builtIn = DefaultConfig().Value("Retries", section);
  const std::string fallback = RetriesProblem(builtIn).empty() ? builtIn : "0";
  return static_cast<int>(LeadingNumber(CheckedText("Retries", section, fallback, RetriesProblem)));
}

}  // namespace quendrel
