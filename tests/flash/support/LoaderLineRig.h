// A simulated drive behind a pseudo-terminal and the environment scripts run in against it, with the
// real clock (the drive's loader answers a carriage return only after the spacing the clock gives)
// and the drive function templates the program loads at start-up.
#pragma once

#include <string>
#include <vector>

#include "comms/functions/dfResponseCodes.h"
#include "comms/support/SerialRig.h"
#include "flash/scripts/ScriptEnvironment.h"
#include "platform/ScriptedUi.h"

namespace quendrel {

class IFlashCommandFile;
class ParseEngine;

class LoaderLineRig {
 public:
  explicit LoaderLineRig(std::vector<std::string> simulatorArguments = {});

  SerialRig& Line() { return line_; }
  DriveSimProcess& Sim() { return line_.Sim(); }
  ScriptedUi& Ui() { return ui_; }
  const ScriptEnvironment& Environment() const { return environment_; }

  // Steps from the start to the end; the codes of the steps that did not succeed, the final EOF
  // left out.
  std::vector<dfResponseCodes> Run(IFlashCommandFile& script, int steps = 50);

 private:
  static ParseEngine& Parser();

  SerialRig line_;
  ScriptedUi ui_;
  ScriptEnvironment environment_;
};

}  // namespace quendrel
