// The system variables a script reads and assigns through the communication modules and the
// settings file: the selected transport, the serial and Ethernet modules' live settings, and the
// retry counts kept in the settings file.
#pragma once

#include <optional>
#include <string>

#include "flash/scripts/ScriptEnvironment.h"
#include "foundation/values/Variant.h"

namespace quendrel {

class ScriptCommSettings {
 public:
  // Nothing when the lower-cased name is none of these variables. A variable whose module or
  // settings store the environment lacks reads as empty.
  static std::optional<Variant> Read(const ScriptEnvironment& environment, const std::string& lower);
  // False when the lower-cased name is none of these variables. A value the setting cannot take
  // raises RuntimeError before anything changes; without its module or store an assignment changes
  // nothing.
  static bool Write(const ScriptEnvironment& environment, const std::string& lower, const Variant& value);
};

}  // namespace quendrel
