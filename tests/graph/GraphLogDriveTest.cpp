// The scan window end to end against the simulated drive in its own process, over a pseudo-terminal
// and over Modbus/TCP: connecting with and without a compatibility file, ticking every kind of
// parameter, a continuous scan checked line by line against the drive, edits read back from the
// drive, a drive that stops answering and comes back, and the scan list bringing the series back.
// The pictures graph-log-setup.png and graph-log-display.png are taken after a real scan.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cmath>
#include <functional>
#include <map>
#include <regex>
#include <sstream>

#include "drivesim/DefaultParameterTable.h"
#include "foundation/settings/Config.h"
#include "graph/controls/qt/SeriesListBoxWidget.h"
#include "graph/pane/qt/GraphPaneWidget.h"
#include "graph/support/GraphLogRig.h"
#include "graph/support/ScanWindowRig.h"
#include "platform/FakeClock.h"
#include "support/FileText.h"
#include "support/TestOutput.h"
#include "tree/qt/ParameterTreeWidget.h"

namespace quendrel {
namespace {

using testing::Compatibility;
using testing::DriveLink;
using testing::ScanWindowRig;

// Slot 4's pointer is unset, so the slot answers from its own row, one decimal like the Rated
// Current it was made for, where M00P00 has none.
std::string TableFile(const TempFolder& folder) {
  const std::string text =
      testing::TableWith("12.04 | QS4 Pointer      | 0000000000010010 | 301", "12.04 | QS4 Pointer      | 0000000000010010 | 0");
  WriteTestFile(folder.File("table.txt"), text);
  return folder.File("table.txt");
}

// The drive's own compatibility source, but slot 3 with two decimals: the program's file scales the
// slot unlike the Decel Time (one decimal) its pointer shows.
std::string CompatibilitySource() {
  std::string source = ReadTestFile(QUENDREL_DRIVESIM_FS2);
  const std::string from = "Parameter 00.03 | Decel Time        | 0000000000010001 |";
  const std::size_t at = source.find(from);
  EXPECT_NE(at, std::string::npos);
  if (at != std::string::npos) source.replace(at, from.size(), "Parameter 00.03 | Decel Time        | 0000000000010010 |");
  return source;
}

// Decimal places and where a value comes from, by series name.
struct Shown {
  int parameter;  // the row of the drive that answers
  int decimals;
};
const std::map<std::string, Shown> kShown = {
    {"M00P03", {202, 1}}, {"M00P04", {4, 1}},   {"M02P01", {201, 1}}, {"M02P02", {202, 1}},
    {"M02P03", {203, 0}}, {"M02P04", {204, 2}}, {"M04P01", {401, 0}}, {"M04P05", {405, 0}},
};

// A cell as the log writes the drive's raw value scaled by its decimals.
std::string Cell(int raw, int decimals) {
  std::ostringstream text;
  text << static_cast<float>(raw / std::pow(10.0, decimals));
  return text.str();
}

class GraphLogDriveTest : public ::testing::TestWithParam<DriveLink> {
 protected:
  void Start(Compatibility compatibility = Compatibility::DrivesOwn) {
    rig = std::make_unique<ScanWindowRig>(GetParam(), std::vector<std::string>{"--table", TableFile(folder)},
                                          compatibility);
    if (compatibility == Compatibility::DrivesOwn) ScanWindowRig::UseCompatibilitySource(CompatibilitySource());
    // Losses are found within a fraction of a second, and the drive is pinged as often once lost.
    Config().SetValue("KeepalivePeriod", "General", "0.2");
    rig->Open();
    window = rig->window;
  }
  GraphLogSession& Core() { return rig->Core(); }
  void TickAll() {
    for (const char* key : {"M02P00", "M04P01", "M04P05", "M00P03", "M00P04"}) rig->Tick(key);
  }
  void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  // The series list's editor opened on a row, as a double-click opens it.
  void OpenEditor(const std::string& name) {
    const auto names = rig->SeriesNames();
    const auto at = std::find(names.begin(), names.end(), name);
    ASSERT_NE(at, names.end()) << name;
    SeriesListBox& list = Core().slbSeries();
    list.SetListIndex(static_cast<std::int32_t>(at - names.begin()) + 1);
    list.DblClick();
  }
  void TypeIntoList(const std::string& name, const char* typed) {
    OpenEditor(name);
    QLineEdit* editor = window->SeriesWidget()->EditValue();
    ASSERT_TRUE(editor->isVisible()) << name;
    editor->selectAll();
    QTest::keyClicks(editor, typed);
    QTest::keyClick(editor, Qt::Key_Return);
  }
  void ChooseInList(const std::string& name, int entry) {
    OpenEditor(name);
    QComboBox* names = window->SeriesWidget()->EditString();
    ASSERT_TRUE(names->isVisible()) << name;
    names->setCurrentIndex(entry);
    QTest::keyClick(names, Qt::Key_Return);
  }
  // The data line the drive's present values give, after the date and time.
  std::string ExpectedCells() {
    std::string cells;
    for (const std::string& name : rig->SeriesNames()) {
      const Shown& shown = kShown.at(name);
      cells += Cell(rig->sim->Value(shown.parameter), shown.decimals) + "\t";
    }
    return cells;
  }
  std::string Header() {
    std::string header = "\t";
    for (const std::string& name : rig->SeriesNames()) header += "\t" + name;
    return header;
  }
  void StartContinuousScan() {
    if (!window->ContinuousBox()->isChecked()) Click(window->ContinuousBox());
    Click(window->StartButton());
    ASSERT_TRUE(window->ScanTimer()->isActive());
    ASSERT_EQ(window->ScanTimer()->interval(), 1);
  }

