#include "graph/data/GraphDataControl.h"

#include <algorithm>
#include <vector>

#include "foundation/text/DateText.h"
#include "foundation/values/RandomGenerator.h"
#include "graph/data/FormControls.h"
#include "graph/data/GraphDataFile.h"
#include "graph/data/GraphPalette.h"

namespace quendrel {

namespace {

const PropertyKey<std::string> kSourceFileKey{"SourceFile", ""};

constexpr int kSamplePoints = 31;
constexpr int kMoreSamplePoints = 101;

// Values of a random walk, newest first: a start from -21 to 20, then steps of -3 to 3.
std::vector<double> RandomWalk(int points) {
  std::vector<double> values;
  std::int32_t value = Random().Between(-21, 20);
  for (int i = 0; i < points; ++i) {
    value += Random().Between(-3, 3);
    values.push_back(value);
  }
  return values;
}

// The walk runs back in time from t0, a second a point. Its points are added oldest first, as a
// scan adds them: a series' current value is the point added last, so that is the one at t0.
void AddWalk(gdSeries& series, const std::vector<double>& walk, double t0) {
  for (std::size_t i = walk.size(); i-- > 0;) series.AddPoint(t0 - static_cast<double>(i), walk[i]);
}

}  // namespace

GraphDataControl::GraphDataControl(FormControls* form, std::string name)
    : form_(form), name_(std::move(name)) {
  if (form_ != nullptr) form_->Add(*this);
}

GraphDataControl::~GraphDataControl() {
  if (form_ != nullptr) form_->Remove(*this);
}

void GraphDataControl::ReadProperties(const PropertyBag& bag) { sourceFile_ = bag.Read(kSourceFileKey); }

void GraphDataControl::WriteProperties(PropertyBag& bag) const { bag.Write(kSourceFileKey, sourceFile_); }

void GraphDataControl::CreateDesignModeData(bool more) {
  Clear();
  const double t0 = NowSeconds();
  const std::vector<double> shared = RandomWalk(kSamplePoints);
  AddWalk(*AddSeries("M00P01", "Sample Data", PaletteRgb(255, 0, 0)), shared, t0);
  const std::shared_ptr<gdSeries> inverted = AddSeries("M00P02", "Sample Data", PaletteRgb(255, 0, 0));
  inverted->SetGain(-1.0);
  inverted->SetVisible(false);
  AddWalk(*inverted, shared, t0);
  AddSampleSeries("M00P03", "Read-Only Sample", PaletteRgb(0, 0, 255), t0, kSamplePoints);
  Series("M00P03")->SetReadOnly(true);
  AddSampleSeries("M00P04", "Sample With Error", PaletteRgb(0, 255, 0), t0, kSamplePoints);
  Series("M00P04")->SetError(true);
  AddSampleSeries("M00P05", "More Sample Data", PaletteRgb(255, 128, 0), t0, kSamplePoints);
  Series("M00P05")->SetGain(-1.0);
  if (!more) return;
  for (int k = 5; k <= 50; ++k) {
    const std::string number = std::to_string(k);
    AddSampleSeries("M00P" + number, "Sample Data" + number, kGraphPalette[static_cast<std::size_t>(k % 15)],
                    t0, kMoreSamplePoints);
    Series("M00P" + number)->SetVisible(false);
  }
}

std::shared_ptr<gdSeries> GraphDataControl::AddSeries(const std::string& name, const std::string& longName,
                                                      std::uint32_t color) {
  if (std::shared_ptr<gdSeries> existing = Series(name)) return existing;
  auto series = std::make_shared<gdSeries>();
  series->SetName(name);
  series->SetLongName(longName);
  series->SetColor(color);
  series->SetVisible(true);
  series_.push_back(series);
  RaiseSeriesChanged(name);
  return series;
}

void GraphDataControl::RemoveSeries(const std::string& name) {
  std::erase_if(series_, [&](const std::shared_ptr<gdSeries>& series) { return series->Name() == name; });
  RaiseSeriesChanged(name);
}

std::shared_ptr<gdSeries> GraphDataControl::Series(const std::string& name) const {
  const auto found = std::find_if(series_.begin(), series_.end(),
                                  [&](const std::shared_ptr<gdSeries>& series) { return series->Name() == name; });
  return found == series_.end() ? nullptr : *found;
}

void GraphDataControl::Clear() {
  series_ = SeriesCollection();
  RaiseSeriesChanged("");
}

void GraphDataControl::SaveAll(const std::string& fileName, char decimalSeparator) const {
  GraphDataFile(decimalSeparator).Save(fileName, series_);
}

void GraphDataControl::AddSampleSeries(const std::string& name, const std::string& longName,
                                       std::uint32_t color, double t0, int points) {
  AddWalk(*AddSeries(name, longName, color), RandomWalk(points), t0);
}

void GraphDataControl::RaiseSeriesChanged(const std::string& name) const {
  if (seriesChanged_) seriesChanged_(name);
}

}  // namespace quendrel
