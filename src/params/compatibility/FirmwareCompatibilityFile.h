// The firmware compatibility file: the parameter templates of every known firmware version, looked up by
// the version a drive reports.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "params/compatibility/FirmwareInformationTemplate.h"

namespace quendrel {

class FirmwareCompatibilityFile {
 public:
  // The simulated drive's system parameters, used when no file (or no template) says otherwise.
  static constexpr std::int32_t kDefaultSoftwareVersion = 1129;  // M11P29
  static constexpr std::int32_t kDefaultAccessCode = 1130;       // M11P30
  // Where a template names no firmware-upload parameter: 0 would send the flash commands to M00P00.
  static constexpr std::int32_t kDefaultFirmwareUpload = 1139;   // M11P39

  // A version's key: the version rounded to three decimals, so 2.105 read as a single and 2.105 read
  // from text meet. Nothing for a value that is not a finite number.
  static std::optional<std::int64_t> VersionKey(double version);

  // Reads an *.FC2 file. On any failure the object is left empty (no templates, default parameter
  // numbers), LoadError() says why and the result is false.
  bool Load(const std::string& path);
  bool LoadImage(std::string_view image);
  const std::string& LoadError() const { return loadError_; }
  // Writes the *.FC2 file; false when it cannot be written (the old file then stays).
  bool Save(const std::string& path) const;

  // The parameter that holds a drive's firmware version.
  std::int32_t SoftwareVersion() const { return softwareVersion_; }
  void SetSoftwareVersion(std::int32_t n) { softwareVersion_ = n; }
  // The access-code parameter for versions whose template names none.
  std::int32_t DefaultAccessCode() const { return defaultAccessCode_; }
  void SetDefaultAccessCode(std::int32_t n) { defaultAccessCode_ = n; }

  bool HasFIT(double version) const;
  std::shared_ptr<const FirmwareInformationTemplate> FitData(double version) const;
  // The version texts that have templates, in ascending order of version.
  std::vector<std::string> VersionList() const;
  std::vector<std::shared_ptr<const FirmwareInformationTemplate>> Templates() const;

  // The system parameters of a version: the template's, else -1 for the model number, the file's default
  // access code and M11P39 for the firmware upload. A template's 0 counts as none: no system parameter is
  // ever a menu header, and writing one there would change M00P00.
  std::int32_t ModelNumber(double version) const;
  std::int32_t AccessCode(double version) const;
  std::int32_t FirmwareUpload(double version) const;

  // False, and nothing added, when the template's version text is no number or its version is taken.
  bool AddTemplate(std::shared_ptr<const FirmwareInformationTemplate> fit);

  friend bool operator==(const FirmwareCompatibilityFile& a, const FirmwareCompatibilityFile& b);

 private:
  bool Fail(std::string reason);

  std::int32_t softwareVersion_ = kDefaultSoftwareVersion;
  std::int32_t defaultAccessCode_ = kDefaultAccessCode;
  std::map<std::int64_t, std::shared_ptr<const FirmwareInformationTemplate>> templates_;
  std::string loadError_;
};

// The program's compatibility file, loaded at start-up from [Files] FC2Path; empty until then.
FirmwareCompatibilityFile& FirmwareCompatibility();

}  // namespace quendrel
