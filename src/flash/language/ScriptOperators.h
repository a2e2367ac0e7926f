// The operators of version-2 script expressions on script values, and the test against 0 that the
// logical operators, "!" and "if" share.
#pragma once

#include <string>

#include "foundation/values/Variant.h"

namespace quendrel {

// Operators raise RuntimeError for operands they cannot take (a non-numeric text in arithmetic,
// division by zero, a value out of an integer's range); the statement then fails as a whole.
class ScriptOperators {
 public:
  // A value as a binary operator sees it: its text without enclosing quotes, as a number when
  // that text is exactly how the number would be written, else as that text.
  static Variant Operand(const Variant& value);
  // Applies a binary operator to two operands; an unknown operator gives 0.
  static Variant Apply(const std::string& op, const Variant& left, const Variant& right);
  // Whether the value differs from 0: empty is 0, a Boolean its truth, a text must read as a number.
  static bool IsNonZero(const Variant& value);
  // The value as a number for arithmetic: a text must be a number text as a whole.
  static double Number(const Variant& value);
  // A NUMBER literal's value: decimal, "&H" or "0x" hexadecimal, anything unreadable 0.
  static double LiteralNumber(const std::string& text);
};

}  // namespace quendrel
