// CRC-16/MODBUS checksum that closes every serial frame sent to or read from the drive.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quendrel {

// Reflected polynomial 0xA001, initial value 0xFFFF, no final XOR.
std::uint16_t Crc16(std::string_view bytes);

// Continues a checksum over more bytes, so a frame arriving in pieces needs no copy.
std::uint16_t Crc16Update(std::uint16_t crc, std::string_view bytes);

// The drive expects the checksum low byte first, the opposite of every other 16-bit field.
void AppendCrc16(std::string& frame);

// True when the frame's last two bytes are the checksum of the bytes before them.
bool HasValidCrc16(std::string_view frame);

}  // namespace quendrel
