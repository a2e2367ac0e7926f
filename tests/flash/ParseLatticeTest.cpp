#include "flash/language/ParseLattice.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "flash/language/ParseEngine.h"
#include "flash/language/ScriptTokeniser.h"
#include "foundation/files/qovStringStream.h"
#include "support/ReferenceLattice.h"

namespace quendrel {
namespace {

class ParseLatticeTest : public testing::Test {
 protected:
  ParseLattice& Lattice() { return engine_.lattice(); }

  void Run(const std::string& text, const std::string& target) {
    Lattice().SetTokenList(ScriptTokeniser::TokeniseAndJoin(text));
    Lattice().RunRules(target);
  }

  ParseEngine engine_;
};

TEST_F(ParseLatticeTest, EmptyTokenListGivesNoTree) {
  Run("", "statement");
  EXPECT_EQ(Lattice().PoleCount(), 0);
  EXPECT_EQ(Lattice().ArrowsCreated(), 0u);
  EXPECT_EQ(Lattice().ExtractTree("statement", 1, -1), nullptr);
}

TEST_F(ParseLatticeTest, ExtractTreeTakesOnlySpansInsideTheTokens) {
  Run("x = 1 +", "statement");
  EXPECT_EQ(Lattice().ExtractTree("statement", 1, -1), nullptr);
  EXPECT_NE(Lattice().ExtractTree("statement", 1, 3), nullptr) << "shorter spans do parse";
  EXPECT_EQ(Lattice().ExtractTree("statement", 1, 0), nullptr);
  EXPECT_EQ(Lattice().ExtractTree("statement", 5, 1), nullptr);
  EXPECT_EQ(Lattice().ExtractTree("statement", 0, 1), nullptr);
  EXPECT_EQ(Lattice().ExtractTree("nosuch", 1, -1), nullptr);
}

TEST_F(ParseLatticeTest, ExtractTreeTakesATokenArrowAsALeaf) {
  Run("x = \"a b\"", "statement");
  const auto leaf = Lattice().ExtractTree("STRING", 3, 1);
  ASSERT_NE(leaf, nullptr);
  EXPECT_EQ(leaf->Value(), "a b");
  EXPECT_EQ(leaf->Children(), 0);
  const auto literal = Lattice().ExtractTree("\"=\"", 2, 1);
  ASSERT_NE(literal, nullptr);
  EXPECT_EQ(literal->Token(), "\"=\"");
  EXPECT_EQ(literal->Value(), "=");
}

TEST_F(ParseLatticeTest, ArrowsStayWithinTensPerToken) {
  Run("x = a + b * (c - 1) && f(1, 2, 3) == \"s\"", "statement");
  ASSERT_NE(Lattice().ExtractTree("statement", 1, -1), nullptr);
  const auto tokens = Lattice().TokenList().size();
  EXPECT_LT(Lattice().ArrowsCreated(), tokens * 40);
}

// The indexed lattice must build exactly the chart of the plain algorithm, arrow for arrow and
// in the same order, because the order decides which tree comes out; a chart built with
// lookahead must give the same tree.
class ReferenceComparison : public ParseLatticeTest {
 protected:
  void ExpectSameAsReference(const std::string& text, const std::string& target) {
    const auto tokens = ScriptTokeniser::TokeniseAndJoin(text);
    Run(text, target);
    ReferenceLattice reference(Lattice());
    reference.Run(tokens, target);
    ASSERT_EQ(ChartText(Lattice()), reference.ChartText()) << "text: " << text;
    const auto fast = Lattice().ExtractTree(target, 1, -1);
    const auto slow = reference.ExtractTree(target, 1, -1);
    ExpectSameTree(fast, slow, text);
    Lattice().RunRules(target, ParseLattice::ChartMode::kLookahead);
    ExpectSameTree(Lattice().ExtractTree(target, 1, -1), slow, text + " (lookahead)");
  }

