#include "foundation/values/RoundToLong.h"

#include <cmath>

#include "foundation/text/NumberText.h"

namespace quendrel {

std::int32_t RoundToLong(float x) {
  // Rounding up in double keeps values just below a whole number (0.99999994) from being pushed past it.
  return ToInt32Checked(std::ceil(static_cast<double>(x)));
}

}  // namespace quendrel
