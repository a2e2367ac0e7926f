// The parts of a parameter that an upload reads, as bits of one mask.
#pragma once

#include <cstdint>

namespace quendrel {

enum KVDUploadTypes : std::int32_t {
  kvdUploadName = 1,
  kvdUploadValue = 2,
  kvdUploadPAD = 4,
  kvdUploadDVD = 8,
};

inline constexpr std::int32_t kvdUploadAll = kvdUploadName | kvdUploadValue | kvdUploadPAD | kvdUploadDVD;

}  // namespace quendrel
