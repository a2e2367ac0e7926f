// Readable names for the cases of a parameterised suite: the case's number and a few words of
// what it is, reduced to the letters, digits and underscores a test name may hold.
#pragma once

#include <cctype>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace quendrel {

inline std::string CaseName(std::size_t index, std::string_view description) {
  std::string name = std::to_string(index);
  bool gap = true;
  for (const char c : description) {
    if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
      if (gap) name += '_';
      name += c;
      gap = false;
    } else {
      gap = true;
    }
  }
  return name;
}

// A name generator for suites whose case type has a text that says what the case is.
template <auto Member>
struct NameByField {
  template <class Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
    return CaseName(info.index, std::string_view(info.param.*Member));
  }
};

}  // namespace quendrel
