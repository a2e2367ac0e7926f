#include "comms/CommSettings.h"

#include <cmath>
#include <limits>

#include "foundation/Config.h"
#include "foundation/NumberText.h"
#include "foundation/ParseBoolean.h"

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

}  // namespace quendrel
