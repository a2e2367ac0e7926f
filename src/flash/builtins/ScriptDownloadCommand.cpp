#include "flash/builtins/ScriptDownloadCommand.h"

#include <cctype>
#include <optional>

#include "comms/server/GIOContext.h"
#include "flash/builtins/CallConnection.h"
#include "flash/builtins/ScriptFileLookup.h"
#include "flash/builtins/TransferProgress.h"
#include "flash/scripts/IFlashCommandFile.h"
#include "foundation/progress/ProgressServer.h"
#include "foundation/settings/ParseBoolean.h"
#include "foundation/text/BitText.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/compatibility/FirmwareInformationTemplate.h"
#include "params/files/KVBFile.h"
#include "params/transfer/ParameterDownload.h"
#include "params/transfer/UnlockDrive.h"

namespace quendrel {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

bool IsAsciiParameterFile(const std::string& path) {
  if (path.size() < 4) return false;
  std::string extension = path.substr(path.size() - 4);
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return extension == ".KVD";
}

// A package member is always a binary image, whatever its name says.
bool Load(KVBFile& file, const FoundScriptFile& found, const std::string& name) {
  if (found.From == FoundScriptFile::Source::Package) return file.LoadKVBString(found.PackageBytes, name);
  if (IsAsciiParameterFile(found.DiskPath)) return file.LoadKVDFile(found.DiskPath);
  return file.LoadKVBFile(found.DiskPath);
}

udtDriveResponse ReadParameter(GIOContext& context, std::int32_t n) {
  if (n < 0 || n >= KVBFile::kSlotCount) {
    udtDriveResponse refused;
    refused.Error = true;
    return refused;
  }
  return context.ReadValue(static_cast<std::uint8_t>(n / 100), static_cast<std::uint8_t>(n % 100));
}

// The file's value name under the number the drive holds, "" when the file has none.
std::string FileValueName(const KVBFile& file, std::int32_t n, std::int32_t number) {
  for (std::int32_t position = 0; position < file.NumDVDs(n); ++position) {
    if (file.DVDNumber(n, position) == number) return file.DVD(n, position);
  }
  return {};
}

// The model number the file was made from: the raw word its value of the model-number parameter
// stands for, read with the PAD a download would use. Nothing when the file does not hold it.
std::optional<std::int16_t> FileModelNumber(const KVBFile& file, std::int32_t n,
                                            const FirmwareInformationTemplate& fit) {
  if (n < 0 || n >= KVBFile::kSlotCount || file.Identifier(n).empty()) return std::nullopt;
  const std::string& pad = file.PAD(n);
  const std::string scale = pad.empty() ? LongToBinaryString(fit.Template(n).iPad, false) : pad;
  return ParameterDownload::RawValue(file.Value(n), scale);
}

bool Overridden(const BuiltinCall& call) { return call.Has(2) && ParseBoolean(call.Stripped(2)); }

bool Download(const BuiltinCall& call, KVBFile& file, TransferProgress& transfer) {
  CallConnection connection(call.ffile);
  GIOContext* context = connection.Context();
  if (context == nullptr) return false;
  UnlockDrive(*context);
  const bool sameModel = ScriptDownloadCommand::SameModel(file, *context) || Overridden(call);
  transfer.ShowControls();
  return file.DownloadToDrive(*context, sameModel, transfer.Server(), 0, {});
}

}  // namespace

bool ScriptDownloadCommand::SameModel(const KVBFile& file, GIOContext& context) {
  const FirmwareCompatibilityFile& fc2 = FirmwareCompatibility();
  const udtDriveResponse version = ReadParameter(context, fc2.SoftwareVersion());
  const auto fit = version.Error ? nullptr : fc2.FitData(version.sglData);
  if (!fit) return false;
  const std::int32_t modelNumber = fc2.ModelNumber(version.sglData);
  const udtDriveResponse model = ReadParameter(context, modelNumber);
  if (model.Error || model.strData.empty()) return false;
  // The file lists the names of every model of its series, so its name for the drive's number agreeing
  // with the drive's only says both name the models alike; the file must also be of that number.
  return FileValueName(file, modelNumber, model.intData) == model.strData &&
         FileModelNumber(file, modelNumber, *fit) == model.intData;
}

Variant ScriptDownloadCommand::Run(const BuiltinCall& call) {
  TransferProgress transfer(call.ffile, call.prog, "Downloading...", "Downloading Data");
  ProgressServer& progress = transfer.Server();
  const std::string path = call.Stripped(1);
  const std::optional<FoundScriptFile> found = FindScriptFile(call.ffile, path, FileLookupOrder::PackageFirst);
  if (!found) {
    progress.SetDetail("Couldn't Find File " + Quoted(path));
    call.ErrCode = dfResponseFileNotFound;
    return Variant(false);
  }
  KVBFile file;
  if (!Load(file, *found, path)) {
    progress.SetDetail("Couldn't load file " + Quoted(path));
    call.ErrCode = dfResponseGeneralError;
    return Variant(false);
  }
  const bool downloaded = Download(call, file, transfer);
  if (!downloaded) call.ErrCode = dfResponseGeneralError;
  transfer.Finish("Download Complete");
  return Variant(downloaded);
}

}  // namespace quendrel
