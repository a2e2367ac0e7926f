#include "flash/loader/LoaderText.h"

namespace quendrel {

namespace {

std::optional<std::uint8_t> HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  return std::nullopt;
}

std::optional<std::uint8_t> Pair(std::string_view text, std::size_t at) {
  if (at + 2 > text.size()) return std::nullopt;
  const auto high = HexDigit(text[at]);
  const auto low = HexDigit(text[at + 1]);
  if (!high || !low) return std::nullopt;
  return static_cast<std::uint8_t>(*high * 16 + *low);
}

}  // namespace

std::string LoaderText::Clean(std::string_view text) {
  std::string clean;
  clean.reserve(text.size());
  for (const char c : text) {
    if (c != '\r' && c != '\n') clean.push_back(c);
  }
  if (clean.ends_with(kMarker)) clean.resize(clean.size() - kMarker.size());
  return clean;
}

std::optional<std::uint16_t> LoaderText::Word(std::string_view text, std::size_t at) {
  const auto high = Pair(text, at);
  const auto low = Pair(text, at + 2);
  if (!high || !low) return std::nullopt;
  return static_cast<std::uint16_t>(*high << 8 | *low);
}

std::uint16_t LoaderText::LenientWord(std::string_view text, std::size_t at) {
  return static_cast<std::uint16_t>(Pair(text, at).value_or(0) << 8 | Pair(text, at + 2).value_or(0));
}

std::int16_t LoaderText::Swapped(std::int16_t value) {
  const auto bits = static_cast<std::uint16_t>(value);
  return Signed(static_cast<std::uint32_t>((bits & 0xFF) << 8 | bits >> 8));
}

}  // namespace quendrel
