#include "flash/language/ScriptOperators.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <map>

#include "foundation/text/NumberText.h"
#include "foundation/text/TextChecks.h"
#include "foundation/values/RuntimeError.h"

namespace quendrel {

namespace {

[[noreturn]] void OperandError(const std::string& what) {
  throw RuntimeError(errTypeMismatch, "ScriptEvaluator", "Type mismatch: " + what);
}

bool IsText(const Variant& value) { return value.Type() == Variant::Kind::Text; }

double Checked(double value) {
  if (!std::isfinite(value)) OperandError("result out of range");
  return value;
}

std::int32_t Whole(const Variant& value) { return ToInt32Checked(ScriptOperators::Number(value)); }

Variant Flag(bool holds) { return Variant(static_cast<std::int16_t>(holds ? 1 : 0)); }

Variant Add(const Variant& left, const Variant& right) {
  if (IsText(left) && IsText(right)) return Variant(left.AsText() + right.AsText());
  return Variant(Checked(ScriptOperators::Number(left) + ScriptOperators::Number(right)));
}

double Divisor(const Variant& value) {
  const double divisor = Whole(value);
  if (divisor == 0) OperandError("division by zero");
  return divisor;
}

Variant IntegerQuotient(const Variant& left, const Variant& right) {
  const double divisor = Divisor(right);
  return Variant(std::trunc(static_cast<double>(Whole(left)) / divisor));
}

Variant Remainder(const Variant& left, const Variant& right) {
  const double divisor = Divisor(right);
  return Variant(std::fmod(static_cast<double>(Whole(left)), divisor));
}

Variant Quotient(const Variant& left, const Variant& right) {
  const double divisor = ScriptOperators::Number(right);
  if (divisor == 0) OperandError("division by zero");
  return Variant(Checked(ScriptOperators::Number(left) / divisor));
}

Variant ShiftLeft(const Variant& left, const Variant& right) {
  const double shifted = ToInt16Checked(ScriptOperators::Number(left)) *
                         std::pow(2.0, ToInt16Checked(ScriptOperators::Number(right)));
  return Variant(ToInt16Checked(shifted));
}

Variant ShiftRight(const Variant& left, const Variant& right) {
  const double shifted = ToInt16Checked(ScriptOperators::Number(left)) /
                         std::pow(2.0, ToInt16Checked(ScriptOperators::Number(right)));
  return Variant(ToInt16Checked(std::trunc(shifted)));
}

using BinaryOperator = std::function<Variant(const Variant&, const Variant&)>;

const std::map<std::string, BinaryOperator>& Operators() {
  using V = const Variant&;
  static const std::map<std::string, BinaryOperator> table = {
      {"&&", [](V l, V r) { return Variant(ScriptOperators::IsNonZero(l) && ScriptOperators::IsNonZero(r)); }},
      {"||", [](V l, V r) { return Variant(ScriptOperators::IsNonZero(l) || ScriptOperators::IsNonZero(r)); }},
      {"^^", [](V l, V r) { return Variant(ScriptOperators::IsNonZero(l) != ScriptOperators::IsNonZero(r)); }},
      {"==", [](V l, V r) { return Flag(Variant::Compare(l, r) == 0); }},
      {"!=", [](V l, V r) { return Flag(Variant::Compare(l, r) != 0); }},
      {">=", [](V l, V r) { return Flag(Variant::Compare(l, r) >= 0); }},
      {"<=", [](V l, V r) { return Flag(Variant::Compare(l, r) <= 0); }},
      {">", [](V l, V r) { return Flag(Variant::Compare(l, r) > 0); }},
      {"<", [](V l, V r) { return Flag(Variant::Compare(l, r) < 0); }},
      {"+", Add},
      {"-", [](V l, V r) { return Variant(Checked(ScriptOperators::Number(l) - ScriptOperators::Number(r))); }},
      {".", [](V l, V r) { return Variant("\"" + l.AsText() + r.AsText() + "\""); }},
      {"*", [](V l, V r) { return Variant(Checked(ScriptOperators::Number(l) * ScriptOperators::Number(r))); }},
      {"/", Quotient},
      {"\\", IntegerQuotient},
      {"%", Remainder},
      {"&", [](V l, V r) { return Variant(static_cast<std::int32_t>(Whole(l) & Whole(r))); }},
      {"|", [](V l, V r) { return Variant(static_cast<std::int32_t>(Whole(l) | Whole(r))); }},
      {"^", [](V l, V r) { return Variant(static_cast<std::int32_t>(Whole(l) ^ Whole(r))); }},
      {"<<", ShiftLeft},
      {">>", ShiftRight},
  };
  return table;
}

}  // namespace

Variant ScriptOperators::Operand(const Variant& value) {
  std::string text = StripQuotes(value.AsText());
  const double number = LeadingNumber(text);
  if (HasLeadingNumber(text) && DoubleToText(number) == text) return Variant(number);
  return Variant(std::move(text));
}

Variant ScriptOperators::Apply(const std::string& op, const Variant& left, const Variant& right) {
  const auto& table = Operators();
  const auto found = table.find(op);
  if (found == table.end()) return Variant(std::int16_t{0});
  return found->second(left, right);
}

bool ScriptOperators::IsNonZero(const Variant& value) {
  switch (value.Type()) {
    case Variant::Kind::Empty:
      return false;
    case Variant::Kind::Boolean:
      return value.AsText() == "True";
    case Variant::Kind::Text:
      return !value.AsText().empty() && Number(value) != 0;
    default:
      return value.AsDouble() != 0;
  }
}

double ScriptOperators::Number(const Variant& value) {
  if (!IsText(value)) return value.AsDouble();
  const auto number = NumericTextValue(value.AsText());
  if (!number) OperandError("\"" + value.AsText() + "\" is no number");
  return *number;
}

double ScriptOperators::LiteralNumber(const std::string& text) {
  const std::string bare = StripQuotes(text);
  if (bare.size() > 2 && bare[0] == '0' && (bare[1] == 'x' || bare[1] == 'X')) {
    return LeadingNumber("&H" + bare.substr(2));
  }
  return LeadingNumber(bare);
}

}  // namespace quendrel
