// How the drive keypad shows a quick setup menu: its number layout, its character set and its two
// 16-character lines, and how Up and Down move through the menu. Texts are Latin-1 bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quendrel {

inline constexpr int kKeypadLineWidth = 16;
// The keypad's yen sign, which it shows where a backslash was sent.
inline constexpr char kKeypadYen = static_cast<char>(165);

// A value text in the keypad's six-character number field: "0012.5" for 12.5 with one decimal, "00037 "
// for 37. Longer results keep their last six characters (a minus sign is lost, as on the keypad); five or
// more decimals give the empty text.
std::string KeypadNumber(std::string_view valueText);

// A line as the keypad shows it: a 16-character field cut or padded with blanks, ended at the first
// character below 32 or above 122, a backslash becoming the yen sign.
std::string KeypadDisplayText(std::string_view line);

// Line 2 for a parameter shown as a number, for one shown by a value name, and for a slot that shows
// nothing.
std::string KeypadNumberLine(std::int32_t slot, std::string_view valueText);
std::string KeypadValueNameLine(std::int32_t slot, std::string_view valueName);
std::string KeypadIdLine(std::int32_t slot);

// The next preview position from start among 0 (the menu header) and 1..count: Up counts up, Down
// down, both wrapping; positions whose slot is not set are passed over, the header never.
std::int32_t MovePreviewPosition(std::int32_t start, bool up, std::int32_t count,
                                 const std::function<bool(std::int32_t)>& isSet);

}  // namespace quendrel
