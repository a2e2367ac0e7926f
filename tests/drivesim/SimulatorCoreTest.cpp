// The drive on its line without a port: counting, addressing, fault effects on the wire and
// the timing of replies, all on made-up instants.

#include "drivesim/SimulatorCore.h"

#include <gtest/gtest.h>

#include "drivesim/DefaultParameterTable.h"
#include "drivesim/SimFrame.h"

namespace quendrel {
namespace {

using namespace std::string_literals;
using std::chrono::microseconds;
using std::chrono::milliseconds;

const SimTime kStart = SimTime{} + std::chrono::hours(1);

std::string Frame(std::uint8_t address, const std::string& pdu) { return SimFrame::Wrap(address, pdu); }
const std::string kReadVersion = "\x43\x0B\x1D"s;
const std::string kVersionReply = "\x43\x07\x0B\x1D\x08\x39\x82\x03\x00"s;

class SimulatorCoreTest : public ::testing::Test {
 protected:
  void Fault(const std::string& text) {
    std::string error;
    auto rule = FaultRule::Parse(text, error);
    ASSERT_TRUE(rule) << error;
    core.Faults().Add(*rule);
  }

  // Everything the drive has queued, as (microseconds after kStart, bytes or event name).
  std::vector<std::pair<long long, std::string>> Drain() {
    std::vector<std::pair<long long, std::string>> out;
    for (auto& event : core.TakeDue(SimTime::max())) {
      const auto at = std::chrono::duration_cast<microseconds>(event.due - kStart).count();
      const char* names[] = {"", "<close>", "<reopen>"};
      out.emplace_back(at, event.kind == LineEvent::Kind::Send ? event.bytes : names[static_cast<int>(event.kind)]);
    }
    return out;
  }

