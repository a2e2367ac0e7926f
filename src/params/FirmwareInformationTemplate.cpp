#include "params/FirmwareInformationTemplate.h"

#include <algorithm>

#include "foundation/RuntimeError.h"

namespace quendrel {

namespace {

void CheckNumber(std::int32_t tn) {
  if (tn < 0 || tn >= FirmwareInformationTemplate::kParameterCount) {
    throw RuntimeError(errSubscriptOutOfRange, "FirmwareInformationTemplate", "Subscript out of range");
  }
}

}  // namespace

FirmwareInformationTemplate::FirmwareInformationTemplate() : entries_(kParameterCount) {}

udtBindingData FirmwareInformationTemplate::Binding(std::int32_t slot) const {
  const auto row = std::find_if(bindings_.begin(), bindings_.end(),
                                [slot](const udtBindingData& b) { return b.pParameter == slot; });
  return row == bindings_.end() ? udtBindingData{} : *row;
}

const udtUploadTemplateData& FirmwareInformationTemplate::Template(std::int32_t tn) const {
  CheckNumber(tn);
  return entries_[static_cast<std::size_t>(tn)];
}

void FirmwareInformationTemplate::SetTemplate(std::int32_t tn, udtUploadTemplateData entry) {
  CheckNumber(tn);
  entry.iNumDVDs = static_cast<std::int32_t>(entry.sDVD.size());
  entries_[static_cast<std::size_t>(tn)] = std::move(entry);
}

std::vector<std::int32_t> FirmwareInformationTemplate::EntryNumbers() const {
  std::vector<std::int32_t> numbers;
  for (std::int32_t n = 0; n < kParameterCount; ++n) {
    if (entries_[static_cast<std::size_t>(n)].Exists) numbers.push_back(n);
  }
  return numbers;
}

}  // namespace quendrel
