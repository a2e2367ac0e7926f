#include "graph/scan/GraphLogSettingTexts.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace quendrel {

namespace {

constexpr std::array<const char*, 5> kLegends = {"None", "Top", "Right", "Left", "Bottom"};
constexpr std::array<const char*, 3> kLabelStyles = {"Short", "Long", "None"};

template <std::size_t N>
std::optional<std::int32_t> IndexOf(const std::array<const char*, N>& names, std::string_view text) {
  const auto at = std::find(names.begin(), names.end(), text);
  if (at == names.end()) return std::nullopt;
  return static_cast<std::int32_t>(at - names.begin());
}

template <std::size_t N>
std::optional<std::string> NameOf(const std::array<const char*, N>& names, std::int32_t index) {
  if (index < 0 || index >= static_cast<std::int32_t>(N)) return std::nullopt;
  return names[static_cast<std::size_t>(index)];
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

}  // namespace

std::int32_t GraphTypeFromSetting(std::string_view text) {
  const std::string lower = Lower(text);
  if (lower == "hilo") return 1;
  if (lower == "bar") return 2;
  return 0;
}

std::string GraphTypeSetting(std::int32_t type) {
  if (type == 1) return "HiLo";
  if (type == 2) return "Bar";
  return "Line";
}

std::int32_t LegendFromSetting(std::string_view text) { return IndexOf(kLegends, text).value_or(0); }

std::optional<std::string> LegendSetting(std::int32_t legend) { return NameOf(kLegends, legend); }

std::optional<std::int32_t> LabelStyleFromSetting(std::string_view text) { return IndexOf(kLabelStyles, text); }

std::optional<std::string> LabelStyleSetting(std::int32_t style) { return NameOf(kLabelStyles, style); }

}  // namespace quendrel
