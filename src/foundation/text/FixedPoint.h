// Turns a parameter's PAD flags into its decimal places and shows raw and scaled values with them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quendrel {

// The PAD is a text of "0"/"1" flags with bit 0 rightmost; its two lowest bits give 0..3 decimal places
// (2 × bit 1 + bit 0). Missing bits count as clear, so a short or empty PAD gives 0.
std::int16_t DecimalPlacesFromFlags(std::string_view pad);

// "######0", then "." and one "0" per decimal place when there are any: "######0.00" for two.
std::string FixedPointFormat(int decimalPlaces);
std::string FixedPointFormat(std::string_view pad);

// A value text formatted with FixedPointFormat(pad). A text that is not a number ("" for an absent value)
// comes back as it is rather than turning into a made-up 0.
std::string FormatFixedPointText(std::string_view valueText, std::string_view pad);
std::string FormatFixedPointText(double value, std::string_view pad);

// A raw drive integer text divided by 10 to the power of the PAD's decimal places and formatted with
// FixedPointFormat(pad): "1234" with two places gives "12.34". Text that is not a number comes back as it is.
std::string ScaleFixedPointValue(std::string_view rawText, std::string_view pad);

}  // namespace quendrel
