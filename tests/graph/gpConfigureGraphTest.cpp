// The graph configuration dialog through its own controls: what it reads from a pane, how its
// controls depend on each other, what the preview and the pane get and when, and the font
// dialog's colour. Pictures of both tabs land in test-output/graph/configure-dialog-*.png.
#include "graph/controls/qt/gpConfigureGraph.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <algorithm>
#include <cstdint>
#include <regex>
#include <string>
#include <vector>

#include "foundation/values/RandomGenerator.h"
#include "platform/RecordingCanvas.h"
#include "platform/ScriptedUi.h"
#include "support/QtTestApp.h"
#include "support/TestOutput.h"

namespace quendrel {
namespace {

struct WithApplication {
  WithApplication() { QtTestApp(); }
};

void TypeKey(QWidget& widget, char character) {
  const QString text(QChar::fromLatin1(character));
  QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (character - 'a'), Qt::NoModifier, text);
  QApplication::sendEvent(&widget, &press);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_A + (character - 'a'), Qt::NoModifier, text);
  QApplication::sendEvent(&widget, &release);
}

void ClickWidget(QWidget& widget) {
  const QPointF at(widget.width() / 2.0, widget.height() / 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, at, widget.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, widget.mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(&widget, &release);
}

void Choose(QComboBox* list, const char* text) {
  const int index = list->findText(QString::fromLatin1(text));
  ASSERT_GE(index, 0) << text;
  list->setCurrentIndex(index);
}

std::vector<std::pair<std::string, int>> Items(const QComboBox* list) {
  std::vector<std::pair<std::string, int>> items;
  for (int i = 0; i < list->count(); ++i) items.emplace_back(list->itemText(i).toStdString(), list->itemData(i).toInt());
  return items;
}

class gpConfigureGraphTest : public ::testing::Test, WithApplication {
 protected:
  gpConfigureGraphTest() {
    target.SetCaption("Motor Speed");
    target.SetShowCurrent(true);
    target.SetIncludeGain(false);
    target.SetWindowLength(90.0);
    target.OnRefresh([this] { ++targetRefreshes; });
  }

  ScriptedUi ui;
  GraphPane target{nullptr, "gpGraph"};
  int targetRefreshes = 0;
};

TEST_F(gpConfigureGraphTest, OpensOnThePanesSettingsWithApplyDisabled) {
  gpConfigureGraph dialog(target);
  EXPECT_EQ(dialog.windowTitle(), "Configure Graph...");
  EXPECT_EQ(dialog.TitleBox()->text(), "Motor Speed");
  EXPECT_TRUE(dialog.GraphTypeOption(0)->isChecked());
  EXPECT_EQ(dialog.ShowCurrentBox()->checkState(), Qt::Checked);
  EXPECT_EQ(dialog.ShowAverageBox()->checkState(), Qt::Unchecked);
  EXPECT_TRUE(dialog.IncludeGainBox()->isEnabled());
  EXPECT_EQ(dialog.IncludeGainBox()->checkState(), Qt::Unchecked);
  EXPECT_FALSE(dialog.LegendNameStyleBox()->isEnabled());
  EXPECT_FALSE(dialog.ApplyButton()->isEnabled());
  EXPECT_EQ(dialog.Tabs()->tabText(0), "Graph Options");
  EXPECT_EQ(dialog.Tabs()->tabText(1), "&Display/Decorations");
  // The preview draws sample data and shows what the dialog shows.
  EXPECT_TRUE(dialog.Preview().IsPreviewPane());
  EXPECT_EQ(dialog.Preview().DataSource(), "gdc1");
  EXPECT_FALSE(dialog.Preview().SeriesSet().empty());
  EXPECT_EQ(dialog.Preview().Caption(), "Motor Speed");
  EXPECT_TRUE(dialog.Preview().ShowCurrent());
  EXPECT_EQ(ui.Questions().size(), 0u);
}

TEST_F(gpConfigureGraphTest, ListsCarryTheirValuesInTheirOrder) {
  gpConfigureGraph dialog(target);
  using ItemList = std::vector<std::pair<std::string, int>>;
  EXPECT_EQ(Items(dialog.LegendStyleBox()), (ItemList{{"None", 0}, {"Top", 1}, {"Left", 3}, {"Bottom", 4}, {"Right", 2}}));
  EXPECT_EQ(Items(dialog.LegendNameStyleBox()), (ItemList{{"Short", 0}, {"Long", 1}}));
  EXPECT_EQ(Items(dialog.XAxisLabelsBox()), (ItemList{{"None", 2}, {"Short", 0}, {"Long", 1}}));
  EXPECT_EQ(dialog.LegendStyleBox()->currentText(), "None");
  EXPECT_EQ(dialog.XAxisLabelsBox()->currentText(), "None");
}

TEST_F(gpConfigureGraphTest, AverageAndCurrentExcludeEachOtherAndIncludeGainFollowsThem) {
  gpConfigureGraph dialog(target);
  dialog.ShowAverageBox()->click();
  EXPECT_EQ(dialog.ShowAverageBox()->checkState(), Qt::Checked);
  EXPECT_EQ(dialog.ShowCurrentBox()->checkState(), Qt::Unchecked);
  EXPECT_TRUE(dialog.IncludeGainBox()->isEnabled());
  EXPECT_TRUE(dialog.Preview().ShowAverage());
  EXPECT_TRUE(dialog.ApplyButton()->isEnabled());
  dialog.ShowAverageBox()->click();
  EXPECT_FALSE(dialog.IncludeGainBox()->isEnabled());
  dialog.ShowCurrentBox()->click();
  EXPECT_TRUE(dialog.IncludeGainBox()->isEnabled());
  EXPECT_TRUE(target.ShowCurrent());
}

TEST_F(gpConfigureGraphTest, LegendNoneDisablesTheStyleListAndRightAppliesTwo) {
  target.SetLegend(gpLegendTop);
  gpConfigureGraph dialog(target);
  EXPECT_TRUE(dialog.LegendNameStyleBox()->isEnabled());
  Choose(dialog.LegendStyleBox(), "None");
  EXPECT_FALSE(dialog.LegendNameStyleBox()->isEnabled());
  EXPECT_EQ(dialog.Preview().Legend(), gpLegendNone);
  Choose(dialog.LegendStyleBox(), "Right");
  EXPECT_TRUE(dialog.LegendNameStyleBox()->isEnabled());
  EXPECT_EQ(target.Legend(), gpLegendTop);
  dialog.ApplyButton()->click();
  EXPECT_EQ(target.Legend(), gpLegendRight);
  EXPECT_FALSE(dialog.ApplyButton()->isEnabled());
}

TEST_F(gpConfigureGraphTest, ValuesNoControlOffersSurviveApply) {
  target.SetLegend(gpLegendLeft);
  target.SetLegendName(2);
  target.SetGraphType(7);
  gpConfigureGraph dialog(target);
  EXPECT_EQ(dialog.LegendNameStyleBox()->currentIndex(), -1);
  EXPECT_TRUE(dialog.GraphTypeOption(2)->isChecked());
  dialog.OkButton()->click();
  EXPECT_EQ(target.LegendName(), 2);
  EXPECT_EQ(target.GraphType(), gpBar);
}

TEST_F(gpConfigureGraphTest, ThePreviewFollowsEachKeystrokeWhileThePaneWaitsForApply) {
  gpConfigureGraph dialog(target);
  dialog.TitleBox()->clear();
  targetRefreshes = 0;
  std::string typed;
  for (char key : std::string("pump")) {
    TypeKey(*dialog.TitleBox(), key);
    typed += key;
    EXPECT_EQ(dialog.Preview().Caption(), typed);
    EXPECT_EQ(target.Caption(), "Motor Speed");
  }
  EXPECT_EQ(targetRefreshes, 0);
  dialog.OkButton()->click();
  EXPECT_EQ(target.Caption(), "pump");
  EXPECT_GT(targetRefreshes, 0);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(gpConfigureGraphTest, ApplyThenCancelKeepsWhatWasApplied) {
  gpConfigureGraph dialog(target);
  dialog.GraphTypeOption(1)->click();
  dialog.XRulesBox()->click();
  dialog.ApplyButton()->click();
  dialog.GraphTypeOption(2)->click();
  dialog.CancelButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(target.GraphType(), gpHiLo);
  EXPECT_TRUE(target.XRules());
}

TEST_F(gpConfigureGraphTest, EnterPressesOkAndClosingTheWindowAppliesNothing) {
  {
    gpConfigureGraph dialog(target);
    dialog.show();
    dialog.TitleBox()->setText("Flow");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(dialog.TitleBox(), &enter);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(target.Caption(), "Flow");
  }
  gpConfigureGraph dialog(target);
  dialog.show();
  dialog.TitleBox()->setText("Pressure");
  dialog.close();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(target.Caption(), "Flow");
}

TEST_F(gpConfigureGraphTest, ApplyNeverPumpsAndThePaneIsLockedWhileItChanges) {
  std::vector<bool> lockedAtEachChange;
  target.OnSettingsChanged([&] { lockedAtEachChange.push_back(target.PaintLock()); });
  gpConfigureGraph dialog(target);
  dialog.YRulesBox()->click();
  dialog.ApplyButton()->click();
  ASSERT_FALSE(lockedAtEachChange.empty());
  EXPECT_EQ(std::count(lockedAtEachChange.begin(), lockedAtEachChange.end(), false), 0);
  EXPECT_FALSE(target.PaintLock());
  EXPECT_EQ(ui.Pumps(), 0);
}

TEST_F(gpConfigureGraphTest, WindowLengthLoadsAsATimeAndGoesBackInSeconds) {
  gpConfigureGraph dialog(target);
  EXPECT_EQ(dialog.WindowTime().FieldText(), "00:01:30");
  dialog.OkButton()->click();
  EXPECT_EQ(target.WindowLength(), 90.0);
}

TEST_F(gpConfigureGraphTest, FontsShowAndApplyWholePointSizes) {
  target.SetCaptionFont(CanvasFont{"Tahoma", 8.25f, true});
  gpConfigureGraph dialog(target);
  EXPECT_EQ(dialog.TitleFontLabel()->text(), "Tahoma 8, Bold");
  EXPECT_EQ(dialog.DataFontLabel()->text(), "MS Sans Serif 8, Normal");
  // OK hands the pane the working copies even with nothing changed.
  dialog.OkButton()->click();
  EXPECT_EQ(target.CaptionFont(), (CanvasFont{"Tahoma", 8.0f, true}));
  EXPECT_EQ(target.GraphFont().Size, 8.0f);
}

TEST_F(gpConfigureGraphTest, AFontDialogsColourReachesTheTextColour) {
  gpConfigureGraph dialog(target);
  ui.AnswerFontDialog({CanvasFont{"Arial", 12.0f, false, true}, 0x00C000});
  dialog.DataFontButton()->click();
  ASSERT_EQ(ui.Questions().size(), 1u);
  EXPECT_EQ(ui.Questions()[0].Kind, UiQuestionKind::FontDialog);
  EXPECT_EQ(ui.Questions()[0].Style, 0x103);
  EXPECT_EQ(dialog.DataFontLabel()->text(), "Arial 12, Italic");
  EXPECT_EQ(dialog.Preview().TextColor(), 0x00C000u);
  EXPECT_NE(target.TextColor(), 0x00C000u);
  dialog.ApplyButton()->click();
  EXPECT_EQ(target.TextColor(), 0x00C000u);
  EXPECT_EQ(target.GraphFont(), (CanvasFont{"Arial", 12.0f, false, true}));
}

TEST_F(gpConfigureGraphTest, ACancelledFontDialogChangesNothingButEnablesApply) {
  gpConfigureGraph dialog(target);
  ui.CancelFontDialog();
  dialog.TitleFontButton()->click();
  EXPECT_EQ(dialog.TitleFontLabel()->text(), "MS Sans Serif 8, Normal");
  EXPECT_EQ(dialog.Preview().TextColor(), target.TextColor());
  EXPECT_TRUE(dialog.ApplyButton()->isEnabled());
}

TEST_F(gpConfigureGraphTest, AColourPickedInAColourBoxReachesThePreviewAtOnce) {
  gpConfigureGraph dialog(target);
  dialog.Tabs()->setCurrentIndex(1);
  dialog.show();
  ui.AnswerColorDialog(0x804000);
  ClickWidget(*dialog.findChild<QWidget*>("cpbBackColor"));
  EXPECT_EQ(dialog.Preview().BackColor(), 0x804000u);
  EXPECT_TRUE(dialog.ApplyButton()->isEnabled());
  EXPECT_EQ(target.BackColor(), 0x80000005u);
}

TEST_F(gpConfigureGraphTest, PropertiesOpensTheDialogOnThePane) {
  gpConfigureGraph::Install();
  int hostCalls = 0;
  target.OnPreferencesClosed([&] { ++hostCalls; });
  gpConfigureGraph::OnOpen([](gpConfigureGraph& dialog) {
    EXPECT_TRUE(dialog.isModal());
    dialog.TitleBox()->setText("Torque");
    dialog.OkButton()->click();
  });
  target.RunMenuCommand(target.Menu(0, 0).Items.back().Id);
  GraphPane::SetPreferencesDialog(nullptr);
  EXPECT_EQ(target.Caption(), "Torque");
  EXPECT_EQ(hostCalls, 1);
}

// The numbers of a log entry before its colour, in order.
std::vector<double> Coordinates(const std::string& entry) {
  std::vector<double> numbers;
  const std::regex number(R"(-?[0-9]+(\.[0-9]+)?)");
  const std::string inside = entry.substr(0, entry.rfind(')') + 1);
  for (std::sregex_iterator it(inside.begin(), inside.end(), number), end; it != end; ++it) {
    numbers.push_back(std::stod(it->str()));
  }
  return numbers;
}

// The hi/lo preview of a window shorter than its sample series: the current-value dot of each
// series lies on that series' own bar (a picture lands in test-output/graph/).
TEST_F(gpConfigureGraphTest, ThePreviewsCurrentMarksLieOnTheirBars) {
  target.SetGraphType(gpHiLo);
  target.SetWindowLength(10.0);
  for (std::uint32_t seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    Random().Seed(seed);
    gpConfigureGraph dialog(target);
    RecordingCanvas canvas(400, 300);
    dialog.Preview().DrawGraph(canvas);
    const SeriesCollection samples = dialog.Preview().SeriesSet();
    std::vector<std::vector<double>> bars;  // x1, y1, x2, y2 of each series' filled bar
    int dots = 0;
    for (const std::string& entry : canvas.Log()) {
      const std::vector<double> at = Coordinates(entry);
      if (entry.starts_with("FilledBox ") && std::any_of(samples.begin(), samples.end(), [&](const auto& series) {
            return entry.ends_with(" " + CanvasColorText(series->Color()));
          })) {
        bars.push_back(at);
      }
      if (!entry.starts_with("Circle ")) continue;
      ++dots;
      const auto bar =
          std::find_if(bars.begin(), bars.end(), [&](const auto& b) { return b[0] <= at[0] && at[0] <= b[2]; });
      ASSERT_NE(bar, bars.end()) << entry;
      EXPECT_TRUE(std::min((*bar)[1], (*bar)[3]) <= at[1] && at[1] <= std::max((*bar)[1], (*bar)[3])) << entry;
    }
    EXPECT_EQ(bars.size(), 4u);
    EXPECT_GE(dots, 4);
    if (seed != 1) continue;
    dialog.show();
    QApplication::processEvents();
    const std::string picture = TestOutputPath("graph", "configure-dialog-hilo-preview.png");
    EXPECT_TRUE(dialog.grab().save(QString::fromStdString(picture)));
  }
}

TEST_F(gpConfigureGraphTest, PicturesOfBothTabs) {
  target.SetLegend(gpLegendBottom);
  target.SetXRules(true);
  gpConfigureGraph dialog(target);
  dialog.show();
  QApplication::processEvents();
  const char* names[] = {"configure-dialog-graph-options.png", "configure-dialog-decorations.png"};
  for (int tab = 0; tab < 2; ++tab) {
    dialog.Tabs()->setCurrentIndex(tab);
    QApplication::processEvents();
    EXPECT_TRUE(dialog.grab().save(QString::fromStdString(TestOutputPath("graph", names[tab]))));
  }
}

}  // namespace
}  // namespace quendrel
