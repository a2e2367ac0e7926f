#include "flash/builtins/ScriptFileLookup.h"

#include <filesystem>

#include "flash/scripts/IFlashCommandFile.h"
#include "flash/scripts/ScriptArchive.h"

namespace quendrel {

namespace {

std::optional<FoundScriptFile> FromPackage(const IFlashCommandFile& ffile, const std::string& name) {
  const auto archive = ffile.Archive();
  if (!archive || !archive->FileExists(name)) return std::nullopt;
  std::optional<std::string> bytes = archive->GetFile(name);
  if (!bytes) return std::nullopt;
  FoundScriptFile found;
  found.From = FoundScriptFile::Source::Package;
  found.PackageBytes = std::move(*bytes);
  return found;
}

std::optional<FoundScriptFile> FromDisk(const IFlashCommandFile& ffile, const std::string& name) {
  const std::string path = ffile.ResolvePath(name);
  std::error_code error;
  if (name.empty() || !std::filesystem::is_regular_file(path, error)) return std::nullopt;
  FoundScriptFile found;
  found.From = FoundScriptFile::Source::Disk;
  found.DiskPath = path;
  return found;
}

}  // namespace

std::optional<FoundScriptFile> FindScriptFile(const IFlashCommandFile& ffile, const std::string& name,
                                              FileLookupOrder order) {
  const bool packageFirst = order == FileLookupOrder::PackageFirst;
  auto found = packageFirst ? FromPackage(ffile, name) : FromDisk(ffile, name);
  if (found) return found;
  return packageFirst ? FromDisk(ffile, name) : FromPackage(ffile, name);
}

}  // namespace quendrel