  static void ExpectSameTree(const ParseTreeNodePtr& tree, const ParseTreeNodePtr& expected, const std::string& text) {
    ASSERT_EQ(tree == nullptr, expected == nullptr) << "text: " << text;
    if (tree != nullptr) {
      EXPECT_EQ(tree->ToTreeText(), expected->ToTreeText()) << "text: " << text;
      EXPECT_EQ(tree->Value(), expected->Value());
    }
  }
};

TEST_F(ReferenceComparison, HandPickedStatements) {
  const char* statements[] = {
      "x = 1", "break", "lbl:", "goto x", "lbl: f(1)", "f(1, a)", "f()", "{", "}", "x = 1 +",
      "x = 10 - 3 - 2", "x = 8 / 4 / 2", "x = 2 + 3 * 4", "x = a && b && c", "x = -1",
      "x = (1 + 2) * 3", "x = !~-a", "if(!(a == b))", "x = a & b << 2 | c >> 1 ^ d",
      "x = value", "value = fcall", "x = fcall", "expr", "x = f(g(h(1)), \"s\", -2, (3))",
      "lbl: goto lbl", "x = 1 2", "= x", "x = a . \"b\" . c", "x = a \\ b % c",
      "f(,)", "x = ((((1))))", "a: b: c", "x = 1 <= 2 != 3 >= 4 < 5 > 6 ^^ 7 || 8",
  };
  for (const char* statement : statements) {
    ExpectSameAsReference(statement, "statement");
  }
}

// Long and deep statements keep many arrows waiting on idle poles across many passes.
TEST_F(ReferenceComparison, LongAndDeepStatements) {
  std::string sum = "x = 1";
  std::string call = "f(a";
  for (int i = 0; i < 40; ++i) {
    sum += i % 3 == 0 ? " - n" : " + 2";
    call += ", -b . c";
  }
  const std::string nested = "x = " + std::string(25, '(') + "1" + std::string(25, ')');
  for (const std::string& text : {sum, call + ")", nested, std::string("x = ! - ~ - - ! a * (((b)))")}) {
    ExpectSameAsReference(text, "statement");
  }
}

TEST_F(ReferenceComparison, OtherTargets) {
  ExpectSameAsReference("1 + 2 * 3", "expr");
  ExpectSameAsReference("a, b, c", "plist");
  ExpectSameAsReference("-x", "value");
  ExpectSameAsReference("x = 1", "assign");
}

// Statements drawn at random from the language and from plain token soup, with a fixed seed.
class StatementGenerator {
 public:
  explicit StatementGenerator(std::uint32_t seed) : random_(seed) {}
  // Also names that spell symbols of the grammar, which let a rule beginning with that symbol
  // step over the name whatever the symbol would need.
  StatementGenerator(std::uint32_t seed, bool symbolNames) : random_(seed), symbolNames_(symbolNames) {}

  std::string Statement() {
    switch (Pick(6)) {
      case 0: return Name() + " = " + Expression(3);
      case 1: return Call(3);
      case 2: return Name() + ": " + Name() + " = " + Expression(2);
      case 3: return "goto " + Name();
      case 4: return Soup();
      default: return Expression(2);
    }
  }

 private:
  int Pick(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }

  std::string Name() {
    static const char* kNames[] = {"a", "b", "count", "value", "x1", "goto", "if"};
    static const char* kSymbolNames[] = {"NUMBER", "STRING", "ID", "unaryop", "binadd", "binlog", "expr", "plist", "fcall"};
    if (symbolNames_ && Pick(3) == 0) return kSymbolNames[Pick(9)];
    return kNames[Pick(7)];
  }

  std::string Operand(int depth) {
    switch (Pick(depth > 0 ? 6 : 3)) {
      case 0: return Name();
      case 1: return std::to_string(Pick(100));
      case 2: return "\"t\"";
      case 3: return "(" + Expression(depth - 1) + ")";
      case 4: return Call(depth - 1);
      default: return std::string(1, "-!~"[Pick(3)]) + Operand(depth - 1);
    }
  }

  std::string Expression(int depth) {
    static const char* kOperators[] = {"+", "-", ".", "*", "/", "%", "&", "|", "<<", "==", "<", "&&", "||"};
    std::string text = Operand(depth);
    const int more = Pick(4);
    for (int i = 0; i < more; ++i) {
      text += std::string(" ") + kOperators[Pick(13)] + " " + Operand(depth);
    }
    return text;
  }

