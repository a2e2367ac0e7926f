#include "comms/modules/ModbusTcpCodec.h"

namespace quendrel {

namespace {

std::uint16_t Word(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>((static_cast<std::uint8_t>(bytes[at]) << 8) |
                                    static_cast<std::uint8_t>(bytes[at + 1]));
}

void AppendWord(std::string& out, std::uint16_t word) {
  out.push_back(static_cast<char>(word >> 8));
  out.push_back(static_cast<char>(word & 0xFF));
}

}  // namespace

std::string ModbusTcpCodec::Adu(std::uint16_t transaction, std::uint8_t unit, std::string_view pdu) {
  std::string adu;
  adu.reserve(kHeaderLength + pdu.size());
  AppendWord(adu, transaction);
  AppendWord(adu, 0);
  AppendWord(adu, static_cast<std::uint16_t>(pdu.size() + 1));
  adu.push_back(static_cast<char>(unit));
  adu += pdu;
  return adu;
}

ModbusTcpCodec::Header ModbusTcpCodec::ReadHeader(std::string_view adu) {
  Header header;
  header.transaction = Word(adu, 0);
  header.protocol = Word(adu, 2);
  header.length = Word(adu, 4);
  header.unit = static_cast<std::uint8_t>(adu[6]);
  return header;
}

ModbusTcpCodec::ScanResult ModbusTcpCodec::ScanAdu(std::string_view received) {
  if (received.size() < kHeaderLength) return {};
  const std::size_t length = Word(received, 4);
  // The length counts the unit id and at least a function byte.
  if (length < 2 || kHeaderLength - 1 + length > kMaxAduLength) return {Scan::OutOfStep, 0};
  const std::size_t total = kHeaderLength - 1 + length;
  if (received.size() < total) return {};
  return {Scan::Complete, total};
}

}  // namespace quendrel
