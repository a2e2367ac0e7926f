// One quick setup binding row: which drive parameters configure what a keypad slot shows.
#pragma once

#include <cstdint>

namespace quendrel {

// -1 means "none" in every field; in the name and scale fields 0 means "none" as well.
struct udtBindingData {
  std::int32_t pParameter = -1;   // the quick setup slot, M00Pnn
  std::int32_t pBound = -1;       // pointer: its value read as MM.PP names the parameter the slot shows
  std::int32_t pNameBound = -1;   // the slot's name choice
  std::int32_t pScaleBound = -1;  // the slot's scale

  friend bool operator==(const udtBindingData&, const udtBindingData&) = default;
};

}  // namespace quendrel
