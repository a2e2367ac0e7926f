// The result record of every drive operation: what the drive answered, or why it did not.
#pragma once

#include <cstdint>
#include <string>

namespace quendrel {

struct udtDriveResponse {
  std::uint8_t driveID = 0;
  std::uint8_t Menu = 0;
  std::uint8_t Pram = 0;
  std::uint8_t function = 0;
  std::uint8_t byteCount = 0;
  std::string strData;
  // The error code when Error is set, else the raw value.
  std::int16_t intData = 0;
  float sglData = 0.0F;
  // The PAD of a value read, or the transport detail code (40-45) behind an error 11.
  std::int32_t extraData = 0;
  bool Error = false;
  std::string rawreply;
  // Filled even when nothing could be sent, so a raw listing always shows a function byte.
  std::string rawreq;
};

}  // namespace quendrel
