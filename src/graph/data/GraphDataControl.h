// The store of a window's series by name, in the order they were added, that its graph panes and
// series lists draw from; it also writes them to the graph data file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "graph/data/FormControl.h"
#include "graph/data/SeriesCollection.h"
#include "platform/PropertyBag.h"

namespace quendrel {

class FormControls;

class GraphDataControl : public FormControl {
 public:
  static constexpr FormControlKind kKind = FormControlKind::GraphDataControl;

  // Joins the window's registry under that name, when there is one, until it ends.
  GraphDataControl(FormControls* form, std::string name);
  ~GraphDataControl() override;
  GraphDataControl(const GraphDataControl&) = delete;
  GraphDataControl& operator=(const GraphDataControl&) = delete;

  FormControlKind Kind() const override { return kKind; }
  const std::string& Name() const override { return name_; }

  const std::string& SourceFile() const { return sourceFile_; }
  void SetSourceFile(std::string file) { sourceFile_ = std::move(file); }

  // Stored settings: only SourceFile is kept.
  void InitProperties() { sourceFile_.clear(); }
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag) const;

  // Sample series drawn from Random(), for a preview with nothing scanned.
  void CreateDesignModeData(bool more = false);

  // An existing series of that name comes back unchanged and without an event.
  std::shared_ptr<gdSeries> AddSeries(const std::string& name, const std::string& longName,
                                      std::uint32_t color);
  // Tells the observer even when there was no such series.
  void RemoveSeries(const std::string& name);
  std::shared_ptr<gdSeries> Series(const std::string& name) const;
  SeriesCollection SeriesSet() const { return series_; }
  void Clear();

  // Raises RuntimeError with the reason when the file cannot be written; an old file is then kept
  // as it was. Values carry the decimal separator of the user's locale.
  void SaveAll(const std::string& fileName, char decimalSeparator = '.') const;

  // Told the series name after an add or remove, "" after Clear.
  void OnSeriesChanged(std::function<void(const std::string&)> observer) {
    seriesChanged_ = std::move(observer);
  }

 private:
  void AddSampleSeries(const std::string& name, const std::string& longName, std::uint32_t color,
                       double t0, int points);
  void RaiseSeriesChanged(const std::string& name) const;

  FormControls* form_;
  std::string name_;
  std::string sourceFile_;
  SeriesCollection series_;
  std::function<void(const std::string&)> seriesChanged_;
};

}  // namespace quendrel
