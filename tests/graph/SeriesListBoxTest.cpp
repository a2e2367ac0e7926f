// The series list's core on a recording canvas: texts, hit areas, keys and scrolling, row colours,
// menus, the custom gain and the in-place editors, with the rows changing behind open questions.
#include "graph/controls/SeriesListBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <clocale>
#include <string>
#include <vector>

#include "graph/controls/SeriesListTexts.h"
#include "graph/support/ClockSetBack.h"
#include "graph/support/GraphPaneRig.h"
#include "graph/support/SeriesListRig.h"
#include "platform/KeyCodes.h"
#include "platform/ScriptedUi.h"
#include "platform/SystemColors.h"

namespace quendrel {
namespace {

using testing::kChar;
using testing::kHeader;
using testing::kRow;
using testing::SeriesListRig;

std::vector<UiQuestionKind> Kinds(const ScriptedUi& ui) {
  std::vector<UiQuestionKind> kinds;
  for (const UiQuestion& question : ui.Questions()) kinds.push_back(question.Kind);
  return kinds;
}

bool Contains(const std::vector<std::string>& log, const std::string& entry) {
  return std::find(log.begin(), log.end(), entry) != log.end();
}

// The log entries printing exactly this text.
std::vector<std::string> PrintsOf(const std::vector<std::string>& log, const std::string& text) {
  std::vector<std::string> found;
  for (const std::string& entry : log) {
    if (entry.rfind("Print ", 0) == 0 && entry.size() > text.size() + 2 &&
        entry.compare(entry.size() - text.size() - 2, text.size() + 2, "\"" + text + "\"") == 0) {
      found.push_back(entry);
    }
  }
  return found;
}

TEST(SeriesListTextsTest, GainActionAndValueTexts) {
  const std::pair<double, const char*> gains[] = {
      {1, "x1"}, {1000, "x1000"}, {0.25, "x0.25"}, {0.1, "x0.1"}, {12345, "x2345"}, {-3, "x-3"}, {2.5, "x3"}};
  for (const auto& [gain, text] : gains) EXPECT_EQ(SeriesGainText(gain), text) << gain;

  gdSeries s;
  const struct {
    bool visible, logged, readOnly;
    const char* text;
  } actions[] = {{true, true, false, "Graph & Log"}, {false, true, false, "Log Only"},
                 {true, false, false, "Graph Only"}, {false, false, false, "Edit Only"},
                 {false, false, true, "View Only"}};
  for (const auto& a : actions) {
    s.SetVisible(a.visible);
    s.SetLogged(a.logged);
    s.SetReadOnly(a.readOnly);
    EXPECT_EQ(SeriesActionText(s), a.text);
  }

  s.AddPoint(1, 12);
  s.SetFormatString("0.");
  EXPECT_EQ(SeriesValueText(s), "12");
  s.SetFormatString("0.0");
  EXPECT_EQ(SeriesValueText(s), "12.0");
  s.SetDVD(12, "Twelve");
  EXPECT_EQ(SeriesValueText(s), "Twelve");
  s.AddPoint(2, -1);
  EXPECT_EQ(SeriesValueText(s), "");  // no name for a negative value
}

TEST(SeriesListBoxTest, PressesAndReleasesOpenWhatTheirAreaOpens) {
  // Canvas 6000 twips wide: the action text starts at 3780, the gain area at 5175.
  const struct {
    float x;
    bool press;
    std::vector<UiQuestionKind> opened;
  } cases[] = {
      {4875, true, {UiQuestionKind::PopupMenu}},   // action text
      {5800, true, {UiQuestionKind::PopupMenu}},   // gain text
      {5130, true, {}},                            // the 5-pixel strip left of the gain area
      {3700, true, {}},                            // between value and action
      {100, true, {}},                             // a press on the swatch
      {100, false, {UiQuestionKind::ColorDialog}},  // a release there
      {4875, false, {}},
      {5800, false, {}},
  };
  for (const auto& c : cases) {
    SeriesListRig rig;
    rig.AddMany(3);
    ScriptedUi ui;
    if (!c.opened.empty() && c.opened[0] == UiQuestionKind::PopupMenu) ui.AnswerPopupMenu(0);
    if (!c.opened.empty() && c.opened[0] == UiQuestionKind::ColorDialog) ui.CancelColorDialog();
    if (c.press) rig.Press(c.x, 2);
    else rig.Release(c.x, 2);
    EXPECT_EQ(Kinds(ui), c.opened) << c.x << (c.press ? " press" : " release");
    EXPECT_EQ(rig.list.ListIndex(), 2);
  }
}

TEST(SeriesListBoxTest, DraggingAcrossRowsSelectsRowByRowAndOpensNothing) {
  SeriesListRig rig;
  rig.AddMany(5);
  ScriptedUi ui;
  ui.AnswerPopupMenu(0);
  rig.Press(rig.ActionX(), 1);
  for (int row = 2; row <= 5; ++row) {
    rig.list.MouseMove(1, 0, rig.ActionX(), SeriesListRig::RowY(row));
    EXPECT_EQ(rig.list.ListIndex(), row);
  }
  rig.Release(rig.GainX(), 5);
  EXPECT_EQ(ui.Questions().size(), 1u);  // only the first press's menu
}

TEST(SeriesListBoxTest, PressOutsideTheRowsDeselectsAndCancelsTheEditor) {
  SeriesListRig rig;
  rig.AddMany(3);
  rig.Select(2);
  rig.list.DblClick();
  ASSERT_EQ(rig.list.Editor().Open, SeriesListEditorKind::Number);
  rig.Press(1000, 8);
  EXPECT_EQ(rig.list.ListIndex(), -1);
  EXPECT_EQ(rig.list.Editor().Open, SeriesListEditorKind::None);
}

TEST(SeriesListBoxTest, KeysMoveTheSelection) {
  const struct {
    int start;
    int key;
    int expected;
  } cases[] = {{3, vbKeyPageDown, 8}, {8, vbKeyPageUp, 3}, {3, vbKeyHome, 1},  {3, vbKeyEnd, 10},
               {1, vbKeyUp, 1},       {10, vbKeyDown, 10}, {-1, vbKeyDown, 0}, {0, vbKeyDown, 1},
               {9, vbKeyPageDown, 10}, {2, vbKeyPageUp, 1}};
  for (const auto& c : cases) {
    SeriesListRig rig(5);
    rig.AddMany(10);
    rig.list.SetListIndex(c.start);
    rig.list.KeyUp(c.key);
    EXPECT_EQ(rig.list.ListIndex(), c.expected) << c.start << " key " << c.key;
  }
}

TEST(SeriesListBoxTest, ScrollTopFollowsTheBarAsAShareOfTheScrollableHeight) {
  SeriesListRig rig(10);
  rig.AddMany(40);
  EXPECT_TRUE(rig.list.ScrollBar().Shown);
  EXPECT_EQ(rig.list.ScrollBar().Max, 100);
  const std::pair<int, int> cases[] = {{0, 0}, {50, (41 * kRow - 10 * kRow) / 2}, {100, 41 * kRow - 10 * kRow}};
  for (const auto& [value, top] : cases) {
    rig.list.ScrollBarChanged(value);
    EXPECT_EQ(rig.list.ScrollTop(), top) << value;
  }
  // Scrolled, a press hits the row under the pointer.
  rig.list.ScrollBarChanged(100);
  rig.list.MouseDown(1, 0, 1000, 9 * kRow - 10);  // the bottom row is the one below the last
  EXPECT_EQ(rig.list.ListIndex(), 40);
  // Only the rows that meet the control are painted.
  const auto log = rig.Paint();
  EXPECT_EQ(PrintsOf(log, "S31: Long S31").size(), 0u);
  EXPECT_EQ(PrintsOf(log, "S32: Long S32").size(), 1u);
  EXPECT_EQ(PrintsOf(log, "S40: Long S40").size(), 1u);
}

TEST(SeriesListBoxTest, AShortListHidesItsBarAndAnEmptyOneDrawsOnlyTheHeader) {
  SeriesListRig rig(10);
  rig.list.SetShowHeader(true);
  rig.AddMany(0);
  EXPECT_FALSE(rig.list.ScrollBar().Shown);
  const auto log = rig.Paint();
  EXPECT_EQ(PrintsOf(log, "Gain").size(), 1u);
  EXPECT_EQ(rig.list.CanvasWidth(), 6000.0f);
}

// The background of row 2 and the colour its name is printed in.
struct RowLook {
  std::uint32_t background;
  Color text;
};

RowLook LookOfRow2(SeriesListRig& rig) {
  const auto log = rig.Paint();
  const auto prints = PrintsOf(log, "S2: Long S2");
  EXPECT_EQ(prints.size(), 1u);
  Color text = 0;
  if (!prints.empty()) text = static_cast<Color>(std::stoul(prints[0].substr(prints[0].find("0x")), nullptr, 16));
  return {rig.canvas.PixelAt(200, 16 + 8), text};
}

TEST(SeriesListBoxTest, RowColoursForErrorSelectionAndFocus) {
  const struct {
    bool error, selected, focus;
    std::uint32_t background;
    Color text;
  } cases[] = {
      {false, false, false, ResolveColor(0x80000005), 0x80000008},
      {false, true, true, ResolveColor(0x8000000D), 0x8000000E},
      {false, true, false, ResolveColor(0x80000005), 0x80000008},  // left unpainted on a clean surface
      {true, false, true, 0x000080, 0x0000FF},
      {true, true, true, 0x0000FF, 0x8000000E},
      {true, true, false, 0x000080, 0x8000000E},
  };
  for (const auto& c : cases) {
    SeriesListRig rig;
    rig.AddMany(3);
    rig.data.Series("S2")->SetError(c.error);
    if (c.focus) rig.list.EnterFocus();
    rig.list.SetListIndex(c.selected ? 2 : 1);
    const RowLook look = LookOfRow2(rig);
    EXPECT_EQ(look.background, c.background) << c.error << c.selected << c.focus;
    EXPECT_EQ(look.text, c.text) << c.error << c.selected << c.focus;
  }
}

TEST(SeriesListBoxTest, ReadOnlyRowsAreGreyWithoutIconsAndADisabledListIsGreyText) {
  const struct {
    bool icons, enabled;
    Color text;
  } cases[] = {{false, true, 0x808080}, {true, true, 0x80000008}, {false, false, 0x80000011}, {true, false, 0x80000011}};
  for (const auto& c : cases) {
    SeriesListRig rig;
    rig.AddMany(3);
    rig.data.Series("S2")->SetReadOnly(true);
    rig.list.SetIcons(c.icons, &rig.icons);
    rig.list.SetEnabled(c.enabled);
    EXPECT_EQ(LookOfRow2(rig).text, c.text) << c.icons << c.enabled;
    EXPECT_EQ(Contains(rig.canvas.Log(), "Picture \"readonly\" 16x16 at (330,240) transparent"), c.icons);
  }
}

TEST(SeriesListBoxTest, IconsWidenTheNameColumnAndTheMinimumWidth) {
  SeriesListRig rig;
  const std::int32_t plain = rig.list.MinWidth();
  EXPECT_EQ(rig.list.NameLeft(), 300);
  EXPECT_EQ(rig.list.ValueLeft(), 300 + 24 * kChar + 75);
  rig.list.SetIcons(true, &rig.icons);
  EXPECT_EQ(rig.list.MinWidth(), plain + 16 * 15 + 4 * 15);
}

// The left edge of the one printing of this text.
float PrintedLeft(const std::vector<std::string>& log, const std::string& text) {
  const std::vector<std::string> prints = PrintsOf(log, text);
  if (prints.size() != 1) return -1.0f;
  return std::stof(prints[0].substr(prints[0].find('(') + 1));
}

// At the width the list says it needs, in a font larger than the one the twips were made for, the
// widest value it makes room for ends before the action text, with or without icons and with or
// without the scroll bar.
TEST(SeriesListBoxTest, AtItsMinimumWidthTheValueEndsBeforeTheAction) {
  const struct {
    bool icons;
    int rowsHigh;  // 3 rows: the scroll bar shows
  } cases[] = {{false, 10}, {true, 10}, {false, 3}, {true, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.icons) + " " + std::to_string(c.rowsHigh));
    SeriesListRig rig(c.rowsHigh);
    rig.canvas.SetFont(CanvasFont{"Tahoma", 12.0f});
    rig.list.SetIcons(c.icons, &rig.icons);
    rig.Add("M01P01", 8888.8);
    rig.AddMany(5);
    rig.list.Resize(static_cast<float>(rig.list.MinWidth()), static_cast<float>(c.rowsHigh * kRow));
    ASSERT_EQ(rig.list.ScrollBar().Shown, c.rowsHigh == 3);
    const std::vector<std::string> log = rig.Paint();
    const std::string value = SeriesValueText(*rig.data.Series("M01P01"));
    ASSERT_EQ(value, "8888.8");
    const float valueRight = PrintedLeft(log, value) + rig.canvas.TextWidth(value);
    const std::vector<std::string> actions = PrintsOf(log, "Graph & Log ");
    ASSERT_FALSE(actions.empty());
    EXPECT_LT(valueRight, std::stof(actions[0].substr(actions[0].find('(') + 1)));
  }
}

TEST(SeriesListBoxTest, ValueNameEditorOffersTheNamesUpToTheCount) {
  const struct {
    std::vector<std::pair<int, std::string>> names;
    double value;
    std::vector<std::string> entries;
    int chosen;
  } cases[] = {
      {{{0, "Off"}, {1, "On"}}, 1, {"Off", "On"}, 1},
      {{{0, "A"}, {2, "C"}, {3, "D"}}, 2, {"A", "C", "D"}, 1},
      {{{0, "A"}, {2, "C"}, {5, "F"}}, 5, {"A", "C"}, -1},  // three names: the one at 5 lies beyond
  };
  for (const auto& c : cases) {
    SeriesListRig rig;
    gdSeries& s = rig.Add("M01P02", c.value);
    for (const auto& [index, name] : c.names) s.SetDVD(static_cast<std::int16_t>(index), name);
    rig.list.Refresh();
    rig.Select(1);
    rig.list.DblClick();
    ASSERT_EQ(rig.list.Editor().Open, SeriesListEditorKind::ValueName);
    EXPECT_EQ(rig.list.Editor().Entries, c.entries);
    EXPECT_EQ(rig.list.Editor().Chosen, c.chosen);
  }
}

TEST(SeriesListBoxTest, DoubleClickEditsTogglesOrDoesNothing) {
  SeriesListRig rig;
  rig.Add("A", 12.5).SetFormatString("0.0");
  rig.Add("B", 0).SetBitPram(true);
  rig.Add("C", 7).SetBitPram(true);
  rig.Add("D", 3).SetReadOnly(true);
  rig.list.Refresh();
  rig.Select(1);
  rig.list.DblClick();
  EXPECT_EQ(rig.list.Editor().Open, SeriesListEditorKind::Number);
  EXPECT_EQ(rig.list.Editor().Text, "12.5");
  EXPECT_EQ(rig.list.Editor().Top, 0.0f);
  EXPECT_EQ(rig.list.Editor().Left, static_cast<float>(rig.list.ValueLeft()));
  rig.Select(2);
  rig.list.DblClick();
  rig.Select(3);
  rig.list.DblClick();
  rig.Select(4);
  rig.list.DblClick();
  ASSERT_EQ(rig.values.size(), 2u);
  EXPECT_EQ(rig.values[0].Value, 1.0);
  EXPECT_EQ(rig.values[1].Value, 0.0);
  EXPECT_EQ(rig.list.Editor().Open, SeriesListEditorKind::None);
}

// After the clock went back the readings stamped before the change are newer by their stamps; the
// value shown and the bit the toggle writes still follow the latest reading.
TEST(SeriesListBoxTest, AfterTheClockWentBackTheToggleFollowsTheLatestReading) {
  SeriesListRig rig;
  gdSeries& bit = *rig.data.AddSeries("B", "Long B", 0x0000FF);
  bit.SetBitPram(true);
  testing::ScanAcrossAClockSetBack(bit, 45000.0 * 86400.0, 1.0, 0.0);
  rig.list.Refresh();
  EXPECT_EQ(SeriesValueText(bit), "0");
  rig.Select(1);
  rig.list.DblClick();
  ASSERT_EQ(rig.values.size(), 1u);
  EXPECT_EQ(rig.values[0].Value, 1.0);
}

TEST(SeriesListBoxTest, ActionMenuShowsTheCurrentActionAndEveryItemRaisesItsEvent) {
  SeriesListRig rig;
  gdSeries& s = rig.Add("A");
  s.SetVisible(false);
  s.SetLogged(false);
  s.SetReadOnly(true);
  rig.list.Refresh();
  ScriptedUi ui;
  ui.AnswerPopupMenu(SeriesListBox::mnuGraphOnly);
  ui.AnswerPopupMenu(SeriesListBox::mnuGraphOnly);
  rig.Press(rig.ActionX(), 1);
  const PopupMenuRequest& menu = ui.Menus().at(0);
  ASSERT_EQ(menu.Items.size(), 4u);
  EXPECT_EQ(menu.Items[3].Caption, "View Only");
  EXPECT_TRUE(menu.Items[3].Checked);
  EXPECT_FALSE(menu.Items[0].Checked);
  EXPECT_TRUE(menu.RightAligned);
  EXPECT_EQ(menu.Y, static_cast<float>(kRow));
  EXPECT_TRUE(s.Visible());
  EXPECT_FALSE(s.Logged());
  rig.Press(rig.ActionX(), 1);  // the item already in force
  EXPECT_EQ(rig.actions, (std::vector<std::string>{"A", "A"}));
  EXPECT_TRUE(ui.Menus().at(1).Items[2].Checked);
}

TEST(SeriesListBoxTest, GainMenuChecksTheExactGainOrCustom) {
  const std::pair<double, int> cases[] = {{2, SeriesListBox::mnuGain2},
                                          {0.25, SeriesListBox::mnuGainpoint25},
                                          {3, SeriesListBox::mnuGainCustom},
                                          {0.3, SeriesListBox::mnuGainCustom}};
  for (const auto& [gain, checked] : cases) {
    SeriesListRig rig;
    rig.Add("A").SetGain(gain);
    rig.list.Refresh();
    ScriptedUi ui;
    ui.AnswerPopupMenu(SeriesListBox::mnuGain10);
    rig.Press(rig.GainX(), 1);
    const PopupMenuRequest& menu = ui.Menus().at(0);
    ASSERT_EQ(menu.Items.size(), 11u);
    for (const PopupMenuItem& item : menu.Items) EXPECT_EQ(item.Checked, item.Id == checked) << gain;
    EXPECT_EQ(menu.X, rig.list.CanvasWidth());
    EXPECT_EQ(rig.data.Series("A")->Gain(), 10.0);
    EXPECT_EQ(rig.gains.size(), 1u);
  }
}

TEST(SeriesListBoxTest, CustomGainReadsTheLeadingNumber) {
  const struct {
    const char* typed;
    double gain;
    bool event;
  } cases[] = {{"2.5", 2.5, true},  {"0", 1, true},    {"abc", 1, true}, {"-3", -3, true},
               {"1,5", 1, true},    {"&H10", 16, true}, {"", 4, false},  {"1e999", DBL_MAX, true}};
  for (const auto& c : cases) {
    SeriesListRig rig;
    rig.Add("A").SetGain(4);
    rig.list.Refresh();
    ScriptedUi ui;
    ui.AnswerPopupMenu(SeriesListBox::mnuGainCustom);
    ui.AnswerInputBox(c.typed);
    rig.Press(rig.GainX(), 1);
    EXPECT_EQ(ui.Questions().at(1).Prompt, "Input a gain value:");
    EXPECT_EQ(ui.Questions().at(1).Title, "Custom Gain Selection");
    EXPECT_EQ(rig.data.Series("A")->Gain(), c.gain) << c.typed;
    EXPECT_EQ(rig.gains.size(), c.event ? 1u : 0u) << c.typed;
    EXPECT_TRUE(rig.list.IgnoreEnterKeyUp());
    // The row is painted with any gain it took.
    EXPECT_FALSE(PrintsOf(rig.Paint(), "A: Long A").empty());
  }
}

TEST(SeriesListBoxTest, TheLargestGainACustomTextGivesStillDrawsInEveryGraphType) {
  testing::GraphPaneRig pane;
  pane.AddSeries("A", {1, 2, 3}).SetGain(DBL_MAX);
  for (const std::int32_t type : {gpLine, gpHiLo, gpBar}) {
    pane.pane.SetGraphType(type);
    EXPECT_NO_THROW(pane.Log()) << type;
  }
}

TEST(SeriesListBoxTest, CustomGainBoxHoldsThePointFormInACommaLocale) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  const bool comma = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  SeriesListRig rig;
  rig.Add("A").SetGain(0.25);
  rig.list.Refresh();
  {
    ScriptedUi ui;
    ui.AnswerPopupMenu(SeriesListBox::mnuGainCustom);
    ui.AnswerInputBox("0.25");  // OK on the unchanged text
    rig.Press(rig.GainX(), 1);
    EXPECT_EQ(ui.Questions().at(1).DefaultText, "0.25") << (comma ? "de_DE" : "C locale only");
  }
  std::setlocale(LC_ALL, before.c_str());
  EXPECT_EQ(rig.data.Series("A")->Gain(), 0.25);
}