  TempFolder folder;
  std::unique_ptr<ScanWindowRig> rig;
  frmGraphLog* window = nullptr;
};

const std::regex kOpenMark(R"(\*\*\* Log Opened: \d\d-\d\d-\d{4} \d\d:\d\d:\d\d\.\d{3} \*\*\*)");
const std::regex kCloseMark(R"(\*\*\* Log Closed: \d\d-\d\d-\d{4} \d\d:\d\d:\d\d\.\d{3} \*\*\*)");
const std::regex kStamp(R"(\d\d-\d\d-\d{4}\t\d\d:\d\d:\d\d\.\d{3}\t)");

TEST_P(GraphLogDriveTest, ScansEveryKindOfParameterAndLogsWhatTheDriveHolds) {
  Start();
  rig->Connect();
  TickAll();
  EXPECT_EQ(rig->SeriesNames(),
            (std::vector<std::string>{"M02P01", "M02P02", "M02P03", "M02P04", "M04P01", "M04P05", "M00P03", "M00P04"}));
  // The bound slot shows the Decel Time's one decimal, not its own two.
  EXPECT_EQ(rig->Series("M00P03")->FormatString(), "######0.0");
  EXPECT_EQ(rig->Series("M02P03")->NumDVDs(), 3);
  EXPECT_TRUE(rig->Series("M04P05")->BitPram());

  StartContinuousScan();
  ASSERT_TRUE(rig->WaitForLogLines(6));
  Click(window->StartButton());
  const std::vector<std::string> lines = rig->LogLines();
  ASSERT_GE(lines.size(), 6U);
  EXPECT_TRUE(std::regex_match(lines[0], kOpenMark)) << lines[0];
  EXPECT_EQ(lines[1], Header());
  const std::string cells = ExpectedCells();
  for (std::size_t i = 2; i + 1 < lines.size(); ++i) {
    std::smatch stamp;
    ASSERT_TRUE(std::regex_search(lines[i], stamp, kStamp) && stamp.position() == 0) << lines[i];
    EXPECT_EQ(lines[i].substr(stamp.length()), cells) << "line " << i;
  }
  EXPECT_TRUE(std::regex_match(lines.back(), kCloseMark)) << lines.back();
  EXPECT_EQ(cells, "5\t5\t0\t0.25\t0\t1\t5\t12.4\t");
}

TEST_P(GraphLogDriveTest, EditsReachTheDriveInTheScaleOfWhatEachRowShows) {
  Start();
  rig->Connect();
  TickAll();
  TypeIntoList("M02P01", "7.5");
  ChooseInList("M04P01", 2);
  OpenEditor("M04P05");  // a bit toggles at once
  TypeIntoList("M00P03", "6.5");
  TypeIntoList("M00P04", "13.5");
  EXPECT_EQ(rig->sim->Value(201), 75);
  EXPECT_EQ(rig->sim->Value(401), 2);
  EXPECT_EQ(rig->sim->Value(405), 0);
  // Through slot 3 into the Decel Time with its one decimal, not the slot's two.
  EXPECT_EQ(rig->sim->Value(202), 65);
  // The unset slot keeps its own row and its own scale.
  EXPECT_EQ(rig->sim->Value(4), 135);
  EXPECT_EQ(rig->sim->Value(301), 124);
  EXPECT_DOUBLE_EQ(rig->Series("M00P03")->MostRecentValue(), 6.5);
  EXPECT_DOUBLE_EQ(rig->Series("M00P04")->MostRecentValue(), 13.5);
  EXPECT_EQ(window->StatusLabel()->text(), "Connected");
}

// Pointers moved on the drive after Connect, to a target scaled unlike the one the row was made for.
TEST_P(GraphLogDriveTest, AnEditReachesTheParameterItsRowNamesThroughTheSlotThatShowsItNow) {
  Start();
  rig->Connect();
  TickAll();
  rig->sim->SetValue(1203, 204);  // slot 3 leaves Decel Time (one decimal) for S-Curve Time (two)
  rig->sim->SetValue(1204, 204);  // the unset slot, whose row is the slot itself, too
  TypeIntoList("M00P03", "6.5");
  EXPECT_EQ(rig->sim->Value(202), 65);
  TypeIntoList("M00P04", "0.75");
  EXPECT_EQ(rig->sim->Value(204), 75);
  EXPECT_EQ(rig->sim->Value(4), 124);
  EXPECT_DOUBLE_EQ(rig->Series("M00P03")->MostRecentValue(), 6.5);
  EXPECT_DOUBLE_EQ(rig->Series("M00P04")->MostRecentValue(), 0.75);
}

TEST_P(GraphLogDriveTest, ValuesNoRegisterHoldsUnderTheReceivingDecimalsAreRefusedUnsent) {
  Start();
  rig->Connect();
  TickAll();
  rig->sim->SetValue(1204, 204);  // the unset slot now writes S-Curve Time, two decimals
  const std::pair<const char*, const char*> cases[] = {{"M02P01", "7000"}, {"M02P04", "-400"}, {"M00P04", "700"}};
  for (const auto& [name, typed] : cases) {
    SCOPED_TRACE(std::string(name) + " " + typed);
    rig->sim->ResetStats();
    const std::size_t points = rig->Series(name)->PointCount();
    TypeIntoList(name, typed);
    EXPECT_EQ(rig->sim->RequestCount(0x46), 0);
    EXPECT_EQ(window->StatusLabel()->text().toStdString(), "Value out of range - not written");
    EXPECT_EQ(rig->Series(name)->PointCount(), points);
  }
  EXPECT_EQ(rig->sim->Value(201), 50);
  EXPECT_EQ(rig->sim->Value(204), 25);
}

// The list on the screen against the same list painted afresh, after each kind of edit.
TEST_P(GraphLogDriveTest, AfterAWriteTheRowShowsTheValueReadBackAtOnce) {
  Start();
  rig->Connect();
  TickAll();
  SeriesListBoxWidget& list = *window->SeriesWidget();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !list.Picture().isNull(); }));
  const auto edits = std::to_array<std::function<void()>>(
      {[&] { TypeIntoList("M02P01", "7.5"); }, [&] { ChooseInList("M02P03", 2); },
       [&] { ChooseInList("M02P03", 1); }, [&] { OpenEditor("M04P05"); }});
  for (std::size_t i = 0; i < edits.size(); ++i) {
    SCOPED_TRACE(i);
    edits[i]();
    const QImage shown = list.Picture().copy();
    Core().slbSeries().Refresh();
    EXPECT_TRUE(list.Picture() == shown) << "the row still shows what it showed before the write";
  }
  EXPECT_EQ(rig->sim->Value(203), 1);
  EXPECT_DOUBLE_EQ(rig->Series("M02P03")->MostRecentValue(), 1.0);  // S-Curve
  EXPECT_DOUBLE_EQ(rig->Series("M04P05")->MostRecentValue(), 0.0);
  EXPECT_TRUE(list.Picture().save(QString::fromStdString(
      TestOutputPath("graph", std::string("graph-log-written-") + testing::DriveLinkName(GetParam()) + ".png"))));
}

