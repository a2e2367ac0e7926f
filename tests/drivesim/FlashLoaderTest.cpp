// The simulated drive's flash loader on its line without a port: entering and leaving it, the
// frames it serves, synchronisation, echoed transfers, what it records and the faults it injects.

#include "drivesim/FlashLoader.h"

#include <gtest/gtest.h>

#include "drivesim/DefaultParameterTable.h"
#include "drivesim/LoaderCommands.h"
#include "drivesim/SimFrame.h"
#include "drivesim/SimulatorCore.h"

namespace quendrel {
namespace {

using namespace std::string_literals;
using std::chrono::microseconds;

const SimTime kStart = SimTime{} + std::chrono::hours(1);

std::string Frame(const std::string& pdu) { return SimFrame::Wrap(1, pdu); }

// A program image of two words at 0x1234, then one data block of two words at 0x0040 that
// closes the transfer; every word little-endian.
const std::string kProgram = "\x34\x12\x01\x00\x2B\x1A\x02\x00"s;
const std::string kBlock = "\x40\x00\x01\x00\x4D\x3C\x05\x00"s;
const std::string kClosing = "\x00\x00"s;

class FlashLoaderTest : public ::testing::Test {
 protected:
  FlashLoaderTest() { core.SetMode(LineMode::Loader); }

  // Everything sent since the last call, joined.
  std::string Sent() {
    std::string bytes;
    for (auto& event : core.TakeDue(SimTime::max())) bytes += event.bytes;
    return bytes;
  }

  // Each byte on its own, as a client that waits for every echo sends them.
  void Feed(const std::string& bytes) {
    for (const char byte : bytes) core.Receive(std::string(1, byte), kStart);
  }

  void Synchronise() {
    Feed("\r\r\r\r");
    ASSERT_EQ(Sent(), "\xAA");
  }

  std::string Command(const std::string& line) {
    std::vector<std::string> words;
    for (std::size_t at = 0; at < line.size();) {
      const std::size_t end = std::min(line.find(' ', at), line.size());
      words.push_back(line.substr(at, end - at));
      at = end + 1;
    }
    return LoaderCommands::Execute(core.Loader(), words);
  }