TEST(SeriesListBoxTest, CommitCancelAndTheSwallowedEnterRelease) {
  SeriesListRig rig;
  rig.Add("A", 3);
  gdSeries& named = rig.Add("B", 0);
  named.SetDVD(0, "Zero");
  named.SetDVD(2, "Two");
  rig.list.Refresh();
  rig.Select(1);

  rig.list.KeyUp(vbKeyReturn);  // Enter on a row opens its editor
  ASSERT_EQ(rig.list.Editor().Open, SeriesListEditorKind::Number);
  rig.list.EditorTextChanged("12.5");
  rig.list.EditorKeyDown(vbKeyReturn);
  EXPECT_EQ(rig.list.Editor().Open, SeriesListEditorKind::None);
  rig.list.KeyUp(vbKeyReturn);  // the release of the committing Enter
  EXPECT_EQ(rig.list.Editor().Open, SeriesListEditorKind::None);
  ASSERT_EQ(rig.values.size(), 1u);
  EXPECT_EQ(rig.values[0].Value, 12.5);

  rig.list.DblClick();
  rig.list.EditorKeyDown(vbKeyEscape);
  EXPECT_EQ(rig.list.Editor().Open, SeriesListEditorKind::None);

  rig.Select(2);
  rig.list.DblClick();
  rig.list.EditorChoiceChanged(1);  // "Two", the second entry, stands for 2
  rig.list.EditorKeyDown(vbKeyReturn);
  ASSERT_EQ(rig.values.size(), 2u);
  EXPECT_EQ(rig.values[1].Series, "B");
  EXPECT_EQ(rig.values[1].Value, 2.0);

  // A focus loss cancels the number editor but leaves the value-name editor open.
  rig.list.DblClick();
  rig.list.ExitFocus();
  EXPECT_EQ(rig.list.Editor().Open, SeriesListEditorKind::ValueName);
  rig.Select(1);
  rig.list.DblClick();
  rig.list.ExitFocus();
  EXPECT_EQ(rig.list.Editor().Open, SeriesListEditorKind::None);
  EXPECT_EQ(rig.values.size(), 2u);
}