TEST_P(GraphLogDriveTest, ALostDriveStopsTheScanAndItsReturnRestartsIt) {
  Start();
  rig->Connect();
  rig->Tick("M02P01");
  rig->Tick("M02P02");
  StartContinuousScan();
  ASSERT_TRUE(rig->WaitForLogLines(4));
  ASSERT_EQ(::kill(rig->sim->Pid(), SIGSTOP), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Core().ConnectionState() == GraphLogSession::StateDisconnected; }, 20000));
  EXPECT_EQ(window->StatusLabel()->text(), "Disconnected");
  EXPECT_EQ(window->StartButton()->text(), "Start Scanning");
  EXPECT_FALSE(window->ScanTimer()->isActive());
  EXPECT_TRUE(window->KeepaliveTimer()->isActive());
  std::vector<std::string> lines = rig->LogLines();
  ASSERT_GE(lines.size(), 3U);
  EXPECT_EQ(lines[lines.size() - 3], "ERR 46\t");
  EXPECT_TRUE(std::regex_match(lines[lines.size() - 2], kCloseMark)) << lines[lines.size() - 2];
  EXPECT_EQ(lines.back(), "*** (Disconnected; Error 46 on M02P01.) ***");
  const std::size_t lost = lines.size();

  ASSERT_EQ(::kill(rig->sim->Pid(), SIGCONT), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->StatusLabel()->text() == "Scanning"; }, 20000));
  EXPECT_TRUE(window->ScanTimer()->isActive());
  ASSERT_TRUE(rig->WaitForLogLines(lost + 4));
  Click(window->StartButton());
  lines = rig->LogLines();
  EXPECT_TRUE(std::regex_match(lines[lost], kOpenMark)) << lines[lost];
  EXPECT_EQ(lines[lost + 1], "*** (Automatic Reconnect after disconnection) ***");
  EXPECT_EQ(lines[lost + 2], "\t\tM02P01\tM02P02");
  EXPECT_EQ(lines[lost + 3].substr(24), "5\t5\t");
}

