// The text rules the drive loader's initialisation files share: line breaks carry no meaning, an
// optional marker closes the file, and every number is a word of four hexadecimal digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quendrel {

class LoaderText {
 public:
  // The text without CR and LF, and without the closing marker when it ends with it.
  static std::string Clean(std::string_view text);
  // The word of the four digits at `at`, most significant first; nothing when the text ends
  // inside them or one of them is no hexadecimal digit.
  static std::optional<std::uint16_t> Word(std::string_view text, std::size_t at);
  // The same, where an invalid pair counts as the byte 0 (for words nothing depends on); a word
  // cut short by the end of the text is 0 too.
  static std::uint16_t LenientWord(std::string_view text, std::size_t at);
  // The low 16 bits of the value as a signed number.
  static std::int16_t Signed(std::uint32_t value) { return static_cast<std::int16_t>(value & 0xFFFF); }
  // The two bytes swapped, as a signed number.
  static std::int16_t Swapped(std::int16_t value);

  static constexpr std::string_view kMarker = "Download completed";
};

}  // namespace quendrel
