#include "foundation/Config.h"

#include "resources/BuiltInText.h"

namespace quendrel {

namespace {

constexpr int kDefaultSettingsResource = 103;

INIFile& MutableDefaults() {
  static INIFile defaults = [] {
    INIFile built;
    built.LoadText(BuiltInText(kDefaultSettingsResource).value_or(""));
    return built;
  }();
  return defaults;
}

}  // namespace

const INIFile& DefaultConfig() { return MutableDefaults(); }

INIFile& Config() {
  static INIFile user(&DefaultConfig());
  return user;
}

void ResetConfig() {
  INIFile& defaults = MutableDefaults();
  defaults.Clear();
  defaults.LoadText(BuiltInText(kDefaultSettingsResource).value_or(""));
  Config() = INIFile(&defaults);
}

}  // namespace quendrel
