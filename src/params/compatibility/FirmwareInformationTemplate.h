// The parameter template of one firmware version: its parameters, system parameters, quick setup bindings
// and download rules.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "params/compatibility/udtBindingData.h"
#include "params/compatibility/udtUploadTemplateData.h"

namespace quendrel {

class FirmwareInformationTemplate {
 public:
  static constexpr std::int32_t kParameterCount = 2100;

  FirmwareInformationTemplate();

  // The version as the compatibility file writes it, for example "2.105".
  const std::string& VersionText() const { return versionText_; }
  void SetVersionText(std::string text) { versionText_ = std::move(text); }

  // Parameter numbers of the system parameters; -1 when the template names none.
  std::int32_t ModelNumber() const { return modelNumber_; }
  void SetModelNumber(std::int32_t n) { modelNumber_ = n; }
  std::int32_t AccessCode() const { return accessCode_; }
  void SetAccessCode(std::int32_t n) { accessCode_ = n; }
  std::int32_t FirmwareUpload() const { return firmwareUpload_; }
  void SetFirmwareUpload(std::int32_t n) { firmwareUpload_ = n; }

  // The first row whose pParameter is the slot; all fields -1 when there is none.
  udtBindingData Binding(std::int32_t slot) const;
  const std::vector<udtBindingData>& BindingData() const { return bindings_; }
  std::int32_t Bindings() const { return static_cast<std::int32_t>(bindings_.size()); }
  void AddBinding(const udtBindingData& row) { bindings_.push_back(row); }

  // The entry of parameter tn, 0..2099 (an entry with Exists False when the template has none); any other
  // number raises a subscript-out-of-range RuntimeError.
  const udtUploadTemplateData& Template(std::int32_t tn) const;
  void SetTemplate(std::int32_t tn, udtUploadTemplateData entry);

  // Numbers of the entries that exist, holes included, ascending.
  std::vector<std::int32_t> EntryNumbers() const;

  friend bool operator==(const FirmwareInformationTemplate& a, const FirmwareInformationTemplate& b);

 private:
  std::string versionText_;
  std::int32_t modelNumber_ = -1;
  std::int32_t accessCode_ = -1;
  std::int32_t firmwareUpload_ = -1;
  std::vector<udtBindingData> bindings_;
  // Only the entries set: a damaged file with thousands of one-entry templates costs what it holds.
  std::map<std::int32_t, udtUploadTemplateData> entries_;
};

}  // namespace quendrel
