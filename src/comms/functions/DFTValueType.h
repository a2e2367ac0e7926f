// The types of the request and reply fields of drive functions, and their names as the drive test
// window lists them.
#pragma once

#include <string>

namespace quendrel {

enum DFTValueType : int {
  dftByte = 0,
  dftShort = 1,   // signed, high byte first
  dftMedium = 2,  // the low three bytes of a 32-bit value, high byte first
  dftLong = 3,    // signed, high byte first
  dftString = 4,
  dftFixed = 5,     // a 16-bit raw value with a fixed number of decimals
  dftMxxPxx = 6,    // menu and parameter bytes
  dftCharacter = 7,
};

// "8-bit Integer", "16-bit Integer", ...; "Unknown Type" for any other value.
std::string DFTValueTypeText(int type);

}  // namespace quendrel
