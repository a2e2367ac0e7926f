// The simulated drive's parameters by number, and the text format they are loaded from.
#pragma once

#include <cstdint>
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

  // A parameter the drive refuses to read or write with this exception code (its PAD still reads).
  bool AddException(int number, std::uint8_t code);  // false when the number has one or is out of range
  std::optional<std::uint8_t> Exception(int number) const;

 private:
  std::map<int, SimParameter> parameters_;
  std::map<int, std::uint8_t> exceptions_;
};

}  // namespace quendrel
