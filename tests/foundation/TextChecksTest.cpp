#include <gtest/gtest.h>

#include <string>

#include "foundation/text/TextChecks.h"

namespace quendrel {
namespace {

using namespace std::string_literals;

struct ClassCase {
  std::string text;
  bool alphanumeric;
  bool blank;
  bool hex;
  bool letter;
};

TEST(TextChecksTest, CharacterClasses) {
  const ClassCase cases[] = {
      // text          alnum  blank  hex    letter
      {"", false, false, false, false},          {"abcXYZ", true, false, false, true},
      {"aBcDeF09", true, false, true, false},    {"v1.2", true, false, false, false},
      {"...", true, false, false, false},        {"a-b", false, false, false, false},
      {"a_b", false, false, false, false},       {" \t\r\n", false, true, false, false},
      {" x ", false, false, false, false},       {"\f\v", false, false, false, false},
      {"\xE9t\xE9", false, false, false, false}, {"ABCDEFG", true, false, false, true},
      {"0x1F", true, false, false, false},       {"g", true, false, false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsAlphanumericText(c.text), c.alphanumeric) << '"' << c.text << '"';
    EXPECT_EQ(IsBlankText(c.text), c.blank) << '"' << c.text << '"';
    EXPECT_EQ(IsHexText(c.text), c.hex) << '"' << c.text << '"';
    EXPECT_EQ(IsLetterText(c.text), c.letter) << '"' << c.text << '"';
  }
}

TEST(TextChecksTest, StripQuotesRemovesEveryEnclosingPair) {
  const std::pair<std::string, std::string> cases[] = {
      {"\"\"abc\"\"", "abc"}, {"\"\"", ""},          {"\"", "\""},          {"\"\"\"", "\""},
      {"\"abc", "\"abc"},     {"a\"b\"", "a\"b\""}, {"\"a\" \"b\"", "a\" \"b"}, {"", ""},
  };
  for (const auto& [text, stripped] : cases) EXPECT_EQ(StripQuotes(text), stripped) << text;
}

TEST(TextChecksTest, UnescapeResolvesEachEscapeOnce) {
  const std::pair<std::string, std::string> cases[] = {
      {R"(a\nb)", "a\r\nb"},
      {R"(say \"hi\")", "say \"hi\""},
      {R"("quoted\n")", "quoted\r\n"},
      // Two backslashes give one and never start another escape.
      {R"(\\n)", "\\n"},
      {R"(\\\n)", "\\\r\n"},
      {R"(\\\\)", "\\\\"},
      {R"(\\x41)", "\\x41"},
      // \x takes one to three hexadecimal digits while the code stays at or below 255.
      {R"(\x41)", "A"},
      {R"(\x9)", "\t"},
      {R"(\x0FF)", "\xFF"},
      {R"(\x041)", "A"},
      {R"(\x100)",
       "\x10"s
       "0"},
      {R"(\xFFF)",
       "\xFF"
       "F"},
      {R"(\x4g)", "\x04g"},
      {R"(\x000)", "\0"s},
      // What is no escape stays as written.
      {R"(\q)", R"(\q)"},
      {R"(\xg)", R"(\xg)"},
      {R"(end\)", R"(end\)"},
      {R"(\N)", R"(\N)"},
      {"a\xFF\\\\b", "a\xFF\\b"},
  };
  for (const auto& [text, unescaped] : cases) {
    EXPECT_EQ(UnescapeString(text), unescaped) << text;
  }
}

TEST(TextChecksTest, UnescapeStripsQuotesBeforeResolving) {
  // The enclosing quotes go first, so an escaped quote just inside them survives.
  EXPECT_EQ(UnescapeString(R"("a\"")"), "a\"");
  EXPECT_EQ(UnescapeString(R"(""\x41"")"), "A");
  EXPECT_EQ(UnescapeString(R"(\"a\")"), "\"a\"");
}

}  // namespace
}  // namespace quendrel
