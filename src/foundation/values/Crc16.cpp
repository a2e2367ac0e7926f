#include "foundation/values/Crc16.h"

#include <array>

namespace quendrel {

namespace {

constexpr std::uint16_t kPolynomial = 0xA001;
constexpr std::uint16_t kInitial = 0xFFFF;

constexpr std::array<std::uint16_t, 256> BuildTable() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned byte = 0; byte < table.size(); ++byte) {
    std::uint16_t crc = static_cast<std::uint16_t>(byte);
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1U) ? static_cast<std::uint16_t>((crc >> 1) ^ kPolynomial)
                       : static_cast<std::uint16_t>(crc >> 1);
    }
    table[byte] = crc;
  }
  return table;
}

// Built at compile time, so it exists exactly once and costs nothing at start-up.
constexpr std::array<std::uint16_t, 256> kTable = BuildTable();

}  // namespace

std::uint16_t Crc16Update(std::uint16_t crc, std::string_view bytes) {
  for (const char c : bytes) {
    const auto index = static_cast<std::uint8_t>(crc ^ static_cast<std::uint8_t>(c));
    crc = static_cast<std::uint16_t>((crc >> 8) ^ kTable[index]);
  }
  return crc;
}

std::uint16_t Crc16(std::string_view bytes) { return Crc16Update(kInitial, bytes); }

void AppendCrc16(std::string& frame) {
  const std::uint16_t crc = Crc16(frame);
  frame.push_back(static_cast<char>(crc & 0xFF));
  frame.push_back(static_cast<char>(crc >> 8));
}

bool HasValidCrc16(std::string_view frame) {
  if (frame.size() < 2) return false;
  const std::uint16_t crc = Crc16(frame.substr(0, frame.size() - 2));
  const auto low = static_cast<std::uint8_t>(frame[frame.size() - 2]);
  const auto high = static_cast<std::uint8_t>(frame[frame.size() - 1]);
  return crc == static_cast<std::uint16_t>(low | (high << 8));
}

}  // namespace quendrel
