#include "params/transfer/ParameterDownload.h"

#include <cmath>
#include <limits>

#include "foundation/text/BitText.h"
#include "foundation/text/FixedPoint.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/ParameterId.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/compatibility/FirmwareInformationTemplate.h"
#include "params/transfer/ParameterBinding.h"
#include "params/transfer/ParameterDependencyGraph.h"

namespace quendrel {

namespace {

constexpr std::int32_t kWritableBit = 4;

bool TemplateReadOnly(const udtUploadTemplateData& entry) { return ((entry.iPad >> kWritableBit) & 1) == 0; }

bool TemplateAllows(const udtUploadTemplateData& entry, bool sameModel) {
  if (!entry.Exists || entry.isHole || entry.NeverDownload || TemplateReadOnly(entry)) return false;
  return sameModel || !entry.ModelDependent;
}

bool IsParameterNumber(std::int32_t n) { return n >= 0 && n < KVBFile::kSlotCount; }

// A pointer that is unset or names no parameter leaves the slot its own row, as the drive answers it.
std::int32_t ShownBy(std::int32_t slot, double pointerValue) {
  const auto target = PointerTarget(pointerValue);
  return target && *target != 0 ? *target : slot;
}

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
    const Write outcome = WriteParameter(n, *fit, sameModel);
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
  if (!IsParameterNumber(n) || n % 100 == 0 || file_.Identifier(n).empty()) return false;
  return !FileForbids(n) && TemplateAllows(fit.Template(n), sameModel);
}

// An empty PAD says nothing about the parameter; the template still knows whether it is writable.
bool ParameterDownload::FileForbids(std::int32_t n) const {
  return !file_.Identifier(n).empty() && !file_.PAD(n).empty() && file_.ReadOnly(n);
}

// A slot is no way round the rules for the parameter it shows (never-download, read-only, model), which
// a fragment need not hold.
bool ParameterDownload::ReceiverWritable(std::int32_t n, const FirmwareInformationTemplate& fit,
                                         bool sameModel) const {
  return !FileForbids(n) && TemplateAllows(fit.Template(n), sameModel);
}

bool ParameterDownload::Holds(std::int32_t n) const {
  return !file_.Identifier(n).empty() && HasLeadingNumber(file_.Value(n));
}

ParameterDownload::Write ParameterDownload::WriteParameter(std::int32_t n, const FirmwareInformationTemplate& fit,
                                                           bool sameModel) {
  const std::int32_t pointer = fit.Binding(n).pBound;
  if (!IsParameterNumber(pointer)) return WriteValue({n, n, n}, fit);
  return WriteSlot(n, pointer, fit, sameModel);
}

// A slot sets whatever its pointer on the drive names, in that parameter's scale. The pointer is
// written before its slot, so asking the drive also covers a file without the pointer and a pointer
// whose write failed.
ParameterDownload::Write ParameterDownload::WriteSlot(std::int32_t slot, std::int32_t pointer,
                                                      const FirmwareInformationTemplate& fit, bool sameModel) {
  const udtDriveResponse named = transfer_.ReadValue(pointer);
  if (named.Error) return Failure(named, "reading", pointer);
  const std::int32_t receiver = ShownBy(slot, named.sglData);
  if (receiver != slot && !ReceiverWritable(receiver, fit, sameModel)) return Write::NotWritable;
  const auto entry = SlotValueEntry(slot, pointer, receiver);
  if (!entry) {
    Report("Skipped " + ParameterIdText(slot) + ": its pointer on the drive names " + ParameterIdText(receiver));
    return Write::Skipped;
  }
  return WriteValue({slot, *entry, receiver}, fit);
}

// Every slot showing a parameter and the parameter itself are one value on the drive: the file's
// entry for the parameter wins, so the download leaves it as the file shows it whichever slot goes
// last. A file without that entry (a fragment) has only the slot's own value to give. When the
// file's own pointer names another parameter than the drive's, the slot's value belongs to that one.
std::optional<std::int32_t> ParameterDownload::SlotValueEntry(std::int32_t slot, std::int32_t pointer,
                                                              std::int32_t receiver) const {
  if (Holds(pointer) && ShownBy(slot, LeadingNumber(file_.Value(pointer))) != receiver) return std::nullopt;
  return receiver != slot && Holds(receiver) ? receiver : slot;
}

std::string ParameterDownload::ScalePad(std::int32_t n, const FirmwareInformationTemplate& fit) const {
  const bool own = !file_.Identifier(n).empty() && !file_.PAD(n).empty();
  return own ? file_.PAD(n) : LongToBinaryString(fit.Template(n).iPad, false);
}

ParameterDownload::Write ParameterDownload::WriteValue(const Route& route, const FirmwareInformationTemplate& fit) {
  const std::string& value = file_.Value(route.entry);
  const auto raw = RawValue(value, ScalePad(route.receiver, fit));
  if (!raw) {
    const char* const why = HasLeadingNumber(value) ? "out of range" : "no number";
    Report("Skipped " + ParameterIdText(route.sentTo) + ": its value is " + why);
    return Write::Skipped;
  }
  const udtDriveResponse written = transfer_.WriteValue(route.sentTo, *raw);
  if (!written.Error) return Write::Written;
  return Failure(written, "writing", route.sentTo);
}

ParameterDownload::Write ParameterDownload::Failure(const udtDriveResponse& response, const char* doing,
                                                    std::int32_t n) {
  Report("Error " + std::to_string(response.intData) + " " + doing + " " + ParameterIdText(n));
  return DriveTransfer::EndsTransfer(response) ? Write::Ended : Write::Failed;
}

}  // namespace quendrel
