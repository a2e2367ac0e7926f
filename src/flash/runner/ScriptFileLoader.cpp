#include "flash/runner/ScriptFileLoader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "flash/scripts/FL2File.h"
#include "flash/scripts/FLAFile.h"
#include "flash/scripts/FUPFile.h"
#include "flash/scripts/ScriptFileTexts.h"
#include "foundation/files/RegularFile.h"
#include "platform/NumberedError.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUnknownRoot = "This firmware update file contains a rootscript in an unknown format.";
constexpr const char* kRootNotLoaded = "Unable to load the rootscript from the FUP.";
constexpr const char* kPackageTitle = "FUP Error";

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

}  // namespace

ScriptFileLoader::ScriptFileLoader(ScriptEnvironment environment) : environment_(std::move(environment)) {}

std::string ScriptFileLoader::AbsolutePath(const std::string& path) {
  if (path.empty()) return path;
  std::error_code error;
  const fs::path absolute = fs::absolute(fs::path(path), error);
  if (error) return path;
  return absolute.lexically_normal().string();
}

bool ScriptFileLoader::HasExtension(const std::string& name, const std::string& extension) {
  if (name.size() < extension.size()) return false;
  return Upper(name.substr(name.size() - extension.size())) == Upper(extension);
}

std::string ScriptFileLoader::ExistingFolderOf(const std::string& absolutePath) {
  const fs::path folder = fs::path(absolutePath).parent_path();
  std::error_code error;
  if (folder.empty() || !fs::is_directory(folder, error)) return {};
  return folder.string();
}

std::unique_ptr<IFlashCommandFile> ScriptFileLoader::CreateByExtension(const std::string& name) const {
  if (HasExtension(name, ".FL2")) return std::make_unique<FL2File>(environment_);
  if (HasExtension(name, ".FLA")) return std::make_unique<FLAFile>(environment_);
  return nullptr;
}

bool ScriptFileLoader::LoadFileCaught(IFlashCommandFile& script, const std::string& name, bool showRaised) {
  try {
    return script.LoadFile(name);
  } catch (const NumberedError& error) {
    if (showRaised) script.Environment().ui->MsgBox(error.what(), vbCritical | vbOKOnly, "Error");
    return false;
  }
}

std::unique_ptr<IFlashCommandFile> ScriptFileLoader::LoadScript(const std::string& path) const {
  const std::string absolute = AbsolutePath(path);
  std::unique_ptr<IFlashCommandFile> script = CreateByExtension(absolute);
  if (script == nullptr) return nullptr;
  const std::string folder = ExistingFolderOf(absolute);
  if (!folder.empty()) script->SetWorkingFolder(folder);
  if (!LoadFileCaught(*script, absolute, true)) return nullptr;
  return script;
}

std::unique_ptr<IFlashCommandFile> ScriptFileLoader::LoadPackageRoot(const std::shared_ptr<const FUPFile>& package,
                                                                     const std::string& folder) const {
  const std::string root = package ? package->RootFile() : std::string();
  std::unique_ptr<IFlashCommandFile> script = CreateByExtension(root);
  if (script == nullptr) {
    environment_.ui->MsgBox(kUnknownRoot, vbCritical | vbOKOnly, kPackageTitle);
    return nullptr;
  }
  if (!folder.empty()) script->SetWorkingFolder(folder);
  script->SetArchive(package);
  if (!LoadFileCaught(*script, root, false)) {
    environment_.ui->MsgBox(kRootNotLoaded, vbCritical | vbOKOnly, kPackageTitle);
    return nullptr;
  }
  return script;
}

bool ScriptFileLoader::CheckNamedFile(const std::string& absolutePath) const {
  const RegularFile file(absolutePath);
  if (file.IsOpen()) return true;
  const std::string refusal =
      NothingAtPath(absolutePath) ? FileNotFoundText(absolutePath) : FileAccessText(absolutePath, file.Reason());
  environment_.ui->MsgBox(refusal, vbCritical | vbOKOnly, "Error");
  return false;
}

void ScriptFileLoader::RefusePackage(const std::string& path, const FUPFile& package) const {
  const std::string quoted = "\"" + path + "\"";
  if (package.Damaged()) {
    environment_.ui->MsgBox(quoted + " is damaged and cannot be used: " + package.LoadError() + ".",
                            vbExclamation | vbOKOnly, "Damaged FUP file");
    return;
  }
  environment_.ui->MsgBox(quoted + " cannot be read: " + package.LoadError() + ".", vbExclamation | vbOKOnly,
                          "Unreadable FUP file");
}

std::shared_ptr<FUPFile> ScriptFileLoader::LoadPackage(const std::string& path) {
  auto package = std::make_shared<FUPFile>();
  package->Load(path);
  return package;
}

}  // namespace quendrel
