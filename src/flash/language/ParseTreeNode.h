// A node of a parsed script statement: the grammar symbol, the source text it covers and its children.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace quendrel {

class ParseTreeNode;
using ParseTreeNodePtr = std::shared_ptr<ParseTreeNode>;

// Children form a singly linked list (Child, then each child's Sibling). Nodes are shared by
// reference: the block lowering re-parents them and the loop stack compares them by identity.
class ParseTreeNode {
 public:
  ParseTreeNode() = default;
  ParseTreeNode(const ParseTreeNode&) = default;
  ParseTreeNode& operator=(const ParseTreeNode&) = default;
  ParseTreeNode(ParseTreeNode&&) = default;
  ParseTreeNode& operator=(ParseTreeNode&&) = default;
  // Frees the nodes only this one holds without recursing, so no tree is too deep to drop.
  ~ParseTreeNode();

  const std::string& Token() const { return token_; }
  void SetToken(std::string token) { token_ = std::move(token); }

  const std::string& Value() const {
    if (covered_ != nullptr) FillCoveredValue();
    return value_;
  }
  void SetValue(std::string value) {
    covered_.reset();
    value_ = std::move(value);
  }
  // The value is the part [begin, begin + length) of a statement's text, cut out when first read:
  // most inner nodes' values are never read, and those of a long list's nested nodes add up to
  // the square of its length.
  void SetCoveredValue(std::shared_ptr<const std::string> text, std::size_t begin, std::size_t length);

  const ParseTreeNodePtr& Child() const { return child_; }
  void SetChild(ParseTreeNodePtr child) { child_ = std::move(child); }

  const ParseTreeNodePtr& Sibling() const { return sibling_; }
  void SetSibling(ParseTreeNodePtr sibling) { sibling_ = std::move(sibling); }

  std::int32_t BreakTo() const { return breakTo_; }
  void SetBreakTo(std::int32_t index) { breakTo_ = index; }

  std::int32_t ContinueTo() const { return continueTo_; }
  void SetContinueTo(std::int32_t index) { continueTo_ = index; }

  // Number of nodes in the child list; 0 for a leaf.
  int Children() const;
  // The i-th child counting from 1, or nothing outside 1..Children().
  ParseTreeNodePtr OrdinalChild(int i) const;

  // One-line rendering kept for debugging: inner nodes as Token[children], ID leaves as their
  // quoted value, a goto leaf followed by its sibling's rendering, other leaves as their quoted token.
  std::string ToString() const;

  // Compact rendering of the whole subtree for tests and diagnostics: an inner node is
  // Token[child, child], a literal leaf is its quoted token, any other leaf Token(Value).
  std::string ToTreeText() const;

 private:
  void FillCoveredValue() const;

  std::string token_;
  mutable std::string value_;
  mutable std::shared_ptr<const std::string> covered_;
  std::size_t coveredBegin_ = 0;
  std::size_t coveredLength_ = 0;
  ParseTreeNodePtr child_;
  ParseTreeNodePtr sibling_;
  std::int32_t breakTo_ = 0;
  std::int32_t continueTo_ = 0;
};

}  // namespace quendrel
