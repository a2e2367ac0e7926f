#include "flash/runner/DriveFlashStepReport.h"

#include <algorithm>
#include <iterator>

namespace quendrel {

namespace {

constexpr DriveFlashStepReport kReports[] = {
    {dfResponseGeneralError, "Script Execution Error", "Unspecified error while executing Drive Flash script.",
     false, nullptr},
    {dfResponseTimeout, "Script Execution Timeout", "No response from Drive -- timed out.", true, nullptr},
    {dfResponseFileAlreadyExists, "File Already Exists", "File already exists -- cannot overwrite.", true, nullptr},
    {dfResponseProgramFailed, "Script Execution Failure", "Drive rejected program data as invalid.", false, nullptr},
    {dfResponseEraseFailed, "Script Execution Failure", "Erase command failed at drive.", false, nullptr},
    {dfResponseFileNotFound, nullptr, "Couldn't find a required hex file.", true, "Data File Not Found"},
};

}  // namespace

const DriveFlashStepReport* FindDriveFlashStepReport(dfResponseCodes code) {
  const auto* found = std::find_if(std::begin(kReports), std::end(kReports),
                                   [code](const DriveFlashStepReport& report) { return report.Code == code; });
  return found == std::end(kReports) ? nullptr : found;
}

}  // namespace quendrel
