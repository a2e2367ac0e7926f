// The scan window's life: its settings in [Graph/Log] from opening to closing, the two pickers'
// limits, and a close that comes while a handler spins a message loop (an upload, a box).
#include <gtest/gtest.h>

#include "foundation/Config.h"
#include "foundation/FontSpec.h"
#include "graph/support/GraphLogRig.h"

namespace quendrel {
namespace {

using testing::GraphLogRig;

std::string Setting(const char* key) { return Config().Value(key, "Graph/Log"); }

TEST(GraphLogSettingsTest, OddTextsLoadAsThePaneTakesThemAndAreWrittenBackInTheirOwnForm) {
  GraphLogRig rig;
  const std::string logFile = rig.folder.File("Journ\xC3\xA9" "e; a=b [x].log");
  const std::pair<const char*, std::string> stored[] = {
      {"LogFile", logFile},        {"ScanPeriod", "0.001"},  {"Style", "HILO"},
      {"Timespan", "0"},           {"BackgroundColor", "#102030"}, {"AxesColor", "red"},
      {"RulesColor", "no colour"}, {"TextColor", "&H00FF00"}, {"Title", " Tab\tand ; semicolon "},
      {"TitleFont", "Courier New 10, Bold Italic"}, {"NumberFont", "Arial"}, {"XRules", "TRUE"},
      {"YRules", "0"},             {"ShowAverage", "-1"},    {"ShowCurrent", " false "},
      {"IncludeGain", "yes"},      {"Legend", "right"},      {"LegendStyle", "Long"},
      {"XAxisLabels", "Longer"},
  };
  for (const auto& [key, value] : stored) Config().SetValue(key, "Graph/Log", value);
  rig.Load();
  GraphPane& pane = rig.session->gpGraph();
  EXPECT_EQ(rig.view.logFile, logFile);
  // Continuous mode is never restored, and the picker raises the period to a second.
  EXPECT_FALSE(rig.view.continuous);
  EXPECT_EQ(rig.session->tpScanPeriod().ValueSeconds(), 1);
  EXPECT_EQ(rig.view.scanTimer.Interval, 1);
  EXPECT_EQ(pane.GraphType(), 1);
  EXPECT_EQ(pane.WindowLength(), 2);  // the pane's own minimum
  EXPECT_EQ(rig.session->tpWindowLen().ValueSeconds(), 2);
  EXPECT_EQ(pane.BackColor(), 0x302010u);
  EXPECT_EQ(pane.LineColor(), 0x0000FFu);
  EXPECT_EQ(pane.TextColor(), 0x00FF00u);
  EXPECT_EQ(pane.Caption(), " Tab\tand ; semicolon ");
  EXPECT_EQ(FontToString(pane.CaptionFont()), "Courier New 10, Bold Italic");
  EXPECT_EQ(pane.GraphFont().Name, "Arial");
  EXPECT_TRUE(pane.XRules());
  EXPECT_FALSE(pane.YRules());
  EXPECT_TRUE(pane.ShowAverage());
  EXPECT_FALSE(pane.ShowCurrent());
  EXPECT_FALSE(pane.IncludeGain());
  EXPECT_EQ(pane.Legend(), 0);
  EXPECT_EQ(pane.LegendName(), 1);
  EXPECT_EQ(pane.XAxisLabels(), 2);  // left as it was

  rig.session->Form_Unload();
  const std::pair<const char*, std::string> written[] = {
      {"LogFile", logFile},        {"ScanPeriod", "1"},          {"Style", "HiLo"},
      {"Timespan", "2"},           {"BackgroundColor", "#102030"}, {"AxesColor", "#FF0000"},
      {"RulesColor", "#000000"},   {"TextColor", "#00FF00"},      {"Title", " Tab\tand ; semicolon "},
      {"TitleFont", "Courier New 10, Bold Italic"}, {"NumberFont", FontToString(ParseFont("Arial"))},
      {"XRules", "True"},          {"YRules", "False"},           {"ShowAverage", "True"},
      {"ShowCurrent", "False"},    {"IncludeGain", "False"},      {"Legend", "None"},
      {"LegendStyle", "Long"},     {"XAxisLabels", "None"},
  };
  for (const auto& [key, value] : written) EXPECT_EQ(Setting(key), value) << key;
}

TEST(GraphLogSettingsTest, TheDefaultsRoundTripUnchanged) {
  GraphLogRig rig;
  rig.Load();
  EXPECT_EQ(rig.session->gpGraph().Legend(), 2);
  EXPECT_EQ(rig.session->gpGraph().BackColor(), 0xF4F4F4u);
  rig.session->Form_Unload();
  for (const char* key : {"ScanPeriod", "Style", "Timespan", "BackgroundColor", "AxesColor", "RulesColor", "TextColor",
                          "Title", "TitleFont", "NumberFont", "XRules", "YRules", "ShowAverage", "ShowCurrent",
                          "IncludeGain", "Legend", "LegendStyle", "XAxisLabels"}) {
    EXPECT_EQ(Setting(key), DefaultConfig().Value(key, "Graph/Log")) << key;
  }
}

// Each assignment of a picker raises Changed again: a clamped value must not be assigned anew.
TEST(GraphLogSettingsTest, PickersHoldTheirLimitsWithoutEndlessChanges) {
  GraphLogRig rig;
  rig.Load();
  TimePicker& period = rig.session->tpScanPeriod();
  TimePicker& window = rig.session->tpWindowLen();
  struct Case {
    TimePicker* picker;
    double set;
    double held;
  };
  for (const Case c : {Case{&period, 65535, 65532}, Case{&period, 65532, 65532}, Case{&period, 0, 1},
                       Case{&period, 65529, 65529}, Case{&window, 40000, 32766}, Case{&window, 32766, 32766},
                       Case{&window, 0, 1}, Case{&window, 32764, 32764}}) {
    c.picker->SetValueSeconds(c.set);
    EXPECT_EQ(c.picker->ValueSeconds(), c.held) << c.set;
  }
  EXPECT_EQ(Setting("ScanPeriod"), "65529");
  EXPECT_EQ(rig.session->gpGraph().WindowLength(), 32764);
}

TEST(GraphLogSettingsTest, TheWindowLengthPickerFollowsTheConfigurationDialog) {
  GraphLogRig rig;
  Config().SetValue("Timespan", "Graph/Log", "40000");
  rig.Load();
  EXPECT_EQ(rig.session->gpGraph().WindowLength(), 32766);
  rig.Connect();
  GraphPane::SetPreferencesDialog([](GraphPane& pane) { pane.SetWindowLength(90); });
  rig.session->bAdvancedOptions_Click();
  GraphPane::SetPreferencesDialog({});
  EXPECT_EQ(rig.session->tpWindowLen().ValueSeconds(), 90);
}

class GraphLogCloseTest : public ::testing::Test {
 protected:
  GraphLogRig rig;
  GraphLogSession& session = *rig.session;
};

TEST_F(GraphLogCloseTest, AnIdleWindowClosesAtOnceAndAScanEndsWithItsCloseMark) {
  rig.Load();
  rig.Connect();
  rig.Tick("M10P03");
  session.bStartGraph_Click();
  session.gpGraph().SetGraphType(2);
  ASSERT_TRUE(session.Form_QueryUnload());
  session.Form_Unload();
  const std::vector<std::string> lines = rig.LogLines();
  EXPECT_EQ(lines.back(), "*** Log Closed: " + testing::StampText(0) + " ***");
  EXPECT_EQ(Setting("Style"), "Bar");
  EXPECT_FALSE(rig.view.scanTimer.Running);
  EXPECT_FALSE(rig.view.keepalive.Running);
  rig.drive->Forget();
  session.TimerScan_Timer();
  session.TimerConnection_Timer();
  session.bConnect_Click();
  EXPECT_TRUE(rig.drive->sent.empty());
}

// The exit's close comes in the upload's pump: the upload is cancelled, and the window closes once
// Connect has returned, with the scan's close mark written and the settings in Config.
TEST_F(GraphLogCloseTest, ACloseDuringTheUploadCancelsItAndWaitsForConnect) {
  rig.Load();
  rig.Connect();
  rig.Tick("M10P03");
  session.bStartGraph_Click();
  session.gpGraph().SetGraphType(1);
  bool closedAtOnce = true;
  rig.AtPump(5, [&] {
    closedAtOnce = session.Form_QueryUnload();
    EXPECT_TRUE(session.HandlerRunning());
  });
  rig.drive->Forget();
  session.bConnect_Click();
  EXPECT_FALSE(closedAtOnce);
  EXPECT_EQ(session.Progress().state(), -1);
  EXPECT_EQ(rig.view.closes, 1);
  EXPECT_LT(rig.drive->sent.size(), 20u);  // the upload stopped
  EXPECT_EQ(rig.LogLines().back().substr(0, 14), "*** Log Closed");
  EXPECT_EQ(Setting("Style"), "HiLo");
  EXPECT_FALSE(rig.view.keepalive.Running);
  EXPECT_FALSE(session.HandlerRunning());
}

TEST_F(GraphLogCloseTest, ACloseInsideABoxWaitsForTheHandler) {
  rig.Load();
  session.tbDriveAddr_Change("9");
  rig.ui.AnswerMsgBox(vbOK);
  rig.ui.WhileAsked([&](const UiQuestion&) {
    EXPECT_FALSE(session.Form_QueryUnload());
    EXPECT_EQ(rig.view.closes, 0);
  });
  session.bConnect_Click();
  EXPECT_EQ(rig.ui.Titles(), std::vector<std::string>{"Connection Error"});
  EXPECT_EQ(rig.view.closes, 1);
  EXPECT_FALSE(rig.view.keepalive.Running);
  EXPECT_EQ(Setting("LogFile"), rig.LogPath());
}

}  // namespace
}  // namespace quendrel
