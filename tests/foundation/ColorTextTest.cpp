#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "foundation/settings/ColorText.h"

namespace quendrel {
namespace {

TEST(ColorTextTest, HtmlTextPutsRedFirst) {
  const std::pair<std::uint32_t, const char*> cases[] = {
      {0x000000, "#000000"}, {0x0000FF, "#FF0000"}, {0x00FF00, "#00FF00"}, {0xFF0000, "#0000FF"},
      {0xF4F4F4, "#F4F4F4"}, {0x563412, "#123456"}, {0xFFFFFF, "#FFFFFF"}, {0x80000005, "#050000"},
  };
  for (const auto& [color, text] : cases) EXPECT_EQ(ColorToHtml(color), text) << std::hex << color;
}

TEST(ColorTextTest, ReadsHtmlHexAndNames) {
  const std::pair<const char*, std::uint32_t> cases[] = {
      {"#FF0000", 0x0000FF}, {"#123456", 0x563412}, {"#abcdef", 0xEFCDAB}, {"  #F4F4F4 ", 0xF4F4F4},
      {"&HFF", 0x0000FF},    {"&hff0000", 0xFF0000}, {"&H8000000F", 0x8000000F}, {"&HFF00&", 0x00FF00},
      {"black", 0x000000},   {"Navy", 0x800000},    {"GREEN", 0x008000},   {"teal", 0x808000},
      {"maroon", 0x000080},  {"purple", 0x800080},  {"olive", 0x008080},   {"silver", 0xC0C0C0},
      {"gray", 0x808080},    {"grey", 0x808080},    {"blue", 0xFF0000},    {"lime", 0x00FF00},
      {"aqua", 0xFFFF00},    {"cyan", 0xFFFF00},    {"red", 0x0000FF},     {"fuchsia", 0xFF00FF},
      {"magenta", 0xFF00FF}, {"yellow", 0x00FFFF},  {" White\t", 0xFFFFFF},
  };
  for (const auto& [text, color] : cases) {
    EXPECT_EQ(TryParseColor(text), std::optional<std::uint32_t>(color)) << '"' << text << '"';
    EXPECT_EQ(ParseColor(text, 0x123), color) << '"' << text << '"';
  }
}

TEST(ColorTextTest, UnreadableTextsGiveTheFallback) {
  for (const char* text : {"", "  ", "#", "#FFF", "#FF00001", "#GG0000", "&H", "&H123456789", "&HXYZ", "orange",
                           "red red", "255"}) {
    EXPECT_FALSE(TryParseColor(text).has_value()) << '"' << text << '"';
    EXPECT_EQ(ParseColor(text, 0xF4F4F4), 0xF4F4F4u) << '"' << text << '"';
  }
  EXPECT_EQ(ParseColor("nonsense"), 0u);
}

TEST(ColorTextTest, HtmlTextReadsBackToTheSameColour) {
  for (const std::uint32_t color : {0x80FF40u, 0x010203u}) {
    EXPECT_EQ(ParseColor(ColorToHtml(color), 0xFFFFFFFF), color);
  }
}

}  // namespace
}  // namespace quendrel
