// The challenge-response login a drive's Ethernet interface asks for before it serves requests,
// keyed by a password that never crosses the wire.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quendrel {

class ByteLink;
class Clock;

class EthernetLogin {
 public:
  static constexpr std::size_t kChallengeLength = 8;
  static constexpr char kAccepted = 0x06;
  static constexpr char kRefused = 0x15;

  enum class Result { Accepted, Refused, LinkFailed };

  // Byte i of the answer: challenge[i] XOR password[i mod length] XOR the file cipher's key-stream
  // byte i; an empty password XORs nothing.
  static std::string Answer(std::string_view challenge, std::string_view password);

  // Reads the challenge, answers it and reads the verdict, all before the deadline (the clock's
  // monotonic seconds). No challenge or no verdict in time counts as refused.
  static Result Run(ByteLink& link, Clock& clock, std::string_view password, double deadline);
};

}  // namespace quendrel
