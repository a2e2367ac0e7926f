// The colour pick box's core: its dialog flags, the dialog and what a confirmed or cancelled
// choice does, the keys that open it, the focus rectangle and the stored settings.
#include "graph/controls/ColorPickBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/RuntimeError.h"
#include "platform/KeyCodes.h"
#include "platform/RecordingCanvas.h"
#include "platform/ScriptedUi.h"

namespace quendrel {
namespace {

struct ColorPickBoxTest : ::testing::Test {
  ColorPickBoxTest() {
    box.OnEvent([this](ControlEvent event, const ControlEventArgs& args) {
      events.push_back(event);
      if (event == ControlEvent::KeyDown) keys.push_back(args.KeyCode);
    });
    box.OnPropertyChanged([this](std::string_view name) { marked.emplace_back(name); });
  }
  int Count(ControlEvent event) const { return static_cast<int>(std::count(events.begin(), events.end(), event)); }

  ScriptedUi ui;
  ColorPickBox box{nullptr, "cpbTest"};
  std::vector<ControlEvent> events;
  std::vector<int> keys;
  std::vector<std::string> marked;
};

TEST_F(ColorPickBoxTest, AFreshBoxIsRedWithAFullyOpenDialogAndNoHelp) {
  EXPECT_EQ(box.ChosenColor(), 255u);
  EXPECT_EQ(box.BorderStyle(), 1);
  EXPECT_EQ(box.Appearance(), 1);
  EXPECT_EQ(box.Flags(), 2);
  EXPECT_TRUE(box.FullOpen());
  EXPECT_TRUE(box.AllowFullOpen());
  EXPECT_FALSE(box.HelpButton());
}

TEST_F(ColorPickBoxTest, EachOptionIsOneFlagBit) {
  box.SetFullOpen(false);
  EXPECT_EQ(box.Flags(), 0);
  EXPECT_FALSE(box.FullOpen());
  box.SetAllowFullOpen(false);
  EXPECT_EQ(box.Flags(), 4);
  EXPECT_FALSE(box.AllowFullOpen());
  box.SetHelpButton(true);
  EXPECT_EQ(box.Flags(), 12);
  EXPECT_TRUE(box.HelpButton());
  box.SetAllowFullOpen(true);
  box.SetFullOpen(true);
  EXPECT_EQ(box.Flags(), 10);
  EXPECT_EQ(marked, (std::vector<std::string>{"FullOpen", "Flags", "AllowFullOpen", "Flags", "HelpButton",
                                              "Flags", "AllowFullOpen", "Flags", "FullOpen", "Flags"}));
}

TEST_F(ColorPickBoxTest, TheDialogStartsOnTheChosenColourAndKeepsThatFlag) {
  box.SetChosenColor(0x123456);
  ui.AnswerColorDialog(0x00FF00);
  box.DoDialog();
  ASSERT_EQ(ui.Questions().size(), 1u);
  EXPECT_EQ(ui.Questions()[0].Style, 3);
  EXPECT_EQ(box.ChosenColor(), 0x00FF00u);
  PropertyBag bag;
  box.WriteProperties(bag);
  EXPECT_EQ(bag.Read(PropertyKey<std::int32_t>{"Flags", 2}), 3);
}

TEST_F(ColorPickBoxTest, OnlyAConfirmedColourRaisesChanged) {
  box.SetChosenColor(0x00FFFF);
  EXPECT_EQ(Count(ControlEvent::Changed), 0);
  EXPECT_EQ(marked, (std::vector<std::string>{"ChosenColor"}));

  ui.CancelColorDialog();
  box.DoDialog();
  EXPECT_EQ(box.ChosenColor(), 0x00FFFFu);
  EXPECT_EQ(Count(ControlEvent::Changed), 0);

  ui.AnswerColorDialog(0xFF0000);
  box.DoDialog();
  EXPECT_EQ(box.ChosenColor(), 0xFF0000u);
  EXPECT_EQ(Count(ControlEvent::Changed), 1);
  EXPECT_EQ(marked, (std::vector<std::string>{"ChosenColor", "ChosenColor"}));
}

TEST_F(ColorPickBoxTest, EnterSpaceAndClicksOpenTheDialogOtherKeysDoNot) {
  ui.AnswerColorDialog(0x000080);
  box.KeyDown(vbKeyReturn, 0);
  ui.CancelColorDialog();
  box.KeyDown(vbKeySpace, 0);
  for (int key : {vbKeyEscape, vbKeyTab, int('A'), vbKeyF1, vbKeyDown}) box.KeyDown(key, 0);
  ui.CancelColorDialog();
  box.Click();
  box.DblClick();
  box.KeyPress('A');
  box.KeyUp('A', vbShiftMask);

  EXPECT_EQ(ui.Questions().size(), 3u);
  EXPECT_EQ(box.ChosenColor(), 0x000080u);
  EXPECT_EQ(keys, (std::vector<int>{vbKeyReturn, vbKeySpace, vbKeyEscape, vbKeyTab, 'A', vbKeyF1, vbKeyDown}));
  // Changed comes before the KeyDown that opened the dialog; Click follows its cancelled dialog.
  EXPECT_EQ(events[0], ControlEvent::Changed);
  EXPECT_EQ(events[1], ControlEvent::KeyDown);
  EXPECT_EQ(Count(ControlEvent::Changed), 1);
  EXPECT_EQ(std::vector<ControlEvent>(events.end() - 4, events.end()),
            (std::vector<ControlEvent>{ControlEvent::Click, ControlEvent::DblClick, ControlEvent::KeyPress,
                                       ControlEvent::KeyUp}));
}

struct FocusCase {
  std::int32_t BorderStyle;
  std::int32_t Appearance;
  const char* Rect;
};

TEST_F(ColorPickBoxTest, TheFocusRectangleStopsShortOfTheFrame) {
  const FocusCase cases[] = {
      {1, 1, "FocusRect 1,1-35,15"}, {1, 0, "FocusRect 1,1-37,17"},
      {0, 1, "FocusRect 1,1-39,19"}, {0, 0, "FocusRect 1,1-39,19"},
      {2, 1, "FocusRect 1,1-35,15"},
  };
  box.GotFocus();
  for (const FocusCase& c : cases) {
    RecordingCanvas canvas(40, 20);
    box.SetBorderStyle(c.BorderStyle);
    box.SetAppearance(c.Appearance);
    box.Paint(canvas);
    EXPECT_EQ(canvas.LogText(), std::string("Cls 0x0000FF\n") + c.Rect + "\n") << c.BorderStyle << c.Appearance;
  }
  box.LostFocus();
  RecordingCanvas canvas(40, 20);
  box.Paint(canvas);
  EXPECT_EQ(canvas.LogText(), "Cls 0x0000FF\n");
}

TEST_F(ColorPickBoxTest, FrameSettingsBeyondSixteenBitsAreRefused) {
  EXPECT_THROW(box.SetBorderStyle(40000), RuntimeError);
  EXPECT_THROW(box.SetAppearance(-40000), RuntimeError);
  EXPECT_EQ(box.BorderStyle(), 1);
  EXPECT_EQ(box.Appearance(), 1);
  box.SetBorderStyle(-5);
  EXPECT_EQ(box.BorderStyle(), -5);
}

TEST_F(ColorPickBoxTest, StoredSettingsRoundTripWithTheFlagsAsAWhole) {
  PropertyBag bag;
  box.WriteProperties(bag);
  EXPECT_EQ(bag.Count(), 0u);

  box.SetHelpButton(true);
  box.SetChosenColor(0x80000005u);
  box.SetAppearance(0);
  box.WriteProperties(bag);
  EXPECT_EQ(bag.Count(), 3u);
  EXPECT_FALSE(bag.Has("HelpButton"));

  ColorPickBox loaded(nullptr, "cpbLoaded");
  loaded.ReadProperties(bag);
  EXPECT_EQ(loaded.Flags(), 10);
  EXPECT_TRUE(loaded.HelpButton());
  EXPECT_EQ(loaded.ChosenColor(), 0x80000005u);
  EXPECT_EQ(loaded.Appearance(), 0);
  EXPECT_EQ(loaded.BorderStyle(), 1);
}

}  // namespace
}  // namespace quendrel
