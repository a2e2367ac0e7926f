// The scan list file: what a load takes from each line, and saves that survive a round trip and
// never leave a half-written file.
#include "graph/data/PLF.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cfloat>
#include <filesystem>
#include <locale>
#include <string>
#include <vector>

#include "foundation/support/RefusedFiles.h"
#include "foundation/values/RuntimeError.h"
#include "platform/ScriptedUi.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

struct CommaDecimalPoint : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

// A user whose locale writes 0,5: the program's files must not follow it.
class CommaLocale {
 public:
  CommaLocale() { std::locale::global(std::locale(std::locale::classic(), new CommaDecimalPoint)); }
  ~CommaLocale() { std::locale::global(original_); }

 private:
  std::locale original_;
};

struct Entry {
  std::int32_t tn;
  bool graphed;
  bool logged;
  std::uint32_t color;
  double gain;
};

TEST(PLFTest, LoadTakesEachWellFormedLineAndReportsBadIds) {
  TempFolder folder;
  WriteTestFile(folder.File("list.SCP"),
            "M01P02;True;False;#FF0000;1;extra\r\n"
            "m01b03;false;TRUE;#00FF00;0.5\r\n"
            "M01P04;True;False;#FF0000\r\n"
            "X1;True;True;#000000;1\r\n"
            "M99P99;True;True;#000000;1\n"
            "M01P05;1;0;navy;abc\n"
            "M01P06;True;True;&HFF;1e999\n"
            "M01P07;True;True;#000001;2\r\n"
            "M01P07;False;False;#000002;3");
  PLF list;
  list.SetParameter(7, true);
  ScriptedUi ui;
  ui.AnswerMsgBox(vbOK);
  list.Load(folder.File("list.SCP"));
  EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"'X1' is an invalid parameter ID."});
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"Parse Error"});
  const Entry expected[] = {
      {102, true, false, 0x0000FF, 1.0}, {103, false, true, 0x00FF00, 0.5}, {105, true, false, 0x800000, 0.0},
      {106, true, true, 0xFF, DBL_MAX},  {107, false, false, 0x020000, 3.0},
  };
  std::vector<std::int32_t> present;
  for (std::int32_t tn = 0; tn < PLF::kEntries; ++tn) {
    if (list.Parameter(tn)) present.push_back(tn);
  }
  EXPECT_EQ(present, (std::vector<std::int32_t>{102, 103, 105, 106, 107}));
  for (const Entry& e : expected) {
    SCOPED_TRACE(e.tn);
    EXPECT_EQ(list.Graphed(e.tn), e.graphed);
    EXPECT_EQ(list.Logged(e.tn), e.logged);
    EXPECT_EQ(list.Color(e.tn), e.color);
    EXPECT_EQ(list.Gain(e.tn), e.gain);
  }
  EXPECT_THROW(list.Gain(2100), RuntimeError);
  EXPECT_THROW(list.SetParameter(-1, true), RuntimeError);
}

struct LineEndCase {
  const char* what;
  const char* end;
};

// Every line is read whatever ends it, no id is reported with a line end in it, and the list saved
// again holds every entry.
TEST(PLFTest, EachLineEndEndsALine) {
  const LineEndCase cases[] = {{"CR", "\r"}, {"LF", "\n"}, {"CR LF", "\r\n"}, {"LF CR", "\n\r"}};
  for (const LineEndCase& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const std::string end = c.end;
    WriteTestFile(folder.File("list.SCP"), "M01P02;True;False;#FF0000;1" + end + "X1;True;True;#000000;1" + end +
                                           "M05P10;False;True;#00FF00;0.5" + end + end +
                                           "M20P99;True;True;#0000FF;2" + end);
    PLF list(folder.Path().string());
    ScriptedUi ui;
    ui.AnswerMsgBox(vbOK);
    list.Load(folder.File("list.SCP"));
    EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"'X1' is an invalid parameter ID."});
    EXPECT_TRUE(list.Parameter(102));
    EXPECT_EQ(list.Gain(510), 0.5);
    EXPECT_TRUE(list.Logged(510));
    EXPECT_EQ(list.Color(2099), 0xFF0000u);
    list.Save("list.SCP");
    EXPECT_EQ(ReadTestFile(folder.File("list.SCP")),
              "M01P02;True;False;#FF0000;1\r\nM05P10;False;True;#00FF00;0.5\r\nM20P99;True;True;#0000FF;2\r\n");
  }
}

