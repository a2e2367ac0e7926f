// The byte layout of the firmware compatibility file (*.FC2); no other class knows it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quendrel {

class FirmwareCompatibilityFile;

// Magic "FC2!"; the file's software-version and access-code parameters; the template count; per template
// its version text and its block, enciphered as one field; CRC-16 over all of it, low byte first.
class FC2Codec {
 public:
  enum class Result { Ok, NotFC2, Corrupted };

  // The magic: all a reader needs to refuse a foreign file before reading the rest of it.
  static constexpr std::size_t kHeaderSize = 4;
  // NotFC2 when a file's first bytes (at most kHeaderSize) lack the magic, else Ok (the rest still to check).
  static Result CheckHeader(std::string_view head);

  // Nothing when a field does not fit its place in the layout.
  static std::optional<std::string> Encode(const FirmwareCompatibilityFile& file);
  // Fills `into` only on Ok. A short, truncated or inconsistent image is Corrupted, never read past.
  static Result Decode(std::string_view image, FirmwareCompatibilityFile& into);
};

}  // namespace quendrel
