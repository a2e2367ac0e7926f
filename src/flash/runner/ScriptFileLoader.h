// Makes the script object a window runs, from a script file or from a package's root script, and
// tells the user why when it cannot: the one loading step of every window that runs scripts.
#pragma once

#include <memory>
#include <string>

#include "flash/scripts/IFlashCommandFile.h"
#include "flash/scripts/ScriptEnvironment.h"

namespace quendrel {

class FUPFile;

class ScriptFileLoader {
 public:
  explicit ScriptFileLoader(ScriptEnvironment environment = ScriptEnvironment::Global());

  // A name the user typed, made absolute against the process's current directory: where relative
  // names have always been taken from. The scripts themselves never look at the current directory.
  static std::string AbsolutePath(const std::string& path);
  // True when the last four characters of the name, in any case, are the extension (".FL2").
  static bool HasExtension(const std::string& name, const std::string& extension);

  // An empty FL2File or FLAFile chosen by the name's extension; nothing for any other name.
  std::unique_ptr<IFlashCommandFile> CreateByExtension(const std::string& name) const;

  // A version-2 or version-1 script file, its relative names taken from the file's folder. Nothing
  // when the load failed; a load that raised an error has shown its description first.
  std::unique_ptr<IFlashCommandFile> LoadScript(const std::string& path) const;

  // The package's root script, kept with the package as its archive; its own name and the files it
  // names are taken from the folder first (where the package lies), then from the package. Nothing,
  // after telling the user, for a root that is no script or does not load.
  std::unique_ptr<IFlashCommandFile> LoadPackageRoot(const std::shared_ptr<const FUPFile>& package,
                                                     const std::string& folder) const;

  // True when the file the user named is a regular file that can be read. Otherwise the user is told
  // the path and the reason, in the words a script's own load uses, and it is false: for a package or
  // a file of no script kind, which no script load looks at first.
  bool CheckNamedFile(const std::string& absolutePath) const;
  // Says why a package file could not be loaded: damaged (with what is wrong in it) or unreadable.
  void RefusePackage(const std::string& path, const FUPFile& package) const;

  // A package file, read into a new object; the package holds no root and no member when the file
  // was no package, which LoadPackageRoot then refuses.
  static std::shared_ptr<FUPFile> LoadPackage(const std::string& path);

  // The folder of an absolute path, or the empty text when that folder does not exist.
  static std::string ExistingFolderOf(const std::string& absolutePath);

 private:
  // LoadFile, a raised error counted as a failed load; showRaised shows its description first.
  static bool LoadFileCaught(IFlashCommandFile& script, const std::string& name, bool showRaised);

  ScriptEnvironment environment_;
};

}  // namespace quendrel
