// The time picker's core on the recording canvas: the value and its wrapping, the keys, the spin,
// two-digit entry, clicks on the parts, the enabled colours, the layout, the drawing of the field
// and the mask, and the stored settings.
#include "graph/controls/TimePicker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/KeyCodes.h"
#include "platform/RecordingCanvas.h"

namespace quendrel {
namespace {

// The recording canvas measures each character of the 8-point font 80 twips wide and a line 160
// twips high. The field is 1500 - 255 - 60 (a 3D frame) = 1185 twips wide.
struct TimePickerTest : ::testing::Test {
  TimePickerTest() {
    picker.OnEvent([this](ControlEvent event, const ControlEventArgs&) { changes += event == ControlEvent::Changed; });
    picker.Resize(canvas, 1500.0f, 600.0f, 255.0f);
  }
  void Keys(std::initializer_list<int> codes) {
    for (int code : codes) picker.KeyDown(code, 0);
  }
  void Select(std::uint8_t part) {
    while (picker.SelectedTimeField() != part) picker.KeyDown(vbKeyRight, 0);
  }

  RecordingCanvas canvas{100, 30};
  TimePicker picker{nullptr, "tpTest"};
  int changes = 0;
};

TEST_F(TimePickerTest, ValuesBecomeWholeSecondsWrappedWithinTheDay) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double Value;
    bool Days;
    const char* Text;
    double Seconds;
  } cases[] = {
      {3661, false, "01:01:01", 3661}, {86399, false, "23:59:59", 86399}, {86400, false, "00:00:00", 0},
      {90000, false, "01:00:00", 3600}, {2.5, false, "00:00:02", 2},      {3.5, false, "00:00:04", 4},
      {-3661, false, "-01:-01:-01", -3661}, {90.0 / 86400, true, "00:01:30", 90},
      // Beyond the 32-bit range the count saturates before it wraps; NaN counts as nothing.
      {1e12, false, "03:14:07", 11647}, {inf, false, "03:14:07", 11647}, {-1e12, false, "-03:-14:-08", -11648},
      {std::nan(""), false, "00:00:00", 0}, {1e10, true, "03:14:07", 11647}, {std::nan(""), true, "00:00:00", 0},
  };
  for (const auto& c : cases) {
    changes = 0;
    c.Days ? picker.SetValue(c.Value) : picker.SetValueSeconds(c.Value);
    EXPECT_EQ(picker.FieldText(), c.Text) << c.Value;
    EXPECT_EQ(picker.ValueSeconds(), c.Seconds) << c.Value;
    EXPECT_DOUBLE_EQ(picker.Value(), c.Seconds / 86400.0);
    EXPECT_EQ(changes, 1);  // also for the value already held
  }
}

TEST_F(TimePickerTest, UpAndDownWrapWithinThePartAndStartFromTheValueShown) {
  const struct {
    std::uint8_t Part;
    double Start;
    int Key;
    const char* Text;
  } cases[] = {
      {tpHours, 23 * 3600 + 59 * 60, vbKeyUp, "00:59:00"}, {tpHours, 0, vbKeyDown, "23:00:00"},
      {tpMinutes, 3600 + 59 * 60, vbKeyUp, "01:00:00"},    {tpMinutes, 3600, vbKeyDown, "01:59:00"},
      {tpSeconds, 59, vbKeyUp, "00:00:00"},                {tpSeconds, 60, vbKeyDown, "00:01:59"},
      {tpMinutes, 3600 + 30 * 60, vbKeyUp, "01:31:00"},    {tpHours, 5 * 3600, vbKeyDown, "04:00:00"},
  };
  for (const auto& c : cases) {
    Select(c.Part);
    picker.SetValueSeconds(c.Start);
    changes = 0;
    picker.KeyDown(c.Key, 0);
    EXPECT_EQ(picker.FieldText(), c.Text) << int(c.Part) << " " << c.Start;
    EXPECT_EQ(changes, 1);
  }
  // The spin's own arrows stop at the ends instead.
  Select(tpSeconds);
  picker.SetValueSeconds(58);
  picker.SpinUp();
  picker.SpinUp();
  EXPECT_EQ(picker.FieldText(), "00:00:59");
}

