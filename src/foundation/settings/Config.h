// The program-wide settings: the user's INI store, backed by the built-in default settings.
#pragma once

#include "foundation/settings/INIFile.h"

namespace quendrel {

// The user's settings; every key it does not hold is answered by DefaultConfig().
INIFile& Config();

// The built-in default settings, read once from the program's own default INI text. Only tests change
// them, and ResetConfig undoes that.
INIFile& DefaultConfig();

// Forgets every user setting and the settings file path and rereads the built-in defaults, so each
// test starts from a freshly started program's settings.
void ResetConfig();

}  // namespace quendrel
