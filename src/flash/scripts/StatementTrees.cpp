#include "flash/scripts/StatementTrees.h"

#include <utility>

namespace quendrel {

void StatementTrees::Clear() {
  trees_.clear();
  uses_.clear();
  passingBytes_ = 0;
}

ParseTreeNodePtr StatementTrees::Find(std::int32_t index) {
  const auto found = trees_.find(index);
  if (found == trees_.end()) return nullptr;
  Entry& entry = found->second;
  if (!entry.lasting) uses_.splice(uses_.begin(), uses_, entry.use);
  return entry.tree;
}

// The tree just kept is never the one dropped, however long its text.
void StatementTrees::Keep(std::int32_t index, ParseTreeNodePtr tree, std::size_t textBytes, bool lasting) {
  if (trees_.count(index) != 0) return;
  Entry entry{std::move(tree), textBytes, lasting, uses_.end()};
  if (!lasting) {
    uses_.push_front(index);
    entry.use = uses_.begin();
    passingBytes_ += textBytes;
  }
  trees_.emplace(index, std::move(entry));
  while (uses_.size() > 1 && (uses_.size() > kMostTrees || passingBytes_ > kMostTextBytes)) DropOldest();
}

void StatementTrees::DropOldest() {
  const auto found = trees_.find(uses_.back());
  passingBytes_ -= found->second.textBytes;
  trees_.erase(found);
  uses_.pop_back();
}

}  // namespace quendrel
