// The script commands uploadfile and uploadtemplate: a drive's parameters saved as a parameter file.
#pragma once

#include "flash/builtins/BuiltinCall.h"

namespace quendrel {

class ScriptUploadCommand {
 public:
  // (path, optional mode 0-3, optional description). An empty path asks the user for one, and a
  // variable named as the path receives the choice. An existing folder in the path becomes the
  // script's working folder; the file is written there under its file-name part. True when the file
  // was uploaded and saved.
  static Variant Run(const BuiltinCall& call);
};

}  // namespace quendrel
