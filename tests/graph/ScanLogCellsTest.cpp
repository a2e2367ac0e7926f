// A data line's cells come out in the order of their reads, whenever they are asked for: the part a
// failed read writes holds every value before it, and the whole line every cell once.
#include "graph/scan/ScanLogCells.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace quendrel {
namespace {

// A value read, an error code, or a look at the text so far.
struct Step {
  std::optional<float> value;
  std::optional<std::int32_t> error;
  const char* expected = nullptr;
};

Step Value(float value) { return {value, std::nullopt, nullptr}; }
Step Error(std::int32_t code) { return {std::nullopt, code, nullptr}; }
Step Look(const char* expected) { return {std::nullopt, std::nullopt, expected}; }

TEST(ScanLogCellsTest, CellsComeInTheOrderOfTheirReads) {
  const std::vector<std::vector<Step>> cases = {
      {Look("")},
      {Value(10.0f), Value(-12.05f), Value(0.1f), Look("10\t-12.05\t0.1\t")},
      {Value(10.0f), Error(2), Look("10\tERR 2\t"), Value(565.0f), Look("10\tERR 2\t565\t")},
      {Error(46), Value(1e-6f), Value(16777216.0f), Look("ERR 46\t1E-06\t1.677722E+07\t")},
      {Value(1.5f), Look("1.5\t"), Look("1.5\t"), Value(2.5f), Error(3), Look("1.5\t2.5\tERR 3\t")},
  };
  for (const std::vector<Step>& steps : cases) {
    ScanLogCells cells(2);
    for (const Step& step : steps) {
      if (step.value) cells.AddValue(*step.value);
      if (step.error) cells.AddError(*step.error);
      if (step.expected) {
        EXPECT_EQ(cells.Text(), step.expected);
      }
    }
  }
}

}  // namespace
}  // namespace quendrel
