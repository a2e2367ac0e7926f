#include "flash/support/ScriptRig.h"

#include <sstream>

namespace quendrel {

ScriptRig::ScriptRig()
    : environment_{&ui, &clock, &Parser(), {}}, script_(std::make_unique<FL2File>(environment_)) {}

void ScriptRig::UseComms(GIOServer& server, SerialModule* serial, EthernetModule* ethernet, INIFile& settings) {
  environment_.commServer = &server;
  environment_.serial = serial;
  environment_.ethernet = ethernet;
  environment_.settings = &settings;
}

ParseEngine& ScriptRig::Parser() {
  static ParseEngine engine;
  return engine;
}

bool ScriptRig::Load(const std::string& text) {
  script_.reset();
  script_ = std::make_unique<FL2File>(environment_);
  return script_->LoadText(text);
}

std::vector<dfResponseCodes> ScriptRig::Run(int maxSteps) {
  std::vector<dfResponseCodes> codes;
  script_->Reset();
  for (int step = 0; step < maxSteps; ++step) {
    codes.push_back(script_->singleStep());
    if (codes.back() == dfResponseEOF) break;
  }
  return codes;
}

std::string ScriptRig::Vars(const std::string& names) const {
  std::istringstream pairs(names);
  std::string result;
  for (std::string pair; pairs >> pair;) {
    const std::string name = pair.substr(0, pair.find('='));
    result += (result.empty() ? "" : " ") + name + "=" + Var(name);
  }
  return result;
}

}  // namespace quendrel
