#include "flash/support/LoaderLineRig.h"

#include <gtest/gtest.h>

#include "comms/functions/FunctionTemplates.h"
#include "flash/language/ParseEngine.h"
#include "flash/scripts/IFlashCommandFile.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"

namespace quendrel {

namespace {

// Long enough for a loaded machine; a test that fails waits no longer than this for each answer.
constexpr double kLoaderWait = 5.0;

}  // namespace

LoaderLineRig::LoaderLineRig(std::vector<std::string> simulatorArguments) : line_(std::move(simulatorArguments)) {
  environment_ = {&ui_, &SystemClockInstance(), &Parser(), {}, &line_.Server(), &line_.Module(), nullptr, &Config()};
  environment_.loaderWaitSeconds = kLoaderWait;
  // As at start-up: scripts call the drive's functions through the built-in templates.
  EXPECT_TRUE(LoadFunctionTemplates());
}

ParseEngine& LoaderLineRig::Parser() {
  static ParseEngine engine;
  return engine;
}

std::vector<dfResponseCodes> LoaderLineRig::Run(IFlashCommandFile& script, int steps) {
  std::vector<dfResponseCodes> failures;
  script.Reset();
  for (int step = 0; step < steps; ++step) {
    const dfResponseCodes code = script.singleStep();
    if (code == dfResponseEOF) return failures;
    if (code != dfResponseOK) failures.push_back(code);
  }
  ADD_FAILURE() << "the script did not end";
  return failures;
}

}  // namespace quendrel
