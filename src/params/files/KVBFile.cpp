#include "params/files/KVBFile.h"

#include <algorithm>

#include "foundation/files/RegularFile.h"
#include "foundation/files/ReplaceFile.h"
#include "foundation/text/BitText.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/ParameterId.h"
#include "foundation/values/RuntimeError.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/files/KVBCodec.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

// PAD flag bits.
constexpr int kBitParameterBit = 2;
constexpr int kWritableBit = 4;
constexpr int kSecurityLowBit = 5;
constexpr int kSecurityHighBit = 6;

[[noreturn]] void OutOfRange() {
  throw RuntimeError(errSubscriptOutOfRange, "KVBFile", "Subscript out of range");
}

bool ReportOpenFailure(const std::string& path, const std::string& reason) {
  Ui().MsgBox("Unable to open " + path + ": " + reason + ".", vbExclamation, "File open error");
  return false;
}

// A file's damage is told with its name under the corrupted-file text, so the user knows which file;
// the set is left empty either way.
bool Refuse(KVBFile& set, KVBCodec::Result result, const std::string& sourceName, const std::string& detail) {
  set.Reset();
  if (result == KVBCodec::Result::NotKVB) {
    Ui().MsgBox(sourceName + " is not a valid KVB file.", vbExclamation, "File open error");
  } else {
    const std::string named = detail.empty() ? std::string() : "\n\n" + detail;
    Ui().MsgBox("KVB file is corrupted, cannot open." + named, vbCritical, "Error Loading File");
  }
  return false;
}

bool Decode(KVBFile& set, std::string_view image, const std::string& sourceName, const std::string& detail) {
  const KVBCodec::Result result = KVBCodec::Decode(image, set);
  return result == KVBCodec::Result::Ok || Refuse(set, result, sourceName, detail);
}

}  // namespace

KVBFile::KVBFile() = default;

void KVBFile::Reset() {
  description_.clear();
  slots_.clear();
}

KVBFile::Slot& KVBFile::At(std::int32_t n) {
  if (n < 0 || n >= kSlotCount) OutOfRange();
  if (slots_.empty()) slots_.resize(kSlotCount);
  return slots_[static_cast<std::size_t>(n)];
}

const KVBFile::Slot& KVBFile::At(std::int32_t n) const {
  static const Slot absent;
  if (n < 0 || n >= kSlotCount) OutOfRange();
  if (slots_.empty()) return absent;
  return slots_[static_cast<std::size_t>(n)];
}

const std::string& KVBFile::Identifier(std::int32_t n) const { return At(n).Identifier; }
void KVBFile::SetIdentifier(std::int32_t n, std::string id) { At(n).Identifier = std::move(id); }
const std::string& KVBFile::Name(std::int32_t n) const { return At(n).Name; }
void KVBFile::SetName(std::int32_t n, std::string name) { At(n).Name = std::move(name); }
const std::string& KVBFile::Value(std::int32_t n) const { return At(n).Value; }
void KVBFile::SetValue(std::int32_t n, std::string value) { At(n).Value = std::move(value); }
const std::string& KVBFile::ValueName(std::int32_t n) const { return At(n).ValueName; }
void KVBFile::SetValueName(std::int32_t n, std::string name) { At(n).ValueName = std::move(name); }
const std::string& KVBFile::PAD(std::int32_t n) const { return At(n).PAD; }
void KVBFile::SetPAD(std::int32_t n, std::string pad) { At(n).PAD = std::move(pad); }
bool KVBFile::WorkFlag(std::int32_t n) const { return At(n).WorkFlag; }
void KVBFile::SetWorkFlag(std::int32_t n, bool flag) { At(n).WorkFlag = flag; }

bool KVBFile::PadBit(std::int32_t n, int bit) const {
  return (BinaryStringToLong(At(n).PAD) >> bit & 1) != 0;
}

bool KVBFile::ReadOnly(std::int32_t n) const { return !PadBit(n, kWritableBit); }
bool KVBFile::BitPram(std::int32_t n) const { return PadBit(n, kBitParameterBit); }

std::int32_t KVBFile::SecurityLevel(std::int32_t n) const {
  return (PadBit(n, kSecurityHighBit) ? 2 : 0) + (PadBit(n, kSecurityLowBit) ? 1 : 0);
}

