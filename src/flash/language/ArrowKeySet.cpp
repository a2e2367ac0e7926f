#include "flash/language/ArrowKeySet.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace quendrel {

namespace {

constexpr std::size_t kFewestSlots = 64;
constexpr std::uint32_t kBlock = 8;

}  // namespace

ArrowKeySet::ArrowKeySet() : slots_(kFewestSlots) {}

bool ArrowKeySet::Insert(const Key& key) {
  if (2 * (size_ + 1) > slots_.size()) {
    Grow();
  }
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = SlotOf(key);; slot = (slot + 1) & mask) {
    if (slots_[slot] == key) {
      return false;
    }
    if (slots_[slot].pole < 0) {
      slots_[slot] = key;
      ++size_;
      return true;
    }
  }
}

// Sized by the last statement rather than the largest ever, so one long statement does not make
// every later short one pay for clearing its table.
void ArrowKeySet::Clear() {
  if (size_ == 0) {
    return;
  }
  const std::size_t slots = std::max(kFewestSlots, std::bit_ceil(2 * size_ + 1));
  slots_.assign(slots, Key{});
  size_ = 0;
}

// One arrow meets the complete arrows of its follow pole in turn and makes a run of keys that
// differ only in nearby lengths; eight neighbouring lengths share a block of slots, so a run
// stays within a few cache lines.
std::size_t ArrowKeySet::SlotOf(const Key& key) const {
  const auto length = static_cast<std::uint32_t>(key.length);
  const std::uint64_t fields = (std::uint64_t{static_cast<std::uint32_t>(key.pole)} << 32) ^
                               (std::uint64_t{static_cast<std::uint32_t>(key.rule)} << 16) ^
                               (std::uint64_t{static_cast<std::uint32_t>(key.dot)} << 8) ^ (length / kBlock);
  const auto block = static_cast<std::size_t>((fields * 0x9E3779B97F4A7C15ull) >> 32) * kBlock;
  return (block + length % kBlock) & (slots_.size() - 1);
}

void ArrowKeySet::Grow() {
  std::vector<Key> old(slots_.size() * 2);
  old.swap(slots_);
  size_ = 0;
  for (const Key& key : old) {
    if (key.pole >= 0) {
      Insert(key);
    }
  }
}

}  // namespace quendrel
