#include "flash/builtins/ScriptBuiltins.h"

#include <array>
#include <cctype>
#include <filesystem>

#include "flash/builtins/BuiltinCall.h"
#include "flash/builtins/ScriptDownloadCommand.h"
#include "flash/builtins/ScriptDriveFunction.h"
#include "flash/builtins/ScriptUploadCommand.h"
#include "flash/language/ScriptOperators.h"
#include "flash/loader/LoaderBuiltins.h"
#include "flash/scripts/IFlashCommandFile.h"
#include "flash/scripts/ScriptArchive.h"
#include "foundation/progress/ProgressServer.h"
#include "foundation/settings/ParseBoolean.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/TextChecks.h"
#include "foundation/values/RuntimeError.h"
#include "platform/Clock.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

namespace fs = std::filesystem;

using CallArguments = BuiltinCall;

bool OnDisk(IFlashCommandFile& ffile, const std::string& path) {
  std::error_code error;
  return fs::exists(ffile.ResolvePath(path), error);
}

Variant Bell(const CallArguments& call) {
  call.ffile.Environment().ui->Beep();
  return Variant();
}

Variant If(const CallArguments& call) {
  if (ScriptOperators::IsNonZero(call.At(1))) return Variant(true);
  call.ffile.SetPC(call.ffile.PC() + 1);
  return Variant(false);
}

Variant Goto(const CallArguments& call) {
  const std::int32_t index = call.ffile.Label(call.At(1).AsText());
  if (index == -1) return Variant(false);
  call.ffile.SetPC(index);
  call.ErrCode = dfResponseJump;
  return Variant(true);
}

Variant Message(const CallArguments& call) {
  const std::string text = call.Stripped(1);
  if (call.prog != nullptr) {
    call.prog->SetStatus(text);
    call.prog->SetDetail(text);
  }
  Variant value;
  if (call.Has(2) && ParseBoolean(call.At(2).AsText())) {
    UiServices& ui = *call.ffile.Environment().ui;
    if (NumericTextValue(call.At(2).AsText()) == 1.0) {
      const int answer = ui.MsgBox(text, vbYesNo | vbInformation, "User Message") == vbYes ? vbYes : vbNo;
      value = Variant(static_cast<std::int32_t>(answer));
      call.ffile.SetVariable("data", value);
    } else {
      ui.MsgBox(text, vbOKOnly | vbInformation, "User Message");
    }
  }
  call.ffile.Log(text);
  return value;
}

Variant Wait(const CallArguments& call) {
  const std::int32_t milliseconds = ToInt32Checked(LeadingNumber(call.At(1).AsText()) * 1000);
  call.ffile.Environment().clock->Sleep(milliseconds / 1000.0);
  return Variant(true);
}

Variant End(const CallArguments& call) {
  call.ffile.SetPC(call.ffile.ProgramLength());
  call.ErrCode = dfResponseEOF;
  return Variant(true);
}

// A folder is not a file, and an empty name would name the working folder itself.
bool FileOnDisk(IFlashCommandFile& ffile, const std::string& path) {
  std::error_code error;
  return !path.empty() && fs::is_regular_file(ffile.ResolvePath(path), error);
}

Variant FileExists(const CallArguments& call) {
  const std::string path = call.Stripped(1);
  const auto archive = call.ffile.Archive();
  return Variant(FileOnDisk(call.ffile, path) || (!path.empty() && archive && archive->FileExists(path)));
}

Variant MakeFileName(const CallArguments& call) {
  const std::string name = ScriptBuiltins::UnusedFileName(call.Stripped(1), call.ffile);
  if (call.Has(2) && NumericTextValue(call.At(2).AsText()) == 1.0) call.ffile.AllocateTempFile(name);
  return Variant(name);
}

Variant DriveCommand(const std::string& name, const CallArguments& call) {
  return call.ffile.Environment().driveCommands(name, call.values, call.names, call.ffile, call.prog, call.ErrCode);
}

Variant ForceDriveFlash(const CallArguments& call) {
  return LoaderBuiltins::ForceDriveFlash(call.ffile, call.prog, call.ErrCode);
}

Variant InitializeBaudRate(const CallArguments& call) {
  return LoaderBuiltins::InitializeBaudRate(call.ffile, call.prog, call.ErrCode);
}

Variant InitializeWriteProgram(const CallArguments& call) {
  return LoaderBuiltins::InitializeWriteProgram(call.values, call.ffile, call.prog, call.ErrCode);
}

Variant InitializeWriteData(const CallArguments& call) {
  return LoaderBuiltins::InitializeWriteData(call.values, call.ffile, call.prog, call.ErrCode);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

using Builtin = Variant (*)(const CallArguments&);

// In the order the names are tested.
const std::array<std::pair<const char*, Builtin>, 16>& Dispatch() {
  static const std::array<std::pair<const char*, Builtin>, 16> table = {{
      {"bell", Bell},
      {"if", If},
      {"goto", Goto},
      {"message", Message},
      {"wait", Wait},
      {"fileexists", FileExists},
      {"makefilename", MakeFileName},
      {"uploadfile", ScriptUploadCommand::Run},
      {"uploadtemplate", ScriptUploadCommand::Run},
      {"downloadfile", ScriptDownloadCommand::Run},
      {"forcedriveflash", ForceDriveFlash},
      {"forceflashmode", ForceDriveFlash},
      {"end", End},
      {"initializebaudrate", InitializeBaudRate},
      {"initializewriteprogram", InitializeWriteProgram},
      {"initializewritedata", InitializeWriteData},
  }};
  return table;
}

}  // namespace

Variant ScriptBuiltins::CallBuiltinFunction(const std::string& name, const ScriptValueList& values,
                                            const ScriptValueList& names, IFlashCommandFile& ffile,
                                            ProgressServer* prog, dfResponseCodes& ErrCode) {
  const CallArguments call{values, names, ffile, prog, ErrCode};
  const std::string lower = Lower(name);
  for (const auto& [builtinName, builtin] : Dispatch()) {
    if (lower != builtinName) continue;
    return builtin(call);
  }
  // A host that routes drive functions itself (a recording test, a simulated loader) takes them all.
  if (ffile.Environment().driveCommands) return DriveCommand(name, call);
  return ScriptDriveFunction::CallDriveFunction(ffile, name, values, ErrCode, prog);
}

std::string ScriptBuiltins::UnusedFileName(const std::string& name, IFlashCommandFile& ffile) {
  if (!OnDisk(ffile, name)) return name;
  const std::size_t fileStart = name.find_last_of("/\\") == std::string::npos ? 0 : name.find_last_of("/\\") + 1;
  const std::size_t dot = name.find('.', fileStart);
  const std::string base = name.substr(0, dot);
  const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  for (int n = 1;; ++n) {
    std::string candidate = base + " (" + std::to_string(n) + ")";
    if (!extension.empty()) candidate += "." + extension;
    if (!OnDisk(ffile, candidate)) return candidate;
  }
}

}  // namespace quendrel
