#include "flash/language/ScriptTokeniser.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quendrel {
namespace {

// Each token as <class letter>'text', with "~" when whitespace follows it.
std::string Render(const std::vector<udtToken>& tokens) {
  static constexpr const char* kLetters = "-INSLP";
  std::string text;
  for (const udtToken& token : tokens) {
    if (!text.empty()) text += ' ';
    text += kLetters[token.ttType] + ("'" + token.strToken + "'") + (token.blnWhitespace ? "~" : "");
  }
  return text;
}

struct TokenCase {
  const char* input;
  const char* expected;
};

class TokeniseAndJoin : public testing::TestWithParam<TokenCase> {};

TEST_P(TokeniseAndJoin, GivesTheTokensAUserWrote) {
  EXPECT_EQ(Render(ScriptTokeniser::TokeniseAndJoin(GetParam().input)), GetParam().expected)
      << "input: " << GetParam().input;
}

INSTANTIATE_TEST_SUITE_P(
    Operators, TokeniseAndJoin,
    testing::Values(TokenCase{"a==b", "I'a' S'==' I'b'"},
                    TokenCase{"a= =b", "I'a' S'='~ S'=' I'b'"},
                    TokenCase{"a == b", "I'a'~ S'=='~ I'b'"},
                    TokenCase{"x<<2", "I'x' S'<<' N'2'"},
                    TokenCase{"x >> 2", "I'x'~ S'>>'~ N'2'"},
                    TokenCase{"a!=b && c||d ^^ e", "I'a' S'!=' I'b'~ S'&&'~ I'c' S'||' I'd'~ S'^^'~ I'e'"},
                    TokenCase{"a<=b>=c", "I'a' S'<=' I'b' S'>=' I'c'"},
                    // The pair ending at the last token is never joined.
                    TokenCase{"x==", "I'x' S'=' S'='"},
                    TokenCase{"==", "S'=' S'='"},
                    TokenCase{"=", "S'='"},
                    // Chains join one pair at a time.
                    TokenCase{"a<<<b", "I'a' S'<<' S'<' I'b'"},
                    TokenCase{"a===b", "I'a' S'==' S'=' I'b'"},
                    TokenCase{"a=!b", "I'a' S'=' S'!' I'b'"},
                    // A joined token takes the second token's class.
                    TokenCase{"\"=\"=x", "S'==' I'x'"},
                    TokenCase{"a&b", "I'a' S'&' I'b'"}),
    NameByField<&TokenCase::input>());

INSTANTIATE_TEST_SUITE_P(
    Numbers, TokeniseAndJoin,
    testing::Values(TokenCase{"0x1F", "N'0x1F'"},
                    TokenCase{"0X1F", "N'0' I'X1F'"},
                    TokenCase{"&h1f", "N'&h1f'"},
                    TokenCase{"&H1F+1", "N'&H1F' S'+' N'1'"},
                    TokenCase{"1.2.3", "N'1.2' S'.' N'3'"},
                    TokenCase{"0x1.5", "N'0x1' S'.' N'5'"},
                    TokenCase{"12e5", "N'12' I'e5'"},
                    TokenCase{"10x", "N'10' I'x'"},
                    TokenCase{"&Hz", "N'&H' I'z'"},
                    TokenCase{"a&", "I'a' S'&'"}),
    NameByField<&TokenCase::input>());

INSTANTIATE_TEST_SUITE_P(
    WordsAndSymbols, TokeniseAndJoin,
    testing::Values(TokenCase{"a_b1", "I'a_b1'"},
                    TokenCase{"a-b", "I'a' S'-' I'b'"},
                    TokenCase{"f(1,a)", "I'f' S'(' N'1' S',' I'a' S')'"},
                    TokenCase{"lbl:", "I'lbl' S':'"},
                    TokenCase{"a/b", "I'a' S'/' I'b'"},
                    TokenCase{"a/", "I'a' S'/'"},
                    TokenCase{"\t x \r\n", "I'x'~"},
                    TokenCase{"", ""},
                    TokenCase{"   ", ""}),
    NameByField<&TokenCase::input>());

INSTANTIATE_TEST_SUITE_P(
    Strings, TokeniseAndJoin,
    testing::Values(TokenCase{"say(\"he said \\\"hi\\\"\")", "I'say' S'(' L'he said \"hi\"' S')'"},
                    TokenCase{"\"a b\" c", "L'a b'~ I'c'"},
                    TokenCase{"\"a\"c", "L'a' I'c'"},
                    TokenCase{"\"\\x41\\t\"", "L'A\t'"},
                    TokenCase{"\"\"", "L''"},
                    // Comment markers inside a literal are text.
                    TokenCase{"\"a//b /* c\"", "L'a//b /* c'"},
                    // An unterminated literal keeps its text as written, closing quote added.
                    TokenCase{"x = \"abc", "I'x'~ S'='~ L'\"abc\"'"},
                    TokenCase{"\"a\\\"b", "L'\"a\\\"b\"'"},
                    TokenCase{"\"a;b", "L'\"a;b\"'"}),
    NameByField<&TokenCase::input>());

INSTANTIATE_TEST_SUITE_P(
    Comments, TokeniseAndJoin,
    testing::Values(TokenCase{"x = 1 // note", "I'x'~ S'='~ N'1'~"},
                    TokenCase{"ab/* c */cd", "I'abcd'"},
                    TokenCase{"a /* x */ b", "I'a'~ I'b'"},
                    TokenCase{"a//c\nb", "I'ab'"},
                    TokenCase{"a/* x\n y */=/**/=b", "I'a' S'==' I'b'"},
                    TokenCase{"a/*/b", "I'ab'"},
                    TokenCase{"a/* never closed", "I'a'"}),
    NameByField<&TokenCase::input>());

}  // namespace
}  // namespace quendrel
