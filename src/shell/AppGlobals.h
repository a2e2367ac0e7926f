// The program-wide values every window reads: the program folder and the product texts, set
// once at start-up.
#pragma once

#include <string>

namespace quendrel {

// The texts the splash and About windows show.
struct ProductTexts {
  std::string Company;
  std::string Product;
  std::string Description;
  std::string LegalCopyright;
  std::string Version;  // "major.minor.patch" of the build
  std::string WebSite;  // where updates are offered
};

const ProductTexts& Product();

// The folder Quendrel was started from, with a trailing "/". Files named without a folder
// (the INI file, the scan list, the compatibility file) are found there.
const std::string& AppFolder();
// Adds the trailing "/" when the folder lacks it.
void SetAppFolder(const std::string& folder);

}  // namespace quendrel
