// Scripts as large as a generator makes them, named in the drive flash window: one with more
// statements than a script may run is refused at once by its count, and a long legal one loads with
// the memory of its text, not of its trees, and runs every call in full.
#include <gtest/gtest.h>
#include <malloc.h>

#include <random>
#include <string>
#include <vector>

#include "flash/support/DriveFlashRig.h"
#include "foundation/support/RefusedFiles.h"

namespace quendrel {
namespace {

const std::string kNotLoaded = "Unable to load Drive Flash file.";
constexpr long kMegabyteKB = 1024;

// The sanitizer build holds freed memory back for a while, so its peaks and heap say nothing of
// what a load needs or keeps.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryTells = false;
#else
constexpr bool kMemoryTells = true;
#endif

std::string Repeated(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

double HeapBytes() {
  const struct mallinfo2 info = ::mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd);
}

// 150 calls of 800 arguments, numbers and now and then a name (which reads as itself); calls holds
// each call as the drive is asked for it.
std::string LongCalls(std::vector<std::string>& calls) {
  std::mt19937 random(800);
  std::string text;
  for (int statement = 0; statement < 150; ++statement) {
    std::string written = "Poke(";
    std::string asked = "Poke(";
    for (int argument = 0; argument < 800; ++argument) {
      const std::string value = random() % 4 == 0 ? "n" + std::to_string(random() % 10) : std::to_string(random() % 100);
      written += (argument == 0 ? "" : ", ") + value;
      asked += (argument == 0 ? "" : ",") + value;
    }
    text += written + ");\r\n";
    calls.push_back(asked + ")");
  }
  return text;
}

TEST(LargeScripts, TooManyStatementsAreRefusedByTheirCountBeforeAnyIsParsed) {
  struct Case {
    const char* what;
    std::string text;
    std::string count;
  };
  const Case cases[] = {
      {"a megabyte of braces", std::string(1 << 20, '{'), "1048576"},
      {"a first statement that is none", "x = ;" + Repeated("x = 1;", 40000), "40001"},
  };
  for (const Case& c : cases) {
    DriveFlashRig rig;
    rig.UseScript("big.fl2", c.text);
    rig.ui.AnswerMsgBox(vbOK);
    rig.ui.AnswerMsgBox(vbOK);
    const long before = testing::PeakMemoryKB();
    rig.Start();
    EXPECT_EQ(rig.Prompts(), (std::vector<std::string>{
                                 "The script has " + c.count + " statements; at most 32767 can be run.", kNotLoaded}))
        << c.what;
    EXPECT_EQ(rig.Script(), nullptr) << c.what;
    if (kMemoryTells) {
      EXPECT_LT(testing::PeakMemoryKB() - before, 32 * kMegabyteKB) << c.what << ": KB more at the peak";
    }
  }
}

// A load charts every token, so a script of legal but endless calls is refused before any is parsed.
TEST(LargeScripts, TooManyTokensAreRefusedBeforeAnyIsParsed) {
  std::vector<std::string> calls;
  const std::string text = Repeated(LongCalls(calls), 5);
  DriveFlashRig rig;
  rig.UseScript("big.fl2", text);
  rig.ui.AnswerMsgBox(vbOK);
  rig.ui.AnswerMsgBox(vbOK);
  rig.Start();
  EXPECT_EQ(rig.Prompts(), (std::vector<std::string>{
                               "The script has more than 1000000 tokens; at most 1000000 can be loaded.", kNotLoaded}));
  EXPECT_TRUE(rig.Calls().empty());
}

TEST(LargeScripts, LongCallsLoadInTheMemoryOfTheirTextAndRunInFull) {
  std::vector<std::string> calls;
  const std::string text = LongCalls(calls);
  DriveFlashRig run;
  run.UseScript("long.fl2", text);
  run.ui.AnswerMsgBox(vbOK);
  const long before = testing::PeakMemoryKB();
  run.Start();
  EXPECT_EQ(run.Prompts(), std::vector<std::string>{"Drive Flash was successful."});
  EXPECT_EQ(run.Calls(), calls);
  if (kMemoryTells) {
    EXPECT_LT(testing::PeakMemoryKB() - before, 64 * kMegabyteKB) << "KB more at the peak";
  }

  DriveFlashRig stepped;
  stepped.UseScript("long.fl2", text);
  stepped.Window().rbExecuteMode_Click(true);
  const double heap = HeapBytes();
  stepped.Step();
  ASSERT_NE(stepped.Script(), nullptr);
  EXPECT_EQ(stepped.Script()->ProgramLength(), 150);
  if (kMemoryTells) {
    EXPECT_LT(HeapBytes() - heap, 20.0 * static_cast<double>(text.size())) << "bytes kept, loaded and one call run";
  }
}

}  // namespace
}  // namespace quendrel
