#include "params/compatibility/FirmwareInformationTemplate.h"

#include <algorithm>

#include "foundation/values/RuntimeError.h"

namespace quendrel {

namespace {

void CheckNumber(std::int32_t tn) {
  if (tn < 0 || tn >= FirmwareInformationTemplate::kParameterCount) {
    throw RuntimeError(errSubscriptOutOfRange, "FirmwareInformationTemplate", "Subscript out of range");
  }
}

}  // namespace

FirmwareInformationTemplate::FirmwareInformationTemplate() = default;

udtBindingData FirmwareInformationTemplate::Binding(std::int32_t slot) const {
  const auto row = std::find_if(bindings_.begin(), bindings_.end(),
                                [slot](const udtBindingData& b) { return b.pParameter == slot; });
  return row == bindings_.end() ? udtBindingData{} : *row;
}

const udtUploadTemplateData& FirmwareInformationTemplate::Template(std::int32_t tn) const {
  static const udtUploadTemplateData none;
  CheckNumber(tn);
  const auto found = entries_.find(tn);
  return found == entries_.end() ? none : found->second;
}

void FirmwareInformationTemplate::SetTemplate(std::int32_t tn, udtUploadTemplateData entry) {
  CheckNumber(tn);
  entry.iNumDVDs = static_cast<std::int32_t>(entry.sDVD.size());
  entries_.insert_or_assign(tn, std::move(entry));
}

std::vector<std::int32_t> FirmwareInformationTemplate::EntryNumbers() const {
  std::vector<std::int32_t> numbers;
  for (const auto& [n, entry] : entries_) {
    if (entry.Exists) numbers.push_back(n);
  }
  return numbers;
}

bool operator==(const FirmwareInformationTemplate& a, const FirmwareInformationTemplate& b) {
  if (a.versionText_ != b.versionText_ || a.modelNumber_ != b.modelNumber_ || a.accessCode_ != b.accessCode_ ||
      a.firmwareUpload_ != b.firmwareUpload_ || a.bindings_ != b.bindings_) {
    return false;
  }
  for (std::int32_t n = 0; n < FirmwareInformationTemplate::kParameterCount; ++n) {
    if (a.Template(n) != b.Template(n)) return false;
  }
  return true;
}

}  // namespace quendrel