// Only the five fields a line is read by are taken apart, however many separators follow.
TEST(PLFTest, ALineOfSeparatorsTakesLittleMoreThanItsOwnSize) {
  TempFolder folder;
  constexpr std::size_t kSize = 6u << 20;  // two such lines stay under the largest list read
  {
    std::string text = "M01P02;True;False;#FF0000;1";
    text.append(kSize, ';');
    WriteTestFile(folder.File("list.SCP"), text + "\r\n" + std::string(kSize, ';') + "\r\n");
  }
  PLF list;
  const long before = testing::PeakMemoryKB();
  list.Load(folder.File("list.SCP"));
  const long grown = testing::PeakMemoryKB() - before;
  EXPECT_TRUE(list.Parameter(102));
  EXPECT_LT(grown, static_cast<long>(3 * 2 * kSize / 1024)) << "KB more at the peak";
}

TEST(PLFTest, FractionalGainsSurviveARoundTripUnderACommaLocale) {
  CommaLocale comma;
  TempFolder folder;
  PLF list(folder.Path().string());
  list.Save("");
  EXPECT_EQ(ReadTestFile(folder.File("Untitled.SCP")), "");
  const Entry entries[] = {{0, true, false, 0x0000FF, 1.0}, {102, false, true, 0x123456, 0.25},
                           {2099, true, true, 0, -1e-7}, {1205, false, false, 0xFFFFFF, 1000}};
  for (const Entry& e : entries) {
    list.SetParameter(e.tn, true);
    list.SetGraphed(e.tn, e.graphed);
    list.SetLogged(e.tn, e.logged);
    list.SetColor(e.tn, e.color);
    list.SetGain(e.tn, e.gain);
  }
  const auto cwd = std::filesystem::current_path();
  list.Save("Quendrel.SCP");
  EXPECT_EQ(std::filesystem::current_path(), cwd);
  EXPECT_EQ(ReadTestFile(folder.File("Quendrel.SCP")),
            "M00P00;True;False;#FF0000;1\r\nM01P02;False;True;#563412;0.25\r\n"
            "M12P05;False;False;#FFFFFF;1000\r\nM20P99;True;True;#000000;-1E-07\r\n");
  PLF loaded;
  loaded.Load(folder.File("Quendrel.SCP"));
  for (const Entry& e : entries) {
    EXPECT_TRUE(loaded.Parameter(e.tn));
    EXPECT_EQ(loaded.Gain(e.tn), e.gain) << e.tn;
    EXPECT_EQ(loaded.Color(e.tn), e.color) << e.tn;
  }
}

TEST(PLFTest, ARefusedSaveLeavesTheOldFileAsItWas) {
  TempFolder folder;
  PLF list(folder.Path().string());
  list.SetParameter(102, true);
  WriteTestFile(folder.File("Quendrel.SCP"), "M01P01;True;True;#000000;1\r\n");
  ::chmod(folder.File("Quendrel.SCP").c_str(), 0444);
  EXPECT_THROW(list.Save("Quendrel.SCP"), RuntimeError);
  EXPECT_EQ(ReadTestFile(folder.File("Quendrel.SCP")), "M01P01;True;True;#000000;1\r\n");
  EXPECT_THROW(list.Save("gone/Quendrel.SCP"), RuntimeError);
  EXPECT_EQ(folder.Names().size(), 1U);
}

// A scan list that cannot be read raises the reason and keeps the list; the big file is refused unread.
TEST(PLFTest, AnUnreadableListIsRefusedAndTheListKept) {
  TempFolder folder;
  const std::string dir = folder.Path().string();
  std::vector<testing::RefusedPath> cases;
  for (const auto& c : testing::UnopenablePaths(dir)) {
    if (c.What != "missing file") cases.push_back(c);
  }
  const std::string huge = testing::SparseFile(folder.File("huge.SCP"), testing::kSixHundredMegabytes);
  cases.push_back({"600 MB file", huge, "it is too large for this kind of file (629145600 bytes, at most 16777216)"});
  const long before = testing::PeakMemoryKB();
  PLF list;
  list.SetParameter(102, true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    try {
      list.Load(c.Path);
      ADD_FAILURE() << "loaded";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Description(), c.Path + ": " + c.Reason);
    }
    EXPECT_TRUE(list.Parameter(102));
  }
  EXPECT_LT(testing::PeakMemoryKB() - before, 32 * 1024) << "KB more at the peak";
}

}  // namespace
}  // namespace quendrel
