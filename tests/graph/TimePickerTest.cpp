// The time picker's core on the recording canvas: the value and its wrapping, the keys, the spin,
// two-digit entry, clicks on the parts, the enabled colours, the layout, the field's and the
// mask's drawing and the stored settings.
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

// The recording canvas measures every character of the 8-point font 80 twips wide and a line
// 160 twips high, so "00" is 160 twips and "00:00:00" 640.
struct TimePickerTest : ::testing::Test {
  TimePickerTest() {
    picker.OnEvent([this](ControlEvent event, const ControlEventArgs&) {
      if (event == ControlEvent::Changed) ++changes;
    });
    picker.OnPropertyChanged([this](std::string_view name) { marked.emplace_back(name); });
    picker.Resize(canvas, 1500.0f, 600.0f, 255.0f);
  }
  void Keys(std::initializer_list<int> codes) {
    for (int code : codes) picker.KeyDown(code, 0);
  }
  void Select(std::uint8_t part) {
    while (picker.SelectedTimeField() != part) picker.KeyDown(vbKeyRight, 0);
  }
  void ClickAt(float x) {
    picker.MouseDown(canvas, {.Button = vbLeftButton, .X = x});
    picker.MouseUp({.Button = vbLeftButton, .X = x});
  }

  RecordingCanvas canvas{100, 30};
  TimePicker picker{nullptr, "tpTest"};
  int changes = 0;
  std::vector<std::string> marked;
};

struct ValueCase {
  double Seconds;
  const char* Text;
  double ReadBack;
};

TEST_F(TimePickerTest, SecondsBecomeWholeSecondsWrappedWithinTheDay) {
  const double inf = std::numeric_limits<double>::infinity();
  const ValueCase cases[] = {
      {3661, "01:01:01", 3661},   {86399, "23:59:59", 86399},   {86400, "00:00:00", 0},
      {90000, "01:00:00", 3600},  {2.5, "00:00:02", 2},         {3.5, "00:00:04", 4},
      {-3661, "-01:-01:-01", -3661},
      // Beyond the 32-bit range the count saturates before it wraps; NaN counts as nothing.
      {1e12, "03:14:07", 11647},  {inf, "03:14:07", 11647},     {-1e12, "-03:-14:-08", -11648},
      {std::nan(""), "00:00:00", 0},
  };
  for (const ValueCase& c : cases) {
    picker.SetValueSeconds(c.Seconds);
    EXPECT_EQ(picker.FieldText(), c.Text) << c.Seconds;
    EXPECT_EQ(picker.ValueSeconds(), c.ReadBack) << c.Seconds;
  }
}

TEST_F(TimePickerTest, DaysBecomeSecondsTheSameWay) {
  picker.SetValue(90.0 / 86400.0);
  EXPECT_EQ(picker.FieldText(), "00:01:30");
  EXPECT_EQ(picker.ValueSeconds(), 90);
  EXPECT_DOUBLE_EQ(picker.Value(), 90.0 / 86400.0);
  picker.SetValue(0.5);
  EXPECT_EQ(picker.FieldText(), "12:00:00");
  picker.SetValue(1e10);
  EXPECT_EQ(picker.FieldText(), "03:14:07");
}

TEST_F(TimePickerTest, EveryAssignmentRaisesChangedAndMarksTheValue) {
  marked.clear();
  picker.SetValueSeconds(60);
  picker.SetValueSeconds(60);
  picker.SetValue(60.0 / 86400.0);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(marked, (std::vector<std::string>{"Value", "Value", "Value"}));
}

struct KeyCase {
  std::uint8_t Part;
  double Start;
  int Key;
  const char* Text;
};

TEST_F(TimePickerTest, UpAndDownWrapWithinThePartAlone) {
  const KeyCase cases[] = {
      {tpHours, 23 * 3600 + 59 * 60, vbKeyUp, "00:59:00"},   {tpHours, 0, vbKeyDown, "23:00:00"},
      {tpMinutes, 3600 + 59 * 60, vbKeyUp, "01:00:00"},      {tpMinutes, 3600, vbKeyDown, "01:59:00"},
      {tpSeconds, 59, vbKeyUp, "00:00:00"},                  {tpSeconds, 60, vbKeyDown, "00:01:59"},
      {tpSeconds, 61, vbKeyUp, "00:01:02"},                  {tpHours, 5 * 3600, vbKeyDown, "04:00:00"},
  };
  for (const KeyCase& c : cases) {
    Select(c.Part);
    picker.SetValueSeconds(c.Start);
    changes = 0;
    picker.KeyDown(c.Key, 0);
    EXPECT_EQ(picker.FieldText(), c.Text) << int(c.Part) << " " << c.Start;
    EXPECT_EQ(changes, 1);
  }
}

