// The cells of one data line of the scan log, in the order of their reads. Values are kept as read
// and made text only when the line, or the part of it a failed read writes, is asked for: a sweep
// formats its values after its reads rather than between two round trips to the drive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quendrel {

class ScanLogCells {
 public:
  // Room for that many values without growing.
  explicit ScanLogCells(std::size_t expected);

  void AddValue(float value);
  void AddError(std::int32_t code);
  // Every cell so far, each ending in a tab.
  const std::string& Text();

 private:
  void FormatValues();

  std::string text_;
  std::vector<float> values_;
};

}  // namespace quendrel
