// Rounds a single-precision count up to a whole number, as the graph legend does when it spreads entries over rows.
#pragma once

#include <cstdint>

namespace quendrel {

// x itself when x is whole, otherwise the next whole number above it (2.1 gives 3, -2.5 gives -2).
// Raises RuntimeError 6 "Overflow" when the result lies outside the 32-bit range or x is not a number.
std::int32_t RoundToLong(float x);

}  // namespace quendrel
