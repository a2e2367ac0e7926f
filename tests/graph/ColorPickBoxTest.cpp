// The colour pick box's core: its dialog flags, what a confirmed or cancelled dialog does, the
// keys that open it, the focus rectangle and the stored settings.
#include "graph/controls/ColorPickBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/values/RuntimeError.h"
#include "platform/KeyCodes.h"
#include "platform/RecordingCanvas.h"
#include "platform/ScriptedUi.h"

namespace quendrel {
namespace {

struct ColorPickBoxTest : ::testing::Test {
  ColorPickBoxTest() {
    box.OnEvent([this](ControlEvent event, const ControlEventArgs&) { events.push_back(event); });
    box.OnPropertyChanged([this](std::string_view name) { marked.emplace_back(name); });
  }
  int Changes() const { return static_cast<int>(std::count(events.begin(), events.end(), ControlEvent::Changed)); }

  ScriptedUi ui;
  ColorPickBox box{nullptr, "cpbTest"};
  std::vector<ControlEvent> events;
  std::vector<std::string> marked;
};

TEST_F(ColorPickBoxTest, EachOptionIsOneFlagBit) {
  EXPECT_EQ(box.Flags(), 2);
  EXPECT_TRUE(box.FullOpen() && box.AllowFullOpen() && !box.HelpButton());
  box.SetFullOpen(false);
  EXPECT_EQ(box.Flags(), 0);
  box.SetAllowFullOpen(false);
  EXPECT_EQ(box.Flags(), 4);
  box.SetHelpButton(true);
  EXPECT_EQ(box.Flags(), 12);
  EXPECT_TRUE(!box.FullOpen() && !box.AllowFullOpen() && box.HelpButton());
  EXPECT_EQ(marked, (std::vector<std::string>{"FullOpen", "Flags", "AllowFullOpen", "Flags", "HelpButton", "Flags"}));
}

TEST_F(ColorPickBoxTest, OnlyAColourConfirmedInTheDialogRaisesChanged) {
  box.SetChosenColor(0x00FFFF);
  ui.CancelColorDialog();
  box.DoDialog();
  EXPECT_EQ(box.ChosenColor(), 0x00FFFFu);
  EXPECT_EQ(Changes(), 0);

  ui.AnswerColorDialog(0xFF0000);
  box.DoDialog();
  EXPECT_EQ(box.ChosenColor(), 0xFF0000u);
  EXPECT_EQ(Changes(), 1);
  EXPECT_EQ(marked, (std::vector<std::string>{"ChosenColor", "ChosenColor"}));
  // The dialog opens on the chosen colour from the first time on, and that flag is kept.
  EXPECT_EQ(ui.Questions()[0].Style, 3);
  PropertyBag bag;
  box.WriteProperties(bag);
  EXPECT_EQ(bag.Read(PropertyKey<std::int32_t>{"Flags", 2}), 3);
}

TEST_F(ColorPickBoxTest, EnterSpaceAndClicksOpenTheDialogOtherKeysDoNot) {
  ui.AnswerColorDialog(0x000080);
  box.KeyDown(vbKeyReturn, 0);
  ui.CancelColorDialog();
  box.KeyDown(vbKeySpace, 0);
  for (int key : {vbKeyEscape, vbKeyTab, int('A'), vbKeyDown}) box.KeyDown(key, 0);
  ui.CancelColorDialog();
  box.Click();
  box.DblClick();

  EXPECT_EQ(ui.Questions().size(), 3u);
  EXPECT_EQ(box.ChosenColor(), 0x000080u);
  using E = ControlEvent;
  EXPECT_EQ(events, (std::vector<E>{E::Changed, E::KeyDown, E::KeyDown, E::KeyDown, E::KeyDown, E::KeyDown,
                                    E::KeyDown, E::Click, E::DblClick}));
}

TEST_F(ColorPickBoxTest, TheFocusRectangleStopsShortOfTheFrame) {
  const struct {
    std::int32_t BorderStyle, Appearance;
    const char* Rect;
  } cases[] = {
      {1, 1, "FocusRect 1,1-35,15"}, {1, 0, "FocusRect 1,1-37,17"}, {0, 1, "FocusRect 1,1-39,19"},
      {0, 0, "FocusRect 1,1-39,19"}, {2, 1, "FocusRect 1,1-35,15"},
  };
  box.GotFocus();
  for (const auto& c : cases) {
    RecordingCanvas canvas(40, 20);
    box.SetBorderStyle(c.BorderStyle);
    box.SetAppearance(c.Appearance);
    box.Paint(canvas);
    EXPECT_EQ(canvas.LogText(), std::string("Cls 0x0000FF\n") + c.Rect + "\n") << c.BorderStyle << c.Appearance;
  }
  EXPECT_THROW(box.SetBorderStyle(40000), RuntimeError);
  EXPECT_EQ(box.BorderStyle(), 2);
  box.LostFocus();
  RecordingCanvas canvas(40, 20);
  box.Paint(canvas);
  EXPECT_EQ(canvas.LogText(), "Cls 0x0000FF\n");
}

TEST_F(ColorPickBoxTest, StoredSettingsCarryTheOptionsInsideTheFlags) {
  PropertyBag bag;
  box.WriteProperties(bag);
  EXPECT_EQ(bag.Count(), 0u);
  box.SetHelpButton(true);
  box.SetChosenColor(0x80000005u);
  box.SetAppearance(0);
  box.WriteProperties(bag);
  EXPECT_EQ(bag.Count(), 3u);

  ColorPickBox loaded(nullptr, "cpbLoaded");
  loaded.ReadProperties(bag);
  EXPECT_TRUE(loaded.HelpButton());
  EXPECT_EQ(loaded.Flags(), 10);
  EXPECT_EQ(loaded.ChosenColor(), 0x80000005u);
  EXPECT_EQ(loaded.Appearance(), 0);
}

}  // namespace
}  // namespace quendrel
