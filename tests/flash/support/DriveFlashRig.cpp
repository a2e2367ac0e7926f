#include "flash/support/DriveFlashRig.h"

#include "foundation/settings/Config.h"

namespace quendrel {

DriveFlashRig::DriveFlashRig() {
  ResetConfig();
  module = static_cast<FakeModule*>(&server.RegisterModule(std::make_unique<FakeModule>("Fake")));
  server.SelectModule("Fake");
  DriveFlashLinks links;
  links.Environment = {&ui, &clock, &Parser(), {}, &server, nullptr, nullptr, &Config()};
  links.Environment.driveCommands = [this](const std::string& name, const std::vector<Variant>& values,
                                           const std::vector<Variant>&, IFlashCommandFile& ffile, ProgressServer*,
                                           dfResponseCodes& code) { return DriveCommand(name, values, ffile, code); };
  links.MainStatus = [this](const std::string& text) { mainStatus.push_back(text); };
  links.tpbProgress = tpbProgress;
  links.tpbSubProgress = tpbSubProgress;
  links.tbCommand = tbCommand;
  links.tbData = tbData;
  window_ = std::make_unique<DriveFlash>(links);
  window_->Form_Load();
}

DriveFlashRig::~DriveFlashRig() {
  window_.reset();
  ResetConfig();
}

ParseEngine& DriveFlashRig::Parser() {
  static ParseEngine engine;
  return engine;
}

std::string DriveFlashRig::UseScript(const std::string& name, const std::string& text) {
  const std::string path = folder.Write(name, text);
  window_->tbFileName_Change(path);
  return path;
}

void DriveFlashRig::Answer(const std::string& name, std::initializer_list<dfResponseCodes> codes) {
  answers_[name].insert(answers_[name].end(), codes);
}

Variant DriveFlashRig::DriveCommand(const std::string& name, const std::vector<Variant>& values,
                                    IFlashCommandFile& ffile, dfResponseCodes& code) {
  std::string call = name + "(";
  for (std::size_t i = 0; i < values.size(); ++i) call += (i == 0 ? "" : ",") + values[i].AsText();
  calls_.push_back(call + ")");
  contexts.push_back(ffile.Context().get());
  auto& queued = answers_[name];
  if (queued.empty()) return Variant(true);
  code = queued.front();
  queued.pop_front();
  return Variant(code == dfResponseOK);
}

}  // namespace quendrel