TEST_F(TimePickerTest, LeftAndRightCycleThroughTheParts) {
  std::vector<int> seen;
  for (int key : {vbKeyRight, vbKeyRight, vbKeyRight, vbKeyRight, vbKeyLeft, vbKeyLeft, vbKeyLeft, vbKeyLeft}) {
    picker.KeyDown(key, 0);
    seen.push_back(picker.SelectionStart());
  }
  EXPECT_EQ(seen, (std::vector<int>{3, 6, 0, 3, 0, 6, 3, 0}));
}

TEST_F(TimePickerTest, TwoDigitsMakeOnePartCappedAtItsRange) {
  const struct {
    std::uint8_t Part;
    std::vector<int> Digits;
    const char* Text;
  } cases[] = {
      {tpHours, {'4', '5'}, "23:00:00"},   {tpSeconds, {'4', '5'}, "00:00:45"},
      {tpMinutes, {'9', '9'}, "00:59:00"}, {tpHours, {'3', '0'}, "23:00:00"},
      {tpHours, {'7'}, "07:00:00"},        {tpMinutes, {'1', '2', '3'}, "00:03:00"},
  };
  for (const auto& c : cases) {
    TimePicker fresh(nullptr, "tpFresh");
    while (fresh.SelectedTimeField() != c.Part) fresh.KeyDown(vbKeyRight, 0);
    for (int digit : c.Digits) fresh.KeyDown(digit, 0);
    EXPECT_EQ(fresh.FieldText(), c.Text) << int(c.Part);
    EXPECT_EQ(fresh.SelectedTimeField(), c.Part);
  }
  // A first digit waits for its partner while the user visits another part.
  Keys({'1', vbKeyRight, '5', vbKeyLeft, '2'});
  EXPECT_EQ(picker.FieldText(), "12:05:00");
}

TEST_F(TimePickerTest, ADigitRaisesChangedTwiceWhenItChangesThePartAndOnceOtherwise) {
  picker.KeyDown('0', 0);  // 00: the hours hold it already
  EXPECT_EQ(changes, 1);
  changes = 0;
  picker.KeyDown('7', 0);
  EXPECT_EQ(changes, 2);
}

TEST_F(TimePickerTest, OtherKeysLeaveTheTextAlone) {
  picker.SetValueSeconds(3723);
  changes = 0;
  Keys({'A', vbKeyBack, vbKeyDelete, vbKeySpace, vbKeyReturn, 96 + 5, vbKeyHome});
  for (int shift : {vbShiftMask, vbCtrlMask, vbAltMask}) picker.KeyDown('5', shift);
  EXPECT_EQ(picker.FieldText(), "01:02:03");
  EXPECT_EQ(changes, 0);
}

TEST_F(TimePickerTest, AClickPicksThePartByItsBoundaries) {
  // Left: hours end 4 pixels after "00", minutes "00" and 2 pixels later. Right: the text starts
  // at 545; centre: at 592.5 - 320, rounded to 272.
  const struct {
    std::int32_t Alignment;
    float X;
    std::uint8_t Part;
  } cases[] = {
      {0, 175, tpHours},   {0, 219, tpHours},   {0, 220, tpMinutes}, {0, 409, tpMinutes},
      {0, 410, tpSeconds}, {1, 764, tpHours},   {1, 765, tpMinutes}, {1, 954, tpMinutes},
      {1, 955, tpSeconds}, {2, 491, tpHours},   {2, 492, tpMinutes}, {2, 681, tpMinutes},
      {2, 682, tpSeconds},
  };
  for (const auto& c : cases) {
    picker.SetAlignment(c.Alignment);
    Select(c.Part == tpHours ? tpSeconds : tpHours);
    picker.MouseDown(canvas, {.Button = vbLeftButton, .X = c.X});
    EXPECT_TRUE(picker.MaskShown());
    picker.MouseUp({.Button = vbLeftButton, .X = c.X});
    EXPECT_FALSE(picker.MaskShown());
    EXPECT_EQ(picker.SelectedTimeField(), c.Part) << c.Alignment << " at " << c.X;
  }
}

TEST_F(TimePickerTest, DisablingShowsGreysAndEnablingShowsTheColoursSetMeanwhile) {
  picker.SetBackColor(0x00FFFF);
  picker.SetEnabled(false);
  picker.SetEnabled(false);
  EXPECT_EQ(picker.FieldBackColor(), 0x8000000Fu);
  EXPECT_EQ(picker.FieldForeColor(), 0x80000011u);
  picker.SetEnabled(true);
  EXPECT_EQ(picker.FieldBackColor(), 0x00FFFFu);
  EXPECT_EQ(picker.FieldForeColor(), 0x80000008u);
  picker.SetEnabled(false);
  picker.SetBackColor(0x00FF00);
  EXPECT_EQ(picker.ControlBackColor(), 0x8000000Fu);
  picker.SetEnabled(true);
  EXPECT_EQ(picker.ControlBackColor(), 0x00FF00u);
}

