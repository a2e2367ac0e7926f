// The trees of the statements a version-2 script ran last, so a loop does not parse its statements
// again on every pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>

#include "flash/language/ParseTreeNode.h"

namespace quendrel {

// A loop header's tree is kept for as long as the script: the loop stack knows a loop by the
// identity of its header's node. Other trees go, those used longest ago first, once more than a
// few are kept or their texts add up to more than a few long statements.
class StatementTrees {
 public:
  static constexpr std::size_t kMostTrees = 32;
  static constexpr std::size_t kMostTextBytes = 16 * 1024;

  void Clear();
  // The kept tree of the statement, or nothing.
  ParseTreeNodePtr Find(std::int32_t index);
  // textBytes weighs the tree by the length of the text it was parsed from.
  void Keep(std::int32_t index, ParseTreeNodePtr tree, std::size_t textBytes, bool lasting);
  std::size_t Size() const { return trees_.size(); }

 private:
  struct Entry {
    ParseTreeNodePtr tree;
    std::size_t textBytes = 0;
    bool lasting = false;
    std::list<std::int32_t>::iterator use;
  };
  void DropOldest();

  std::unordered_map<std::int32_t, Entry> trees_;
  std::list<std::int32_t> uses_;  // passing trees, the one used last at the front
  std::size_t passingBytes_ = 0;
};

}  // namespace quendrel