TEST(SeriesListBoxTest, EnterAfterTheCustomGainBoxDoesNothingUntilAnotherKeyIsReleased) {
  SeriesListRig rig;
  rig.Add("A", 3);
  rig.list.Refresh();
  ScriptedUi ui;
  ui.AnswerPopupMenu(SeriesListBox::mnuGainCustom);
  ui.AnswerInputBox("2");
  rig.Press(rig.GainX(), 1);
  rig.list.KeyUp(vbKeyReturn);
  EXPECT_EQ(rig.list.Editor().Open, SeriesListEditorKind::None);
  rig.list.KeyUp(vbKeyDown);
  rig.list.KeyUp(vbKeyReturn);
  EXPECT_EQ(rig.list.Editor().Open, SeriesListEditorKind::Number);
}

TEST(SeriesListBoxTest, AStaleEditorNeverCommitsToAnotherSeries) {
  const struct {
    const char* change;
    bool commits;
  } cases[] = {{"untick", false}, {"remove all", false}, {"tick another", true}};
  for (const auto& c : cases) {
    SeriesListRig rig;
    rig.Add("A", 1);
    gdSeries& b = rig.Add("B", 0);
    b.SetDVD(0, "Zero");
    b.SetDVD(1, "One");
    rig.Add("C", 2);
    rig.list.Refresh();
    rig.Select(2);
    rig.list.DblClick();
    rig.list.EditorChoiceChanged(1);
    rig.list.ExitFocus();  // the value-name editor stays open meanwhile
    const std::string change = c.change;
    if (change == "untick") rig.data.RemoveSeries("B");
    if (change == "remove all") rig.data.Clear();
    if (change == "tick another") rig.data.RemoveSeries("A");
    rig.list.Refresh();
    rig.list.EditorKeyDown(vbKeyReturn);
    EXPECT_EQ(rig.list.Editor().Open, SeriesListEditorKind::None) << c.change;
    ASSERT_EQ(rig.values.size(), c.commits ? 1u : 0u) << c.change;
    if (c.commits) {
      EXPECT_EQ(rig.values[0].Series, "B");
      EXPECT_EQ(rig.values[0].Value, 1.0);
    }
  }
}

