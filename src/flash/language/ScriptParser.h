// The program's one script parse engine, made as the last step of start-up.
#pragma once

#include "flash/language/ParseEngine.h"

namespace quendrel {

// Makes (or makes anew) the global engine, loading the built-in grammar; a grammar that cannot
// be read is reported and the engine stays usable, every statement then failing to parse.
ParseEngine& CreateScriptParser();

// The global engine; made on first use when start-up has not made it yet.
ParseEngine& ScriptParser();

}  // namespace quendrel
