// What a firmware information template knows about one parameter number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quendrel {

struct udtUploadTemplateData {
  bool Exists = false;  // the template has an entry for this number
  bool isHole = false;  // the entry says the firmware has no such parameter
  std::string sName;
  std::int32_t iPad = 0;  // the PAD flag bits, bit 0 = least significant
  std::int32_t iNumDVDs = 0;
  std::vector<std::string> sDVD;  // value names under the indexes 0 .. iNumDVDs - 1
  // Download rules: a never-download parameter is never written from a file (a serial address, a
  // firmware upload trigger); a model-dependent one only into a drive of the file's model; the
  // dependencies must be written before this one.
  bool NeverDownload = false;
  bool ModelDependent = false;
  std::vector<std::int32_t> Dependencies;

  friend bool operator==(const udtUploadTemplateData&, const udtUploadTemplateData&) = default;
};

}  // namespace quendrel
