#include "params/DriveSlotPointers.h"

#include "comms/GIOContext.h"
#include "foundation/NumberText.h"
#include "params/FirmwareCompatibilityFile.h"
#include "params/KVBFile.h"
#include "params/ParameterBinding.h"

namespace quendrel {

namespace {

bool IsParameterNumber(std::int32_t n) { return n >= 0 && n < KVBFile::kSlotCount; }

}  // namespace

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
  const std::int32_t sv = FirmwareCompatibility().SoftwareVersion();
  const std::int32_t pointer = FirmwareCompatibility().FitData(LeadingNumber(set_.Value(sv)))->Binding(slot).pBound;
  if (IsParameterNumber(pointer)) {
    ++reads_;
    const udtDriveResponse value =
        ctx_.ReadValue(static_cast<std::uint8_t>(pointer / 100), static_cast<std::uint8_t>(pointer % 100));
    if (value.Error) {
      failed_ = true;
      return false;
    }
    if (static_cast<float>(LeadingNumber(set_.Value(pointer))) != value.sglData) moved_.push_back(pointer);
    set_.SetValue(pointer, SingleToText(value.sglData));
  }
  fresh_.insert(slot);
  return true;
}

// Another version's template may put the pointers elsewhere, or bind other slots.
bool DriveSlotPointers::DriveRunsTheSetsVersion() {
  if (sameVersion_) return *sameVersion_;
  const std::int32_t sv = FirmwareCompatibility().SoftwareVersion();
  sameVersion_ = false;
  if (!IsParameterNumber(sv)) return false;
  ++reads_;
  const udtDriveResponse version =
      ctx_.ReadValue(static_cast<std::uint8_t>(sv / 100), static_cast<std::uint8_t>(sv % 100));
  if (version.Error) return false;
  const auto drives = FirmwareCompatibility().FitData(version.sglData);
  sameVersion_ = drives != nullptr && drives == FirmwareCompatibility().FitData(LeadingNumber(set_.Value(sv)));
  return *sameVersion_;
}

}  // namespace quendrel
