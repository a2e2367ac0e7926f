// The running drive firmware's answers to requests: parameter services, flash and EIB functions.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "drivesim/ParameterTable.h"

namespace quendrel {

class DriveResponder {
 public:
  // Modbus exception codes the drive answers with.
  static constexpr std::uint8_t kIllegalFunction = 1;
  static constexpr std::uint8_t kIllegalAddress = 2;  // no such parameter
  static constexpr std::uint8_t kIllegalValue = 3;    // past the end of a list, read-only, bad layout

  struct Outcome {
    std::optional<std::string> pdu;  // function byte first; nothing means the drive keeps silent
    std::optional<int> written;      // the parameter a write changed
  };

  explicit DriveResponder(ParameterTable table) : table_(std::move(table)) {}

  // Legacy drives serve the parameter services on codes 2-6 and refuse 0x42-0x46; others the reverse.
  void SetLegacy(bool legacy) { legacy_ = legacy; }
  bool Legacy() const { return legacy_; }
  // Whether the drive is reached through its Ethernet interface (the EIB's "is Ethernet" answer).
  void SetEthernet(bool ethernet) { ethernet_ = ethernet; }

  Outcome Respond(std::uint8_t function, std::string_view data);

  ParameterTable& Table() { return table_; }
  const ParameterTable& Table() const { return table_; }

 private:
  Outcome ParameterService(int service, std::uint8_t function, std::string_view data);
  std::optional<std::uint8_t> RefusedService(int service, int number, int target) const;
  int BoundTarget(int number) const;
  // Reads answer under the number asked for (echo), which differs from the parameter's for a bound slot.
  Outcome ReadPad(std::uint8_t function, int echo, const SimParameter& parameter) const;
  Outcome ReadValue(std::uint8_t function, int echo, const SimParameter& parameter) const;
  Outcome ReadName(std::uint8_t function, int echo, const SimParameter& parameter, std::string_view data) const;
  Outcome WriteDvd(std::uint8_t function, SimParameter& parameter, std::string_view data);
  Outcome WriteValue(std::uint8_t function, SimParameter& parameter, std::string_view data);
  Outcome Eib(std::uint8_t function, std::string_view data);
  Outcome WriteRegisters(std::uint8_t function, std::string_view data);

  ParameterTable table_;
  bool legacy_ = false;
  bool ethernet_ = false;
  std::map<int, int> eibValues_;
};

}  // namespace quendrel
