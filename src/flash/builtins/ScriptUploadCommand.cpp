#include "flash/builtins/ScriptUploadCommand.h"

#include <filesystem>
#include <optional>

#include "flash/builtins/CallConnection.h"
#include "flash/builtins/TransferProgress.h"
#include "flash/scripts/IFlashCommandFile.h"
#include "foundation/files/BrowseForFile.h"
#include "foundation/files/PathText.h"
#include "foundation/progress/ProgressServer.h"
#include "foundation/text/NumberText.h"
#include "params/files/KVBFile.h"
#include "params/transfer/KVDUploadTypes.h"

namespace quendrel {

namespace {

namespace fs = std::filesystem;

const char* const kDialogTitle = "Save uploaded parameter file as...";
const char* const kDialogFilter = "Parameter Files Only (*.KVB)|*.KVB|All Files (*.*)|*.*";

enum class UploadMode { Template = 0, Full = 1, TemplateUserLevels = 2, FullUserLevels = 3 };

std::optional<UploadMode> ModeOf(const BuiltinCall& call) {
  if (!call.Has(2)) return UploadMode::Template;
  const std::optional<double> mode = NumericTextValue(call.At(2).AsText());
  if (!mode || (*mode != 0 && *mode != 1 && *mode != 2 && *mode != 3)) return std::nullopt;
  return static_cast<UploadMode>(static_cast<int>(*mode));
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

// The dialog's choice also lands in the variable the script passed as the path; a literal names none.
std::string AskForPath(const BuiltinCall& call) {
  std::string chosen = BrowseForFile(true, kDialogFilter, 1, kDialogTitle, "");
  if (chosen.empty() || call.names.empty()) return chosen;
  const std::string name = call.names.front().AsText();
  if (!name.empty() && name.front() != '"') call.ffile.SetVariable(name, Variant(chosen));
  return chosen;
}

// The folder the path names becomes the working folder when it exists; either way the file goes
// into the working folder under its file-name part.
std::string TargetPath(IFlashCommandFile& ffile, const std::string& path) {
  if (path.find_first_of("/\\") != std::string::npos) {
    const std::string folder = ffile.ResolvePath(GetPathFolder(path));
    std::error_code error;
    if (fs::is_directory(folder, error)) ffile.SetWorkingFolder(folder);
  }
  return ffile.ResolvePath(GetPathFileName(path));
}

bool Upload(KVBFile& file, UploadMode mode, GIOContext& context, ProgressServer& progress) {
  switch (mode) {
    case UploadMode::Template:
      return file.UploadFromDrive(context, progress, false);
    case UploadMode::TemplateUserLevels:
      return file.UploadFromDrive(context, progress, true);
    case UploadMode::Full:
      return file.FullUpload(context, kvdUploadAll, progress, false);
    case UploadMode::FullUserLevels:
      return file.FullUpload(context, kvdUploadAll, progress, true);
  }
  return false;
}

bool UploadAndSave(const BuiltinCall& call, const std::string& target, ProgressServer& progress) {
  const std::optional<UploadMode> mode = ModeOf(call);
  const std::string description = call.Has(3) ? call.Stripped(3) : std::string();
  if (!mode) return false;
  CallConnection connection(call.ffile);
  if (connection.Context() == nullptr) return false;
  KVBFile file;
  if (!Upload(file, *mode, *connection.Context(), progress)) return false;
  file.SetDescription(description);
  return static_cast<bool>(file.SaveKVBFile(target, false));
}

}  // namespace

Variant ScriptUploadCommand::Run(const BuiltinCall& call) {
  TransferProgress transfer(call.ffile, call.prog, "Uploading...", "Uploading Data");
  ProgressServer& progress = transfer.Server();
  std::string path = call.Stripped(1);
  if (IsBlank(path)) {
    path = AskForPath(call);
    if (path.empty()) {
      call.ErrCode = dfResponseFileNotFound;
      return Variant(false);
    }
  }
  const std::string target = TargetPath(call.ffile, path);
  transfer.ShowControls();
  progress.SetStatus("Uploading Data");
  bool uploaded = false;
  std::error_code error;
  if (fs::exists(target, error)) {
    call.ErrCode = dfResponseFileAlreadyExists;
  } else if (UploadAndSave(call, target, progress)) {
    uploaded = true;
  } else {
    progress.SetDetail("Error uploading data for file \"" + call.At(1).AsText() + "\".");
    call.ErrCode = dfResponseGeneralError;
  }
  transfer.Finish("Upload Complete");
  return Variant(uploaded);
}

}  // namespace quendrel
