#include "foundation/values/Variant.h"

#include <algorithm>
#include <string>

#include "foundation/text/NumberText.h"
#include "foundation/values/RuntimeError.h"

namespace quendrel {

namespace {

[[noreturn]] void ThrowTypeMismatch() {
  throw RuntimeError(errTypeMismatch, "Variant", "Type mismatch");
}

template <class T>
int ThreeWay(T a, T b) {
  return (a > b) - (a < b);
}

}  // namespace

bool Variant::IsNumeric() const {
  switch (Type()) {
    case Kind::Double:
    case Kind::Int16:
    case Kind::Int32:
    case Kind::Boolean:
      return true;
    default:
      return false;
  }
}

double Variant::AsDouble() const {
  switch (Type()) {
    case Kind::Empty:
      return 0;
    case Kind::Double:
      return std::get<double>(value_);
    case Kind::Int16:
      return std::get<std::int16_t>(value_);
    case Kind::Int32:
      return std::get<std::int32_t>(value_);
    case Kind::Boolean:
      return std::get<bool>(value_) ? -1 : 0;
    case Kind::Text: {
      const auto number = NumericTextValue(std::get<std::string>(value_));
      if (!number) ThrowTypeMismatch();
      return *number;
    }
    case Kind::Object:
      break;
  }
  ThrowTypeMismatch();
}

std::string Variant::AsText() const {
  switch (Type()) {
    case Kind::Empty:
      return {};
    case Kind::Double:
      return DoubleToText(std::get<double>(value_));
    case Kind::Int16:
      return std::to_string(std::get<std::int16_t>(value_));
    case Kind::Int32:
      return std::to_string(std::get<std::int32_t>(value_));
    case Kind::Boolean:
      return std::get<bool>(value_) ? "True" : "False";
    case Kind::Text:
      return std::get<std::string>(value_);
    case Kind::Object:
      break;
  }
  ThrowTypeMismatch();
}

const void* Variant::ObjectAddress() const {
  const auto* ref = std::get_if<ObjectRef>(&value_);
  return ref == nullptr ? nullptr : ref->pointer.get();
}

int Variant::Compare(const Variant& left, const Variant& right) {
  if (left.IsObject() || right.IsObject()) ThrowTypeMismatch();
  const bool leftText = left.Type() == Kind::Text;
  const bool rightText = right.Type() == Kind::Text;
  if (leftText && rightText) {
    // Byte order (char_traits compares as unsigned char, so 0xE9 sorts after "z").
    const auto& a = std::get<std::string>(left.value_);
    const auto& b = std::get<std::string>(right.value_);
    const int order =
        std::char_traits<char>::compare(a.data(), b.data(), std::min(a.size(), b.size()));
    if (order != 0) return order < 0 ? -1 : 1;
    return ThreeWay(a.size(), b.size());
  }
  // Empty takes the kind of the other side: "" against a text, 0 against a number.
  if (leftText) return right.IsEmpty() ? Compare(left, Variant(std::string())) : 1;
  if (rightText) return left.IsEmpty() ? Compare(Variant(std::string()), right) : -1;
  return ThreeWay(left.AsDouble(), right.AsDouble());
}

bool operator==(const Variant& left, const Variant& right) {
  if (left.IsObject() || right.IsObject()) {
    return left.IsObject() && right.IsObject() && left.ObjectAddress() == right.ObjectAddress();
  }
  return Variant::Compare(left, right) == 0;
}

}  // namespace quendrel
