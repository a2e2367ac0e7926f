// Cuts a Modbus/TCP byte stream into application data units (MBAP header and PDU).
#pragma once

#include <string>
#include <string_view>

namespace quendrel {

class MbapFramer {
 public:
  enum class Status {
    Incomplete,
    Complete,
    Broken,  // a header no client sends (length out of range): the stream is out of step
  };

  static constexpr std::size_t kHeaderSize = 7;  // transaction, protocol, length, unit
  static constexpr std::size_t kMaxAdu = 260;

  void Append(std::string_view bytes) { buffer_.append(bytes); }
  // On Complete, adu holds the whole unit, header included.
  Status Next(std::string& adu);
  void Clear() { buffer_.clear(); }

 private:
  std::string buffer_;
};

}  // namespace quendrel
