#include "flash/language/ArrowKeySet.h"

#include <algorithm>
#include <bit>

namespace quendrel {

namespace {

constexpr std::size_t kFewestSlots = 64;
constexpr std::uint32_t kBlock = 8;

// Rule and length in 24 bits each and the dot in 16; a key too wide for that goes to the table.
constexpr int kWideRule = 1 << 24;
constexpr int kWideDot = 1 << 16;

bool Packs(const ArrowKeySet::Key& key) {
  return key.rule >= 0 && key.rule < kWideRule && key.dot >= 0 && key.dot < kWideDot && key.length >= 0 &&
         key.length < kWideRule;
}

std::uint64_t Packed(const ArrowKeySet::Key& key) {
  return (std::uint64_t{static_cast<std::uint32_t>(key.rule)} << 40) |
         (std::uint64_t{static_cast<std::uint32_t>(key.dot)} << 24) | static_cast<std::uint32_t>(key.length);
}

ArrowKeySet::Key Unpacked(int pole, std::uint64_t packed) {
  return ArrowKeySet::Key{pole, static_cast<int>(packed >> 40), static_cast<int>((packed >> 24) & 0xFFFF),
                          static_cast<int>(packed & 0xFFFFFF)};
}

}  // namespace

ArrowKeySet::ArrowKeySet() : slots_(kFewestSlots) {}

bool ArrowKeySet::Insert(const Key& key) {
  const auto pole = static_cast<std::size_t>(key.pole);
  if (pole >= lists_.size()) {
    lists_.resize(pole + 1);
    inTable_.resize(pole + 1, false);
  }
  if (inTable_[pole] || !Packs(key)) {
    return InsertInTable(key);
  }
  return InsertListed(key, Packed(key));
}

// Sized by the last statement rather than the largest ever, so one long statement does not make
// every later short one pay for clearing its table.
void ArrowKeySet::Clear() {
  for (auto& list : lists_) {
    list.clear();
  }
  std::fill(inTable_.begin(), inTable_.end(), false);
  listed_ = 0;
  if (size_ == 0) {
    return;
  }
  const std::size_t slots = std::max(kFewestSlots, std::bit_ceil(2 * size_ + 1));
  slots_.assign(slots, Key{});
  size_ = 0;
}

bool ArrowKeySet::InsertListed(const Key& key, std::uint64_t packed) {
  auto& list = lists_[static_cast<std::size_t>(key.pole)];
  if (std::find(list.begin(), list.end(), packed) != list.end()) {
    return false;
  }
  if (list.size() == kLongestList) {
    MoveListToTable(key.pole);
    return InsertInTable(key);
  }
  list.push_back(packed);
  ++listed_;
  return true;
}

void ArrowKeySet::MoveListToTable(int pole) {
  auto& list = lists_[static_cast<std::size_t>(pole)];
  for (const std::uint64_t packed : list) {
    InsertInTable(Unpacked(pole, packed));
  }
  listed_ -= list.size();
  list.clear();
  inTable_[static_cast<std::size_t>(pole)] = true;
}

bool ArrowKeySet::InsertInTable(const Key& key) {
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
      InsertInTable(key);
    }
  }
}

}  // namespace quendrel