TEST(SeriesListBoxTest, RefusedTextsAndAnUnchosenEntryCommitNothing) {
  const struct {
    const char* typed;
    bool commits;
    double value;
  } cases[] = {{"12.5abc", true, 12.5}, {"&H1F", true, 31}, {" -4 ", true, -4},   {"abc", false, 0},
               {"", false, 0},          {".", false, 0},    {"1e39", false, 0}, {"1e999", false, 0},
               {"12,5", false, 0}};
  for (const auto& c : cases) {
    SeriesListRig rig;
    rig.Add("A", 3);
    rig.list.Refresh();
    rig.Select(1);
    rig.list.DblClick();
    rig.list.EditorTextChanged(c.typed);
    rig.list.EditorKeyDown(vbKeyReturn);
    EXPECT_EQ(rig.list.Editor().Open, SeriesListEditorKind::None) << c.typed;
    ASSERT_EQ(rig.values.size(), c.commits ? 1u : 0u) << c.typed;
    if (c.commits) {
      EXPECT_EQ(rig.values[0].Value, c.value) << c.typed;
    }
  }
  SeriesListRig rig;
  gdSeries& s = rig.Add("B", 9);
  s.SetDVD(0, "Zero");
  rig.list.Refresh();
  rig.Select(1);
  rig.list.DblClick();
  ASSERT_EQ(rig.list.Editor().Chosen, -1);
  rig.list.EditorKeyDown(vbKeyReturn);
  EXPECT_EQ(rig.list.Editor().Open, SeriesListEditorKind::None);
  EXPECT_TRUE(rig.values.empty());
}

