// The set of arrows a chart already holds, by rule, pole, dot and length, for its duplicate test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quendrel {

// A chart works on one pole at a time and most poles hold a few dozen arrows, so each pole keeps
// its keys in a short list of its own, scanned in a cache line or two. A pole whose list grows long
// (every tail of a long sum completing on it) moves its keys into one open-addressed table, where
// each question costs about one cache line however many keys the pole holds.
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
  std::size_t Size() const { return listed_ + size_; }

 private:
  static constexpr std::size_t kLongestList = 48;

  bool InsertListed(const Key& key, std::uint64_t packed);
  void MoveListToTable(int pole);
  bool InsertInTable(const Key& key);
  std::size_t SlotOf(const Key& key) const;
  void Grow();

  std::vector<std::vector<std::uint64_t>> lists_;  // by pole: rule, dot and length packed
  std::vector<bool> inTable_;                       // by pole: its keys are in the table
  std::size_t listed_ = 0;
  std::vector<Key> slots_;  // a power of two, never more than half full
  std::size_t size_ = 0;
};

}  // namespace quendrel
