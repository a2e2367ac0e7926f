// The graph data control's series store, its registry look-up and the graph data file it writes.
#include "graph/data/GraphDataControl.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <utility>
#include <vector>

#include "foundation/values/RandomGenerator.h"
#include "foundation/values/RuntimeError.h"
#include "graph/data/FormControls.h"
#include "graph/data/GraphPalette.h"
#include "platform/FakeClock.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

// 1 January 2024, 00:01:00.
constexpr double kMinute = FakeClock::DefaultStart + 60.0;

std::vector<std::string> Names(const SeriesCollection& set) {
  std::vector<std::string> names;
  for (const auto& series : set) names.push_back(series->Name());
  return names;
}

class GraphDataControlTest : public ::testing::Test {
 protected:
  GraphDataControlTest() {
    control.OnSeriesChanged([this](const std::string& name) { events.push_back(name); });
  }

  FormControls form;
  GraphDataControl control{&form, "gdcGraphData"};
  std::vector<std::string> events;
};

TEST_F(GraphDataControlTest, SeriesKeepTheirOrderAndOutliveTheirRemoval) {
  const auto first = control.AddSeries("M01P02", "Speed", 255);
  control.AddSeries("M01P03", "Torque", 0);
  control.AddSeries("M01P04", "Current", 0);
  EXPECT_EQ(control.AddSeries("M01P02", "Other", 1), first);
  EXPECT_EQ(first->LongName(), "Speed");
  first->AddPoint(1, 10);
  const SeriesCollection handedOut = control.SeriesSet();
  control.RemoveSeries("M01P02");
  control.RemoveSeries("M99P99");
  control.AddSeries("M01P02", "Speed again", 0);
  EXPECT_EQ(Names(control.SeriesSet()), (std::vector<std::string>{"M01P03", "M01P04", "M01P02"}));
  EXPECT_EQ(Names(handedOut), (std::vector<std::string>{"M01P02", "M01P03", "M01P04"}));
  EXPECT_EQ(handedOut[0]->FirstPoint()->Value(), 10);
  EXPECT_EQ(control.Series("M01P02")->PointCount(), 0U);
  control.Clear();
  EXPECT_TRUE(control.SeriesSet().empty());
  EXPECT_EQ(events, (std::vector<std::string>{"M01P02", "M01P03", "M01P04", "M01P02", "M99P99", "M01P02", ""}));
}

struct FakePane : FormControl {
  FormControlKind Kind() const override { return FormControlKind::GraphPane; }
  const std::string& Name() const override { return name; }
  std::string name = "gpGraph";
};

TEST_F(GraphDataControlTest, PanesFindTheirDataByNameAndKind) {
  FakePane pane;
  form.Add(pane);
  EXPECT_EQ(form.Find<GraphDataControl>("GDCGRAPHDATA"), &control);
  EXPECT_EQ(form.Find<GraphDataControl>("gpGraph"), nullptr);
  {
    GraphDataControl preview(&form, "gdcPreview");
    EXPECT_EQ(form.Find<GraphDataControl>("gdcPreview"), &preview);
  }
  EXPECT_EQ(form.Find<GraphDataControl>("gdcPreview"), nullptr);
  EXPECT_EQ(form.Controls().size(), 2U);
  form.Remove(pane);
}

TEST_F(GraphDataControlTest, OnlyAChangedSourceFileIsStored) {
  PropertyBag bag;
  control.WriteProperties(bag);
  EXPECT_EQ(bag.Count(), 0U);
  control.SetSourceFile("run.dat");
  control.WriteProperties(bag);
  GraphDataControl loaded(nullptr, "gdcLoaded");
  loaded.ReadProperties(bag);
  EXPECT_EQ(loaded.SourceFile(), "run.dat");
}

