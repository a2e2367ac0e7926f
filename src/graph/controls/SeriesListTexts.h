// The texts a series list row shows for a series: its action, its gain and its value.
#pragma once

#include <string>

namespace quendrel {

class gdSeries;

// "Graph & Log", "Log Only", "Graph Only", or "Edit Only" ("View Only" when read-only).
std::string SeriesActionText(const gdSeries& series);
// "x" and the last four characters of the gain, so 12345 shows x2345.
std::string SeriesGainText(double gain);
// The newest value in the series' pattern without a bare trailing point, or the name of that
// value when the series has value names.
std::string SeriesValueText(const gdSeries& series);

}  // namespace quendrel
