// A version-2 script with its own user interface, clock and parser, loaded from text and run in
// bounded steps.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "flash/language/ParseEngine.h"
#include "flash/scripts/FL2File.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"

namespace quendrel {

class ScriptRig {
 public:
  ScriptRig();

  // The registry, modules and settings store the scripts made from now on reach.
  void UseComms(GIOServer& server, SerialModule* serial, EthernetModule* ethernet, INIFile& settings);
  // Makes a new script (the old one is released first) and loads the text.
  bool Load(const std::string& text);
  FL2File& Script() { return *script_; }
  // Resets and steps until EOF or the step limit; every code reported, EOF included.
  std::vector<dfResponseCodes> Run(int maxSteps = 200);
  // The text form of a script variable.
  std::string Var(const std::string& name) const { return script_->Variable(name).AsText(); }
  // The same "name=value" pairs, blank-separated, with the values the variables hold now.
  std::string Vars(const std::string& names) const;
  void Release() { script_.reset(); }

  ScriptedUi ui;
  FakeClock clock;

 private:
  static ParseEngine& Parser();
  ScriptEnvironment environment_;
  std::unique_ptr<FL2File> script_;
};

}  // namespace quendrel
