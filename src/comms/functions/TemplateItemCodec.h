// Turns argument texts into request bytes and reply bytes into value texts, by a template item's type.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "comms/functions/udtTemplateItem.h"

namespace quendrel {

class TemplateItemCodec {
 public:
  struct Value {
    std::string text;
    // Whole-number items: the value, so a later string can take its length from it.
    double number = 0;
  };
  // Whole-number values decoded so far, by item name.
  using Earlier = std::map<std::string, double>;

  // Appends the item's bytes. Numbers are the leading number of the text (decimal, or "&H" and
  // hexadecimal), rounded and reduced to the item's width; in a field wider than 16 bits an "&H" or
  // "&O" number is the unsigned value of its digits. Characters and strings lose their enclosing
  // double quotes, as scripts pass their string literals with them.
  static void Encode(const udtTemplateItem& item, const std::string& argument, std::string& out);

  // Reads the item at `at` and moves `at` past it; nothing when the data ends too soon.
  static std::optional<Value> Decode(const udtTemplateItem& item, std::string_view data, std::size_t& at,
                                     const Earlier& earlier);

  // The argument as a whole number: the leading number, rounded half to even.
  static long long WholeNumber(const std::string& argument);
};

}  // namespace quendrel
