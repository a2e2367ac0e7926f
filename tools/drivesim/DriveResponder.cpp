#include "drivesim/DriveResponder.h"

#include "drivesim/SimFrame.h"
#include "drivesim/StandardFunctions.h"

namespace quendrel {

namespace {

constexpr std::uint8_t kModernBase = 0x40;
constexpr std::uint8_t kEibFunction = 0x48;
constexpr std::uint8_t kFirstFlashFunction = 32;
constexpr std::uint8_t kLastFlashFunction = 52;
constexpr std::uint8_t kWriteMultipleRegisters = 0x10;
// The standard limit of registers in one write.
constexpr int kMaxRegistersWritten = 123;
// Keypad slots M00P01-M00P09 take their parameter from the pointers M12P01-M12P09, whose raw value is the
// parameter number (two decimals on the keypad: 1.01 is M01P01). A pointer naming no parameter leaves
// the slot its own row.
constexpr int kLastSlot = 9;
constexpr int kPointerBase = 1200;
constexpr int kParameterCount = 2100;

enum Service { kReadPad = 2, kReadValue = 3, kReadName = 4, kWriteDvd = 5, kWriteValue = 6 };

// EIB sub-commands, the first data byte of function 0x48.
enum EibCommand { kIsEthernet = 0, kReadEib = 1, kSetEib = 2, kSaveEib = 3, kResetEib = 4 };

int Word(std::string_view data, std::size_t at) {
  return (static_cast<std::uint8_t>(data[at]) << 8) | static_cast<std::uint8_t>(data[at + 1]);
}

void AppendWord(std::string& out, int value) {
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
  out.push_back(static_cast<char>(value & 0xFF));
}

std::string MenuParam(int number) { return {static_cast<char>(number / 100), static_cast<char>(number % 100)}; }

DriveResponder::Outcome Reply(std::uint8_t function, std::string_view data) {
  return {SimFrame::CountedReply(function, data), std::nullopt};
}

DriveResponder::Outcome Refuse(std::uint8_t function, std::uint8_t code) {
  return {SimFrame::ExceptionReply(function, code), std::nullopt};
}

// The values a factory reset of the EIB restores, by selector.
const std::map<int, int>& EibDefaults() {
  static const std::map<int, int> defaults{{1, 20}, {2, 60}, {3, 1}, {4, 0}, {5, 1},
                                           {6, 0},  {7, 0},  {8, 6}, {9, 0}, {10, 6}};
  return defaults;
}

}  // namespace

DriveResponder::Outcome DriveResponder::Respond(std::uint8_t function, std::string_view data) {
  // Only a legacy drive takes code 5 for WriteDVD; a current one writes a coil, as any Modbus device does.
  if (function == StandardFunctions::kWriteSingleCoil && !legacy_) {
    return {StandardFunctions::WriteSingleCoil(table_, data), std::nullopt};
  }
  if (function == StandardFunctions::kEncapsulatedInterface && StandardFunctions::IsDeviceIdentification(data)) {
    return {StandardFunctions::ReadDeviceIdentification(table_, data), std::nullopt};
  }
  const int service = function >= kModernBase ? function - kModernBase : function;
  const bool parameterCode = service >= kReadPad && service <= kWriteValue;
  if (parameterCode) {
    // A legacy drive only knows the low codes, a current one only the high ones.
    if ((function >= kModernBase) == legacy_) return Refuse(function, kIllegalFunction);
    return ParameterService(service, function, data);
  }
  if (function == kEibFunction) return Eib(function, data);
  if (function == kWriteMultipleRegisters) return WriteRegisters(function, data);
  if (function >= kFirstFlashFunction && function <= kLastFlashFunction) return Reply(function, {});
  // Function 1 included: only the flash loader answers it, never the running firmware.
  return Refuse(function, kIllegalFunction);
}

DriveResponder::Outcome DriveResponder::ParameterService(int service, std::uint8_t function,
                                                         std::string_view data) {
  if (data.size() < 2) return Refuse(function, kIllegalValue);
  if (static_cast<std::uint8_t>(data[1]) >= 100) return Refuse(function, kIllegalAddress);
  const int number = static_cast<std::uint8_t>(data[0]) * 100 + static_cast<std::uint8_t>(data[1]);
  const int target = BoundTarget(number);
  if (const auto code = RefusedService(service, number, target)) return Refuse(function, *code);
  SimParameter* parameter = table_.Find(target);
  if (parameter == nullptr) return Refuse(function, kIllegalAddress);
  const bool plainRead = service == kReadPad || service == kReadValue;
  if (plainRead && data.size() != 2) return Refuse(function, kIllegalValue);
  switch (service) {
    case kReadPad:
      return ReadPad(function, number, *parameter);
    case kReadValue:
      return ReadValue(function, number, *parameter);
    case kReadName:
      return ReadName(function, number, *parameter, data);
    case kWriteDvd:
      return WriteDvd(function, *parameter, data);
    default:
      return WriteValue(function, *parameter, data);
  }
}

// The table's exception entries cover every service but the PAD, for the slot asked for and for the
// parameter it shows.
std::optional<std::uint8_t> DriveResponder::RefusedService(int service, int number, int target) const {
  if (service == kReadPad) return std::nullopt;
  if (const auto code = table_.Exception(number)) return code;
  return table_.Exception(target);
}

int DriveResponder::BoundTarget(int number) const {
  if (number < 1 || number > kLastSlot) return number;
  const SimParameter* pointer = table_.Find(kPointerBase + number);
  if (pointer == nullptr) return number;
  const int target = pointer->value;
  return target > 0 && target < kParameterCount ? target : number;
}

DriveResponder::Outcome DriveResponder::ReadPad(std::uint8_t function, int echo,
                                                const SimParameter& parameter) const {
  std::string data = MenuParam(echo);
  AppendWord(data, parameter.pad);
  return Reply(function, data);
}

DriveResponder::Outcome DriveResponder::ReadValue(std::uint8_t function, int echo,
                                                  const SimParameter& parameter) const {
  std::string data = MenuParam(echo);
  AppendWord(data, parameter.value);
  AppendWord(data, parameter.pad);
  const auto index = static_cast<std::size_t>(parameter.value);
  const std::string name =
      parameter.value >= 0 && index < parameter.valueNames.size() ? parameter.valueNames[index] : std::string();
  data.push_back(static_cast<char>(name.size()));
  data.append(name);
  return Reply(function, data);
}

DriveResponder::Outcome DriveResponder::ReadName(std::uint8_t function, int echo, const SimParameter& parameter,
                                                 std::string_view data) const {
  if (data.size() != 2 && data.size() != 4) return Refuse(function, kIllegalValue);
  std::string text = parameter.name;
  if (data.size() == 4) {
    const auto index = static_cast<std::size_t>(Word(data, 2));
    if (index >= parameter.valueNames.size()) return Refuse(function, kIllegalValue);
    text = parameter.valueNames[index];
  }
  std::string reply = MenuParam(echo);
  reply.push_back(static_cast<char>(text.size()));
  reply.append(text);
  return Reply(function, reply);
}

DriveResponder::Outcome DriveResponder::WriteDvd(std::uint8_t function, SimParameter& parameter,
                                                 std::string_view data) {
  if (data.size() < 5 || data.size() != 5U + static_cast<std::uint8_t>(data[4])) {
    return Refuse(function, kIllegalValue);
  }
  const auto index = static_cast<std::size_t>(Word(data, 2));
  // One past the end appends, so a list can be grown from the wire.
  if (parameter.readOnly || index > parameter.valueNames.size()) return Refuse(function, kIllegalValue);
  const std::string text(data.substr(5));
  if (index == parameter.valueNames.size()) {
    parameter.valueNames.push_back(text);
  } else {
    parameter.valueNames[index] = text;
  }
  Outcome outcome = Reply(function, data.substr(0, 4));
  outcome.written = parameter.number;
  return outcome;
}

DriveResponder::Outcome DriveResponder::WriteValue(std::uint8_t function, SimParameter& parameter,
                                                   std::string_view data) {
  if (data.size() != 4) return Refuse(function, kIllegalValue);
  if (parameter.readOnly) return Refuse(function, kIllegalValue);
  parameter.value = static_cast<std::int16_t>(Word(data, 2));
  // The one reply without a count: the request's four data bytes echoed.
  std::string pdu(1, static_cast<char>(function));
  pdu.append(data);
  return {pdu, parameter.number};
}

DriveResponder::Outcome DriveResponder::WriteRegisters(std::uint8_t function, std::string_view data) {
  // Register address hi, lo is menu, parameter; each further register is the next parameter.
  if (data.size() < 5) return Refuse(function, kIllegalValue);
  const int count = Word(data, 2);
  const bool laidOut = static_cast<std::uint8_t>(data[4]) == 2 * count && data.size() == 5 + 2U * count;
  if (count < 1 || count > kMaxRegistersWritten || !laidOut) return Refuse(function, kIllegalValue);
  const int first = static_cast<std::uint8_t>(data[0]) * 100 + static_cast<std::uint8_t>(data[1]);
  // All or nothing, as a drive checks the whole request before it writes.
  for (int i = 0; i < count; ++i) {
    const SimParameter* parameter = table_.Find(first + i);
    if (parameter == nullptr) return Refuse(function, kIllegalAddress);
    if (parameter->readOnly) return Refuse(function, kIllegalValue);
  }
  for (int i = 0; i < count; ++i) {
    table_.Find(first + i)->value = static_cast<std::int16_t>(Word(data, 5 + 2 * static_cast<std::size_t>(i)));
  }
  // The standard answer: address and quantity echoed, no count byte.
  return {std::string(1, static_cast<char>(function)) + std::string(data.substr(0, 4)), std::nullopt};
}

DriveResponder::Outcome DriveResponder::Eib(std::uint8_t function, std::string_view data) {
  if (data.empty()) return Refuse(function, kIllegalValue);
  const int command = static_cast<std::uint8_t>(data[0]);
  std::string reply(1, data[0]);
  switch (command) {
    case kIsEthernet:
      reply.push_back(ethernet_ ? 1 : 0);
      return Reply(function, reply);
    case kReadEib:
    case kSetEib: {
      if (data.size() < 2) return Refuse(function, kIllegalValue);
      const int selector = static_cast<std::uint8_t>(data[1]);
      if (!EibDefaults().contains(selector)) return Refuse(function, kIllegalAddress);
      if (command == kSetEib) {
        if (data.size() < 4) return Refuse(function, kIllegalValue);
        eibValues_[selector] = Word(data, 2);
      }
      const auto stored = eibValues_.find(selector);
      reply.push_back(data[1]);
      AppendWord(reply, stored != eibValues_.end() ? stored->second : EibDefaults().at(selector));
      return Reply(function, reply);
    }
    case kSaveEib:
      return Reply(function, reply);
    case kResetEib:
      if (data.size() >= 2 && data[1] != 0) eibValues_.clear();
      return Reply(function, reply);
    default:
      return Refuse(function, kIllegalFunction);
  }
}

}  // namespace quendrel
