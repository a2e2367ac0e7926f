// The settings of a drive's Ethernet interface (EIB) that "ReadEIBValue" and "SetEIBValue" select.
#pragma once

namespace quendrel {

enum eibValueConstants : int {
  eibValueSerialTimeout = 1,
  eibValueEthernetTimeout = 2,
  eibValueMBTCPEnable = 3,
  eibValueVSIOEnable = 4,
  eibValueSIOEnable = 5,
  eibValueScanEnable = 6,
  eibValueDriveParity = 7,
  eibValueDriveBaud = 8,
  eibValueSIOParity = 9,
  eibValueSIOBaud = 10,
};

}  // namespace quendrel