TEST_F(TimePickerTest, LeftAndRightCycleThroughTheParts) {
  std::vector<int> seen;
  for (int i = 0; i < 4; ++i) {
    picker.KeyDown(vbKeyRight, 0);
    seen.push_back(picker.SelectedTimeField());
  }
  for (int i = 0; i < 4; ++i) {
    picker.KeyDown(vbKeyLeft, 0);
    seen.push_back(picker.SelectedTimeField());
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 0, 1, 0, 2, 1, 0}));
  EXPECT_EQ(picker.SelectionStart(), 0);
  picker.KeyDown(vbKeyLeft, 0);
  EXPECT_EQ(picker.SelectionStart(), 6);
  EXPECT_EQ(picker.SelectionLength(), 2);
}

TEST_F(TimePickerTest, TheSpinFollowsTheSelectedPartAndAValueSetFromCode) {
  picker.SetValueSeconds(5 * 3600 + 7 * 60 + 9);
  EXPECT_EQ(picker.SpinValue(), 5);
  EXPECT_EQ(picker.SpinMax(), 23);
  Select(tpMinutes);
  EXPECT_EQ(picker.SpinValue(), 7);
  EXPECT_EQ(picker.SpinMax(), 59);
  // Up starts from the minutes shown, not from those before the value was set.
  picker.SetValueSeconds(3600 + 30 * 60);
  picker.KeyDown(vbKeyUp, 0);
  EXPECT_EQ(picker.FieldText(), "01:31:00");
}

TEST_F(TimePickerTest, TheSpinsOwnArrowsStopAtTheEnds) {
  Select(tpSeconds);
  picker.SetValueSeconds(58);
  picker.SpinUp();
  picker.SpinUp();
  EXPECT_EQ(picker.FieldText(), "00:00:59");
  picker.SetValueSeconds(1);
  picker.SpinDown();
  picker.SpinDown();
  EXPECT_EQ(picker.FieldText(), "00:00:00");
}

struct DigitCase {
  std::uint8_t Part;
  std::vector<int> Digits;
  const char* Text;
};

TEST_F(TimePickerTest, TwoDigitsMakeOnePartCappedAtItsRange) {
  const DigitCase cases[] = {
      {tpHours, {'4', '5'}, "23:00:00"},   {tpSeconds, {'4', '5'}, "00:00:45"},
      {tpMinutes, {'9', '9'}, "00:59:00"}, {tpHours, {'3', '0'}, "23:00:00"},
      {tpHours, {'7'}, "07:00:00"},        {tpMinutes, {'1', '2', '3'}, "00:03:00"},
      {tpSeconds, {'0', '0'}, "00:00:00"},
  };
  for (const DigitCase& c : cases) {
    TimePicker fresh(nullptr, "tpFresh");
    while (fresh.SelectedTimeField() != c.Part) fresh.KeyDown(vbKeyRight, 0);
    for (int digit : c.Digits) fresh.KeyDown(digit, 0);
    EXPECT_EQ(fresh.FieldText(), c.Text) << int(c.Part);
    EXPECT_EQ(fresh.SelectedTimeField(), c.Part);
  }
}

TEST_F(TimePickerTest, AFirstDigitWaitsForItsPartnerAcrossAChangeOfPart) {
  Keys({'1', vbKeyRight, '5', vbKeyLeft, '2'});
  EXPECT_EQ(picker.FieldText(), "12:05:00");
  Keys({vbKeyRight, '9'});
  EXPECT_EQ(picker.FieldText(), "12:59:00");
}

TEST_F(TimePickerTest, ADigitRaisesChangedTwiceWhenItChangesThePartAndOnceOtherwise) {
  picker.KeyDown('7', 0);
  EXPECT_EQ(changes, 2);
  changes = 0;
  picker.KeyDown('7', 0);  // 77 is capped to 23
  EXPECT_EQ(changes, 2);
  changes = 0;
  picker.KeyDown('0', 0);
  picker.KeyDown('0', 0);  // 00: the part already holds it
  EXPECT_EQ(changes, 3);
}

