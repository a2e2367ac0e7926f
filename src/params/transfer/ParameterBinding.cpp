#include "params/transfer/ParameterBinding.h"

#include <memory>
#include <optional>
#include <string>

#include "comms/server/CommServer.h"
#include "comms/server/GIOContext.h"
#include "foundation/text/NumberText.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/files/KVBFile.h"

namespace quendrel {

namespace {

bool IsParameterNumber(std::int32_t n) { return n >= 0 && n < KVBFile::kSlotCount; }

std::optional<std::int32_t> FilePointerTarget(const KVBFile& file, std::int32_t pointer) {
  if (!IsParameterNumber(pointer)) return std::nullopt;
  return PointerTarget(LeadingNumber(file.Value(pointer)));
}

}  // namespace

std::shared_ptr<const FirmwareInformationTemplate> BindingTemplate(const KVBFile& file) {
  const std::int32_t sv = FirmwareCompatibility().SoftwareVersion();
  if (!IsParameterNumber(sv) || file.Value(sv).empty()) return nullptr;
  return FirmwareCompatibility().FitData(LeadingNumber(file.Value(sv)));
}

std::optional<std::int32_t> PointerTarget(double pointerValue) {
  std::string text = FormatNumber(pointerValue, "00.00");
  std::erase(text, '.');
  const double target = LeadingNumber(text);
  if (target < 0 || target >= KVBFile::kSlotCount) return std::nullopt;
  return static_cast<std::int32_t>(target);
}

std::int32_t GetBoundParameter(const KVBFile& file, std::int32_t pram) {
  const auto fit = BindingTemplate(file);
  if (!fit) return pram;
  const auto target = FilePointerTarget(file, fit->Binding(pram).pBound);
  return target ? *target : pram;
}

std::int32_t GetBindingSlotParameter(const KVBFile& file, std::int32_t p) {
  const auto fit = BindingTemplate(file);
  if (!fit) return p;
  for (const udtBindingData& row : fit->BindingData()) {
    const auto target = FilePointerTarget(file, row.pBound);
    if (target && *target != 0 && *target == p) return row.pParameter;
  }
  return p;
}

std::int32_t ResolveBoundParameter(const KVBFile& file, std::int32_t pram) {
  const std::int32_t bound = GetBoundParameter(file, pram);
  return bound != pram ? bound : GetBindingSlotParameter(file, pram);
}

namespace {

std::int32_t Present(const KVBFile& file, std::int32_t pram, std::int32_t other) {
  const bool unset = pram != 0 && other == 0;
  return unset || !IsParameterNumber(other) || file.Identifier(other).empty() ? pram : other;
}

}  // namespace

std::int32_t GetPresentBoundParameter(const KVBFile& file, std::int32_t pram) {
  return Present(file, pram, GetBoundParameter(file, pram));
}

std::int32_t ResolvePresentBoundParameter(const KVBFile& file, std::int32_t pram) {
  return Present(file, pram, ResolveBoundParameter(file, pram));
}

bool ShowsReadOnly(const KVBFile& file, std::int32_t pram) {
  return file.ReadOnly(GetPresentBoundParameter(file, pram));
}

std::vector<std::int32_t> SharedValueEntries(const KVBFile& file, std::int32_t pram) {
  const std::int32_t shown = GetPresentBoundParameter(file, pram);
  std::vector<std::int32_t> entries = {pram};
  if (shown != pram) entries.push_back(shown);
  for (const std::int32_t slot : BindingSlots(file)) {
    const bool another = slot != pram && slot != shown;
    if (another && GetPresentBoundParameter(file, slot) == shown) entries.push_back(slot);
  }
  return entries;
}

std::vector<std::int32_t> StoreSharedValue(KVBFile& file, std::int32_t pram, const std::string& text) {
  const std::vector<std::int32_t> entries = SharedValueEntries(file, pram);
  for (const std::int32_t n : entries) file.SetValue(n, text);
  return entries;
}

std::vector<std::int32_t> BindingSlots(const KVBFile& file) {
  std::vector<std::int32_t> slots;
  if (const auto fit = BindingTemplate(file)) {
    for (const udtBindingData& row : fit->BindingData()) {
      if (IsParameterNumber(row.pParameter)) slots.push_back(row.pParameter);
    }
  }
  return slots;
}

std::optional<std::int32_t> SlotPointerParameter(const KVBFile& file, std::int32_t slot) {
  const auto fit = BindingTemplate(file);
  if (!fit) return std::nullopt;
  const std::int32_t pointer = fit->Binding(slot).pBound;
  if (!IsParameterNumber(pointer)) return std::nullopt;
  return pointer;
}

std::int32_t GetDriveBoundParameter(std::int32_t parameter, GIOContext* ctx) {
  std::shared_ptr<GIOContext> own;
  if (ctx == nullptr) {
    own = CommServer().OpenContext(1, -1.0F);
    ctx = own.get();
  }
  const std::int32_t sv = FirmwareCompatibility().SoftwareVersion();
  const udtDriveResponse version =
      ctx->ReadValue(static_cast<std::uint8_t>(sv / 100), static_cast<std::uint8_t>(sv % 100));
  if (version.Error) return parameter;
  const auto fit = FirmwareCompatibility().FitData(version.sglData);
  if (!fit) return parameter;
  const std::int32_t pointer = fit->Binding(parameter).pBound;
  if (!IsParameterNumber(pointer)) return parameter;
  const udtDriveResponse value =
      ctx->ReadValue(static_cast<std::uint8_t>(pointer / 100), static_cast<std::uint8_t>(pointer % 100));
  if (value.Error) return parameter;
  const auto target = PointerTarget(value.sglData);
  return target ? *target : parameter;
}

}  // namespace quendrel
