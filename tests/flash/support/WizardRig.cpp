#include "flash/support/WizardRig.h"

#include "flash/language/ParseEngine.h"
#include "flash/scripts/FUPFile.h"
#include "flash/support/PackageWriter.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"
#include "platform/ScriptedUi.h"
#include "support/TempFolder.h"

namespace quendrel {

ParseEngine& WizardRig::Parser() {
  static ParseEngine engine;
  return engine;
}

WizardRig::WizardRig(GIOServer& server, SerialModule* serial, ScriptedUi& ui) : ui_(ui) {
  const ScriptEnvironment environment{&ui, &SystemClockInstance(), &Parser(), {}, &server, serial, nullptr, &Config()};
  wizard_ = std::make_unique<UpgradeWizard>(
      environment, *this,
      UpgradeWizard::ProgressControls{tpbProgress, tpbSubProgress, lblFlashStatus, lblSubProgress, window});
  wizard_->Form_Load();
}

WizardRig::~WizardRig() { wizard_->Form_Unload(); }

void WizardRig::Browse(const std::string& path) {
  ui_.AnswerFileDialog(path);
  wizard_->bBrowse_Click();
}

void WizardRig::ChoosePackage(const std::string& path) {
  wizard_->bNextFinish_Click();
  Browse(path);
}

void WizardRig::ShowControls() {
  shown.push_back(wizard_->View());
  shownRunning.push_back(wizard_->Running());
}

std::string WriteUpgradePackage(const TempFolder& folder, const std::string& versionText, const std::string& rootName,
                                const std::string& rootScript, std::uint32_t flags, const std::string& fileName) {
  PackageSpec spec;
  spec.versionText = versionText;
  spec.flags = flags;
  spec.rootName = rootName;
  spec.members = {{FUPFile::LookupKey(rootName), rootScript}};
  return folder.Write(fileName, PackageImage(spec));
}

}  // namespace quendrel