TEST_F(TimePickerTest, OtherKeysLeaveTheTextAlone) {
  picker.SetValueSeconds(3723);
  changes = 0;
  const int keys[] = {'A', vbKeyBack, vbKeyDelete, vbKeySpace, vbKeyReturn, 96 + 5, vbKeyHome};
  for (int key : keys) picker.KeyDown(key, 0);
  for (int shift : {vbShiftMask, vbCtrlMask, vbAltMask}) picker.KeyDown('5', shift);
  EXPECT_EQ(picker.FieldText(), "01:02:03");
  EXPECT_EQ(changes, 0);
}

struct ClickCase {
  std::int32_t Alignment;
  float X;
  std::uint8_t Part;
};

TEST_F(TimePickerTest, AClickPicksThePartByItsBoundaries) {
  // The field is 1500 - 255 - 60 = 1185 twips wide. Left: hours end at 160 + 60, minutes 160 + 30
  // later. Right: the text starts at 545; centre: at 592.5 - 320, rounded to 272.
  const ClickCase cases[] = {
      {0, 175, tpHours},   {0, 219, tpHours},    {0, 220, tpMinutes}, {0, 409, tpMinutes},
      {0, 410, tpSeconds}, {1, 764, tpHours},    {1, 765, tpMinutes}, {1, 954, tpMinutes},
      {1, 955, tpSeconds}, {1, 0, tpHours},      {2, 491, tpHours},   {2, 492, tpMinutes},
      {2, 681, tpMinutes}, {2, 682, tpSeconds},  {0, 5000, tpSeconds},
  };
  for (const ClickCase& c : cases) {
    picker.SetAlignment(c.Alignment);
    Select(c.Part == tpHours ? tpSeconds : tpHours);
    ClickAt(c.X);
    EXPECT_EQ(picker.SelectedTimeField(), c.Part) << c.Alignment << " at " << c.X;
  }
}

TEST_F(TimePickerTest, TheMaskShowsWhileTheButtonIsHeld) {
  std::vector<ControlEvent> events;
  picker.OnEvent([&](ControlEvent event, const ControlEventArgs&) { events.push_back(event); });
  picker.MouseDown(canvas, {.Button = vbLeftButton, .X = 300});
  EXPECT_TRUE(picker.MaskShown());
  EXPECT_EQ(picker.SelectedTimeField(), tpMinutes);
  picker.MouseMove({.Button = vbLeftButton, .X = 500});
  EXPECT_EQ(picker.SelectedTimeField(), tpMinutes);
  picker.MouseUp({.Button = vbLeftButton, .X = 500});
  picker.Click();
  EXPECT_FALSE(picker.MaskShown());
  EXPECT_EQ(events, (std::vector<ControlEvent>{ControlEvent::MouseDown, ControlEvent::MouseMove,
                                               ControlEvent::MouseUp, ControlEvent::Click}));
}

TEST_F(TimePickerTest, DisablingShowsGreysAndEnablingRestoresTheColoursSet) {
  picker.SetBackColor(0x00FFFF);
  picker.SetForeColor(0x800000);
  picker.SetEnabled(false);
  EXPECT_EQ(picker.FieldBackColor(), 0x8000000Fu);
  EXPECT_EQ(picker.ControlBackColor(), 0x8000000Fu);
  EXPECT_EQ(picker.FieldForeColor(), 0x80000011u);
  picker.SetEnabled(false);
  EXPECT_EQ(picker.FieldBackColor(), 0x8000000Fu);
  picker.SetEnabled(true);
  EXPECT_EQ(picker.FieldBackColor(), 0x00FFFFu);
  EXPECT_EQ(picker.FieldForeColor(), 0x800000u);

  picker.SetEnabled(false);
  picker.SetBackColor(0x00FF00);
  EXPECT_EQ(picker.FieldBackColor(), 0x8000000Fu);
  EXPECT_EQ(picker.BackColor(), 0x00FF00u);
  picker.SetEnabled(true);
  EXPECT_EQ(picker.FieldBackColor(), 0x00FF00u);
  EXPECT_EQ(picker.ControlBackColor(), 0x00FF00u);
}

