#include "flash/support/LineFlashLinks.h"

#include "flash/language/ParseEngine.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"

namespace quendrel {

DriveFlashLinks LineFlashLinks(UiServices& ui, SerialRig& line) {
  static ParseEngine parser;
  DriveFlashLinks links;
  links.Environment = {&ui, &SystemClockInstance(), &parser, {}, &line.Server(), &line.Module(), nullptr, &Config()};
  return links;
}

}  // namespace quendrel
