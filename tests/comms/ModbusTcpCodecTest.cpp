// The Modbus/TCP header: requests laid out, replies cut from the stream by the header's length, and a
// header no unit can have caught at once.
#include <gtest/gtest.h>

#include <deque>

#include "comms/modules/ModbusTcpChannel.h"
#include "comms/modules/ModbusTcpCodec.h"
#include "platform/FakeClock.h"

namespace quendrel {
namespace {

using namespace std::string_literals;

TEST(ModbusTcpCodecTest, RequestCarriesTransactionProtocolLengthAndUnit) {
  EXPECT_EQ(ModbusTcpCodec::Adu(0x1234, 7, "\x43\x0B\x1D"s), "\x12\x34\x00\x00\x00\x04\x07\x43\x0B\x1D"s);
  const auto header = ModbusTcpCodec::ReadHeader("\xFF\xFE\x00\x01\x00\x05\x09"s);
  EXPECT_EQ(header.transaction, 0xFFFE);
  EXPECT_EQ(header.protocol, 1);
  EXPECT_EQ(header.length, 5);
  EXPECT_EQ(header.unit, 9);
}

TEST(ModbusTcpCodecTest, ScanningFindsWholeUnitsAndLyingHeaders) {
  using Scan = ModbusTcpCodec::Scan;
  const std::string header = "\x00\x01\x00\x00"s;
  const struct {
    const char* what;
    std::string bytes;
    Scan status;
    std::size_t length;
  } cases[] = {
      {"header not complete", header + "\x00"s, Scan::NeedMore, 0},
      {"counted reply arriving", header + "\x00\x06\x01\x44\x03"s, Scan::NeedMore, 0},
      {"counted reply", header + "\x00\x06\x01\x44\x03\xAA\xBB\xCC"s, Scan::Complete, 12},
      {"exception", header + "\x00\x03\x01\xC3\x02"s, Scan::Complete, 9},
      {"write echo", header + "\x00\x06\x01\x46\x01\x01\x00\x07"s, Scan::Complete, 12},
      {"next unit behind", header + "\x00\x03\x01\xC3\x02\x00\x02"s, Scan::Complete, 9},
      {"no function byte", header + "\x00\x01\x01"s, Scan::OutOfStep, 0},
      {"past 260 bytes", header + "\x00\xFF\x01"s, Scan::OutOfStep, 0},
      {"reply without a count byte", header + "\x00\x06\x01\x10\x02\x03\x00\x02"s, Scan::Complete, 12},
      {"longer than its layout", header + "\x00\x0A\x01\x44\x03\xAA\xBB\xCC"s, Scan::NeedMore, 0},
      {"shorter than its layout", header + "\x00\x04\x01\x44\x03\xAA\xBB\xCC"s, Scan::Complete, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto result = ModbusTcpCodec::ScanAdu(c.bytes);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.length, c.length);
  }
}

// A byte link that hands out queued chunks, one per wait; an empty queue waits out the timeout.
class ChunkLink final : public ByteLink {
 public:
  explicit ChunkLink(FakeClock& clock) : clock_(clock) {}
  bool Write(std::string_view, double) override { return true; }
  Wait WaitReadable(double timeoutSeconds) override {
    if (!chunks.empty()) return Wait::Readable;
    clock_.Advance(timeoutSeconds);
    return Wait::TimedOut;
  }
  bool ReadAvailable(std::string& into) override {
    if (!chunks.empty()) {
      into += chunks.front();
      chunks.pop_front();
    }
    return true;
  }
  bool DiscardInput() override { return true; }

  std::deque<std::string> chunks;

 private:
  FakeClock& clock_;
};

class ModbusTcpChannelTest : public ::testing::Test {
 protected:
  static std::string Reply(std::uint16_t transaction, std::uint8_t unit, const std::string& pdu) {
    return ModbusTcpCodec::Adu(transaction, unit, pdu);
  }
  ModbusTcpChannel::Outcome Read(std::uint16_t transaction) {
    response_ = {};
    return channel_.ReadReply(request_, transaction, response_, clock_.MonotonicSeconds() + 1.0);
  }

  FakeClock clock_;
  ChunkLink link_{clock_};
  ModbusTcpChannel channel_{link_, clock_};
  DriveRequest request_ = [] {
    DriveRequest request;
    request.service = DriveService::ReadName;
    request.address = 3;
    request.menu = 11;
    request.pram = 29;
    return request;
  }();
  udtDriveResponse response_;
};

TEST_F(ModbusTcpChannelTest, AHeaderShorterThanTheReplyIsInvalidAndTheRestIsDropped) {
  std::string lying = Reply(5, 3, "\x44\x04\x0B\x1D\x01" "A"s);
  lying[5] = 4;
  link_.chunks = {lying};
  EXPECT_EQ(Read(5), ModbusTcpChannel::Outcome::Invalid);
  link_.chunks = {Reply(6, 3, "\x44\x04\x0B\x1D\x01" "B"s)};
  EXPECT_EQ(Read(6), ModbusTcpChannel::Outcome::Data);
  EXPECT_EQ(response_.strData, "B");
}

}  // namespace
}  // namespace quendrel
