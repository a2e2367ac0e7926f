// Cutting the serial byte stream into request frames, the way a drive has to.

#include "drivesim/RequestFramer.h"

#include <gtest/gtest.h>

#include "drivesim/SimFrame.h"

namespace quendrel {
namespace {

using namespace std::string_literals;
using std::chrono::milliseconds;

const SimTime kStart{};
const SimDuration kSilence = milliseconds(5);

std::string Frame(std::string pdu) { return SimFrame::Wrap(1, pdu); }

TEST(RequestFramerTest, WrapAddsTheCrcLowByteFirst) {
  EXPECT_EQ(Frame("\x43\x0B\x1D"s), "\x01\x43\x0B\x1D\x37\x35"s);
  EXPECT_TRUE(SimFrame::CrcMatches("\x01\x43\x0B\x1D\x37\x35"s));
  EXPECT_FALSE(SimFrame::CrcMatches("\x01\x43\x0B\x1D\x35\x37"s));
  const auto request = SimFrame::Unwrap("\x01\x43\x0B\x1D\x37\x35"s);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->function, 0x43);
  EXPECT_EQ(request->data, "\x0B\x1D"s);
}

TEST(RequestFramerTest, ParameterServicesEndWhereTheirLayoutEnds) {
  const std::string frames[] = {
      Frame("\x42\x0B\x1D"s),                        // ReadPAD
      Frame("\x03\x0B\x1D"s),                        // legacy ReadValue
      Frame("\x44\x0B\x1C"s),                        // ReadName
      Frame("\x44\x0B\x1C\x00\x02"s),                // ReadDVD
      Frame("\x45\x0C\x0B\x00\x01\x03Top"s),         // WriteDVD with its text
      Frame("\x46\x01\x03\xFF\xFF"s),                // WriteValue
      Frame("\x05\x04\x04\xFF\x00"s),                // the standard coil write shares WriteDVD's code
  };
  for (const auto& frame : frames) {
    RequestFramer framer(kSilence);
    framer.Append(frame + frame, kStart);  // back to back, no silence between them
    EXPECT_EQ(framer.Next(kStart), frame);
    EXPECT_EQ(framer.Next(kStart), frame);
    EXPECT_FALSE(framer.Next(kStart));
  }
}

TEST(RequestFramerTest, AFrameArrivingInPiecesWaitsForItsLastByte) {
  const std::string frame = Frame("\x45\x0C\x0B\x00\x01\x05Speed"s);
  RequestFramer framer(kSilence);
  for (std::size_t i = 0; i + 1 < frame.size(); ++i) {
    framer.Append(frame.substr(i, 1), kStart + milliseconds(1) * i);
    EXPECT_FALSE(framer.Next(kStart + milliseconds(1) * i)) << i;
  }
  framer.Append(frame.substr(frame.size() - 1), kStart + milliseconds(20));
  EXPECT_EQ(framer.Next(kStart + milliseconds(20)), frame);
}

TEST(RequestFramerTest, OtherFunctionsEndWithABurstWhoseCrcChecks) {
  const std::string packet = Frame("\x27\x00\x10\x04\xDE\xAD\xBE\xEF"s);
  RequestFramer framer(kSilence);
  framer.Append(packet.substr(0, 5), kStart);
  EXPECT_FALSE(framer.Next(kStart));
  framer.Append(packet.substr(5), kStart);
  EXPECT_EQ(framer.Next(kStart), packet);
}

TEST(RequestFramerTest, SilenceSeparatesBackToBackFramesOfUnknownLength) {
  const std::string first = Frame("\x48\x01\x03"s);
  const std::string second = Frame("\x01"s);
  RequestFramer framer(kSilence);
  framer.Append(first + second, kStart);
  EXPECT_FALSE(framer.Next(kStart));
  ASSERT_TRUE(framer.Deadline());
  EXPECT_EQ(*framer.Deadline(), kStart + kSilence);
  EXPECT_EQ(framer.Next(kStart + kSilence), first);
  EXPECT_EQ(framer.Next(kStart + kSilence), second);
  EXPECT_FALSE(framer.Deadline());
}

TEST(RequestFramerTest, BytesThatStartNoFrameAreDropped) {
  const std::string frame = Frame("\x43\x0B\x1D"s);
  RequestFramer framer(kSilence);
  // Carriage returns (a loader synchronisation, say) glued to a request: the layout cannot be
  // known until the line goes quiet, then the request is found behind them.
  framer.Append("\r\r\r"s + frame, kStart);
  EXPECT_FALSE(framer.Next(kStart));
  EXPECT_EQ(framer.Next(kStart + kSilence), frame);
  EXPECT_EQ(framer.DroppedBytes(), 3);

  std::string corrupt = frame;
  corrupt.back() = static_cast<char>(corrupt.back() ^ 1);
  framer.Append(corrupt, kStart);
  EXPECT_FALSE(framer.Next(kStart));
  EXPECT_FALSE(framer.Next(kStart + kSilence));
  EXPECT_EQ(framer.Pending(), 0U);
  framer.Append(frame, kStart + kSilence);
  EXPECT_EQ(framer.Next(kStart + kSilence), frame);
}

TEST(RequestFramerTest, AnEndlessBurstNeverGrowsPastOneFrame) {
  RequestFramer framer(kSilence);
  framer.Append(std::string(3 * RequestFramer::kMaxFrame, '\x55'), kStart);
  EXPECT_FALSE(framer.Next(kStart));
  EXPECT_LT(framer.Pending(), RequestFramer::kMaxFrame);
}

}  // namespace
}  // namespace quendrel
