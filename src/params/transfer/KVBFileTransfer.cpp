// The transfer members of KVBFile: uploads from and downloads to a drive.
#include "foundation/progress/ProgressServer.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/files/KVBFile.h"
#include "params/transfer/DriveTransfer.h"
#include "params/transfer/KVDUploadTypes.h"
#include "params/transfer/ParameterDownload.h"
#include "params/transfer/ParameterUpload.h"

namespace quendrel {

bool KVBFile::UploadTemplateWithRetries(GIOContext& ctx, ProgressServer& progress, float& version) {
  auto fit = FirmwareCompatibility().FitData(version);
  if (!fit) {
    const udtDriveResponse read = DriveTransfer(ctx, progress).ReadSoftwareVersion();
    if (read.Error) return false;
    version = read.sglData;
    fit = FirmwareCompatibility().FitData(version);
    if (!fit) return false;
  }
  return ParameterUpload(*this, ctx, progress).FromTemplate(*fit, false);
}

bool KVBFile::FullUpload(GIOContext& ctx, std::int32_t parts, ProgressServer& progress, bool onlyLevels1And2) {
  return ParameterUpload(*this, ctx, progress).Full(parts, onlyLevels1And2);
}

bool KVBFile::UploadFromDrive(GIOContext& ctx, ProgressServer& progress, bool onlyLevels1And2) {
  Reset();
  const udtDriveResponse version = DriveTransfer(ctx, progress).ReadSoftwareVersion();
  if (DriveTransfer::EndsTransfer(version)) return false;
  const auto fit = version.Error ? nullptr : FirmwareCompatibility().FitData(version.sglData);
  if (!fit) {
    progress.SetStatus("No template available! Performing full upload.");
    return FullUpload(ctx, kvdUploadAll, progress, onlyLevels1And2);
  }
  BuildFromTemplate(version.sglData);
  return ParameterUpload(*this, ctx, progress).FromTemplate(*fit, onlyLevels1And2);
}

// option is kept for the callers, which all pass 0; no other download mode exists.
bool KVBFile::DownloadToDrive(GIOContext& ctx, bool sameModel, ProgressServer& progress, std::int32_t /*option*/,
                              const TransferFeedback& feedback) {
  return ParameterDownload(*this, ctx, progress, feedback).Run(sameModel);
}

}  // namespace quendrel
