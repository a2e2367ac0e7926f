// One scanned drive parameter as the graphs, lists, log and data file see it: its points in time
// order and its display attributes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graph/data/SeriesPoints.h"
#include "graph/data/gdSeriesNode.h"

namespace quendrel {

class gdSeries {
 public:
  gdSeries() = default;
  // Cursors point into the series, so it stays where it was made.
  gdSeries(const gdSeries&) = delete;
  gdSeries& operator=(const gdSeries&) = delete;

  const std::string& FormatString() const { return formatString_; }
  void SetFormatString(std::string format) { formatString_ = std::move(format); }
  double Gain() const { return gain_; }
  void SetGain(double gain) { gain_ = gain; }

  std::int16_t NumDVDs() const { return numDVDs_; }
  std::string DVD(std::int16_t index) const;
  // Raises the overflow error for an index whose doubled value leaves 16 bits.
  void SetDVD(std::int16_t index, const std::string& text);

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  const std::string& LongName() const { return longName_; }
  void SetLongName(std::string name) { longName_ = std::move(name); }
  std::uint32_t Color() const { return color_; }
  void SetColor(std::uint32_t color) { color_ = color; }

  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }
  bool Logged() const { return logged_; }
  void SetLogged(bool logged) { logged_ = logged; }
  bool Dirty() const { return dirty_; }
  void SetDirty(bool dirty) { dirty_ = dirty; }
  bool Error() const { return error_; }
  void SetError(bool error) { error_ = error; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool BitPram() const { return bitPram_; }
  void SetBitPram(bool bitPram) { bitPram_ = bitPram; }

  // Stamps of the newest and oldest points; the current time while there is none.
  double maxTime() const;
  double minTime() const;
  double maxVal() const { return points_.Empty() ? 0.0 : maxValue_; }
  double minVal() const { return points_.Empty() ? 0.0 : minValue_; }
  // The value of the point added last: the drive's latest reading, also where a clock set back
  // placed it among older points.
  double MostRecentValue() const;

  // The read-failure flag is the caller's; the point does not keep it.
  gdSeriesNode AddPoint(double timestamp, double value, bool readFailed = false);
  void Clear();

  std::optional<gdSeriesNode> LastPoint();
  std::optional<gdSeriesNode> FirstPoint();

  // Index access and the window look-up for the renderers.
  std::size_t PointCount() const { return points_.Count(); }
  gdSeriesNode PointAt(std::size_t index) { return {*this, points_.PlaceOf(index)}; }
  std::optional<gdSeriesNode> FirstPointAtOrAfter(double t);

  const SeriesPoints& Points() const { return points_; }

 private:
  friend class gdSeriesNode;
  void Restamp(SeriesPointPlace& place, double timestamp);

  std::string name_;
  std::string longName_;
  std::uint32_t color_ = 0;
  bool visible_ = true;
  bool logged_ = true;
  bool dirty_ = true;
  bool error_ = false;
  bool readOnly_ = false;
  bool bitPram_ = false;
  std::string formatString_;
  double gain_ = 1.0;
  std::vector<std::string> dvds_ = std::vector<std::string>(2);
  std::int16_t numDVDs_ = 0;
  // Both start at 0 so that every plotted range includes the zero line.
  double maxValue_ = 0.0;
  double minValue_ = 0.0;
  SeriesPoints points_;
  // Index of the point added last; it follows the point as others are inserted or moved.
  std::size_t lastAdded_ = 0;
};

}  // namespace quendrel
