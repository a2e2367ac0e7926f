// The set of arrows a chart already holds, by rule, pole, dot and length, for its duplicate test.
#pragma once

#include <cstddef>
#include <vector>

namespace quendrel {

// A long statement asks the duplicate test millions of times; open addressing in one array keeps
// each question to about one cache line, where a node-based set allocates and chases pointers.
class ArrowKeySet {
 public:
  struct Key {
    int pole = -1;  // -1 marks an empty slot
    int rule = 0;
    int dot = 0;
    int length = 0;
    bool operator==(const Key&) const = default;
  };

  ArrowKeySet();

  // Adds the key; false when the set already holds it. pole must not be negative.
  bool Insert(const Key& key);
  // Empties the set, keeping room for about as many keys as it last held.
  void Clear();
  std::size_t Size() const { return size_; }

 private:
  std::size_t SlotOf(const Key& key) const;
  void Grow();

  std::vector<Key> slots_;  // a power of two, never more than half full
  std::size_t size_ = 0;
};

}  // namespace quendrel
