#include "drivesim/StandardFunctions.h"

#include <cstdio>
#include <vector>

#include "drivesim/SimFrame.h"

namespace quendrel {

namespace {

constexpr std::uint8_t kIllegalAddress = 2;
constexpr std::uint8_t kIllegalValue = 3;
constexpr std::uint16_t kCoilOn = 0xFF00;
constexpr std::uint16_t kBitParameterFlag = 1 << 2;

constexpr std::uint8_t kReadDeviceIdentification = 0x0E;
constexpr std::uint8_t kIndividualAccess = 4;
// Basic identification, streamed and individually.
constexpr std::uint8_t kConformity = 0x81;
constexpr int kModelParameter = 1128;
constexpr int kVersionParameter = 1129;

int Word(std::string_view data, std::size_t at) {
  return (static_cast<std::uint8_t>(data[at]) << 8) | static_cast<std::uint8_t>(data[at + 1]);
}

std::string Refuse(std::uint8_t function, std::uint8_t code) { return SimFrame::ExceptionReply(function, code); }

std::string ModelName(const ParameterTable& table) {
  const SimParameter* model = table.Find(kModelParameter);
  if (model == nullptr || model->value < 0) return "";
  const auto index = static_cast<std::size_t>(model->value);
  return index < model->valueNames.size() ? model->valueNames[index] : "";
}

std::string Revision(const ParameterTable& table) {
  const SimParameter* version = table.Find(kVersionParameter);
  if (version == nullptr) return "";
  const int places = version->pad & 3;
  int divisor = 1;
  for (int i = 0; i < places; ++i) divisor *= 10;
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", places, static_cast<double>(version->value) / divisor);
  return text;
}

std::vector<std::string> BasicObjects(const ParameterTable& table) {
  return {"Quendrel", ModelName(table), Revision(table)};
}

void AppendObject(std::string& pdu, std::size_t id, const std::string& value) {
  pdu.push_back(static_cast<char>(id));
  pdu.push_back(static_cast<char>(value.size()));
  pdu.append(value);
}

}  // namespace

std::string StandardFunctions::WriteSingleCoil(ParameterTable& table, std::string_view data) {
  if (data.size() != 4) return Refuse(kWriteSingleCoil, kIllegalValue);
  const int coil = Word(data, 0);
  const int number = (coil >> 8) * 100 + (coil & 0xFF);
  SimParameter* parameter = (coil & 0xFF) < 100 ? table.Find(number) : nullptr;
  if (parameter == nullptr || (parameter->pad & kBitParameterFlag) == 0) {
    return Refuse(kWriteSingleCoil, kIllegalAddress);
  }
  const int state = Word(data, 2);
  if ((state != kCoilOn && state != 0) || parameter->readOnly) return Refuse(kWriteSingleCoil, kIllegalValue);
  parameter->value = state == kCoilOn ? 1 : 0;
  return std::string(1, static_cast<char>(kWriteSingleCoil)) + std::string(data);
}

bool StandardFunctions::IsDeviceIdentification(std::string_view data) {
  return !data.empty() && static_cast<std::uint8_t>(data[0]) == kReadDeviceIdentification;
}

std::string StandardFunctions::ReadDeviceIdentification(const ParameterTable& table, std::string_view data) {
  if (data.size() != 3) return Refuse(kEncapsulatedInterface, kIllegalValue);
  const auto code = static_cast<std::uint8_t>(data[1]);
  auto first = static_cast<std::size_t>(static_cast<std::uint8_t>(data[2]));
  const std::vector<std::string> objects = BasicObjects(table);
  if (code < 1 || code > kIndividualAccess) return Refuse(kEncapsulatedInterface, kIllegalValue);
  if (code == kIndividualAccess && first >= objects.size()) return Refuse(kEncapsulatedInterface, kIllegalAddress);
  if (first >= objects.size()) first = 0;
  const std::size_t last = code == kIndividualAccess ? first : objects.size() - 1;
  std::string pdu{static_cast<char>(kEncapsulatedInterface), static_cast<char>(kReadDeviceIdentification),
                  static_cast<char>(code), static_cast<char>(kConformity)};
  pdu.push_back(0);  // nothing more follows
  pdu.push_back(0);  // next object id
  pdu.push_back(static_cast<char>(last - first + 1));
  for (std::size_t id = first; id <= last; ++id) AppendObject(pdu, id, objects[id]);
  return pdu;
}

}  // namespace quendrel
