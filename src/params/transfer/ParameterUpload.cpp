#include "params/transfer/ParameterUpload.h"

#include <string>

#include "comms/server/GIOError.h"
#include "foundation/text/BitText.h"
#include "foundation/text/FixedPoint.h"
#include "foundation/text/ParameterId.h"
#include "params/compatibility/FirmwareInformationTemplate.h"
#include "params/files/KVBFile.h"
#include "params/transfer/KVDUploadTypes.h"

namespace quendrel {

namespace {

// PAD bits 5-6, as KVBFile reads them.
std::int32_t SecurityLevelOf(std::int32_t pad) { return (pad >> 5) & 3; }

}  // namespace

ParameterUpload::ParameterUpload(KVBFile& file, GIOContext& ctx, ProgressServer& progress)
    : file_(file), transfer_(ctx, progress) {}

void ParameterUpload::FillFromTemplate(std::int32_t n, const FirmwareInformationTemplate& fit) {
  if (!file_.Identifier(n).empty()) return;
  const udtUploadTemplateData& entry = fit.Template(n);
  file_.SetIdentifier(n, ParameterIdText(n));
  file_.SetName(n, entry.sName);
  file_.SetPAD(n, LongToBinaryString(entry.iPad, false));
  file_.ClearDVDs(n);
  for (std::size_t i = 0; i < entry.sDVD.size(); ++i) {
    file_.AddDVD(n, static_cast<std::int32_t>(i), entry.sDVD[i]);
  }
}

// The raw value scaled by the slot's PAD, so a download that scales it back by the same PAD writes the
// very word that was read; a slot without a PAD borrows the one the drive sent with the value.
void ParameterUpload::StoreValue(std::int32_t n, const udtDriveResponse& response) {
  const std::string& pad = file_.PAD(n);
  const std::string scale = pad.empty() ? LongToBinaryString(response.extraData, false) : pad;
  file_.SetValue(n, ScaleFixedPointValue(std::to_string(response.intData), scale));
  file_.SetValueName(n, response.strData);
  ++valuesRead_;
}

bool ParameterUpload::FromTemplate(const FirmwareInformationTemplate& fit, bool onlyLevels1And2) {
  for (const std::int32_t n : fit.EntryNumbers()) {
    const udtUploadTemplateData& entry = fit.Template(n);
    if (entry.isHole) continue;
    if (onlyLevels1And2 && SecurityLevelOf(entry.iPad) > kUserSecurityLevel) {
      file_.SetIdentifier(n, "");
      continue;
    }
    if (!transfer_.Step(n, "Reading " + ParameterIdText(n))) return false;
    if (!TemplateEntry(n, fit)) return false;
  }
  return valuesRead_ > 0;
}

bool ParameterUpload::TemplateEntry(std::int32_t n, const FirmwareInformationTemplate& fit) {
  FillFromTemplate(n, fit);
  const udtDriveResponse value = transfer_.ReadValue(n);
  if (DriveTransfer::EndsTransfer(value)) return false;
  if (!value.Error) StoreValue(n, value);
  const std::int32_t names = fit.Template(n).iNumDVDs;
  if (names <= 0) return true;
  return ValueNames(n, names, false) != Outcome::Ended;
}

ParameterUpload::Outcome ParameterUpload::ValueNames(std::int32_t n, std::int32_t limit, bool absentOnException2) {
  for (std::int32_t index = 0; index < limit; ++index) {
    const udtDriveResponse name = transfer_.ReadDVD(n, index);
    if (DriveTransfer::EndsTransfer(name)) return Outcome::Ended;
    if (absentOnException2 && DriveTransfer::IsException(name, gioInvalidDataAddress)) return Outcome::Absent;
    // 3 is the list's normal end; a drive or gateway that refuses one index for any other reason refuses
    // the next one too, and asking the rest of the bound would cost hundreds of round trips a parameter.
    if (name.Error) break;
    file_.AddDVD(n, index, name.strData);
  }
  return Outcome::Done;
}

bool ParameterUpload::Full(std::int32_t parts, bool onlyLevels1And2) {
  const std::string description = file_.Description();
  file_.Reset();
  file_.SetDescription(description);
  for (std::int32_t menu = 0; menu <= kLastMenu; ++menu) {
    for (std::int32_t pram = 0; pram <= kLastParameter; ++pram) {
      const std::int32_t n = menu * 100 + pram;
      if (!transfer_.Step(n, "Reading " + ParameterIdText(n))) return false;
      file_.SetIdentifier(n, ParameterIdText(n));
      const Outcome outcome = FullParameter(n, parts, onlyLevels1And2);
      if (outcome == Outcome::Ended) return false;
      if (outcome == Outcome::Absent) file_.SetIdentifier(n, "");
    }
  }
  return ReadWhatWasAsked(parts);
}

// A set made only of refusals must not pass for an upload: saved, it would replace a good file. PADs
// or names alone do not make a set of values, so where values were asked at least one must have come.
bool ParameterUpload::ReadWhatWasAsked(std::int32_t parts) const {
  if ((parts & kvdUploadValue) != 0) return valuesRead_ > 0;
  return transfer_.Answered() > 0;
}

// The PAD goes first when it is wanted at all: it is the cheapest presence test, and the security filter
// needs it before anything else is read of a parameter it will drop.
ParameterUpload::Outcome ParameterUpload::FullParameter(std::int32_t n, std::int32_t parts, bool onlyLevels1And2) {
  if ((parts & kvdUploadPAD) != 0 || onlyLevels1And2) {
    const Outcome pad = FullPad(n, parts, onlyLevels1And2);
    if (pad != Outcome::Done) return pad;
  }
  if ((parts & kvdUploadName) != 0) {
    const udtDriveResponse name = transfer_.ReadName(n);
    if (DriveTransfer::EndsTransfer(name)) return Outcome::Ended;
    if (DriveTransfer::IsException(name, gioInvalidDataAddress)) return Outcome::Absent;
    if (!name.Error) file_.SetName(n, name.strData);
  }
  if ((parts & kvdUploadValue) != 0) {
    const Outcome value = FullValue(n);
    if (value != Outcome::Done) return value;
  }
  if ((parts & kvdUploadDVD) != 0) return ValueNames(n, kMaxValueNames, true);
  return Outcome::Done;
}

ParameterUpload::Outcome ParameterUpload::FullPad(std::int32_t n, std::int32_t parts, bool onlyLevels1And2) {
  const udtDriveResponse pad = transfer_.ReadPAD(n);
  if (DriveTransfer::EndsTransfer(pad)) return Outcome::Ended;
  if (DriveTransfer::IsException(pad, gioInvalidDataAddress)) return Outcome::Absent;
  if (pad.Error) return Outcome::Done;
  if (onlyLevels1And2 && SecurityLevelOf(pad.extraData) > kUserSecurityLevel) return Outcome::Absent;
  if ((parts & kvdUploadPAD) != 0) file_.SetPAD(n, pad.strData);
  return Outcome::Done;
}

ParameterUpload::Outcome ParameterUpload::FullValue(std::int32_t n) {
  const udtDriveResponse value = transfer_.ReadValue(n);
  if (DriveTransfer::EndsTransfer(value)) return Outcome::Ended;
  if (DriveTransfer::IsException(value, gioInvalidDataAddress)) return Outcome::Absent;
  if (!value.Error) StoreValue(n, value);
  return Outcome::Done;
}

}  // namespace quendrel
