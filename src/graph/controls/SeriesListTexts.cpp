#include "graph/controls/SeriesListTexts.h"

#include <cmath>

#include "foundation/text/NumberText.h"
#include "graph/data/gdSeries.h"

namespace quendrel {

std::string SeriesActionText(const gdSeries& series) {
  if (series.Visible()) return series.Logged() ? "Graph & Log" : "Graph Only";
  if (series.Logged()) return "Log Only";
  return series.ReadOnly() ? "View Only" : "Edit Only";
}

std::string SeriesGainText(double gain) {
  const std::string formatted = FormatNumber(gain, std::fabs(gain) >= 1.0 ? "####" : "0.##");
  constexpr std::size_t kKept = 4;
  return "x" + (formatted.size() > kKept ? formatted.substr(formatted.size() - kKept) : formatted);
}

std::string SeriesValueText(const gdSeries& series) {
  const double value = series.MostRecentValue();
  if (series.NumDVDs() >= 1) {
    const double index = RoundHalfEvenValue(value);
    if (index < -32768.0 || index > 32767.0) return {};
    return series.DVD(static_cast<std::int16_t>(index));
  }
  std::string text = FormatNumber(value, series.FormatString());
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

}  // namespace quendrel
