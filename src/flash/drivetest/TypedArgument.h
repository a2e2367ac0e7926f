// Reads the numbers a user types into the drive test window: a slip that holds no number, or a value
// no drive field can take, must never reach the drive as 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "comms/functions/DFTValueType.h"
#include "foundation/values/Variant.h"

namespace quendrel {

// The text's leading number rounded half to even; nothing when TypedNumberValue refuses the text (no
// number, or a digit after it) or the rounded value lies beyond the 32-bit range.
std::optional<double> TypedWholeNumber(std::string_view text);
// The leading number of a text TypedWholeNumber accepts, not yet rounded, for a caller that sums
// several before rounding once; nothing where TypedWholeNumber refuses the text.
std::optional<double> TypedNumberBeforeRounding(std::string_view text);

// True when a numeric request field can carry the number a user typed, as its bytes will: false when
// TypedNumberValue refuses the text or the rounded value lies outside what the field's width holds, signed
// or unsigned: -2^(n-1) .. 2^n - 1 for n bits, so a byte takes -128..255 and a short -32768..65535. A
// fixed-point field is held to that for its raw word (1.5 with two decimals is 150); in a field wider
// than 16 bits an "&H" or "&O" number counts as the unsigned value of its digits, as it is sent.
bool FieldTakesTypedNumber(std::string_view text, DFTValueType type, int decimals = 0);

// The value a request carries for a text FieldTakesTypedNumber accepted. The request encoder takes only
// texts that are wholly a number, so a unit after the number ("12 Hz") is left behind here.
Variant TypedArgumentValue(std::string_view text, DFTValueType type);

// The parameter number a Menu and a Parameter cell name together, 100 x menu + parameter rounded once
// (Menu 7 and Parameter 12.5 give 712, Menu 1.5 and Parameter 2 give 152). The request carries it as a
// menu byte (number div 100) and a parameter byte (number mod 100), so a menu beyond 0..255 or a
// parameter beyond 0..99 would land on another parameter (Menu 258 on M02, Parameter -1 on the menu
// below): nothing then, and `refused` names the cell ("Menu" or "Parameter").
std::optional<std::int32_t> ParameterNumberFromCells(std::string_view menu, std::string_view parameter,
                                                     std::string& refused);

// True when a whole number fits a 32-bit field.
bool InInt32Range(double value);

// The leading number of a box that rewrites its own text (address, poll period): a text without a
// number, or beyond the 32-bit range, counts as 0.
double BoxNumber(std::string_view text);

// The report of a refused argument: nothing was sent because `field` holds no usable number.
std::string RefusalReport(std::string_view field);

}  // namespace quendrel
