#include <gtest/gtest.h>

#include <string>

#include "flash/language/ParseEngine.h"
#include "support/CaseName.h"

namespace quendrel {
namespace {

// The trees the block lowering and the evaluator are written against. Shapes of expressions
// follow from the order arrows are made and from ExtractTree's choices, not from what would
// look most natural.
struct ShapeCase {
  const char* statement;
  const char* tree;  // empty: the text is no statement
};

class StatementShape : public testing::TestWithParam<ShapeCase> {
 protected:
  static ParseEngine& Engine() {
    static ParseEngine engine;
    return engine;
  }
};

TEST_P(StatementShape, ParsesToTheGoldenTree) {
  const auto tree = Engine().ParseSingle(GetParam().statement, "statement");
  const std::string expected = GetParam().tree;
  if (expected.empty()) {
    EXPECT_EQ(tree, nullptr) << tree->ToTreeText();
    return;
  }
  ASSERT_NE(tree, nullptr) << GetParam().statement;
  EXPECT_EQ(tree->ToTreeText(), expected) << GetParam().statement;
}

#define SB(x) "statement[statement-body[" x "]]"
#define LEVELS(x) "comp-e[add-e[mul-e[bit-e[" x "]]]]"

INSTANTIATE_TEST_SUITE_P(
    Statements, StatementShape,
    testing::Values(
        ShapeCase{"x = 1", SB("assign[ID(x), \"=\", expr[value[NUMBER(1)]]]")},
        ShapeCase{"break", "statement[ID(break)]"},
        ShapeCase{"continue", "statement[ID(continue)]"},
        ShapeCase{"done", "statement[ID(done)]"},
        ShapeCase{"lbl:", "statement[ID(lbl), \":\"]"},
        ShapeCase{"goto x", SB("\"goto\", ID(x)")},
        ShapeCase{"lbl: f(1)",
                  "statement[ID(lbl), \":\", statement-body[fcall[ID(f), \"(\", plist[expr[value[NUMBER(1)]]], \")\"]]]"},
        ShapeCase{"f(1, a)",
                  SB("fcall[ID(f), \"(\", plist[expr[value[NUMBER(1)]], \",\", plist[expr[value[ID(a)]]]], \")\"]")},
        ShapeCase{"f()", SB("fcall[ID(f), \"(\", \")\"]")},
        ShapeCase{"{", SB("block-start[\"{\"]")},
        ShapeCase{"}", SB("block-end[\"}\"]")},
        ShapeCase{"lbl: goto lbl", "statement[ID(lbl), \":\", statement-body[\"goto\", ID(lbl)]]"},
        ShapeCase{"if(x)", SB("fcall[ID(if), \"(\", plist[expr[value[ID(x)]]], \")\"]")},
        ShapeCase{"x = 1 +", ""},
        ShapeCase{"x = 1 2", ""},
        ShapeCase{"1 + 2", ""},
        ShapeCase{"goto", "statement[ID(goto)]"},
        ShapeCase{"f(1,)", ""}),
    NameByField<&ShapeCase::statement>());

INSTANTIATE_TEST_SUITE_P(
    Expressions, StatementShape,
    testing::Values(
        ShapeCase{"x = 10 - 3 - 2",
                  SB("assign[ID(x), \"=\", expr[comp-e[add-e[mul-e[bit-e[value[NUMBER(10)]]], binadd[\"-\"], "
                     "add-e[mul-e[bit-e[value[NUMBER(3)]]], binadd[\"-\"], add-e[mul-e[bit-e[value[NUMBER(2)]]]]]]]]]")},
        ShapeCase{"x = 8 / 4 / 2",
                  SB("assign[ID(x), \"=\", expr[comp-e[add-e[mul-e[bit-e[value[NUMBER(8)]], binmul[\"/\"], "
                     "mul-e[bit-e[value[NUMBER(4)]], binmul[\"/\"], mul-e[bit-e[value[NUMBER(2)]]]]]]]]]")},
        ShapeCase{"x = 2 + 3 * 4",
                  SB("assign[ID(x), \"=\", expr[comp-e[add-e[mul-e[bit-e[value[NUMBER(2)]]], binadd[\"+\"], "
                     "add-e[mul-e[bit-e[value[NUMBER(3)]], binmul[\"*\"], mul-e[bit-e[value[NUMBER(4)]]]]]]]]]")},
        // The last operand of a chain is an expr holding a value directly.
        ShapeCase{"x = a && b && c",
                  SB("assign[ID(x), \"=\", expr[" LEVELS("value[ID(a)]") ", binlog[\"&&\"], expr["
                     LEVELS("value[ID(b)]") ", binlog[\"&&\"], expr[value[ID(c)]]]]]")},
        ShapeCase{"x = -1", SB("assign[ID(x), \"=\", expr[" LEVELS("value[unaryop[\"-\"], value[NUMBER(1)]]") "]]")},
        ShapeCase{"x = - - 1",
                  SB("assign[ID(x), \"=\", expr[" LEVELS("value[unaryop[\"-\"], value[unaryop[\"-\"], value[NUMBER(1)]]]") "]]")},
        ShapeCase{"x = a == b",
                  SB("assign[ID(x), \"=\", expr[comp-e[add-e[mul-e[bit-e[value[ID(a)]]]], bincomp[\"==\"], "
                     "comp-e[add-e[mul-e[bit-e[value[ID(b)]]]]]]]]")},
        ShapeCase{"x = a & b << 2",
                  SB("assign[ID(x), \"=\", expr[comp-e[add-e[mul-e[bit-e[value[ID(a)], binbitwise[\"&\"], "
                     "bit-e[value[ID(b)], binbitwise[\"<<\"], bit-e[value[NUMBER(2)]]]]]]]]]")},
        ShapeCase{"x = (1 + 2) * 3",
                  SB("assign[ID(x), \"=\", expr[comp-e[add-e[mul-e[bit-e[value[\"(\", expr[comp-e[add-e["
                     "mul-e[bit-e[value[NUMBER(1)]]], binadd[\"+\"], add-e[mul-e[bit-e[value[NUMBER(2)]]]]]]], \")\"]], "
                     "binmul[\"*\"], mul-e[bit-e[value[NUMBER(3)]]]]]]]]")},
        ShapeCase{"x = \"s\"", SB("assign[ID(x), \"=\", expr[value[STRING(s)]]]")},
        ShapeCase{"x = f(a)",
                  SB("assign[ID(x), \"=\", expr[" LEVELS("value[fcall[ID(f), \"(\", plist[expr[value[ID(a)]]], \")\"]]") "]]")}),
    NameByField<&ShapeCase::statement>());

TEST(StatementValues, LeavesHoldTokenTextsAndInnerNodesTheCoveredText) {
  ParseEngine engine;
  const auto tree = engine.ParseSingle("say(\"a \\\"b\\\"\", 0x1F)", "statement");
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->Value(), "say ( a \"b\" , 0x1F )");
  const auto plist = tree->Child()->Child()->OrdinalChild(3);
  EXPECT_EQ(plist->Token(), "plist");
  EXPECT_EQ(plist->Child()->Child()->Child()->Value(), "a \"b\"");
  EXPECT_EQ(plist->Child()->Child()->Child()->Token(), "STRING");
}

}  // namespace
}  // namespace quendrel
