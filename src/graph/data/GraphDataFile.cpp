#include "graph/data/GraphDataFile.h"

#include <cmath>
#include <map>
#include <optional>
#include <vector>

#include "foundation/text/DateText.h"
#include "foundation/text/NumberText.h"
#include "foundation/values/RuntimeError.h"

namespace quendrel {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr std::size_t kChunkBytes = 64 * 1024;

// Each series' value in one whole second, in the order of the header; none where it has no point.
using Row = std::vector<std::optional<double>>;
using Rows = std::map<double, Row>;

// Several points of one series in a second merge pairwise in time order, so a later point weighs
// as much as all before it together; the file has always been written so.
void Merge(std::optional<double>& cell, double value) { cell = cell ? (*cell + value) / 2.0 : value; }

Rows CollectRows(const SeriesCollection& series) {
  Rows rows;
  for (std::size_t column = 0; column < series.size(); ++column) {
    const SeriesPoints& points = series[column]->Points();
    if (points.Empty()) continue;
    auto row = rows.end();
    SeriesPointPlace place = points.First();
    do {
      const SeriesPoint& point = points.At(place);
      const double second = std::floor(point.Timestamp);
      if (row == rows.end() || row->first != second)
        row = rows.try_emplace(second, Row(series.size())).first;
      Merge(row->second[column], point.Value);
    } while (points.StepForward(place));
  }
  return rows;
}

std::string HeaderLine(const SeriesCollection& series) {
  std::string line = "\t";
  for (const auto& each : series) line += "\t" + each->Name();
  return line + kLineEnd;
}

}  // namespace

void GraphDataFile::Save(const std::string& path, const SeriesCollection& series) const {
  const ReplaceFileResult saved =
      ReplaceFile(path, [&](const FileByteSink& sink) { return Write(series, sink); });
  if (!saved) throw RuntimeError(errPathFileAccess, "GraphDataControl", saved.Reason);
}

bool GraphDataFile::Write(const SeriesCollection& series, const FileByteSink& sink) const {
  std::string chunk = HeaderLine(series);
  for (const auto& [second, row] : CollectRows(series)) {
    chunk += FormatTimestamp(second, false, true);
    for (const std::optional<double>& cell : row) {
      chunk += '\t';
      if (cell) chunk += ValueText(*cell);
    }
    chunk += kLineEnd;
    if (chunk.size() >= kChunkBytes) {
      if (!sink(chunk)) return false;
      chunk.clear();
    }
  }
  return sink(chunk);
}

std::string GraphDataFile::ValueText(double value) const {
  std::string text = FormatNumber(value, "0.0###");
  for (char& c : text) {
    if (c == '.') c = decimalSeparator_;
  }
  return text;
}

}  // namespace quendrel
