#include "flash/language/ParseEngine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flash/language/ScriptParser.h"
#include "platform/ScriptedUi.h"
#include "support/CaseName.h"

namespace quendrel {
namespace {

struct InsertCase {
  const char* input;
  const char* after;
  const char* expected;
};

class InsertSemicolons : public testing::TestWithParam<InsertCase> {};

TEST_P(InsertSemicolons, SeparatesTheConditionFromWhatFollows) {
  EXPECT_EQ(ParseEngine::InsertSemicolons(GetParam().input, GetParam().after), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    AsWritten, InsertSemicolons,
    testing::Values(InsertCase{"if (x) goto end", "if", "if (x); goto end"},
                    InsertCase{"if(x) goto end", "if", "if(x) goto end"},
                    InsertCase{"if  (x) goto end", "if", "if  (x) goto end"},
                    InsertCase{"If (x) goto end", "if", "If (x) goto end"},
                    InsertCase{"if (a(1)) b = 2", "if", "if (a(1);) b = 2"},
                    InsertCase{"if (x); y = 1", "if", "if (x);; y = 1"},
                    InsertCase{"if (x) {", "if", "if (x); {"},
                    InsertCase{"if (x) a(); if (y) b()", "if", "if (x); a(); if (y); b()"},
                    InsertCase{"while (n) n = n - 1", "while", "while (n); n = n - 1"},
                    InsertCase{"while (n) n = n - 1", "if", "while (n) n = n - 1"},
                    InsertCase{"if (x", "if", "if (x"},
                    InsertCase{"xif (a) b", "if", "xif (a); b"}),
    NameByField<&InsertCase::input>());

INSTANTIATE_TEST_SUITE_P(
    StringLiterals, InsertSemicolons,
    testing::Values(InsertCase{"msg(\"if (x) y\")", "if", "msg(\"if (x) y\")"},
                    InsertCase{"if (s == \")\") go()", "if", "if (s == \")\"); go()"},
                    InsertCase{"if (s == \"\\\")\") go()", "if", "if (s == \"\\\")\"); go()"},
                    InsertCase{"if (a) say(\"oops if (b) x", "if", "if (a); say(\"oops if (b) x"},
                    InsertCase{"say(\"x\") if (a) b", "if", "say(\"x\") if (a); b"}),
    NameByField<&InsertCase::input>());

class ParseTest : public testing::Test {
 protected:
  std::vector<std::string> Values(const std::string& text) {
    const auto trees = engine_.Parse(text);
    EXPECT_TRUE(trees.has_value()) << text;
    std::vector<std::string> values;
    for (const auto& tree : trees.value_or(std::vector<ParseTreeNodePtr>{})) {
      values.push_back(tree->Value());
    }
    return values;
  }

  void ExpectSyntaxError(const std::string& text) {
    ScriptedUi ui;
    ui.AnswerMsgBox(vbOK);
    EXPECT_FALSE(engine_.Parse(text).has_value()) << text;
    ASSERT_EQ(ui.Questions().size(), 1u);
    EXPECT_EQ(ui.Questions()[0].Prompt, "Syntax error in FL2 script.");
    EXPECT_EQ(ui.Questions()[0].Title, "FL2 Execution Error");
    EXPECT_EQ(ui.Questions()[0].Style, vbExclamation | vbOKOnly);
  }

  ParseEngine engine_;
};

using Strings = std::vector<std::string>;

TEST_F(ParseTest, EmptyPiecesAreDroppedAndValuesKeepTheirBlanks) {
  EXPECT_EQ(Values("x = 1; ; y = 2"), (Strings{"x = 1", " y = 2"}));
  EXPECT_EQ(Values(" x = 1 "), (Strings{" x = 1 "}));
  EXPECT_EQ(Values(""), Strings{});
  EXPECT_EQ(Values(" ;;  ; "), Strings{});
}

TEST_F(ParseTest, ConditionAndGuardedStatementBecomeTwoTrees) {
  const auto trees = engine_.Parse("if (x) goto done");
  ASSERT_TRUE(trees.has_value());
  ASSERT_EQ(trees->size(), 2u);
  EXPECT_EQ((*trees)[0]->Value(), "if (x)");
  EXPECT_EQ((*trees)[0]->Child()->Child()->Token(), "fcall");
  EXPECT_EQ((*trees)[1]->Value(), " goto done");
  EXPECT_EQ((*trees)[1]->ToTreeText(), "statement[statement-body[\"goto\", ID(done)]]");
}

TEST_F(ParseTest, BracesBecomeStatementsOfTheirOwn) {
  EXPECT_EQ(Values("while (n) { n = n - 1 }"), (Strings{"while (n)", "{", " n = n - 1 ", "}"}));
  EXPECT_EQ(Values("if (a == 1) {x = 2;}"), (Strings{"if (a == 1)", "{", "x = 2", "}"}));
}

TEST_F(ParseTest, SyntaxErrorIsReportedOnceAndGivesNothing) {
  ExpectSyntaxError("a = 1 +");
  ExpectSyntaxError("x = 1; = 2; also bad +");
  ExpectSyntaxError("\t");
}

TEST_F(ParseTest, SeparatorsInsideStringLiteralsStayText) {
  const auto trees = engine_.Parse("say(\"a; {b}\")");
  ASSERT_TRUE(trees.has_value());
  ASSERT_EQ(trees->size(), 1u);
  EXPECT_EQ((*trees)[0]->Value(), "say(\"a; {b}\")");
  const auto plist = (*trees)[0]->Child()->Child()->OrdinalChild(3);
  EXPECT_EQ(plist->Child()->Child()->Child()->Value(), "a; {b}");
}

TEST_F(ParseTest, QuotesEscapesAndParenthesesInsideALiteralDoNotSplitTheText) {
  EXPECT_EQ(Values("say(\"x\\\";y\"); z = 1"), (Strings{"say(\"x\\\";y\")", " z = 1"}));
  EXPECT_EQ(Values("x = \"a;b"), Strings{"x = \"a;b"}) << "an unterminated literal runs to the end";
  EXPECT_EQ(Values("if (s == \")\") say(\"a\")"), (Strings{"if (s == \")\")", " say(\"a\")"}));
}

TEST_F(ParseTest, ParseSingleTakesAnyTarget) {
  const auto expr = engine_.ParseSingle("1 + 2", "expr");
  ASSERT_NE(expr, nullptr);
  EXPECT_EQ(expr->Token(), "expr");
  EXPECT_EQ(engine_.ParseSingle("", "statement"), nullptr);
  EXPECT_EQ(engine_.ParseSingle("x = 1", "nosuch"), nullptr);
}

TEST_F(ParseTest, EachCallStartsFromAnEmptyChart) {
  ASSERT_NE(engine_.ParseSingle("x = f(1, 2, 3) + 4", "statement"), nullptr);
  const auto tree = engine_.ParseSingle("x = 1", "statement");
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->Value(), "x = 1");
  EXPECT_EQ(engine_.lattice().PoleCount(), 3);
}

std::string Repeated(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) {
    result += text;
  }
  return result;
}

// Generated or damaged scripts nest far deeper than anyone writes: they are refused, not fatal.
TEST_F(ParseTest, StatementsNestedTooDeeplyAreSyntaxErrors) {
  const std::string deep[] = {
      "x = " + Repeated("(", 10000) + "1" + Repeated(")", 10000),
      "x = " + Repeated("- ", 100000) + "1",
  };
  for (const std::string& text : deep) {
    ExpectSyntaxError(text);
  }
}

TEST_F(ParseTest, DeepNestingWithinTheLimitReachesTheInnermostValue) {
  const auto trees = engine_.Parse("x = " + Repeated("(", 500) + "1" + Repeated(")", 500));
  ASSERT_TRUE(trees.has_value());
  int parentheses = 0;
  const ParseTreeNode* node = trees->front().get();
  while (node->Child() != nullptr) {
    const bool bracketed = node->Token() == "value" && node->Children() == 3;
    parentheses += bracketed ? 1 : 0;
    node = node->OrdinalChild(bracketed ? 2 : node->Children()).get();
  }
  EXPECT_EQ(parentheses, 500);
  EXPECT_EQ(node->Token(), "NUMBER");
  EXPECT_EQ(node->Value(), "1");
}

TEST(ScriptParser, StartUpMakesTheGlobalEngineWithTheBuiltInGrammar) {
  ParseEngine& engine = CreateScriptParser();
  EXPECT_EQ(&ScriptParser(), &engine);
  EXPECT_NE(ScriptParser().ParseSingle("x = 1", "statement"), nullptr);
}

}  // namespace
}  // namespace quendrel
