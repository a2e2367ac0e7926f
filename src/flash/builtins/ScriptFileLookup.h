// Where a built-in finds a file its script names: in the script's package or on disk, in an order
// each built-in chooses.
#pragma once

#include <optional>
#include <string>

namespace quendrel {

class IFlashCommandFile;

enum class FileLookupOrder { DiskFirst, PackageFirst };

struct FoundScriptFile {
  enum class Source { Package, Disk };
  Source From = Source::Disk;
  // The member's bytes for a package member; the absolute path for a file on disk.
  std::string PackageBytes;
  std::string DiskPath;
};

// A disk path is taken relative to the script's working folder; a package member by its name.
// Nothing when neither holds the file.
std::optional<FoundScriptFile> FindScriptFile(const IFlashCommandFile& ffile, const std::string& name,
                                              FileLookupOrder order);

}  // namespace quendrel
