// The running firmware's answers: every parameter service, its exceptions, legacy codes,
// flash acknowledgements and the EIB table.

#include "drivesim/DriveResponder.h"

#include <gtest/gtest.h>

#include "drivesim/DefaultParameterTable.h"

namespace quendrel {
namespace {

using namespace std::string_literals;

class DriveResponderTest : public ::testing::Test {
 protected:
  std::string Ask(std::uint8_t function, const std::string& data) {
    const auto outcome = responder.Respond(function, data);
    return outcome.pdu.value_or("<silent>");
  }

  DriveResponder responder{DefaultParameterTable()};
};

TEST_F(DriveResponderTest, AnswersEachServiceWithItsLayout) {
  struct Case {
    std::uint8_t function;
    std::string data;
    std::string reply;
  };
  const Case cases[] = {
      // ReadPAD of M11P29: count 4, menu, param, PAD 0x8203
      {0x42, "\x0B\x1D"s, "\x42\x04\x0B\x1D\x82\x03"s},
      // ReadValue of M11P28: value 2, PAD, value name "QD-4007"
      {0x43, "\x0B\x1C"s, "\x43\x0E\x0B\x1C\x00\x02\x00\x00\x07QD-4007"s},
      // ReadValue of a negative value without value names: -250, one decimal, writable
      {0x43, "\x01\x04"s, "\x43\x07\x01\x04\xFF\x06\x00\x11\x00"s},
      // ReadName of M02P03
      {0x44, "\x02\x03"s, "\x44\x0C\x02\x03\x09Ramp Mode"s},
      // ReadDVD index 2 of M02P03
      {0x44, "\x02\x03\x00\x02"s, "\x44\x0C\x02\x03\x09" "Fast Stop"s},
      // WriteValue echoes its four data bytes, no count
      {0x46, "\x02\x01\x01\x2C"s, "\x46\x02\x01\x01\x2C"s},
      // WriteDVD answers menu, param and index
      {0x45, "\x0C\x0B\x00\x01\x04" "Fast"s, "\x45\x04\x0C\x0B\x00\x01"s},
  };
  for (const auto& c : cases) EXPECT_EQ(Ask(c.function, c.data), c.reply) << int(c.function);
}

TEST_F(DriveResponderTest, RefusesWithTheRightException) {
  struct Case {
    std::uint8_t function;
    std::string data;
    std::uint8_t code;
  };
  const Case cases[] = {
      {0x43, "\x05\x04"s, 2},                  // a hole in the table
      {0x43, "\x00\x64"s, 2},                  // parameter 100 does not exist in any menu
      {0x43, "\x15\x00"s, 2},                  // nor does menu 21
      {0x44, "\x02\x03\x00\x03"s, 3},          // ReadDVD one past the end
      {0x44, "\x01\x01\x00\x00"s, 3},          // ReadDVD of a parameter without value names
      {0x46, "\x0B\x1D\x00\x01"s, 3},          // write to read-only M11P29
      {0x45, "\x0B\x1C\x00\x00\x01X"s, 3},     // WriteDVD to read-only M11P28
      {0x45, "\x02\x03\x00\x05\x01X"s, 3},     // WriteDVD beyond the end + 1
      {0x45, "\x02\x03\x00\x00\x05X"s, 3},     // WriteDVD whose length byte lies
      {0x43, "\x0B"s, 3},                      // too short
      {0x42, "\x0B\x1D\x00"s, 3},              // too long
      {0x01, ""s, 1},                          // no loader in the running firmware
      {0x47, "\x00"s, 1},                      // unknown function
      {0x03, "\x0B\x1D"s, 1},                  // legacy code on a current drive
  };
  for (const auto& c : cases) {
    const std::string refusal{static_cast<char>(c.function | 0x80), static_cast<char>(c.code)};
    EXPECT_EQ(Ask(c.function, c.data), refusal) << int(c.function);
  }
}

TEST_F(DriveResponderTest, WritesChangeWhatLaterReadsReturn) {
  const auto outcome = responder.Respond(0x46, "\x02\x01\xFF\x9C"s);
  EXPECT_EQ(outcome.written, 201);
  EXPECT_EQ(responder.Table().Find(201)->value, -100);
  EXPECT_EQ(Ask(0x43, "\x02\x01"s), "\x43\x07\x02\x01\xFF\x9C\x00\x11\x00"s);

  EXPECT_EQ(responder.Respond(0x45, "\x0C\x0B\x00\x04\x05Turbo"s).written, 1211);  // appends
  EXPECT_EQ(Ask(0x44, "\x0C\x0B\x00\x04"s), "\x44\x08\x0C\x0B\x05Turbo"s);
  EXPECT_EQ(responder.Table().Find(1211)->valueNames.size(), 5U);
}

TEST_F(DriveResponderTest, ReadValueNamesTheCurrentValue) {
  responder.Respond(0x46, "\x02\x03\x00\x01"s);
  EXPECT_EQ(Ask(0x43, "\x02\x03"s), "\x43\x0E\x02\x03\x00\x01\x00\x10\x07S-Curve"s);
  responder.Respond(0x46, "\x02\x03\x00\x09"s);  // past the list: no name
  EXPECT_EQ(Ask(0x43, "\x02\x03"s), "\x43\x07\x02\x03\x00\x09\x00\x10\x00"s);
}

TEST_F(DriveResponderTest, LegacyDriveSwapsTheCodeFamilies) {
  responder.SetLegacy(true);
  EXPECT_EQ(Ask(0x43, "\x0B\x1D"s), "\xC3\x01"s);
  EXPECT_EQ(Ask(0x03, "\x0B\x1D"s), "\x03\x07\x0B\x1D\x08\x39\x82\x03\x00"s);
  EXPECT_EQ(Ask(0x06, "\x02\x01\x00\x07"s), "\x06\x02\x01\x00\x07"s);
  EXPECT_EQ(Ask(0x01, ""s), "\x81\x01"s);
}

TEST_F(DriveResponderTest, AcknowledgesFlashFunctions) {
  for (int function = 32; function <= 52; ++function) {
    EXPECT_EQ(Ask(static_cast<std::uint8_t>(function), "\x00\x10\x02\xAB\xCD"s),
              (std::string{static_cast<char>(function), 0}))
        << function;
  }
  EXPECT_EQ(Ask(31, ""s), "\x9F\x01"s);
  EXPECT_EQ(Ask(53, ""s), "\xB5\x01"s);
}

TEST_F(DriveResponderTest, AnswersWriteSingleCoilAndDeviceIdentificationAsTheStandardLaysThemOut) {
  // A coil is a bit parameter at register address menu, parameter: M04P04 set, then cleared.
  EXPECT_EQ(Ask(0x05, "\x04\x04\xFF\x00"s), "\x05\x04\x04\xFF\x00"s);
  EXPECT_EQ(responder.Table().Find(404)->value, 1);
  EXPECT_EQ(Ask(0x05, "\x04\x04\x00\x00"s), "\x05\x04\x04\x00\x00"s);
  EXPECT_EQ(responder.Table().Find(404)->value, 0);
  EXPECT_EQ(Ask(0x05, "\x02\x01\xFF\x00"s), "\x85\x02"s);  // not a bit parameter
  EXPECT_EQ(Ask(0x05, "\x04\x04\x00\x01"s), "\x85\x03"s);  // neither on nor off
  EXPECT_EQ(Ask(0x05, "\x05\x05\xFF\x00"s), "\x85\x03"s);  // read-only
  // On a legacy drive code 5 stays WriteDVD.
  responder.SetLegacy(true);
  EXPECT_EQ(Ask(0x05, "\x0C\x0B\x00\x01\x04" "Fast"s), "\x05\x04\x0C\x0B\x00\x01"s);
  responder.SetLegacy(false);

  EXPECT_EQ(Ask(0x2B, "\x0E\x01\x00"s),
            "\x2B\x0E\x01\x81\x00\x00\x03\x00\x08Quendrel\x01\x07QD-4007\x02\x05" "2.105"s);
  EXPECT_EQ(Ask(0x2B, "\x0E\x04\x01"s), "\x2B\x0E\x04\x81\x00\x00\x01\x01\x07QD-4007"s);
  EXPECT_EQ(Ask(0x2B, "\x0E\x01\x09"s).substr(0, 9), "\x2B\x0E\x01\x81\x00\x00\x03\x00\x08"s);
  EXPECT_EQ(Ask(0x2B, "\x0E\x04\x03"s), "\xAB\x02"s);
  EXPECT_EQ(Ask(0x2B, "\x0E\x05\x00"s), "\xAB\x03"s);
  // Any other payload is the drive's own flash function 43.
  EXPECT_EQ(Ask(0x2B, "\x03"s), "\x2B\x00"s);
}

TEST_F(DriveResponderTest, KeepsEibValuesInATable) {
  EXPECT_EQ(Ask(0x48, "\x00"s), "\x48\x02\x00\x00"s);
  responder.SetEthernet(true);
  EXPECT_EQ(Ask(0x48, "\x00"s), "\x48\x02\x00\x01"s);
  EXPECT_EQ(Ask(0x48, "\x01\x02"s), "\x48\x04\x01\x02\x00\x3C"s);
  EXPECT_EQ(Ask(0x48, "\x02\x02\x01\x2C\x01"s), "\x48\x04\x02\x02\x01\x2C"s);
  EXPECT_EQ(Ask(0x48, "\x01\x02"s), "\x48\x04\x01\x02\x01\x2C"s);
  EXPECT_EQ(Ask(0x48, "\x03"s), "\x48\x01\x03"s);
  EXPECT_EQ(Ask(0x48, "\x04\x00"s), "\x48\x01\x04"s);
  EXPECT_EQ(Ask(0x48, "\x01\x02"s), "\x48\x04\x01\x02\x01\x2C"s);  // reset without defaults keeps it
  EXPECT_EQ(Ask(0x48, "\x04\x01"s), "\x48\x01\x04"s);
  EXPECT_EQ(Ask(0x48, "\x01\x02"s), "\x48\x04\x01\x02\x00\x3C"s);
  EXPECT_EQ(Ask(0x48, "\x01\x0B"s), "\xC8\x02"s);
  EXPECT_EQ(Ask(0x48, "\x09"s), "\xC8\x01"s);
}

}  // namespace
}  // namespace quendrel
