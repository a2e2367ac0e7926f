#include "foundation/settings/Config.h"

#include "resources/BuiltInText.h"

namespace quendrel {

namespace {

constexpr int kDefaultSettingsResource = 103;

void LoadBuiltInDefaults(INIFile& defaults) {
  defaults.Clear();
  defaults.LoadText(BuiltInText(kDefaultSettingsResource).value_or(""));
}

}  // namespace

INIFile& DefaultConfig() {
  static INIFile defaults = [] {
    INIFile built;
    LoadBuiltInDefaults(built);
    return built;
  }();
  return defaults;
}

INIFile& Config() {
  static INIFile user(&DefaultConfig());
  return user;
}

void ResetConfig() {
  LoadBuiltInDefaults(DefaultConfig());
  Config() = INIFile(&DefaultConfig());
}

}  // namespace quendrel