  SimulatorCore core{DefaultParameterTable(), 1};
};

TEST_F(FlashLoaderTest, WritingTheUploadParameterRestartsIntoTheLoaderUnanswered) {
  core.SetMode(LineMode::Drive);
  core.Receive(Frame("\x01"s), kStart);
  EXPECT_EQ(Sent(), Frame("\x81\x01"s)) << "the running firmware has no loader";
  core.Receive(Frame("\x46\x0B\x27\x00\x01"s), kStart);
  EXPECT_EQ(Sent(), "");
  EXPECT_EQ(core.Mode(), LineMode::Loader);
  core.Receive(Frame("\x34"s), kStart);
  EXPECT_EQ(Sent(), "") << "processor reset: the loader leaves without an answer";
  EXPECT_EQ(core.Mode(), LineMode::Drive);
  core.Receive(Frame("\x43\x0B\x27"s), kStart);
  EXPECT_EQ(Sent().substr(5, 2), "\x00\x00"s) << "the upload request is forgotten";
}

struct FrameCase {
  const char* name;
  std::string request;
  std::string reply;
};

class LoaderFrames : public FlashLoaderTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(LoaderFrames, AnswerInTheirTemplatesShape) {
  core.Receive(Frame(GetParam().request), kStart);
  EXPECT_EQ(Sent(), Frame(GetParam().reply));
}

INSTANTIATE_TEST_SUITE_P(
    Loader, LoaderFrames,
    ::testing::Values(FrameCase{"LoaderText", "\x01"s, "\x01\x1A\x19Quendrel Flash Loader 1.0"s},
                      FrameCase{"ManufacturerId", "\x20"s, "\x20\x01\x1F"s},
                      FrameCase{"DeviceId", "\x21"s, "\x21\x01\xC8"s},
                      FrameCase{"DataWord", "\x22\x00\x10"s, "\x22\x02\x12\x34"s},
                      FrameCase{"SectorProtect", "\x2B\x01"s, "\x2B\x01\x00"s},
                      FrameCase{"EraseAcknowledged", "\x25\x0D"s, "\x25\x00"s},
                      FrameCase{"ParameterService", "\x43\x0B\x1D"s, "\xC3\x01"s},
                      FrameCase{"LegacyParameterService", "\x03\x0B\x1D"s, "\x83\x01"s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FlashLoaderTest, SynchronisesAfterTheSwallowedCarriageReturns) {
  Feed("\r\r\r");
  EXPECT_EQ(Sent(), "");
  EXPECT_EQ(Command("loader state"), "sync");
  Feed("\r");
  EXPECT_EQ(Sent(), "\xAA");
  EXPECT_EQ(Command("loader state"), "transfer");
}

TEST_F(FlashLoaderTest, SynchronisationFaults) {
  EXPECT_EQ(Command("loader sync 0"), "ok");
  EXPECT_EQ(Command("loader fault wrongsync"), "ok");
  Feed("\r");
  EXPECT_EQ(Sent(), "\x55");
  EXPECT_EQ(Command("loader fault none"), "ok");
  EXPECT_EQ(Command("loader fault nosync"), "ok");
  Feed("\r\r\r\r\r\r");
  EXPECT_EQ(Sent(), "");
}

TEST_F(FlashLoaderTest, EchoesATransferRecordsItAndServesFramesAfterTheClosingWord) {
  Synchronise();
  Feed(kProgram);
  EXPECT_EQ(Sent(), kProgram + "\x06");
  Feed(kBlock);
  EXPECT_EQ(Sent(), kBlock + "\x06");
  Feed("\x01\x00"s + kBlock + kClosing);
  EXPECT_EQ(Sent(), "\x01\x00"s + kBlock + "\x06" + kClosing);
  EXPECT_EQ(Command("loader state"), "frames");
  EXPECT_EQ(Command("loader image"), "image 1234 1A2B0002");
  EXPECT_EQ(Command("loader data"), "data 0040:3C4D0005 0040:3C4D0005");
  core.Receive(Frame("\x01"s), kStart);
  EXPECT_EQ(Sent().substr(1, 2), "\x01\x1A");
}

TEST_F(FlashLoaderTest, PlanOfDataOnly) {
  EXPECT_EQ(Command("loader plan data"), "ok");
  Synchronise();
  Feed(kBlock + kClosing);
  EXPECT_EQ(Sent(), kBlock + "\x06" + kClosing);
  EXPECT_EQ(Command("loader image"), "image none");
  EXPECT_EQ(Command("loader data"), "data 0040:3C4D0005");
}

TEST_F(FlashLoaderTest, TransferFaults) {
  EXPECT_EQ(Command("loader fault echo 5"), "ok");
  EXPECT_EQ(Command("loader fault noclosingecho"), "ok");
  Synchronise();
  Feed(kProgram);
  std::string inverted = kProgram;
  inverted[5] = static_cast<char>(inverted[5] ^ 0xFF);
  EXPECT_EQ(Sent(), inverted + "\x06");
  EXPECT_EQ(Command("loader fault noack"), "ok");
  Feed(kBlock + kClosing);
  EXPECT_EQ(Sent(), kBlock) << "no acknowledgement, the closing word unechoed";
  EXPECT_EQ(Command("loader state"), "frames");
}

TEST_F(FlashLoaderTest, EchoesCostTwoByteTimesAndALateAcknowledgementWaits) {
  core.SetBaudRate(19200);
  EXPECT_EQ(Command("loader plan program"), "ok");
  EXPECT_EQ(Command("loader fault lateack 100"), "ok");
  Synchronise();
  core.Receive(kProgram.substr(0, 1), kStart);
  auto out = core.TakeDue(SimTime::max());
  ASSERT_EQ(out.size(), 1U);
  EXPECT_EQ(std::chrono::duration_cast<microseconds>(out[0].due - kStart).count(), 1041);
  Feed(kProgram.substr(1));
  out = core.TakeDue(SimTime::max());
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out.back().bytes, "\x06");
  EXPECT_GE(std::chrono::duration_cast<microseconds>(out.back().due - kStart).count(), 100'000);
}

TEST_F(FlashLoaderTest, CarriageReturnInsideAFrameIsNoSynchronisation) {
  core.Receive(Frame("\x25\x0D\x0D"s), kStart);
  EXPECT_EQ(Sent(), Frame("\x25\x00"s));
  EXPECT_EQ(Command("loader state"), "frames");
}

TEST_F(FlashLoaderTest, BadCommandsAreRefused) {
  for (const char* line : {"loader", "loader plan all", "loader fault echo", "loader sync x", "loader fault late"}) {
    EXPECT_EQ(Command(line).rfind("error ", 0), 0U) << line;
  }
}

}  // namespace
}  // namespace quendrel