TEST(SeriesListBoxTest, ALongListScrolledToItsEndIsEditedOnItsLastRow) {
  SeriesListRig rig(10);
  rig.list.SetShowHeader(true);
  rig.AddMany(200);
  rig.list.ScrollBarChanged(100);
  const std::int32_t top = 201 * kRow - 10 * kRow;
  EXPECT_EQ(rig.list.ScrollTop(), top);
  const float lastRowY = static_cast<float>(200 * kRow - kRow / 2 + kHeader - top);
  rig.list.MouseDown(1, 0, 1000, lastRowY);
  rig.list.MouseUp(1, 0, 1000, lastRowY);
  EXPECT_EQ(rig.list.ListIndex(), 200);
  EXPECT_FALSE(PrintsOf(rig.Paint(), "S200: Long S200").empty());
  rig.list.DblClick();
  EXPECT_EQ(rig.list.Editor().Top, static_cast<float>(199 * kRow - top + kHeader));
  rig.list.EditorTextChanged("77");
  rig.list.EditorKeyDown(vbKeyReturn);
  ASSERT_EQ(rig.values.size(), 1u);
  EXPECT_EQ(rig.values[0].Series, "S200");
  EXPECT_EQ(rig.values[0].Value, 77.0);
}

TEST(SeriesListBoxTest, ARefreshInsideAModalWaitPaintsTheCurrentRows) {
  SeriesListRig rig;
  rig.AddMany(2);
  ScriptedUi ui;
  std::vector<std::string> paintedInWait;
  ui.WhileAsked([&](const UiQuestion&) {
    // The scan window's timer: a new series and a refresh.
    rig.Add("S3", 3);
    rig.canvas.ClearLog();
    rig.list.Refresh();
    paintedInWait = rig.canvas.Log();
  });
  ui.AnswerColorDialog(0x00FF00);
  rig.canvas.ClearLog();
  rig.Release(100, 2);
  EXPECT_EQ(PrintsOf(paintedInWait, "S3: Long S3").size(), 1u);
  EXPECT_EQ(rig.colors, std::vector<std::string>{"S2"});
  EXPECT_EQ(rig.data.Series("S2")->Color(), 0x00FF00u);
  // The click's own repaint follows the wait and shows the new colour.
  EXPECT_TRUE(Contains(rig.canvas.Log(), "Box (30,270)-(270,450) 0x80000008 fill 0x00FF00"));
}

