#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "flash/language/ParseArrow.h"
#include "flash/language/ParseEngine.h"
#include "flash/language/ParseLattice.h"
#include "flash/language/ParseRule.h"
#include "foundation/files/qovStringStream.h"
#include "platform/ScriptedUi.h"

namespace quendrel {
namespace {

std::vector<std::string> Patterns(const ParseLattice& lattice, const std::string& target) {
  std::vector<std::string> patterns;
  for (const ParseRule* rule : lattice.Rules(target)) {
    patterns.push_back(rule->Pattern());
  }
  return patterns;
}

using Strings = std::vector<std::string>;

TEST(ParseRule, PatternSplitsAtEverySingleBlank) {
  ParseRule rule("fcall", "ID \"(\" plist \")\"");
  EXPECT_EQ(rule.PatternArray(), (Strings{"ID", "\"(\"", "plist", "\")\""}));
  EXPECT_EQ(rule.Length(), 4);

  rule.SetPattern("a  b");
  EXPECT_EQ(rule.PatternArray(), (Strings{"a", "", "b"}));
  rule.SetPattern("");
  EXPECT_EQ(rule.Length(), 0);
}

TEST(ParseArrow, DotAndLengthAreClamped) {
  const ParseRule rule("expr", "comp-e binlog expr");
  ParseArrow arrow;
  arrow.SetDot(-2);
  arrow.SetLength(-1);
  EXPECT_EQ(arrow.Dot(), 0);
  EXPECT_EQ(arrow.Length(), 0);
  arrow.SetDot(7);
  EXPECT_EQ(arrow.Dot(), 7);  // no rule: no upper bound

  arrow.SetLength(4);
  arrow.SetRule(&rule);
  EXPECT_EQ(arrow.Dot(), 0);
  EXPECT_EQ(arrow.Length(), 0);
  arrow.SetDot(9);
  EXPECT_EQ(arrow.Dot(), 3);
}

TEST(ParseArrow, CompletenessDiffersForTokenAndRuleArrows) {
  const ParseRule rule("value", "\"(\" expr \")\"");
  ParseArrow token;
  EXPECT_FALSE(token.IsComplete());  // a token arrow needs at least one token
  token.SetLength(1);
  token.SetDot(1);
  EXPECT_TRUE(token.IsComplete());

  ParseArrow arrow;
  arrow.SetRule(&rule);
  arrow.SetDot(2);
  EXPECT_FALSE(arrow.IsComplete());
  arrow.SetDot(3);
  EXPECT_TRUE(arrow.IsComplete());
}

TEST(ParseArrow, DescribeMarksTheMatchedSymbols) {
  const ParseRule rule("assign", "ID \"=\" expr");
  ParseArrow arrow;
  arrow.SetRule(&rule);
  EXPECT_EQ(arrow.Describe(), "assign => ID \"=\" expr ");
  arrow.SetDot(2);
  EXPECT_EQ(arrow.Describe(), "assign => ID \"=\"\xE2\x80\xA1 expr ");
}

TEST(Grammar, BuiltInGrammarDefinesEveryAlternativeInOrder) {
  const ParseEngine engine;
  const ParseLattice& lattice = engine.lattice();
  EXPECT_EQ(Patterns(lattice, "statement"), (Strings{"statement-body", "ID \":\" statement-body"}));
  EXPECT_EQ(Patterns(lattice, "statement-body"),
            (Strings{"assign", "fcall", "\"goto\" ID", "\"break\"", "\"continue\"", "block-start", "block-end"}));
  EXPECT_EQ(Patterns(lattice, "expr"), (Strings{"comp-e", "comp-e binlog expr", "value"}));
  EXPECT_EQ(Patterns(lattice, "value"),
            (Strings{"unaryop value", "ID", "NUMBER", "STRING", "\"(\" expr \")\"", "fcall"}));
  EXPECT_EQ(Patterns(lattice, "binmul"), (Strings{"\"*\"", "\"/\"", "\"%\"", "\"\\\""}));
  EXPECT_EQ(Patterns(lattice, "binbitwise"), (Strings{"\"&\"", "\"|\"", "\"^\"", "\"<<\"", "\">>\""}));
  EXPECT_EQ(Patterns(lattice, "bincomp"), (Strings{"\"==\"", "\"!=\"", "\">\"", "\"<\"", "\">=\"", "\"<=\""}));
  EXPECT_EQ(Patterns(lattice, "binadd"), (Strings{"\"+\"", "\"-\"", "\".\""}));
  EXPECT_EQ(Patterns(lattice, "unaryop"), (Strings{"\"-\"", "\"!\"", "\"~\""}));

  const char* targets[] = {"statement", "statement-body", "block-start", "block-end", "assign",
                           "expr", "comp-e", "add-e", "mul-e", "bit-e", "fcall", "plist",
                           "value", "binlog", "bincomp", "binadd", "binmul", "binbitwise", "unaryop"};
  std::size_t rules = 0;
  for (const char* target : targets) {
    rules += lattice.Rules(target).size();
  }
  EXPECT_EQ(rules, 57u);
}

TEST(Grammar, CommentsEndAtAHashOutsideQuotes) {
  ParseLattice lattice;
  qovStringStream text(
      "# a comment line := ignored\r\n"
      "  \r\n"
      "sym := \"#\" | \"a|b\" # the rest is a comment | \"c\"\n"
      "no assignment here\n"
      "  other :=  x  |y   \n");
  lattice.ReadRules(text);
  EXPECT_EQ(Patterns(lattice, "sym"), (Strings{"\"#\"", "\"a|b\""}));
  EXPECT_EQ(Patterns(lattice, "other"), (Strings{"x", "y"}));
  EXPECT_TRUE(lattice.Rules("no assignment here").empty());
}

TEST(Grammar, ReadingReplacesTheRulesAndAddRuleAppends) {
  ParseLattice lattice;
  qovStringStream first("a := x | y\n");
  lattice.ReadRules(first);
  qovStringStream second("b := z\n");
  lattice.ReadRules(second);
  EXPECT_TRUE(lattice.Rules("a").empty());
  lattice.AddRule("b", "w | \"|\"");
  EXPECT_EQ(Patterns(lattice, "b"), (Strings{"z", "w", "\"|\""}));
}

TEST(Grammar, MissingGrammarIsReportedAndNothingParses) {
  ScriptedUi ui;
  ui.AnswerMsgBox(vbOK);
  ParseEngine engine(nullptr);
  ASSERT_EQ(ui.Questions().size(), 1u);
  EXPECT_EQ(ui.Questions()[0].Prompt, "Unable to load grammar data.");
  EXPECT_EQ(ui.Questions()[0].Title, "Scripting Parser Error");
  EXPECT_EQ(ui.Questions()[0].Style, vbCritical | vbOKOnly);
  EXPECT_EQ(engine.ParseSingle("x = 1", "statement"), nullptr);
}

TEST(Grammar, GrammarFromAStreamDrivesTheParser) {
  ParseEngine engine(std::make_unique<qovStringStream>("pair := ID \"+\" ID\n"));
  const auto tree = engine.ParseSingle("a + b", "pair");
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->ToTreeText(), "pair[ID(a), \"+\", ID(b)]");
  EXPECT_EQ(engine.ParseSingle("a - b", "pair"), nullptr);
}

}  // namespace
}  // namespace quendrel