struct LayoutCase {
  std::int32_t BorderStyle;
  std::int32_t Appearance;
  bool LockHeight;
  float Height;
  TimePickerLayout Expected;
};

TEST_F(TimePickerTest, LayoutFitsTheHeightToTheFontAndLeavesRoomForTheFrame) {
  // Fitted height: a 160-twip line plus 8 pixels.
  const LayoutCase cases[] = {
      {1, 1, true, 600, {280, 1685, 1685, 220}},  {1, 1, true, 200, {200, 1685, 1685, 140}},
      {1, 1, false, 600, {600, 1685, 1685, 540}}, {1, 0, true, 600, {280, 1730, 1730, 265}},
      {0, 1, true, 600, {280, 1745, 1745, 280}},  {0, 0, true, 100, {100, 1745, 1745, 100}},
  };
  for (const LayoutCase& c : cases) {
    picker.SetBorderStyle(c.BorderStyle);
    picker.SetAppearance(c.Appearance);
    picker.SetLockHeight(c.LockHeight);
    const TimePickerLayout layout = picker.Resize(canvas, 2000.0f, c.Height, 255.0f);
    EXPECT_EQ(layout.Height, c.Expected.Height);
    EXPECT_EQ(layout.FieldWidth, c.Expected.FieldWidth);
    EXPECT_EQ(layout.SpinLeft, c.Expected.SpinLeft);
    EXPECT_EQ(layout.SpinHeight, c.Expected.SpinHeight);
  }
  EXPECT_EQ(picker.Resize(canvas, 100.0f, 600.0f, 255.0f).FieldWidth, 0.0f);
}

TEST_F(TimePickerTest, TheFieldHighlightsItsPartOnlyWithTheFocus) {
  picker.SetValueSeconds(3723);
  Select(tpMinutes);
  canvas.ClearLog();
  picker.Paint(canvas);
  EXPECT_EQ(canvas.LogText(),
            "Cls 0x80000005\nPrint (0,0) 0x80000008 \"01:02:03\"\n");
  picker.GotFocus();
  canvas.ClearLog();
  picker.Paint(canvas);
  EXPECT_EQ(canvas.LogText(),
            "Cls 0x80000005\nPrint (0,0) 0x80000008 \"01:02:03\"\n"
            "FilledBox (240,0)-(400,145) 0x8000000D\nPrint (240,0) 0x8000000E \"02\"\n");
  picker.LostFocus();
  canvas.ClearLog();
  picker.Paint(canvas);
  EXPECT_EQ(canvas.Log().size(), 2u);
}

TEST_F(TimePickerTest, TheMaskAlwaysHighlightsThePartUnderTheClick) {
  picker.SetAlignment(1);
  picker.SetValueSeconds(45296);
  const char* expected[] = {
      "FilledBox (545,0)-(705,145) 0x8000000D\nPrint (545,0) 0x8000000E \"12\"\n",
      "FilledBox (785,0)-(945,145) 0x8000000D\nPrint (785,0) 0x8000000E \"34\"\n",
      "FilledBox (1025,0)-(1185,145) 0x8000000D\nPrint (1025,0) 0x8000000E \"56\"\n",
  };
  const float clicks[] = {600, 800, 1100};
  for (int part = 0; part < 3; ++part) {
    picker.MouseDown(canvas, {.Button = vbLeftButton, .X = clicks[part]});
    canvas.ClearLog();
    picker.Paint(canvas);
    EXPECT_EQ(canvas.LogText(), std::string("Cls 0x80000005\nPrint (545,0) 0x80000008 \"12:34:56\"\n") +
                                    expected[part]);
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
  EXPECT_EQ(loaded.BackColor(), 0x00FFFFu);
  EXPECT_FALSE(loaded.Enabled());
  EXPECT_EQ(loaded.FieldBackColor(), 0x8000000Fu);
  EXPECT_FALSE(loaded.LockHeight());
  EXPECT_EQ(loaded.Font().Name, "Arial");
  EXPECT_EQ(loaded.ValueSeconds(), 0);
  loaded.SetEnabled(true);
  EXPECT_EQ(loaded.FieldBackColor(), 0x00FFFFu);
  EXPECT_EQ(loaded.FieldForeColor(), 0x80000008u);
}

}  // namespace
}  // namespace quendrel
