#include "comms/functions/DFTValueType.h"

namespace quendrel {

std::string DFTValueTypeText(int type) {
  switch (type) {
    case dftByte:
      return "8-bit Integer";
    case dftShort:
      return "16-bit Integer";
    case dftMedium:
      return "24-bit Integer";
    case dftLong:
      return "32-bit Integer";
    case dftString:
      return "String";
    case dftFixed:
      return "Fixed-Point Decimal";
    case dftMxxPxx:
      return "Menu/Parameter";
    case dftCharacter:
      return "ASCII Character";
    default:
      return "Unknown Type";
  }
}

}  // namespace quendrel
