#include "params/compatibility/FC2Codec.h"

#include <memory>
#include <utility>

#include "foundation/files/FileCipher.h"
#include "foundation/values/Crc16.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/files/ByteReader.h"
#include "params/files/ByteWriter.h"

namespace quendrel {

namespace {

constexpr std::string_view kMagic = "FC2!";

// Entry flag bits of a template block.
constexpr std::uint8_t kFlagHole = 0x01;
constexpr std::uint8_t kFlagNeverDownload = 0x02;
constexpr std::uint8_t kFlagModelDependent = 0x04;
constexpr std::uint8_t kKnownFlags = kFlagHole | kFlagNeverDownload | kFlagModelDependent;

constexpr std::int32_t kParameters = FirmwareInformationTemplate::kParameterCount;

// The least a template takes: an empty version text, the block length, and a block of three system
// parameters with no bindings and no entries.
constexpr std::size_t kSmallestTemplate = 1 + 4 + 3 * 2 + 2 + 2;

bool IsParameter(std::int32_t n) { return n >= 0 && n < kParameters; }
bool IsParameterOrNone(std::int32_t n) { return n == -1 || IsParameter(n); }

std::uint8_t EntryFlags(const udtUploadTemplateData& entry) {
  return static_cast<std::uint8_t>((entry.isHole ? kFlagHole : 0) | (entry.NeverDownload ? kFlagNeverDownload : 0) |
                                   (entry.ModelDependent ? kFlagModelDependent : 0));
}

void EncodeEntry(ByteWriter& out, std::int32_t n, const udtUploadTemplateData& entry) {
  out.U16(static_cast<std::uint32_t>(n));
  out.U8(EntryFlags(entry));
  out.Text8(entry.sName);
  out.U16(static_cast<std::uint32_t>(entry.iPad));
  out.U16(static_cast<std::uint32_t>(entry.sDVD.size()));
  for (const auto& name : entry.sDVD) out.Text8(name);
  out.U16(static_cast<std::uint32_t>(entry.Dependencies.size()));
  for (const auto dependency : entry.Dependencies) out.U16(static_cast<std::uint32_t>(dependency));
}

std::optional<std::string> EncodeBlock(const FirmwareInformationTemplate& fit) {
  ByteWriter out;
  out.I16(fit.ModelNumber());
  out.I16(fit.AccessCode());
  out.I16(fit.FirmwareUpload());
  out.U16(static_cast<std::uint32_t>(fit.BindingData().size()));
  for (const auto& row : fit.BindingData()) {
    for (const auto n : {row.pParameter, row.pBound, row.pNameBound, row.pScaleBound}) out.I16(n);
  }
  const auto numbers = fit.EntryNumbers();
  out.U16(static_cast<std::uint32_t>(numbers.size()));
  for (const auto n : numbers) {
    const auto& entry = fit.Template(n);
    if (entry.iPad < 0 || entry.iPad > 0xFFFF) return std::nullopt;
    EncodeEntry(out, n, entry);
  }
  if (!out.Ok()) return std::nullopt;
  return out.TakeImage();
}

bool DecodeEntry(ByteReader& in, udtUploadTemplateData& entry) {
  const std::uint8_t flags = in.U8();
  entry.Exists = true;
  entry.isHole = (flags & kFlagHole) != 0;
  entry.NeverDownload = (flags & kFlagNeverDownload) != 0;
  entry.ModelDependent = (flags & kFlagModelDependent) != 0;
  entry.sName = in.Text8();
  entry.iPad = in.U16();
  const std::uint16_t names = in.U16();
  for (std::uint16_t i = 0; i < names && in.Ok(); ++i) entry.sDVD.push_back(in.Text8());
  const std::uint16_t dependencies = in.U16();
  for (std::uint16_t i = 0; i < dependencies && in.Ok(); ++i) {
    const std::int32_t dependency = in.U16();
    if (!IsParameter(dependency)) return false;
    entry.Dependencies.push_back(dependency);
  }
  return in.Ok() && (flags & ~kKnownFlags) == 0;
}

bool DecodeBlock(std::string_view block, FirmwareInformationTemplate& fit) {
  ByteReader in(block);
  fit.SetModelNumber(in.I16());
  fit.SetAccessCode(in.I16());
  fit.SetFirmwareUpload(in.I16());
  for (const auto n : {fit.ModelNumber(), fit.AccessCode(), fit.FirmwareUpload()}) {
    if (!IsParameterOrNone(n)) return false;
  }
  const std::uint16_t rows = in.U16();
  for (std::uint16_t i = 0; i < rows && in.Ok(); ++i) {
    udtBindingData row;
    row.pParameter = in.I16();
    row.pBound = in.I16();
    row.pNameBound = in.I16();
    row.pScaleBound = in.I16();
    for (const auto n : {row.pParameter, row.pBound, row.pNameBound, row.pScaleBound}) {
      if (!IsParameterOrNone(n)) return false;
    }
    fit.AddBinding(row);
  }
  const std::uint16_t entries = in.U16();
  std::int32_t previous = -1;
  for (std::uint16_t i = 0; i < entries && in.Ok(); ++i) {
    const std::int32_t n = in.U16();
    if (n <= previous || !IsParameter(n)) return false;
    previous = n;
    udtUploadTemplateData entry;
    if (!DecodeEntry(in, entry)) return false;
    fit.SetTemplate(n, std::move(entry));
  }
  return in.AtEnd();
}

bool DecodeTemplates(ByteReader& in, std::uint16_t count, FirmwareCompatibilityFile& into) {
  for (std::uint16_t i = 0; i < count; ++i) {
    auto fit = std::make_shared<FirmwareInformationTemplate>();
    fit->SetVersionText(in.Text8());
    const std::string_view block = in.Bytes(in.U32());
    if (!in.Ok() || !DecodeBlock(DecryptString(block), *fit)) return false;
    if (!into.AddTemplate(std::move(fit))) return false;
  }
  return true;
}

bool HasValidChecksum(std::string_view image) {
  const std::size_t bodyEnd = image.size() - 2;
  const auto low = static_cast<std::uint8_t>(image[bodyEnd]);
  const auto high = static_cast<std::uint8_t>(image[bodyEnd + 1]);
  return Crc16(image.substr(0, bodyEnd)) == static_cast<std::uint16_t>(low | (high << 8));
}

}  // namespace

std::optional<std::string> FC2Codec::Encode(const FirmwareCompatibilityFile& file) {
  const auto fits = file.Templates();
  ByteWriter out;
  out.Bytes(kMagic);
  out.U16(static_cast<std::uint32_t>(file.SoftwareVersion()));
  out.U16(static_cast<std::uint32_t>(file.DefaultAccessCode()));
  out.U16(static_cast<std::uint32_t>(fits.size()));
  for (const auto& fit : fits) {
    const auto block = EncodeBlock(*fit);
    if (!block) return std::nullopt;
    out.Text8(fit->VersionText());
    out.U32(static_cast<std::uint32_t>(block->size()));
    out.Bytes(DecryptString(*block));
  }
  if (!out.Ok()) return std::nullopt;
  std::string image = out.TakeImage();
  AppendCrc16(image);
  return image;
}

FC2Codec::Result FC2Codec::CheckHeader(std::string_view head) {
  static_assert(kHeaderSize == kMagic.size());
  return head.starts_with(kMagic) ? Result::Ok : Result::NotFC2;
}

FC2Codec::Result FC2Codec::Decode(std::string_view image, FirmwareCompatibilityFile& into) {
  if (!image.starts_with(kMagic)) return Result::NotFC2;
  if (image.size() < kMagic.size() + 2 || !HasValidChecksum(image)) return Result::Corrupted;
  ByteReader in(image.substr(kMagic.size(), image.size() - kMagic.size() - 2));
  FirmwareCompatibilityFile file;
  file.SetSoftwareVersion(in.U16());
  file.SetDefaultAccessCode(in.U16());
  const std::uint16_t count = in.U16();
  if (!in.Ok() || !IsParameter(file.SoftwareVersion()) || !IsParameter(file.DefaultAccessCode())) {
    return Result::Corrupted;
  }
  if (count * kSmallestTemplate > in.Remaining()) return Result::Corrupted;
  if (!DecodeTemplates(in, count, file) || !in.AtEnd()) return Result::Corrupted;
  into = std::move(file);
  return Result::Ok;
}

}  // namespace quendrel
