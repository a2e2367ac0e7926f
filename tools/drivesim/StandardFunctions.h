// The standard Modbus functions the simulated drive answers the way any Modbus device does, so a
// client can be tried against replies laid out by the standard rather than by the drive.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "drivesim/ParameterTable.h"

namespace quendrel {

class StandardFunctions {
 public:
  static constexpr std::uint8_t kWriteSingleCoil = 0x05;
  static constexpr std::uint8_t kEncapsulatedInterface = 0x2B;

  // Coil address hi, lo is menu, parameter of a bit parameter; FF 00 sets it to 1, 00 00 to 0. The
  // answer echoes the request's four data bytes. The PDU, function byte first.
  static std::string WriteSingleCoil(ParameterTable& table, std::string_view data);

  // Function 0x2B carries read device identification when its first data byte is 0x0E; the drive's
  // own flash function shares the code.
  static bool IsDeviceIdentification(std::string_view data);
  // The basic objects: 0 vendor "Quendrel", 1 product code (the model M11P28 names), 2 revision
  // (M11P29 with its decimals). Codes 1-3 stream them from the object asked for (an unknown one
  // restarts at 0); code 4 gives the one object asked for.
  static std::string ReadDeviceIdentification(const ParameterTable& table, std::string_view data);
};

}  // namespace quendrel
