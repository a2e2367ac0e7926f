// The simulated drive's parameters by number, and the text format they are loaded from.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "drivesim/SimParameter.h"

namespace quendrel {

class ParameterTable {
 public:
  // Reads the line format described in ParameterTable.cpp; on failure returns nothing and
  // sets error to "line <n>: <reason>".
  static std::optional<ParameterTable> FromText(std::string_view text, std::string& error);

  bool Add(SimParameter parameter);  // false when the number is taken or out of range
  SimParameter* Find(int number);
  const SimParameter* Find(int number) const;
  std::size_t Size() const { return parameters_.size(); }
  const std::map<int, SimParameter>& Parameters() const { return parameters_; }

 private:
  std::map<int, SimParameter> parameters_;
};

}  // namespace quendrel
