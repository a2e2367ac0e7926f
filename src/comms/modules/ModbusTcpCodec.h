// Wraps a drive request's function byte and data in the Modbus/TCP header (MBAP) and cuts the
// replies out of the byte stream a drive's Ethernet interface sends back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quendrel {

class ModbusTcpCodec {
 public:
  // Transaction id, protocol id and length (two bytes each), unit id.
  static constexpr std::size_t kHeaderLength = 7;
  // The largest unit a Modbus/TCP device sends: the header and a 253-byte PDU.
  static constexpr std::size_t kMaxAduLength = 260;

  struct Header {
    std::uint16_t transaction = 0;
    std::uint16_t protocol = 0;
    std::uint16_t length = 0;  // of the unit id and the PDU
    std::uint8_t unit = 0;
  };

  enum class Scan {
    NeedMore,    // the bytes so far may still become a unit
    OutOfStep,   // the header cannot be a reply's: the stream can no longer be read in step
    Complete,    // a whole unit starts the bytes
  };

  struct ScanResult {
    Scan status = Scan::NeedMore;
    std::size_t length = 0;  // of the complete unit, header included
  };

  static std::string Adu(std::uint16_t transaction, std::uint8_t unit, std::string_view pdu);
  // Reads the header at the start of at least kHeaderLength bytes.
  static Header ReadHeader(std::string_view adu);
  static std::string_view Pdu(std::string_view adu) { return adu.substr(kHeaderLength); }
  // The header's length delimits the unit, whatever function it carries (a gateway answers standard
  // functions whose layouts this program does not know); only a length no unit can have is out of step.
  static ScanResult ScanAdu(std::string_view received);
};

}  // namespace quendrel
