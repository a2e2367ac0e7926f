#include "flash/ScriptEnvironment.h"

#include "flash/ScriptParser.h"
#include "platform/Clock.h"
#include "platform/UiServices.h"

namespace quendrel {

ScriptEnvironment ScriptEnvironment::Global() { return {&Ui(), &CurrentClock(), &ScriptParser(), {}}; }

}  // namespace quendrel
