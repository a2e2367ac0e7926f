#include "flash/ScriptEnvironment.h"

#include "comms/CommServer.h"
#include "flash/ScriptParser.h"
#include "foundation/Config.h"
#include "platform/Clock.h"
#include "platform/UiServices.h"

namespace quendrel {

ScriptEnvironment ScriptEnvironment::Global() {
  return {&Ui(),           &CurrentClock(),         &ScriptParser(),         {},
          &CommServer(),   &GlobalSerialModule(),   &GlobalEthernetModule(), &Config()};
}

}  // namespace quendrel