TEST_F(TimePickerTest, LayoutFitsTheHeightToTheFontAndLeavesRoomForTheFrame) {
  // Fitted height: a 160-twip line plus 8 pixels.
  const struct {
    std::int32_t BorderStyle, Appearance;
    bool LockHeight;
    float Height, FittedHeight, FieldWidth, SpinHeight;
  } cases[] = {
      {1, 1, true, 600, 280, 1685, 220}, {1, 1, true, 200, 200, 1685, 140}, {1, 1, false, 600, 600, 1685, 540},
      {1, 0, true, 600, 280, 1730, 265}, {0, 1, true, 600, 280, 1745, 280},
  };
  for (const auto& c : cases) {
    picker.SetBorderStyle(c.BorderStyle);
    picker.SetAppearance(c.Appearance);
    picker.SetLockHeight(c.LockHeight);
    const TimePickerLayout layout = picker.Resize(canvas, 2000.0f, c.Height, 255.0f);
    EXPECT_EQ(layout.Height, c.FittedHeight);
    EXPECT_EQ(layout.FieldWidth, c.FieldWidth);
    EXPECT_EQ(layout.SpinLeft, c.FieldWidth);
    EXPECT_EQ(layout.SpinHeight, c.SpinHeight);
  }
}

TEST_F(TimePickerTest, TheFieldHighlightsItsPartWithTheFocusAndTheMaskAlways) {
  picker.SetAlignment(1);
  picker.SetValueSeconds(45296);
  const std::string text = "Cls 0x80000005\nPrint (545,0) 0x80000008 \"12:34:56\"\n";
  const auto painted = [&] {
    canvas.ClearLog();
    picker.Paint(canvas);
    return canvas.LogText();
  };
  EXPECT_EQ(painted(), text);
  picker.GotFocus();
  picker.KeyDown(vbKeyRight, 0);
  EXPECT_EQ(painted(), text + "FilledBox (785,0)-(945,145) 0x8000000D\nPrint (785,0) 0x8000000E \"34\"\n");
  picker.LostFocus();
  const char* masks[] = {
      "FilledBox (545,0)-(705,145) 0x8000000D\nPrint (545,0) 0x8000000E \"12\"\n",
      "FilledBox (1025,0)-(1185,145) 0x8000000D\nPrint (1025,0) 0x8000000E \"56\"\n",
  };
  const float clicks[] = {600, 1100};
  for (int i = 0; i < 2; ++i) {
    picker.MouseDown(canvas, {.Button = vbLeftButton, .X = clicks[i]});
    EXPECT_EQ(painted(), text + masks[i]);
    picker.MouseUp({});
  }
}

TEST_F(TimePickerTest, StoredSettingsKeepOnlyWhatDiffersFromTheDefaults) {
  PropertyBag bag;
  picker.SetValueSeconds(600);
  picker.WriteProperties(bag);
  EXPECT_EQ(bag.Count(), 0u);

  picker.SetAlignment(2);
  picker.SetBackColor(0x00FFFF);
  picker.SetEnabled(false);
  picker.SetLockHeight(false);
  picker.SetFont(CanvasFont{.Name = "Arial", .Size = 10.0f});
  picker.WriteProperties(bag);
  EXPECT_EQ(bag.Count(), 5u);

  TimePicker loaded(nullptr, "tpLoaded");
  loaded.ReadProperties(bag);
  EXPECT_EQ(loaded.Alignment(), 2);
  EXPECT_FALSE(loaded.Enabled());
  EXPECT_FALSE(loaded.LockHeight());
  EXPECT_EQ(loaded.Font().Name, "Arial");
  EXPECT_EQ(loaded.ValueSeconds(), 0);
  loaded.SetEnabled(true);
  EXPECT_EQ(loaded.FieldBackColor(), 0x00FFFFu);
  EXPECT_EQ(loaded.FieldForeColor(), 0x80000008u);
}

}  // namespace
}  // namespace quendrel
