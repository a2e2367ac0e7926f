// One parameter of the simulated drive: what the drive reports for it and whether it takes writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quendrel {

struct SimParameter {
  int number = 0;  // menu * 100 + parameter
  std::string name;
  std::uint16_t pad = 0;  // bit 0-1 decimals, bit 2 bit parameter, bit 4 writable, bits 5-6 security level
  std::int16_t value = 0;
  std::vector<std::string> valueNames;  // indexed by value
  bool readOnly = false;

  int Menu() const { return number / 100; }
  int Parameter() const { return number % 100; }
};

}  // namespace quendrel
