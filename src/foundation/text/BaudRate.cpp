#include "foundation/text/BaudRate.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "foundation/text/NumberText.h"

namespace quendrel {

namespace {

constexpr std::array<std::int32_t, 10> kRates = {110,  300,   1200,  2400,  4800,
                                                 9600, 19200, 38400, 57600, 115200};
constexpr std::int16_t kDefaultIndex = 6;

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(
      suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
      [](char s, char t) { return std::tolower(static_cast<unsigned char>(t)) == s; });
}

// The rate in bits per second the text starts with, or -1 when it is no plausible rate.
std::int64_t RateOf(std::string_view text) {
  const double scale = EndsWithIgnoringCase(Trimmed(text), "kbps") ? 1000 : 1;
  const double rate = LeadingNumber(text) * scale;
  if (!std::isfinite(rate) || std::fabs(rate) > 1e9) return -1;
  return std::llround(rate);
}

}  // namespace

std::int32_t BaudRateFromIndex(std::int32_t code) {
  if (code < 0 || code >= static_cast<std::int32_t>(kRates.size())) return code;
  return kRates[static_cast<std::size_t>(code)];
}

std::int16_t BaudRateIndex(std::string_view text) {
  std::int64_t rate = RateOf(text);
  // Modems sold as 56k ran their serial side at 57600.
  if (rate == 56 || rate == 56000) rate = 57600;
  const auto found = std::find(kRates.begin(), kRates.end(), rate);
  if (found == kRates.end()) return kDefaultIndex;
  return static_cast<std::int16_t>(found - kRates.begin());
}

}  // namespace quendrel
