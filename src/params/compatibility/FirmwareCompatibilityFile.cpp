#include "params/compatibility/FirmwareCompatibilityFile.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "foundation/files/RegularFile.h"
#include "foundation/files/ReplaceFile.h"
#include "foundation/text/NumberText.h"
#include "params/compatibility/FC2Codec.h"

namespace quendrel {

std::optional<std::int64_t> FirmwareCompatibilityFile::VersionKey(double version) {
  const double scaled = version * 1000.0;
  if (!std::isfinite(scaled) || std::fabs(scaled) > 9.0e15) return std::nullopt;
  return std::llround(scaled);
}

bool FirmwareCompatibilityFile::Fail(std::string reason) {
  *this = FirmwareCompatibilityFile{};
  loadError_ = std::move(reason);
  return false;
}

// A foreign file is refused on its first bytes, whatever its size.
bool FirmwareCompatibilityFile::Load(const std::string& path) {
  RegularFile file(path);
  std::string image;
  const auto unreadable = [&] { return Fail("Unable to open " + path + ": " + file.Reason() + "."); };
  if (!file.ReadInto(image, FC2Codec::kHeaderSize)) return unreadable();
  if (FC2Codec::CheckHeader(image) != FC2Codec::Result::Ok) return LoadImage(image);
  if (!file.ReadInto(image, file.Size() - std::min<std::uint64_t>(file.Size(), image.size()))) return unreadable();
  return LoadImage(image);
}

bool FirmwareCompatibilityFile::LoadImage(std::string_view image) {
  FirmwareCompatibilityFile loaded;
  switch (FC2Codec::Decode(image, loaded)) {
    case FC2Codec::Result::NotFC2:
      return Fail("Not a firmware compatibility file.");
    case FC2Codec::Result::Corrupted:
      return Fail("Firmware compatibility file is corrupted.");
    case FC2Codec::Result::Ok:
      break;
  }
  *this = std::move(loaded);
  loadError_.clear();
  return true;
}

bool FirmwareCompatibilityFile::Save(const std::string& path) const {
  const auto image = FC2Codec::Encode(*this);
  return image && ReplaceFile(path, *image).Replaced;
}

bool FirmwareCompatibilityFile::HasFIT(double version) const { return FitData(version) != nullptr; }

std::shared_ptr<const FirmwareInformationTemplate> FirmwareCompatibilityFile::FitData(double version) const {
  const auto key = VersionKey(version);
  if (!key) return nullptr;
  const auto found = templates_.find(*key);
  return found == templates_.end() ? nullptr : found->second;
}

std::vector<std::string> FirmwareCompatibilityFile::VersionList() const {
  std::vector<std::string> versions;
  for (const auto& [key, fit] : templates_) versions.push_back(fit->VersionText());
  return versions;
}

std::vector<std::shared_ptr<const FirmwareInformationTemplate>> FirmwareCompatibilityFile::Templates() const {
  std::vector<std::shared_ptr<const FirmwareInformationTemplate>> fits;
  for (const auto& [key, fit] : templates_) fits.push_back(fit);
  return fits;
}

std::int32_t FirmwareCompatibilityFile::ModelNumber(double version) const {
  const auto fit = FitData(version);
  return fit && fit->ModelNumber() > 0 ? fit->ModelNumber() : -1;
}

std::int32_t FirmwareCompatibilityFile::AccessCode(double version) const {
  const auto fit = FitData(version);
  return fit && fit->AccessCode() > 0 ? fit->AccessCode() : defaultAccessCode_;
}

std::int32_t FirmwareCompatibilityFile::FirmwareUpload(double version) const {
  const auto fit = FitData(version);
  return fit && fit->FirmwareUpload() > 0 ? fit->FirmwareUpload() : kDefaultFirmwareUpload;
}

bool FirmwareCompatibilityFile::AddTemplate(std::shared_ptr<const FirmwareInformationTemplate> fit) {
  if (!fit) return false;
  const auto version = NumericTextValue(fit->VersionText());
  if (!version) return false;
  const auto key = VersionKey(*version);
  if (!key) return false;
  return templates_.emplace(*key, std::move(fit)).second;
}

bool operator==(const FirmwareCompatibilityFile& a, const FirmwareCompatibilityFile& b) {
  if (a.softwareVersion_ != b.softwareVersion_ || a.defaultAccessCode_ != b.defaultAccessCode_) return false;
  if (a.templates_.size() != b.templates_.size()) return false;
  return std::equal(a.templates_.begin(), a.templates_.end(), b.templates_.begin(),
                    [](const auto& x, const auto& y) { return x.first == y.first && *x.second == *y.second; });
}

FirmwareCompatibilityFile& FirmwareCompatibility() {
  static FirmwareCompatibilityFile file;
  return file;
}

}  // namespace quendrel
