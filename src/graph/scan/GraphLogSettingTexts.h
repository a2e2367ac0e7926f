// How the graph pane's choices are spelled in [Graph/Log]: the graph type, the legend's place and
// the styles of legend names and X axis labels.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quendrel {

// "line", "hilo" or "bar" in any letter case; anything else is the line graph.
std::int32_t GraphTypeFromSetting(std::string_view text);
// "HiLo" and "Bar"; every other type is written "Line".
std::string GraphTypeSetting(std::int32_t type);

// Exactly "None", "Top", "Right", "Left" or "Bottom"; anything else (also "right") is no legend.
std::int32_t LegendFromSetting(std::string_view text);
// Nothing for a value without a name: the key is then left as it is.
std::optional<std::string> LegendSetting(std::int32_t legend);

// Exactly "Short", "Long" or "None", for the legend names and the X axis labels; nothing for any
// other text, which leaves the pane's value as it is.
std::optional<std::int32_t> LabelStyleFromSetting(std::string_view text);
std::optional<std::string> LabelStyleSetting(std::int32_t style);

}  // namespace quendrel