  SimulatorCore core{DefaultParameterTable(), 1};
};

TEST_F(SimulatorCoreTest, AnswersAtOnceWithoutEmulation) {
  core.Receive(Frame(1, kReadVersion), kStart);
  const auto out = Drain();
  ASSERT_EQ(out.size(), 1U);
  EXPECT_EQ(out[0].first, 0);
  EXPECT_EQ(out[0].second, Frame(1, kVersionReply));
  EXPECT_EQ(core.RequestCount(), 1);
  EXPECT_EQ(core.RequestCount(0x43), 1);
}

TEST_F(SimulatorCoreTest, IgnoresOtherAddressesAndNeverAnswersABroadcast) {
  core.Receive(Frame(2, kReadVersion), kStart);
  EXPECT_TRUE(Drain().empty());
  EXPECT_EQ(core.RequestCount(), 0);
  core.Receive(Frame(0, "\x46\x02\x01\x00\x63"s), kStart);
  EXPECT_TRUE(Drain().empty());
  EXPECT_EQ(core.Table().Find(201)->value, 99);
  EXPECT_EQ(core.RequestCount(), 1);
  EXPECT_EQ(core.BroadcastCount(), 1);
  core.Receive(Frame(1, kReadVersion), kStart);
  Drain();
  EXPECT_EQ(core.BroadcastCount(), 1);
  core.ResetStats();
  EXPECT_EQ(core.BroadcastCount(), 0);
}

TEST_F(SimulatorCoreTest, WritingTheSerialAddressReaddressesAfterTheReply) {
  core.Receive(Frame(1, "\x46\x0B\x17\x00\x05"s), kStart);
  const auto out = Drain();
  ASSERT_EQ(out.size(), 1U);
  EXPECT_EQ(out[0].second, Frame(1, "\x46\x0B\x17\x00\x05"s));
  EXPECT_EQ(core.Address(), 5);
  core.Receive(Frame(1, kReadVersion), kStart);
  EXPECT_TRUE(Drain().empty());
  core.Receive(Frame(5, kReadVersion), kStart);
  EXPECT_EQ(Drain().size(), 1U);
  core.Receive(Frame(5, "\x46\x0B\x17\x00\x00"s), kStart);  // 0 is no address: stays 5
  Drain();
  EXPECT_EQ(core.Address(), 5);
}

TEST_F(SimulatorCoreTest, FaultsShapeTheReplyOnTheWire) {
  const std::string good = Frame(1, kVersionReply);
  std::string badCrc = good;
  badCrc.back() = static_cast<char>(badCrc.back() ^ 0x5A);
  struct Case {
    const char* rule;
    std::vector<std::pair<long long, std::string>> wire;
  };
  const Case cases[] = {
      {"drop next 1", {}},
      {"stop", {}},
      {"crc next 1", {{0, badCrc}}},
      {"address next 1", {{0, Frame(2, kVersionReply)}}},
      {"address next 1 17", {{0, Frame(17, kVersionReply)}}},
      {"late next 1 1500", {{1'500'000, good}}},
      {"split next 1 3 20", {{0, good.substr(0, 4)}, {20'000, good.substr(4, 4)}, {40'000, good.substr(8)}}},
      {"close next 1", {{0, "<close>"}}},
      {"close next 1 300", {{0, "<close>"}, {300'000, "<reopen>"}}},
  };
  for (const auto& c : cases) {
    core.Faults().Clear();
    Fault(c.rule);
    core.Receive(Frame(1, kReadVersion), kStart);
    EXPECT_EQ(Drain(), c.wire) << c.rule;
  }
  EXPECT_EQ(core.RequestCount(), static_cast<long>(std::size(cases)));
}

TEST_F(SimulatorCoreTest, NoiseGoesOutBeforeTheReply) {
  Fault("noise next 1 5");
  core.Receive(Frame(1, kReadVersion), kStart);
  const auto out = Drain();
  ASSERT_EQ(out.size(), 2U);
  EXPECT_EQ(out[0].second.size(), 5U);
  EXPECT_EQ(out[1].second, Frame(1, kVersionReply));
}

TEST_F(SimulatorCoreTest, StoppedOrClosedDriveDoesNotExecuteTheWrite) {
  Fault("stop next 1");
  core.Receive(Frame(1, "\x46\x02\x01\x00\x63"s), kStart);
  Fault("drop next 1");
  core.Receive(Frame(1, "\x46\x02\x02\x00\x63"s), kStart);
  EXPECT_EQ(core.Table().Find(201)->value, 50);
  EXPECT_EQ(core.Table().Find(202)->value, 99);  // dropped replies still execute
}

// A stale reply must reach the client before the reply to its next request.
TEST_F(SimulatorCoreTest, RepliesNeverOvertakeALateOne) {
  Fault("late next 1 800");
  core.Receive(Frame(1, kReadVersion), kStart);
  core.Receive(Frame(1, "\x42\x0B\x1D"s), kStart + milliseconds(500));
  const auto out = Drain();
  ASSERT_EQ(out.size(), 2U);
  EXPECT_EQ(out[0].second, Frame(1, kVersionReply));
  EXPECT_EQ(out[1].first, 800'000);
  EXPECT_EQ(out[1].second.substr(0, 2), "\x01\x42"s);
}

TEST_F(SimulatorCoreTest, BaudEmulationCostsWhatTheLineCosts) {
  core.SetBaudRate(19200);
  core.Receive(Frame(1, kReadVersion), kStart);
  EXPECT_TRUE(core.TakeDue(kStart + milliseconds(9)).empty());
  const auto out = Drain();
  ASSERT_EQ(out.size(), 1U);
  // 6 request bytes, 3.5 characters of silence, 12 reply bytes: 21.5 x 10 bits at 19200 bit/s.
  EXPECT_NEAR(out[0].first, 11198, 2);
}

TEST_F(SimulatorCoreTest, TakeDueHandsOutOnlyWhatIsDue) {
  Fault("late next 1 100");
  core.Receive(Frame(1, kReadVersion), kStart);
  ASSERT_TRUE(core.NextDeadline());
  EXPECT_EQ(*core.NextDeadline(), kStart + milliseconds(100));
  EXPECT_TRUE(core.TakeDue(kStart + milliseconds(99)).empty());
  EXPECT_EQ(core.TakeDue(kStart + milliseconds(100)).size(), 1U);
  EXPECT_FALSE(core.NextDeadline());
}

TEST_F(SimulatorCoreTest, DiscardKeepsAPlannedReopen) {
  Fault("close next 1 300");
  core.Receive(Frame(1, kReadVersion), kStart);
  core.Inject("\xAA"s, kStart);
  ASSERT_EQ(core.TakeDue(kStart).size(), 1U);  // the close
  core.DiscardPending();
  EXPECT_EQ(Drain(), (std::vector<std::pair<long long, std::string>>{{300'000, "<reopen>"}}));
}

TEST_F(SimulatorCoreTest, EchoModeReturnsEveryByteAndRecordsIt) {
  core.SetMode(LineMode::Echo);
  core.Receive("\r\r"s, kStart);
  core.Receive(Frame(1, kReadVersion), kStart);
  const auto out = Drain();
  ASSERT_EQ(out.size(), 2U);
  EXPECT_EQ(out[0].second, "\r\r"s);
  EXPECT_EQ(out[1].second, Frame(1, kReadVersion));
  EXPECT_EQ(core.RequestCount(), 0);
  EXPECT_EQ(core.TakeReceived(), "\r\r"s + Frame(1, kReadVersion));
  EXPECT_EQ(core.TakeReceived(), "");

  core.SetMode(LineMode::Record);
  core.Receive("\x41"s, kStart);
  EXPECT_TRUE(Drain().empty());
  EXPECT_EQ(core.TakeReceived(), "\x41"s);
}

TEST_F(SimulatorCoreTest, LocalEchoPutsTheRequestAheadOfTheReply) {
  core.SetLocalEcho(true);
  core.Receive(Frame(1, kReadVersion), kStart);
  const auto out = Drain();
  ASSERT_EQ(out.size(), 2U);
  EXPECT_EQ(out[0].second, Frame(1, kReadVersion));
  EXPECT_EQ(out[1].second, Frame(1, kVersionReply));
}

TEST_F(SimulatorCoreTest, ResetStatsStartsCountingAfresh) {
  core.Receive(Frame(1, kReadVersion) , kStart);
  core.Receive(Frame(1, "\x01"s), kStart + milliseconds(10));
  core.Advance(kStart + milliseconds(20));
  EXPECT_EQ(core.RequestCount(), 2);
  EXPECT_EQ(core.RequestCount(1), 1);
  core.ResetStats();
  EXPECT_EQ(core.RequestCount(), 0);
  EXPECT_TRUE(core.RequestCounts().empty());
}

}  // namespace
}  // namespace quendrel