  std::string Call(int depth) {
    std::string text = Name() + "(";
    const int arguments = Pick(4);
    for (int i = 0; i < arguments; ++i) {
      text += (i > 0 ? ", " : "") + Expression(depth > 0 ? depth - 1 : 0);
    }
    return text + ")";
  }

  std::string Soup() {
    static const char* kTokens[] = {"a", "1", "(", ")", "=", ",", ":", "+", "-", "\"s\"", "goto", "{"};
    std::string text;
    const int length = 1 + Pick(7);
    for (int i = 0; i < length; ++i) {
      text += std::string(kTokens[Pick(12)]) + " ";
    }
    return text;
  }

  std::mt19937 random_;
  bool symbolNames_ = false;
};

TEST_F(ReferenceComparison, GeneratedStatements) {
  StatementGenerator generator(20240611);
  for (int i = 0; i < 300; ++i) {
    ExpectSameAsReference(generator.Statement(), "statement");
    if (HasFatalFailure()) {
      return;
    }
  }
}

TEST_F(ReferenceComparison, NamesThatSpellSymbolsOfTheGrammar) {
  for (const char* statement : {"x = unaryop", "x = ~unaryop + NUMBER", "f(unaryop << b, STRING)", "binadd = binadd - 1",
                                "ID: expr = plist . fcall", "x = f(NUMBER, (binlog))"}) {
    ExpectSameAsReference(statement, "statement");
  }
  StatementGenerator generator(20240612, true);
  for (int i = 0; i < 300 && !HasFatalFailure(); ++i) {
    ExpectSameAsReference(generator.Statement(), "statement");
  }
}

TEST_F(ReferenceComparison, GrammarQuirks) {
  // An empty alternative and a doubled blank (an empty symbol) must not upset the indexes.
  Lattice().AddRule("value", "\"[\"  \"]\" | ");
  ExpectSameAsReference("x = [ ]", "statement");
  ExpectSameAsReference("x = 1", "statement");
}

std::string List(const std::string& first, const std::string& more, int times) {
  std::string text = first;
  for (int i = 0; i < times; ++i) {
    text += more;
  }
  return text;
}

// Every tail of a long right-recursive list completes on every pole of the complete chart, which
// so grows with the square of the statement; the lookahead keeps to tens of arrows a token and
// gives the complete chart's tree.
TEST(LookaheadChart, ListsAtTheTokenLimitTakeTensOfArrowsPerToken) {
  const std::string statements[] = {
      List("f(1", ", a, \"s\", 0x1F", 332) + ")",
      List("x = 1", " + 1", 998),
      List("x = a", " == b", 998),
      List("x = a", " && b", 998),
      List("x = -1", " . (a * 2) - 7", 249),
      List("lbl: f(g(1)", ", h(a, b)", 271) + ")",
      List("f(value", ", 1, value", 499) + ")",
  };
  ParseEngine engine;
  for (const std::string& text : statements) {
    const std::string what = text.substr(0, 24) + "...";
    const auto tree = engine.ParseSingle(text, "statement");
    ASSERT_NE(tree, nullptr) << what;
    const std::size_t tokens = engine.lattice().TokenList().size();
    EXPECT_GT(tokens, 1900u) << what;
    EXPECT_LT(engine.lattice().ArrowsCreated(), tokens * 40) << what;
    EXPECT_TRUE(engine.lattice().LookaheadChart()) << what;
    engine.lattice().RunRules("statement");
    EXPECT_EQ(engine.lattice().ExtractTree("statement", 1, -1)->ToTreeText(), tree->ToTreeText()) << what;
  }
}

// The longest P at the start is "a b", grown from a Q that "z" cannot follow, so the lookahead
// leaves it out; the tree takes the longest P all the same, so it comes from the complete chart.
TEST(LookaheadChart, ATreeThatTakesALeftOutArrowComesFromTheCompleteChart) {
  ParseEngine engine(std::make_unique<qovStringStream>("statement := P \"b\" \"z\"\nP := \"a\" | Q\nQ := \"a\" \"b\"\n"));
  const auto tree = engine.ParseSingle("a b z", "statement");
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->ToTreeText(), "statement[P[Q[\"a\", \"b\"]]]");
  EXPECT_FALSE(engine.lattice().LookaheadChart()) << "built again in full";
}

}  // namespace
}  // namespace quendrel
