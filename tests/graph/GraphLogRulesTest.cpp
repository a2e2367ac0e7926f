// The scan window's rules that need no window: the timers' intervals and the log file itself.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <cmath>

#include "foundation/files/LogFile.h"
#include "graph/scan/ScanTiming.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

TEST(GraphLogTimingTest, ScanIntervalFromThePeriod) {
  struct Case {
    double seconds;
    std::int32_t ms;
  };
  for (const Case c : {Case{3, 3000}, Case{0.001, 1}, Case{0.0004, 0}, Case{0, 0}, Case{-5, 0}, Case{32.764, 32764},
                       Case{32.765, 32766}, Case{40, 32766}, Case{65532, 32766}, Case{0.0025, 2},
                       Case{std::nan(""), 0}}) {
    EXPECT_EQ(ScanIntervalFromSeconds(c.seconds), c.ms) << c.seconds;
  }
}

TEST(GraphLogTimingTest, KeepaliveHonoursAnyPeriodOfAMillisecondOrMore) {
  struct Case {
    const char* setting;
    std::optional<std::int32_t> ms;
  };
  const Case cases[] = {
      {"5", 5000},        {"0.001", 1},   {" 2.5 ", 2500},   {"65.535", 65535}, {"100", 100000},
      {"1E+9", kLongestTimerInterval},   {"0", std::nullopt},   {"0.0004", std::nullopt},
      {"-1", std::nullopt}, {"", std::nullopt}, {"five", std::nullopt}, {"5 s", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(KeepaliveIntervalFromSetting(c.setting), c.ms) << c.setting;
}

TEST(GraphLogFileTest, AppendsWholeLinesWithCrLf) {
  TempFolder folder;
  const std::string path = folder.File("scan.log");
  WriteTestFile(path, "earlier\r\n");
  {
    LogFile log;
    ASSERT_TRUE(log.Open(path));
    EXPECT_TRUE(log.WriteLine("one"));
    // Each line is on disk once written.
    EXPECT_EQ(ReadTestFile(path), "earlier\r\none\r\n");
    EXPECT_TRUE(log.WriteLine(""));
  }
  EXPECT_EQ(ReadTestFile(path), "earlier\r\none\r\n\r\n");
  LogFile log;
  EXPECT_FALSE(log.Open(folder.File("")));  // a folder
  EXPECT_FALSE(log.Open("/dev/null"));      // a device would swallow the log
  EXPECT_FALSE(log.Open(""));
  EXPECT_FALSE(log.Open(folder.File("missing/scan.log")));
  EXPECT_FALSE(log.IsOpen());
  EXPECT_FALSE(log.WriteLine("nowhere"));
}

// The file may not grow: the write fails, the log closes, and later lines go nowhere.
TEST(GraphLogFileTest, AFailedWriteClosesTheLog) {
  TempFolder folder;
  const std::string path = folder.File("scan.log");
  LogFile log;
  ASSERT_TRUE(log.Open(path));
  ASSERT_TRUE(log.WriteLine("kept"));
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit limit = saved;
  limit.rlim_cur = 6;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  const bool written = log.WriteLine("too long for the limit");
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(written);
  EXPECT_FALSE(log.IsOpen());
  EXPECT_FALSE(log.WriteLine("after"));
  EXPECT_EQ(ReadTestFile(path).substr(0, 6), "kept\r\n");
}

}  // namespace
}  // namespace quendrel
