// The text progress bar's text, percentage, drawing geometry and the value under the mouse,
// checked on the recording canvas's fixed metrics.
#include "widgets/TextProgressBarModel.h"

#include <gtest/gtest.h>

#include <ostream>

#include "platform/RecordingCanvas.h"
#include "support/CaseName.h"

namespace quendrel {
namespace {

struct TextCase {
  float value, min, max;
  int style;
  const char* text;
  int percent;
  const char* shown;
};

void PrintTo(const TextCase& c, std::ostream* out) { *out << "value " << c.value << " style " << c.style; }

class TextProgressBarTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextProgressBarTextTest, ShowsTheTextThePercentageOrBoth) {
  const TextCase& c = GetParam();
  TextProgressBarModel bar;
  bar.SetMin(c.min);
  bar.SetMax(c.max);
  bar.SetValue(c.value);
  bar.SetTextStyle(c.style);
  bar.SetText(c.text);
  EXPECT_EQ(bar.Percent(), c.percent);
  EXPECT_EQ(bar.DisplayText(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextProgressBarTextTest,
    ::testing::Values(TextCase{50, 0, 100, 0, "Erasing", 50, "Erasing"},
                      TextCase{50, 0, 100, 1, "Erasing", 50, "50%"},
                      TextCase{50, 0, 100, 2, "Erasing", 50, "Erasing 50%"},
                      TextCase{3, 0, 8, 1, "", 38, "38%"},            // 37.5 rounds up
                      TextCase{150, 100, 200, 1, "", 50, "50%"},      // a range off zero
                      TextCase{-20, 0, 100, 1, "", 0, "0%"},          // below the range
                      TextCase{250, 0, 100, 2, "Done", 100, "Done 100%"},
                      TextCase{5, 10, 10, 1, "", 0, "0%"},            // an empty range
                      TextCase{5, 0, 10, 2, "", 50, "50%"},           // no text, no blank
                      TextCase{0, 0, 100, 0, "", 0, ""}),
    [](const ::testing::TestParamInfo<TextCase>& info) {
      return CaseName(info.index, std::string("shows ") + info.param.shown);
    });

TEST(TextProgressBarModel, DrawsFrameBarAndCentredText) {
  RecordingCanvas canvas(100, 20);
  TextProgressBarModel bar;
  bar.SetValue(50);
  bar.SetTextStyle(TextProgressBarModel::PercentOnly);
  bar.Paint(canvas);
  // 98 inner pixels, half of them filled; "50%" is 3 x 82.5 twips wide and 165 high.
  const std::vector<std::string> expected = {
      "Cls 0x80000005",
      "Box (0,0)-(1485,285) 0x80000010",
      "FilledBox (15,15)-(735,270) 0x25B006",
      "Print (626.25,67.5) 0x80000008 \"50%\"",
  };
  EXPECT_EQ(canvas.Log(), expected);
  EXPECT_EQ(canvas.PixelAt(1, 1), 0x0025B006u);
  EXPECT_EQ(canvas.PixelAt(49, 18), 0x0025B006u);
  EXPECT_EQ(canvas.PixelAt(50, 10), 0x00FFFFFFu);
}

TEST(TextProgressBarModel, AnEmptyBarDrawsNoFillAndAFullOneFillsTheInside) {
  TextProgressBarModel bar;
  RecordingCanvas empty(60, 12);
  bar.Paint(empty);
  for (const std::string& line : empty.Log()) EXPECT_EQ(line.rfind("FilledBox", 0), std::string::npos);

  bar.SetValue(100);
  RecordingCanvas full(60, 12);
  bar.Paint(full);
  EXPECT_EQ(full.Log()[2], "FilledBox (15,15)-(870,150) 0x25B006");
  EXPECT_EQ(full.PixelAt(58, 10), 0x0025B006u);
  EXPECT_NE(full.PixelAt(59, 10), 0x0025B006u);
}

TEST(TextProgressBarModel, TheValueUnderTheMouseFollowsTheBarAndStaysInRange) {
  TextProgressBarModel bar;
  bar.SetMin(100);
  bar.SetMax(300);
  const float width = 100 * 15;  // 98 pixels of bar inside the frame
  EXPECT_FLOAT_EQ(bar.ValueAt(15, width), 100);
  EXPECT_FLOAT_EQ(bar.ValueAt(15 + 49 * 15, width), 200);
  EXPECT_FLOAT_EQ(bar.ValueAt(15 + 98 * 15, width), 300);
  EXPECT_FLOAT_EQ(bar.ValueAt(-300, width), 100);
  EXPECT_FLOAT_EQ(bar.ValueAt(5000, width), 300);
}

}  // namespace
}  // namespace quendrel
