// The script command downloadfile: a parameter file, from the script's package or from disk, written
// to the drive.
#pragma once

#include "flash/builtins/BuiltinCall.h"

namespace quendrel {

class GIOContext;
class KVBFile;

class ScriptDownloadCommand {
 public:
  // (path, optional same-model override). True when the whole file was downloaded.
  static Variant Run(const BuiltinCall& call);

  // Whether the drive is of the model the file was made for, which lets the download write the
  // parameters that depend on the model: the drive's model number is the one the file holds, under the
  // name the drive gives it. Only an answer the drive gave can say so: a failed version or model read,
  // a version without a template, an empty model name or a file without the model number mean another
  // model.
  static bool SameModel(const KVBFile& file, GIOContext& context);
};

}  // namespace quendrel
