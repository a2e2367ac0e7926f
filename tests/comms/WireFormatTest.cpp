// The byte layout of requests and replies: what goes on the line and how replies are read back.
#include <gtest/gtest.h>

#include <sstream>

#include "comms/modules/SerialFrameCodec.h"
#include "comms/server/DrivePdu.h"
#include "foundation/values/Crc16.h"

namespace quendrel {
namespace {

std::string Hex(const std::string& text) {
  std::istringstream in(text);
  std::string bytes;
  int byte = 0;
  while (in >> std::hex >> byte) bytes.push_back(static_cast<char>(byte));
  return bytes;
}

std::string ToHex(const std::string& bytes) {
  std::string out;
  char buffer[4];
  for (const char c : bytes) {
    std::snprintf(buffer, sizeof buffer, "%02x ", static_cast<unsigned char>(c));
    out += buffer;
  }
  if (!out.empty()) out.pop_back();
  return out;
}

DriveRequest Make(DriveService service, std::uint8_t menu, std::uint8_t pram, bool legacy = false) {
  DriveRequest request;
  request.service = service;
  request.menu = menu;
  request.pram = pram;
  request.legacy = legacy;
  return request;
}

TEST(WireFormatTest, RequestFramesCarryAddressFunctionDataAndCrcLowByteFirst) {
  DriveRequest write = Make(DriveService::WriteValue, 11, 29);
  write.address = 5;
  write.value = 2105;
  DriveRequest readDvd = Make(DriveService::ReadDVD, 2, 3);
  readDvd.index = 4;
  DriveRequest writeDvd = Make(DriveService::WriteDVD, 0, 1);
  writeDvd.index = 1;
  writeDvd.text = "Abc";
  struct FrameCase {
    const char* name;
    DriveRequest request;
    const char* frame;
  };
  const FrameCase cases[] = {
      {"read value", Make(DriveService::ReadValue, 0, 0), "01 43 00 00 f0 0c"},
      {"ping reads M00P00", Make(DriveService::Ping, 0, 0), "01 43 00 00 f0 0c"},
      {"legacy read value", Make(DriveService::ReadValue, 0, 0, true), "01 03 00 00 f1 d8"},
      {"write value high byte first", write, "05 46 0b 1d 08 39 dc 71"},
      {"read DVD shares read name's code", readDvd, "01 44 02 03 00 04 01 be"},
      {"write DVD with length-prefixed text", writeDvd, "01 45 00 01 00 01 03 41 62 63 3b 48"},
      {"read PAD", Make(DriveService::ReadPAD, 11, 29), "01 42 0b 1d 66 f5"},
  };
  for (const FrameCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto frame = SerialFrameCodec::RequestFrame(c.request);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(ToHex(*frame), c.frame);
  }
}

TEST(WireFormatTest, LegacyCodesAreTheBareServiceNumbers) {
  const std::pair<DriveService, int> services[] = {
      {DriveService::ReadPAD, 2}, {DriveService::ReadValue, 3}, {DriveService::ReadName, 4},
      {DriveService::ReadDVD, 4}, {DriveService::WriteDVD, 5},  {DriveService::WriteValue, 6},
  };
  for (const auto& [service, code] : services) {
    EXPECT_EQ(DrivePdu::FunctionCode(Make(service, 0, 0, true)), code);
    EXPECT_EQ(DrivePdu::FunctionCode(Make(service, 0, 0, false)), 0x40 + code);
  }
}

TEST(WireFormatTest, RequestsTooLongForAFrameAreRefusedButStillListed) {
  DriveRequest raw;
  raw.rawFunction = 39;
  raw.text.assign(252, 'x');
  EXPECT_TRUE(SerialFrameCodec::RequestFrame(raw).has_value());
  raw.text.push_back('x');
  EXPECT_FALSE(SerialFrameCodec::RequestFrame(raw).has_value());
  const udtDriveResponse unsent = SerialFrameCodec::Unsent(raw, 49);
  EXPECT_TRUE(unsent.Error);
  EXPECT_EQ(unsent.intData, 49);
  EXPECT_EQ(ToHex(unsent.rawreq.substr(0, 2)), "01 27");
}

struct DecodeCase {
  const char* name;
  DriveRequest request;
  const char* reply;  // function byte onwards
  DrivePdu::Verdict verdict;
};

DriveRequest WithValue(DriveRequest request, std::int16_t value) {
  request.value = value;
  return request;
}

DriveRequest WithIndex(DriveRequest request, std::int16_t index) {
  request.index = index;
  return request;
}

TEST(WireFormatTest, RepliesAreCheckedAgainstTheirRequest) {
  using V = DrivePdu::Verdict;
  const DriveRequest readValue = Make(DriveService::ReadValue, 11, 29);
  const DriveRequest writeValue = WithValue(Make(DriveService::WriteValue, 1, 2), -2);
  const DriveRequest writeDvd = WithIndex(Make(DriveService::WriteDVD, 1, 2), 3);
  const DecodeCase cases[] = {
      {"value reply", readValue, "43 07 0b 1d 08 39 00 03 00", V::Accept},
      {"another parameter's value: late reply", readValue, "43 07 0b 1c 08 39 00 03 00", V::Stale},
      {"count disagrees with the data", readValue, "43 08 0b 1d 08 39 00 03 00", V::Invalid},
      {"name length runs past the data", readValue, "43 07 0b 1d 08 39 00 03 02", V::Invalid},
      {"too short for a value", readValue, "43 02 0b 1d", V::Invalid},
      {"wrong function", readValue, "44 03 0b 1d 00", V::Invalid},
      {"exception", readValue, "c3 02", V::Accept},
      {"exception of another function", readValue, "c4 02", V::Invalid},
      {"PAD reply must hold four bytes", Make(DriveService::ReadPAD, 1, 2), "42 05 01 02 00 03 00",
       V::Invalid},
      {"write echo", writeValue, "46 01 02 ff fe", V::Accept},
      {"echo of another value: late reply", writeValue, "46 01 02 00 05", V::Stale},
      {"echo with a count byte", writeValue, "46 04 01 02 ff fe", V::Invalid},
      {"DVD write acknowledged", writeDvd, "45 04 01 02 00 03", V::Accept},
      {"DVD write of another index", writeDvd, "45 04 01 02 00 04", V::Stale},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    udtDriveResponse response;
    EXPECT_EQ(DrivePdu::Decode(c.request, Hex(c.reply), response), c.verdict);
  }
}

TEST(WireFormatTest, ScanFindsTheReplyOnlyOnceItIsWholeAndSound) {
  using S = SerialFrameCodec::Scan;
  const std::string value = SerialFrameCodec::Frame(1, Hex("43 07 0b 1d 08 39 00 03 00"));
  const std::string exception = SerialFrameCodec::Frame(1, Hex("c3 02"));
  const std::string echo = SerialFrameCodec::Frame(1, Hex("46 01 02 ff fe"));
  std::string badCrc = value;
  badCrc.back() = static_cast<char>(badCrc.back() ^ 1);
  struct ScanCase {
    const char* name;
    std::string received;
    std::uint8_t function;
    S status;
    std::size_t length;
  };
  const ScanCase cases[] = {
      {"nothing yet", "", 0x43, S::NeedMore, 0},
      {"address only", value.substr(0, 1), 0x43, S::NeedMore, 0},
      {"all but the CRC", value.substr(0, value.size() - 2), 0x43, S::NeedMore, 0},
      {"whole value reply", value, 0x43, S::Complete, value.size()},
      {"whole reply and more", value + "\x01", 0x43, S::Complete, value.size()},
      {"exception needs no count", exception, 0x43, S::Complete, 5},
      {"write echo needs no count", echo, 0x46, S::Complete, 8},
      {"another drive answers", "\x02\x43", 0x43, S::Invalid, 0},
      {"noise ahead of the reply", "\x9a\x01" + value, 0x43, S::Invalid, 0},
      {"another function", value, 0x44, S::Invalid, 0},
      {"corrupt CRC", badCrc, 0x43, S::Invalid, 0},
  };
  for (const ScanCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto scan = SerialFrameCodec::ScanReply(c.received, 1, c.function, true);
    EXPECT_EQ(scan.status, c.status);
    EXPECT_EQ(scan.length, c.length);
  }
  EXPECT_EQ(ToHex(std::string(SerialFrameCodec::Pdu(exception))), "c3 02");
}

}  // namespace
}  // namespace quendrel
