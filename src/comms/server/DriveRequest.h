// One drive operation as the context asks a module to carry it out, before any byte is laid out.
#pragma once

#include <cstdint>
#include <string>

namespace quendrel {

enum class DriveService { Ping, ReadPAD, ReadValue, ReadName, ReadDVD, WriteDVD, WriteValue, Raw };

struct DriveRequest {
  DriveService service = DriveService::Raw;
  std::uint8_t address = 1;
  // Legacy drives take the same payloads under the bare service codes.
  bool legacy = false;
  std::uint8_t menu = 0;
  std::uint8_t pram = 0;
  // The DVD list position of ReadDVD and WriteDVD.
  std::int16_t index = 0;
  // The raw value of WriteValue.
  std::int16_t value = 0;
  // The DVD text of WriteDVD, or the payload of a raw query.
  std::string text;
  // The function byte of a raw query, sent as given.
  std::uint8_t rawFunction = 0;
  // A raw payload for a parameter service code (2-6), as drive function templates build them: its
  // function byte follows the code set the context speaks, like every parameter service's.
  bool rawService = false;
  // A raw payload for a function a template defines: its reply has the drive's counted layout,
  // whatever its code.
  bool countedReply = false;
};

}  // namespace quendrel
