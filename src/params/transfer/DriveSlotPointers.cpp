#include "params/transfer/DriveSlotPointers.h"

#include "comms/server/GIOContext.h"
#include "foundation/text/NumberText.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/files/KVBFile.h"
#include "params/transfer/ParameterBinding.h"

namespace quendrel {

std::int32_t DriveSlotPointers::SlotFor(std::int32_t p) {
  // The set may name a slot whose pointer moved away while another slot, not read yet, still names p:
  // each round reads one more pointer, so it ends.
  for (;;) {
    const std::int32_t slot = GetBindingSlotParameter(set_, p);
    if (slot == p || fresh_.contains(slot)) return slot;
    if (!Refresh(slot)) return p;
  }
}

std::int32_t DriveSlotPointers::ReadSlotFor(std::int32_t p) const {
  const std::int32_t slot = GetBindingSlotParameter(set_, p);
  return fresh_.contains(slot) ? slot : p;
}

std::optional<std::int32_t> DriveSlotPointers::Shown(std::int32_t slot) {
  if (!Refresh(slot)) return std::nullopt;
  return GetPresentBoundParameter(set_, slot);
}

bool DriveSlotPointers::Refresh(std::int32_t slot) {
  if (fresh_.contains(slot)) return true;
  if (failed_ || !DriveRunsTheSetsVersion()) return false;
  if (const auto pointer = SlotPointerParameter(set_, slot)) {
    const udtDriveResponse value = Read(*pointer);
    if (value.Error) {
      failed_ = true;
      return false;
    }
    if (static_cast<float>(LeadingNumber(set_.Value(*pointer))) != value.sglData) moved_.push_back(*pointer);
    set_.SetValue(*pointer, SingleToText(value.sglData));
  }
  fresh_.insert(slot);
  return true;
}

// Another version's template may put the pointers elsewhere, or bind other slots.
bool DriveSlotPointers::DriveRunsTheSetsVersion() {
  if (sameVersion_) return *sameVersion_;
  sameVersion_ = false;
  const auto sets = BindingTemplate(set_);  // none: no slot to read anyway
  if (!sets) return false;
  const udtDriveResponse version = Read(FirmwareCompatibility().SoftwareVersion());
  if (version.Error) return false;
  sameVersion_ = FirmwareCompatibility().FitData(version.sglData) == sets;
  return *sameVersion_;
}

udtDriveResponse DriveSlotPointers::Read(std::int32_t n) {
  ++reads_;
  return ctx_.ReadValue(static_cast<std::uint8_t>(n / 100), static_cast<std::uint8_t>(n % 100));
}

}  // namespace quendrel
