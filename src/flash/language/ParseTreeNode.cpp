#include "flash/language/ParseTreeNode.h"

#include <utility>
#include <vector>

namespace quendrel {

namespace {

bool IsQuotedLiteral(const std::string& text) {
  return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

}  // namespace

// A node held only here hands its links to the list before it goes, so no node's destructor runs
// inside another's and a tree of any depth costs no stack; a node shared elsewhere just loses
// this reference and keeps its links.
ParseTreeNode::~ParseTreeNode() {
  if (child_ == nullptr && sibling_ == nullptr) {
    return;
  }
  std::vector<ParseTreeNodePtr> pending;
  pending.push_back(std::move(child_));
  pending.push_back(std::move(sibling_));
  while (!pending.empty()) {
    ParseTreeNodePtr node = std::move(pending.back());
    pending.pop_back();
    if (node != nullptr && node.use_count() == 1) {
      pending.push_back(std::move(node->child_));
      pending.push_back(std::move(node->sibling_));
    }
  }
}

void ParseTreeNode::SetCoveredValue(std::shared_ptr<const std::string> text, std::size_t begin, std::size_t length) {
  covered_ = std::move(text);
  coveredBegin_ = begin;
  coveredLength_ = length;
}

void ParseTreeNode::FillCoveredValue() const {
  value_.assign(*covered_, coveredBegin_, coveredLength_);
  covered_.reset();
}

int ParseTreeNode::Children() const {
  int count = 0;
  for (const ParseTreeNode* node = child_.get(); node != nullptr; node = node->sibling_.get()) {
    ++count;
  }
  return count;
}

ParseTreeNodePtr ParseTreeNode::OrdinalChild(int i) const {
  if (i < 1) {
    return nullptr;
  }
  ParseTreeNodePtr node = child_;
  for (int k = 1; k < i && node != nullptr; ++k) {
    node = node->sibling_;
  }
  return node;
}

std::string ParseTreeNode::ToString() const {
  if (child_ == nullptr) {
    if (token_ == "ID") {
      return "\"" + Value() + "\"";
    }
    if (token_ == "goto") {
      return "goto " + (sibling_ != nullptr ? sibling_->ToString() : std::string());
    }
    return "\"" + token_ + "\"";
  }
  std::string text = token_ + "[";
  for (const ParseTreeNode* node = child_.get(); node != nullptr; node = node->sibling_.get()) {
    text += node->ToString() + " ";
  }
  text.pop_back();
  return text + "]";
}

std::string ParseTreeNode::ToTreeText() const {
  if (child_ == nullptr) {
    return IsQuotedLiteral(token_) ? token_ : token_ + "(" + Value() + ")";
  }
  std::string text = token_ + "[";
  for (const ParseTreeNode* node = child_.get(); node != nullptr; node = node->sibling_.get()) {
    if (node != child_.get()) {
      text += ", ";
    }
    text += node->ToTreeText();
  }
  return text + "]";
}

}  // namespace quendrel
