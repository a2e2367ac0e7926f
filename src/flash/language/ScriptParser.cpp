#include "flash/language/ScriptParser.h"

#include <memory>

namespace quendrel {

namespace {

std::unique_ptr<ParseEngine>& Instance() {
  static std::unique_ptr<ParseEngine> instance;
  return instance;
}

}  // namespace

ParseEngine& CreateScriptParser() {
  Instance() = std::make_unique<ParseEngine>();
  return *Instance();
}

ParseEngine& ScriptParser() {
  if (Instance() == nullptr) {
    return CreateScriptParser();
  }
  return *Instance();
}

}  // namespace quendrel
