#include "foundation/settings/ColorText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

namespace quendrel {

namespace {

struct NamedColor {
  std::string_view name;
  std::uint32_t color;  // 0x00BBGGRR
};

constexpr std::array<NamedColor, 19> kNamedColors{{
    {"black", 0x000000},  {"navy", 0x800000},    {"green", 0x008000},   {"teal", 0x808000},
    {"maroon", 0x000080}, {"purple", 0x800080},  {"olive", 0x008080},   {"silver", 0xC0C0C0},
    {"gray", 0x808080},   {"grey", 0x808080},    {"blue", 0xFF0000},    {"lime", 0x00FF00},
    {"aqua", 0xFFFF00},   {"cyan", 0xFFFF00},    {"red", 0x0000FF},     {"fuchsia", 0xFF00FF},
    {"magenta", 0xFF00FF}, {"yellow", 0x00FFFF}, {"white", 0xFFFFFF},
}};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::uint32_t> HexValue(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
  return lower;
}

std::optional<std::uint32_t> HtmlColor(std::string_view digits) {
  if (digits.size() != 6) return std::nullopt;
  const auto rgb = HexValue(digits);
  if (!rgb) return std::nullopt;
  const std::uint32_t red = *rgb >> 16 & 0xFF;
  const std::uint32_t green = *rgb >> 8 & 0xFF;
  const std::uint32_t blue = *rgb & 0xFF;
  return blue << 16 | green << 8 | red;
}

}  // namespace

std::string ColorToHtml(std::uint32_t color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", color & 0xFF, color >> 8 & 0xFF, color >> 16 & 0xFF);
  return text;
}

std::optional<std::uint32_t> TryParseColor(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  const std::string lower = Lower(text.substr(first, text.find_last_not_of(" \t") - first + 1));
  if (lower.front() == '#') return HtmlColor(std::string_view(lower).substr(1));
  if (lower.starts_with("&h")) {
    std::string_view digits = std::string_view(lower).substr(2);
    if (digits.ends_with('&')) digits.remove_suffix(1);
    return HexValue(digits);
  }
  const auto named = std::find_if(kNamedColors.begin(), kNamedColors.end(),
                                  [&](const NamedColor& entry) { return entry.name == lower; });
  if (named == kNamedColors.end()) return std::nullopt;
  return named->color;
}

std::uint32_t ParseColor(std::string_view text, std::uint32_t fallback) {
  return TryParseColor(text).value_or(fallback);
}

}  // namespace quendrel
