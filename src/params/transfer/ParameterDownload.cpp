#include "params/transfer/ParameterDownload.h"

#include <cmath>
#include <limits>

#include "foundation/text/BitText.h"
#include "foundation/text/FixedPoint.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/ParameterId.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/compatibility/FirmwareInformationTemplate.h"
#include "params/transfer/ParameterDependencyGraph.h"

namespace quendrel {

namespace {

constexpr std::int32_t kWritableBit = 4;

bool TemplateReadOnly(const udtUploadTemplateData& entry) { return ((entry.iPad >> kWritableBit) & 1) == 0; }

// The value formatted to its decimals with the point removed, as an integer.
std::optional<double> RawInteger(double value, int decimals) {
  if (!std::isfinite(value)) return std::nullopt;
  std::string scaled = FormatNumber(value, FixedPointFormat(decimals));
  std::erase(scaled, '.');
  return RoundHalfEvenValue(LeadingNumber(scaled));
}

}  // namespace

ParameterDownload::ParameterDownload(const KVBFile& file, GIOContext& ctx, ProgressServer& progress,
                                     const KVBFile::TransferFeedback& feedback)
    : file_(file), transfer_(ctx, progress), feedback_(feedback) {}

void ParameterDownload::Report(const std::string& line) const {
  if (feedback_) feedback_(line);
}

std::optional<std::int16_t> ParameterDownload::RawValue(double value, int decimals) {
  const auto integer = RawInteger(value, decimals);
  if (!integer) return std::nullopt;
  const bool fits = *integer >= std::numeric_limits<std::int32_t>::min() &&
                    *integer <= std::numeric_limits<std::int32_t>::max();
  if (!fits) return std::nullopt;
  return RoundToWord(*integer);
}

std::optional<std::int16_t> ParameterDownload::TypedRawValue(double value, int decimals) {
  const auto integer = RawInteger(value, decimals);
  constexpr double kLowest = std::numeric_limits<std::int16_t>::min();
  constexpr double kHighest = std::numeric_limits<std::uint16_t>::max();
  if (!integer || *integer < kLowest || *integer > kHighest) return std::nullopt;
  return RoundToWord(*integer);
}

std::optional<std::int16_t> ParameterDownload::RawValue(const std::string& valueText, const std::string& pad) {
  if (!HasLeadingNumber(valueText)) return std::nullopt;
  return RawValue(LeadingNumber(valueText), DecimalPlacesFromFlags(pad));
}

bool ParameterDownload::Run(bool sameModel) {
  const std::int32_t sv = FirmwareCompatibility().SoftwareVersion();
  const udtDriveResponse version = transfer_.ReadSoftwareVersion();
  if (version.Error) {
    Report("Error " + std::to_string(version.intData) + " reading " + ParameterIdText(sv));
    return false;
  }
  if (!SameSeries(version.sglData)) return false;
  const auto fit = FirmwareCompatibility().FitData(version.sglData);
  if (!fit) {
    Report("No firmware template for drive version " + SingleToText(version.sglData));
    return false;
  }
  bool allWritten = true;
  for (const std::int32_t n : ParameterDependencyGraph(*fit).Order()) {
    if (!Writable(n, *fit, sameModel)) continue;
    if (!transfer_.Step(n, "Writing " + ParameterIdText(n))) return false;
    const Write outcome = WriteParameter(n, *fit);
    if (outcome == Write::Ended) return false;
    if (outcome == Write::Failed || outcome == Write::Skipped) allWritten = false;
  }
  return allWritten;
}

// A file of another series holds other parameters under the same numbers.
bool ParameterDownload::SameSeries(float driveVersion) {
  const std::int32_t sv = FirmwareCompatibility().SoftwareVersion();
  const bool known = sv >= 0 && sv < KVBFile::kSlotCount && !file_.Identifier(sv).empty() &&
                     HasLeadingNumber(file_.Value(sv));
  if (!known) {
    Report("No software version in the file");
    return false;
  }
  const double fileVersion = LeadingNumber(file_.Value(sv));
  if (std::trunc(fileVersion) == std::trunc(static_cast<double>(driveVersion))) return true;
  Report("File version " + file_.Value(sv) + " does not match drive version " + SingleToText(driveVersion));
  return false;
}

bool ParameterDownload::Writable(std::int32_t n, const FirmwareInformationTemplate& fit, bool sameModel) const {
  if (n < 0 || n >= KVBFile::kSlotCount || n % 100 == 0) return false;
  if (file_.Identifier(n).empty()) return false;
  // An empty PAD says nothing about the parameter; the template still knows whether it is writable.
  if (!file_.PAD(n).empty() && file_.ReadOnly(n)) return false;
  const udtUploadTemplateData& entry = fit.Template(n);
  if (!entry.Exists || entry.isHole || entry.NeverDownload || TemplateReadOnly(entry)) return false;
  return sameModel || !entry.ModelDependent;
}

ParameterDownload::Write ParameterDownload::WriteParameter(std::int32_t n, const FirmwareInformationTemplate& fit) {
  const std::string& pad = file_.PAD(n);
  const std::string& value = file_.Value(n);
  const auto raw = RawValue(value, pad.empty() ? LongToBinaryString(fit.Template(n).iPad, false) : pad);
  if (!raw) {
    const char* const why = HasLeadingNumber(value) ? "out of range" : "no number";
    Report("Skipped " + ParameterIdText(n) + ": its value is " + why);
    return Write::Skipped;
  }
  const udtDriveResponse written = transfer_.WriteValue(n, *raw);
  if (!written.Error) return Write::Written;
  Report("Error " + std::to_string(written.intData) + " writing " + ParameterIdText(n));
  return DriveTransfer::EndsTransfer(written) ? Write::Ended : Write::Failed;
}

}  // namespace quendrel
