#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "foundation/settings/FontSpec.h"

namespace quendrel {
namespace {

FontSpec Font(const char* name, float size, bool bold = false, bool italic = false, bool underline = false,
              bool strikethrough = false) {
  FontSpec font;
  font.Name = name;
  font.Size = size;
  font.Bold = bold;
  font.Italic = italic;
  font.Underline = underline;
  font.Strikethrough = strikethrough;
  return font;
}

TEST(FontSpecTest, TextNamesFaceWholeSizeAndStyles) {
  const std::pair<FontSpec, const char*> cases[] = {
      {Font("Tahoma", 8, true), "Tahoma 8, Bold"},
      {Font("MS Sans Serif", 8.25f), "MS Sans Serif 8, Normal"},
      {Font("Arial", 10.5f, false, true), "Arial 10, Italic"},
      {Font("Arial", 11.5f, false, false, true), "Arial 12, Underline"},
      {Font("Courier New", 9, false, false, false, true), "Courier New 9, Strikethrough"},
      {Font("Tahoma", 12, true, true, true, true), "Tahoma 12, Bold Italic Underline Strikethrough"},
  };
  for (const auto& [font, text] : cases) EXPECT_EQ(FontToString(font), text);
}

TEST(FontSpecTest, ParsesFaceSizeAndStyleWords) {
  const std::pair<const char*, FontSpec> cases[] = {
      {"Tahoma 8, Bold", Font("Tahoma", 8, true)},
      {"Courier New 10, Italic Underline", Font("Courier New", 10, false, true, true)},
      {"Arial 9.75, bold STRIKETHROUGH", Font("Arial", 9.75f, true, false, false, true)},
      {"Arial 9, Normal", Font("Arial", 9)},
      {"Arial 9, heavy Bold", Font("Arial", 9, true)},
      {"Arial 9, Bold, Italic", Font("Arial", 9, true)},
      {"Tahoma, Bold", Font("Tahoma", 8.25f, true)},
      {"Courier New, Italic", Font("Courier New", 8.25f, false, true)},
      {"  Arial  14 , Bold", Font("Arial", 14, true)},
      {"  Lucida Console  ", Font("Lucida Console", 8.25f)},
      {"Tahoma 8", Font("Tahoma 8", 8.25f)},
      {"Arial,Bold", Font("Arial,Bold", 8.25f)},
  };
  for (const auto& [text, font] : cases) EXPECT_EQ(ParseFont(text), font) << '"' << text << '"';
}

TEST(FontSpecTest, TextRoundTripKeepsFaceWholeSizeAndFlags) {
  for (const FontSpec& font : {Font("Tahoma", 8.25f, true), Font("Courier New", 10, false, true, true, false),
                               Font("Arial", 7.5f, false, false, false, true), Font("Symbol", 14)}) {
    FontSpec whole = font;
    whole.Size = static_cast<float>(std::nearbyint(font.Size));
    EXPECT_EQ(ParseFont(FontToString(font)), whole) << FontToString(font);
  }
}

}  // namespace
}  // namespace quendrel
