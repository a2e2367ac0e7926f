#include "flash/language/ParseTreeNode.h"

#include <gtest/gtest.h>

#include <memory>

namespace quendrel {
namespace {

ParseTreeNodePtr Leaf(const std::string& token, const std::string& value) {
  auto node = std::make_shared<ParseTreeNode>();
  node->SetToken(token);
  node->SetValue(value);
  return node;
}

ParseTreeNodePtr Inner(const std::string& token, std::initializer_list<ParseTreeNodePtr> children) {
  auto node = Leaf(token, "");
  ParseTreeNodePtr last;
  for (const auto& child : children) {
    if (last == nullptr) {
      node->SetChild(child);
    } else {
      last->SetSibling(child);
    }
    last = child;
  }
  return node;
}

TEST(ParseTreeNode, OrdinalChildCountsFromOneWithinTheList) {
  const auto a = Leaf("ID", "lbl");
  const auto colon = Leaf("\":\"", ":");
  const auto body = Inner("statement-body", {Leaf("\"break\"", "break")});
  const auto statement = Inner("statement", {a, colon, body});

  EXPECT_EQ(statement->Children(), 3);
  EXPECT_EQ(statement->OrdinalChild(0), nullptr);
  EXPECT_EQ(statement->OrdinalChild(1), a);
  EXPECT_EQ(statement->OrdinalChild(2), colon);
  EXPECT_EQ(statement->OrdinalChild(3), body);
  EXPECT_EQ(statement->OrdinalChild(4), nullptr);
  EXPECT_EQ(statement->OrdinalChild(-1), nullptr);
  EXPECT_EQ(a->Children(), 0);
  EXPECT_EQ(a->OrdinalChild(1), nullptr);
}

TEST(ParseTreeNode, ToStringRendersIdsByValueAndOtherLeavesByToken) {
  const auto tree = Inner("assign", {Leaf("ID", "x"), Leaf("\"=\"", "="),
                                     Inner("expr", {Inner("value", {Leaf("NUMBER", "1")})})});
  EXPECT_EQ(tree->ToString(), "assign[\"x\" \"\"=\"\" expr[value[\"NUMBER\"]]]");
}

TEST(ParseTreeNode, ToStringShowsAGotoLeafWithItsTarget) {
  const auto body = Inner("statement-body", {Leaf("goto", "goto"), Leaf("ID", "autolabel0")});
  EXPECT_EQ(body->ToString(), "statement-body[goto \"autolabel0\" \"autolabel0\"]");
}

TEST(ParseTreeNode, TreeTextShowsLiteralsBareAndOtherLeavesWithValues) {
  const auto tree = Inner("fcall", {Leaf("ID", "f"), Leaf("\"(\"", "("), Leaf("\")\"", ")")});
  EXPECT_EQ(tree->ToTreeText(), "fcall[ID(f), \"(\", \")\"]");
  EXPECT_EQ(Leaf("", "")->ToTreeText(), "()");
}

// A generated statement can make a chain of nodes as long as it is; dropping it must not recurse.
TEST(ParseTreeNode, DropsAMillionLinksOfChildrenOrSiblings) {
  for (const bool throughChildren : {true, false}) {
    auto root = Leaf("expr", "");
    ParseTreeNode* last = root.get();
    for (int i = 0; i < 1000000; ++i) {
      auto next = Leaf("value", "");
      throughChildren ? last->SetChild(next) : last->SetSibling(next);
      last = next.get();
    }
    root.reset();
    EXPECT_EQ(root, nullptr);
  }
}

TEST(ParseTreeNode, DroppingATreeLeavesNodesHeldElsewhereWhole) {
  const auto kept = Inner("plist", {Leaf("NUMBER", "1")});
  kept->SetSibling(Leaf("\")\"", ")"));
  auto tree = Inner("fcall", {Leaf("ID", "f"), Leaf("\"(\"", "("), kept});
  tree.reset();
  EXPECT_EQ(kept->ToTreeText(), "plist[NUMBER(1)]");
  ASSERT_NE(kept->Sibling(), nullptr);
  EXPECT_EQ(kept->Sibling()->Token(), "\")\"");
}

}  // namespace
}  // namespace quendrel
