// Writes a parameter set into a drive of the same series, in the dependency order of the drive's own
// firmware template, leaving out whatever must not or cannot be written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "params/DriveTransfer.h"
#include "params/KVBFile.h"

namespace quendrel {

class FirmwareInformationTemplate;

class ParameterDownload {
 public:
  ParameterDownload(const KVBFile& file, GIOContext& ctx, ProgressServer& progress,
                    const KVBFile::TransferFeedback& feedback);

  // True only when every write was made and accepted. Without the drive's template nothing is written:
  // its never-download marks are what keep a file from another drive from re-addressing this one.
  bool Run(bool sameModel);

  // The raw word a value text stands for under a PAD: the text scaled to the PAD's decimal places with
  // the point removed, low 16 bits. Nothing when the text holds no number.
  static std::optional<std::int16_t> RawValue(const std::string& valueText, const std::string& pad);

 private:
  enum class Write { Skipped, Written, Failed, Ended };

  bool SameSeries(float driveVersion);
  bool Writable(std::int32_t n, const FirmwareInformationTemplate& fit, bool sameModel) const;
  Write WriteParameter(std::int32_t n, const FirmwareInformationTemplate& fit);
  void Report(const std::string& line) const;

  const KVBFile& file_;
  DriveTransfer transfer_;
  const KVBFile::TransferFeedback& feedback_;
};

}  // namespace quendrel
