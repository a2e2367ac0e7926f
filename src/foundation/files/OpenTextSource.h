#pragma once

// Opens a text that may come from a file beside the program or from the texts built into it.

#include <memory>
#include <string>

#include "foundation/files/TextStream.h"

namespace quendrel {

enum ORFFlags {
  orfResourceForkOnly,
  orfFileOnly,
  // The file when it can be read, so a user's copy overrides the built-in text.
  orfFileThenResource,
};

// A stream over the file or built-in text `resource` as `mode` chooses; nullptr when neither
// can be read.
std::unique_ptr<TextStream> OpenTextSource(int resource, const std::string& fileName,
                                           ORFFlags mode);

}  // namespace quendrel