TEST(SeriesListBoxTest, AMenuChoiceAfterTheRowsChangedInTheWaitChangesNothing) {
  SeriesListRig rig;
  rig.AddMany(2);
  ScriptedUi ui;
  ui.WhileAsked([&](const UiQuestion&) { rig.data.RemoveSeries("S2"); });
  ui.AnswerPopupMenu(SeriesListBox::mnuGain10);
  rig.Press(rig.GainX(), 2);
  EXPECT_TRUE(rig.gains.empty());
  EXPECT_EQ(rig.data.Series("S1")->Gain(), 1.0);
}

TEST(SeriesListBoxTest, SettingsAndSize) {
  SeriesListRig rig;
  PropertyBag empty;
  rig.list.ReadProperties(empty);
  EXPECT_EQ(rig.list.DataControl(), "");
  EXPECT_EQ(rig.list.ListIndex(), -1);
  EXPECT_FALSE(rig.list.ShowHeader());

  PropertyBag bag;
  rig.list.SetDataControl("gdcGraphData");
  rig.list.SetListIndex(3);
  rig.list.SetShowHeader(true);
  rig.list.WriteProperties(bag);
  SeriesListBox other(&rig.form, "slbOther");
  other.ReadProperties(bag);
  EXPECT_EQ(other.DataControl(), "gdcGraphData");
  EXPECT_EQ(other.ListIndex(), 3);
  EXPECT_TRUE(other.ShowHeader());
  other.SetDataControl("GDCGRAPHDATA");  // the name must match exactly
  EXPECT_EQ(other.DataControl(), "");

  rig.list.Resize(3000, 2000);
  EXPECT_EQ(rig.list.Width(), 5800.0f);
}

}  // namespace
}  // namespace quendrel