TEST_P(GraphLogDriveTest, TheScanListBringsTheSeriesBackAtTheNextConnect) {
  Start();
  rig->Connect();
  TickAll();
  // Made again in the order of the parameters.
  std::vector<std::string> before = rig->SeriesNames();
  std::sort(before.begin(), before.end());
  Click(window->ConnectButton());
  EXPECT_EQ(rig->SeriesNames(), before);
  EXPECT_EQ(rig->Node("M02P03").Checked(), 1);
  // And in a window opened afresh.
  rig->area->closeAllSubWindows();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  rig->Open();
  window = rig->window;
  rig->Connect();
  EXPECT_EQ(rig->SeriesNames(), before);
}

TEST_P(GraphLogDriveTest, WithoutACompatibilityFileTheWholeDriveIsUploaded) {
  Start(Compatibility::None);
  rig->Connect();
  EXPECT_NE(std::find(rig->mainStatus.begin(), rig->mainStatus.end(), "No template available! Performing full upload."),
            rig->mainStatus.end());
  rig->Tick("M04P01");
  rig->Tick("M00P03");
  EXPECT_EQ(rig->Series("M04P01")->NumDVDs(), 3);
  Click(window->StartButton());
  Core().TimerScan_Timer();
  Click(window->StartButton());
  const std::vector<std::string> lines = rig->LogLines();
  ASSERT_EQ(lines.size(), 4U);
  EXPECT_EQ(lines[2].substr(24), "0\t5\t");
}

INSTANTIATE_TEST_SUITE_P(Links, GraphLogDriveTest, ::testing::Values(DriveLink::PseudoTerminal, DriveLink::ModbusTcp),
                         [](const auto& info) { return std::string(testing::DriveLinkName(info.param)); });

// The two pages after a scan whose values moved, for people to look at. The drive is real; the
// clock of the time stamps is not, so six seconds of scanning take none.
TEST(GraphLogPictureTest, BothPagesAfterARealScan) {
  TempFolder folder;
  ScanWindowRig rig(DriveLink::PseudoTerminal, {"--table", TableFile(folder)});
  FakeClock clock(FakeClock::DefaultStart + 9 * 3600.0);
  SetClock(&clock);
  rig.main.resize(1000, 700);
  rig.Open();
  frmGraphLog* window = rig.window;
  window->parentWidget()->showMaximized();
  rig.Connect();
  for (const char* key : {"M02P01", "M02P04", "M04P01", "M04P05", "M01P04", "M00P03"}) rig.Tick(key);
  window->Core().tpWindowLen().SetValueSeconds(6.0);
  QTest::mouseClick(window->StartButton(), Qt::LeftButton);
  for (int step = 0; step < 60; ++step) {
    rig.sim->SetValue(201, 50 + 4 * (step % 15));
    rig.sim->SetValue(204, 25 + 5 * (step % 10));
    rig.sim->SetValue(104, -250 + 8 * step);
    rig.sim->SetValue(405, step % 20 < 10 ? 1 : 0);
    rig.sim->SetValue(401, step / 20);
    clock.Advance(0.1);
    window->Core().TimerScan_Timer();
  }
  // What the window's list timer does once the frame is due.
  window->Core().slbSeries().Refresh();
  QApplication::processEvents();
  EXPECT_TRUE(rig.main.grab().save(QString::fromStdString(TestOutputPath("graph", "graph-log-display.png"))));
  window->TabStrip()->setCurrentIndex(0);
  for (const char* menu : {"M02P00", "M04P00"}) rig.Node(menu).SetExpanded(true);
  window->TreeWidget()->Tree().RepaintAll();
  QApplication::processEvents();
  EXPECT_TRUE(rig.main.grab().save(QString::fromStdString(TestOutputPath("graph", "graph-log-setup.png"))));
  QTest::mouseClick(window->StartButton(), Qt::LeftButton);
  SetClock(nullptr);
}

}  // namespace
}  // namespace quendrel
