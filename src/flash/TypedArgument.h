// Reads the numbers a user types into the drive test window: a slip that holds no number, or a value
// no drive field can take, must never reach the drive as 0.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quendrel {

// The text's leading number rounded half to even; nothing when the text holds no number or the
// rounded value lies beyond the 32-bit range.
std::optional<double> TypedWholeNumber(std::string_view text);

// True when a whole number fits a 32-bit field.
bool InInt32Range(double value);

// The leading number of a box that rewrites its own text (address, poll period): a text without a
// number, or beyond the 32-bit range, counts as 0.
double BoxNumber(std::string_view text);

// The report of a refused argument: nothing was sent because `field` holds no usable number.
std::string RefusalReport(std::string_view field);

}  // namespace quendrel
