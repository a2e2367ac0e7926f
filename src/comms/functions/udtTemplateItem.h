// One typed field of a drive function's request or reply.
#pragma once

#include <string>

#include "comms/functions/DFTValueType.h"

namespace quendrel {

struct udtTemplateItem {
  std::string Name;
  // Shown beside the field in the drive test window and in reports.
  std::string Description;
  DFTValueType Type = dftByte;
  // For a string: "0" when a length byte precedes it, else the name of an earlier item holding
  // its length.
  std::string Length;
  // For a fixed-point value: the places after the decimal point.
  int Decimals = 0;
};

}  // namespace quendrel
