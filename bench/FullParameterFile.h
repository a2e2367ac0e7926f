// A realistic full parameter set for the benchmarks: every slot present, drive-length names, scaled
// values, a PAD for every slot and a few value names.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/text/ParameterId.h"
#include "params/files/KVBFile.h"

namespace quendrel {

inline KVBFile FullParameterFile() {
  KVBFile set;
  set.SetDescription("Benchmark set, every slot present");
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) {
    set.SetIdentifier(n, ParameterIdText(n));
    set.SetName(n, "Parameter " + std::to_string(n));
    set.SetValue(n, std::to_string(n % 977) + ".25");
    set.SetPAD(n, "0000000000010010");
    for (std::int32_t k = 0; k < n % 5; ++k) set.AddDVD(n, k, "Choice " + std::to_string(k));
  }
  return set;
}

}  // namespace quendrel