TEST_F(GraphDataControlTest, SampleDataIsARepeatableRandomWalkBackInTime) {
  FakeClock clock(kMinute);
  SetClock(&clock);
  Random().Seed(1);
  control.CreateDesignModeData(true);
  SetClock(nullptr);
  const SeriesCollection set = control.SeriesSet();
  ASSERT_EQ(set.size(), 51U);
  EXPECT_EQ(set[5]->Name(), "M00P5");
  EXPECT_EQ(set[50]->Color(), kGraphPalette[50 % 15]);
  EXPECT_EQ(set[50]->PointCount(), 101U);
  EXPECT_EQ(set[0]->PointCount(), 31U);
  EXPECT_EQ(set[1]->Gain(), -1.0);
  EXPECT_FALSE(set[1]->Visible());
  EXPECT_TRUE(set[2]->ReadOnly());
  EXPECT_TRUE(set[3]->Error());
  EXPECT_EQ(set[4]->Color(), PaletteRgb(255, 128, 0));
  EXPECT_EQ(set[0]->LastPoint()->Timestamp(), kMinute);
  EXPECT_EQ(set[0]->FirstPoint()->Timestamp(), kMinute - 30);
  for (auto a = set[0]->FirstPoint(), b = set[1]->FirstPoint(); a && b; a = a->NextNode(), b = b->NextNode()) {
    EXPECT_EQ(a->Value(), b->Value());
    ASSERT_LE(std::abs(a->Value() - a->NextNode().value_or(*a).Value()), 3.0);
  }
}

struct FileCase {
  const char* what;
  std::vector<std::pair<std::string, std::vector<std::pair<double, double>>>> series;
  char separator;
  std::string expected;
};

const FileCase kFileCases[] = {
    {"no series", {}, '.', "\t\r\n"},
    {"two points in one second merge",
     {{"M01P02", {{10.2, 1}, {10.7, 3}, {11.1, 5}}}},
     ',',
     "\t\tM01P02\r\n01-01-2024\t00:01:10\t2,0\r\n01-01-2024\t00:01:11\t5,0\r\n"},
    {"three points merge pairwise, not to their mean",
     {{"M01P02", {{5.0, 1}, {5.3, 2}, {5.9, 4}}}},
     '.',
     "\t\tM01P02\r\n01-01-2024\t00:01:05\t2.75\r\n"},
    {"rounding, signs and whole numbers",
     {{"M01P02", {{1, 1.23456}, {2, -0.5}, {3, 12}}}},
     '.',
     "\t\tM01P02\r\n01-01-2024\t00:01:01\t1.2346\r\n01-01-2024\t00:01:02\t-0.5\r\n"
     "01-01-2024\t00:01:03\t12.0\r\n"},
    {"series in different seconds keep every tab",
     {{"M05P10", {{7, 1}}}, {"M01P02", {{3, 2}}}},
     '.',
     "\t\tM05P10\tM01P02\r\n01-01-2024\t00:01:03\t\t2.0\r\n01-01-2024\t00:01:07\t1.0\t\r\n"},
};

TEST_F(GraphDataControlTest, TheDataFileHasOneRowPerSecondInHeaderOrder) {
  TempFolder folder;
  for (const FileCase& c : kFileCases) {
    GraphDataControl data(nullptr, "gdc");
    for (const auto& [name, points] : c.series) {
      const auto series = data.AddSeries(name, "", 0);
      for (const auto& [t, v] : points) series->AddPoint(kMinute + t, v);
    }
    data.SaveAll(folder.File("graph.dat"), c.separator);
    EXPECT_EQ(ReadTestFile(folder.File("graph.dat")), c.expected) << c.what;
  }
}

TEST_F(GraphDataControlTest, AFailedSaveKeepsTheOldFileAndSaysWhy) {
  TempFolder folder;
  control.AddSeries("M01P02", "", 0)->AddPoint(kMinute, 1);
  const std::string kept = folder.File("kept.dat");
  WriteTestFile(kept, "old data");
  ::chmod(kept.c_str(), 0444);
  const std::pair<std::string, std::string> failures[] = {
      {kept, kept + " is read-only"},
      {folder.File("missing/graph.dat"), "the folder " + folder.File("missing") + " does not exist"},
  };
  for (const auto& [path, reason] : failures) {
    try {
      control.SaveAll(path);
      ADD_FAILURE() << path << " was saved";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Description(), reason);
    }
  }
  EXPECT_EQ(ReadTestFile(kept), "old data");
  EXPECT_EQ(folder.Names().size(), 1U);
}

}  // namespace
}  // namespace quendrel
