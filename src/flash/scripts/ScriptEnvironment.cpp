#include "flash/scripts/ScriptEnvironment.h"

#include "comms/server/CommServer.h"
#include "flash/language/ScriptParser.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"
#include "platform/UiServices.h"

namespace quendrel {

ScriptEnvironment ScriptEnvironment::Global() {
  return {&Ui(),           &CurrentClock(),         &ScriptParser(),         {},
          &CommServer(),   &GlobalSerialModule(),   &GlobalEthernetModule(), &Config()};
}

}  // namespace quendrel
