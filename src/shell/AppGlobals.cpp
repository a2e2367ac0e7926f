#include "shell/AppGlobals.h"

namespace quendrel {

namespace {

std::string& Folder() {
  static std::string folder = "./";
  return folder;
}

}  // namespace

const ProductTexts& Product() {
  static const ProductTexts texts{
      "The Quendrel Developers",
      "Quendrel",
      "Drive control for AC motor drives",
      // Our byte strings are Latin-1, where 0xA9 is the copyright sign.
      "Copyright \xA9 2026 The Quendrel Developers. Free to use, change and share.",
      QUENDREL_VERSION_TEXT,
      "https://quendrel.example/",
  };
  return texts;
}

const std::string& AppFolder() { return Folder(); }

void SetAppFolder(const std::string& folder) {
  Folder() = folder;
  if (Folder().empty() || Folder().back() != '/') Folder() += '/';
}

}  // namespace quendrel