std::string KVBFile::IconName(std::int32_t n) const {
  const Slot& slot = At(n);
  if (n % 100 == 0) return "menu";
  const bool readOnly = ReadOnly(n);
  if (!BitPram(n)) return readOnly ? "readonly" : "pram";
  const bool set = LeadingNumber(slot.Value) != 0.0;
  return std::string(readOnly ? "readonlybit" : "bitpram") + (set ? "1" : "0");
}

std::int32_t KVBFile::NumDVDs(std::int32_t n) const { return static_cast<std::int32_t>(At(n).DVDs.size()); }

const std::string& KVBFile::DVD(std::int32_t n, std::int32_t position) const {
  static const std::string spare;
  const auto& dvds = At(n).DVDs;
  if (position < 0 || static_cast<std::size_t>(position) > dvds.size()) OutOfRange();
  if (static_cast<std::size_t>(position) == dvds.size()) return spare;
  return dvds[static_cast<std::size_t>(position)].Text;
}

void KVBFile::SetDVD(std::int32_t n, std::int32_t position, std::string text) {
  auto& dvds = At(n).DVDs;
  if (position < 0 || static_cast<std::size_t>(position) >= dvds.size()) OutOfRange();
  dvds[static_cast<std::size_t>(position)].Text = std::move(text);
}

std::int32_t KVBFile::DVDNumber(std::int32_t n, std::int32_t position) const {
  const auto& dvds = At(n).DVDs;
  if (position < 0 || static_cast<std::size_t>(position) >= dvds.size()) OutOfRange();
  return dvds[static_cast<std::size_t>(position)].Number;
}

void KVBFile::ClearDVDs(std::int32_t n) { At(n).DVDs.clear(); }

void KVBFile::AddDVD(std::int32_t n, std::int32_t number, std::string text) {
  auto& dvds = At(n).DVDs;
  const auto entry =
      std::find_if(dvds.begin(), dvds.end(), [number](const DVDEntry& e) { return e.Number == number; });
  if (entry != dvds.end()) {
    entry->Text = std::move(text);
    return;
  }
  dvds.push_back({number, std::move(text)});
}

void KVBFile::ClearIdentifiers() {
  for (auto& slot : slots_) slot.Identifier.clear();
}

bool KVBFile::BuildFromTemplate(double version) {
  const auto fit = FirmwareCompatibility().FitData(version);
  if (!fit) return false;
  Reset();
  for (const std::int32_t n : fit->EntryNumbers()) {
    const auto& entry = fit->Template(n);
    if (entry.isHole) continue;
    Slot& slot = At(n);
    slot.Identifier = ParameterIdText(n);
    slot.Name = entry.sName;
    slot.PAD = LongToBinaryString(entry.iPad, false);
    for (std::size_t i = 0; i < entry.sDVD.size(); ++i) {
      slot.DVDs.push_back({static_cast<std::int32_t>(i), entry.sDVD[i]});
    }
  }
  return true;
}

// The header is judged before the rest is read, so a file of any size that is no parameter file costs
// eight bytes; only a file whose size matches its header is read whole.
bool KVBFile::LoadKVBFile(const std::string& path) {
  Reset();
  RegularFile file(path);
  std::string image;
  if (!file.ReadInto(image, KVBCodec::kHeaderSize)) return ReportOpenFailure(path, file.Reason());
  const KVBCodec::Result verdict = KVBCodec::CheckHeader(image, file.Size());
  if (verdict != KVBCodec::Result::Ok) {
    return Refuse(*this, verdict, path, path + ": its size does not match its header.");
  }
  if (!file.ReadInto(image, file.Size() - image.size())) return ReportOpenFailure(path, file.Reason());
  return Decode(*this, image, path, path + ": its contents are damaged.");
}

bool KVBFile::LoadKVBString(std::string_view image, const std::string& sourceName) {
  Reset();
  return Decode(*this, image, sourceName, "");
}

bool KVBFile::LoadKVDFile(const std::string&) { return false; }

ReplaceFileResult KVBFile::SaveKVBFile(const std::string& path, bool onlyWorkFlagged) const {
  if (path.empty()) return ReplaceFileResult{false, "no file name was given"};
  const auto image = KVBCodec::Encode(*this, onlyWorkFlagged);
  if (!image) return ReplaceFileResult{false, "a text or number of the set does not fit the KVB format"};
  return ReplaceFile(path, *image);
}

}  // namespace quendrel
