// Fills a parameter set from a drive: by a firmware template (values and value names of the parameters it
// lists) or without one (every number a drive may have, asking the drive for each part).
#pragma once

#include <cstdint>

#include "params/transfer/DriveTransfer.h"

namespace quendrel {

class FirmwareInformationTemplate;
class KVBFile;

class ParameterUpload {
 public:
  // The level a user without service rights may see; parameters above it are left out when asked.
  static constexpr std::int32_t kUserSecurityLevel = 2;
  // A full upload's reach, and its bound on a value-name list a drive never ends.
  static constexpr std::int32_t kLastMenu = 19;
  static constexpr std::int32_t kLastParameter = 98;
  static constexpr std::int32_t kMaxValueNames = 512;

  ParameterUpload(KVBFile& file, GIOContext& ctx, ProgressServer& progress);

  // The template's entries in ascending number, one value read each and the value names the template
  // has. A slot the set lacks is filled from the template first; an entry above the user level is
  // dropped from the set when onlyLevels1And2 is set. False when the drive is lost, the module cannot be
  // used, the window cancels, or the drive gave no value at all.
  bool FromTemplate(const FirmwareInformationTemplate& fit, bool onlyLevels1And2);

  // Menus 0..19, parameters 0..98; parts is a KVDUploadTypes mask. Only exception 2 marks a parameter
  // absent. The set's slots are cleared first; its description stays. Fails as FromTemplate does; when
  // parts holds no values, it fails when the drive answered none of the reads asked.
  bool Full(std::int32_t parts, bool onlyLevels1And2);

 private:
  enum class Outcome { Done, Absent, Ended };

  bool TemplateEntry(std::int32_t n, const FirmwareInformationTemplate& fit);
  Outcome FullParameter(std::int32_t n, std::int32_t parts, bool onlyLevels1And2);
  Outcome FullPad(std::int32_t n, std::int32_t parts, bool onlyLevels1And2);
  Outcome FullValue(std::int32_t n);
  // Reads indexes 0 .. limit - 1 until the drive refuses one (exception 3 is the list's normal end).
  Outcome ValueNames(std::int32_t n, std::int32_t limit, bool absentOnException2);
  bool ReadWhatWasAsked(std::int32_t parts) const;
  void FillFromTemplate(std::int32_t n, const FirmwareInformationTemplate& fit);
  void StoreValue(std::int32_t n, const udtDriveResponse& response);

  KVBFile& file_;
  DriveTransfer transfer_;
  std::int32_t valuesRead_ = 0;
};

}  // namespace quendrel
