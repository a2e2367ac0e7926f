// The saved design-time settings of a control: typed values under their keys, fonts among them,
// with a value equal to its default left out so that stored forms list only what was changed.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <variant>

#include "platform/CanvasFont.h"

namespace quendrel {

// A stored setting's key together with the type it holds and the value it has when absent.
template <typename T>
struct PropertyKey {
  std::string_view Name;
  T Default;
};

class PropertyBag {
 public:
  using Value = std::variant<std::string, bool, std::int32_t, double, CanvasFont>;

  bool Has(std::string_view name) const { return values_.find(name) != values_.end(); }

  // The stored value, or the key's default when the key is absent or holds another type.
  template <typename T>
  T Read(const PropertyKey<T>& key) const {
    const auto found = values_.find(key.Name);
    if (found == values_.end()) return key.Default;
    const T* stored = std::get_if<T>(&found->second);
    return stored == nullptr ? key.Default : *stored;
  }

  // Stores the value, or forgets the key when the value is its default.
  template <typename T>
  void Write(const PropertyKey<T>& key, const T& value) {
    if (value == key.Default) {
      Erase(key.Name);
      return;
    }
    values_.insert_or_assign(std::string(key.Name), Value(value));
  }

  std::size_t Count() const { return values_.size(); }

 private:
  void Erase(std::string_view name);

  std::map<std::string, Value, std::less<>> values_;
};

}  // namespace quendrel
