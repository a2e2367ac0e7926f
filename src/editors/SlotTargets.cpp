#include "editors/SlotTargets.h"

#include "params/files/KVBFile.h"
#include "params/transfer/ParameterBinding.h"

namespace quendrel {

void SlotTargets::Take(const KVBFile& set) {
  shown_.clear();
  for (const std::int32_t slot : BindingSlots(set)) shown_[slot] = GetPresentBoundParameter(set, slot);
}

std::vector<std::int32_t> SlotTargets::Follow(KVBFile& set) {
  std::vector<std::int32_t> moved;
  for (const std::int32_t slot : BindingSlots(set)) {
    const std::int32_t shown = GetPresentBoundParameter(set, slot);
    const auto known = shown_.find(slot);
    if (known != shown_.end() && known->second == shown) continue;
    shown_[slot] = shown;
    if (shown != slot) set.SetValue(slot, set.Value(shown));
    moved.push_back(slot);
  }
  return moved;
}

}  // namespace quendrel
