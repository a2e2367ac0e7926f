#pragma once

// A value of any of the kinds the lists and the script engine pass around: empty, double,
// 16- or 32-bit integer, Boolean, text or a shared object reference.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <typeinfo>
#include <utility>
#include <variant>

namespace quendrel {

class Variant {
 public:
  enum class Kind { Empty, Double, Int16, Int32, Boolean, Text, Object };

  Variant() = default;
  Variant(double value) : value_(value) {}
  Variant(std::int16_t value) : value_(value) {}
  Variant(std::int32_t value) : value_(value) {}
  Variant(bool value) : value_(value) {}
  Variant(std::string value) : value_(std::move(value)) {}
  Variant(std::string_view value) : value_(std::string(value)) {}
  // Without this a string literal would pick the bool constructor.
  Variant(const char* value) : value_(std::string(value)) {}
  template <class T>
  Variant(std::shared_ptr<T> object)
      : value_(ObjectRef{std::static_pointer_cast<void>(std::move(object)), typeid(T)}) {}

  Kind Type() const { return static_cast<Kind>(value_.index()); }
  bool IsEmpty() const { return Type() == Kind::Empty; }
  bool IsObject() const { return Type() == Kind::Object; }
  // Double, either integer size or Boolean: the kinds that compare as numbers.
  bool IsNumeric() const;

  // The value as a double: Empty is 0, True is -1, a text must be a number text as a whole
  // ("12.5", " &HFF "). Raises a type mismatch for other texts and for objects.
  double AsDouble() const;
  // The value as text: Empty is "", Booleans are "True"/"False", numbers never depend on the
  // locale. Raises a type mismatch for objects.
  std::string AsText() const;
  // The object held when it was stored as a std::shared_ptr<T>, else nullptr.
  template <class T>
  std::shared_ptr<T> AsObject() const {
    const auto* ref = std::get_if<ObjectRef>(&value_);
    if (ref == nullptr || ref->type != std::type_index(typeid(T))) return nullptr;
    return std::static_pointer_cast<T>(ref->pointer);
  }
  const void* ObjectAddress() const;

  // Orders two values: numbers (Empty as 0, Booleans as -1/0) by value, texts (Empty as "") by
  // their bytes, and any number before any text. Raises a type mismatch when either is an
  // object. Returns -1, 0 or 1.
  static int Compare(const Variant& left, const Variant& right);

  // Same value under Compare; objects are equal only to the same object.
  friend bool operator==(const Variant& left, const Variant& right);

 private:
  struct ObjectRef {
    std::shared_ptr<void> pointer;
    std::type_index type;
  };

  std::variant<std::monostate, double, std::int16_t, std::int32_t, bool, std::string, ObjectRef>
      value_;
};

}  // namespace quendrel
