// The firmware upgrade wizard's core in a window made of fakes: it remembers what the wizard showed
// and asked of it, and writes the packages the user picks.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "flash/runner/UpgradeWizard.h"
#include "flash/runner/UpgradeWizardView.h"
#include "foundation/support/ProgressFakes.h"

namespace quendrel {

class GIOServer;
class ParseEngine;
class ScriptedUi;
class SerialModule;
class TempFolder;

class WizardRig final : public UpgradeWizardView {
 public:
  // Opens the wizard over the registry; its scripts run with the ui and the program's clock.
  WizardRig(GIOServer& server, SerialModule* serial, ScriptedUi& ui);
  ~WizardRig() override;

  UpgradeWizard& Wizard() { return *wizard_; }
  const UpgradeWizard::Controls& View() const { return wizard_->View(); }
  // Browse, with the file dialog answering the path.
  void Browse(const std::string& path);
  // Next on the first page, then Browse: the wizard waits on the second page with the package chosen.
  void ChoosePackage(const std::string& path);

  void ShowControls() override;
  void ConfigureSerialPort() override { ++serialDialogs; }
  void ConfigureEthernet() override { ++ethernetDialogs; }
  void CommunicationsUpdate() override { ++communicationUpdates; }

  std::shared_ptr<testing::FakeTextBar> tpbProgress = std::make_shared<testing::FakeTextBar>("Firmware Progress");
  std::shared_ptr<testing::FakeTextBar> tpbSubProgress = std::make_shared<testing::FakeTextBar>("File Progress");
  std::shared_ptr<testing::FakeLabel> lblFlashStatus = std::make_shared<testing::FakeLabel>();
  std::shared_ptr<testing::FakeLabel> lblSubProgress = std::make_shared<testing::FakeLabel>();
  std::shared_ptr<testing::FakeClient> window = std::make_shared<testing::FakeClient>();

  // The controls as each ShowControls found them.
  std::vector<UpgradeWizard::Controls> shown;
  std::vector<bool> shownRunning;
  int serialDialogs = 0;
  int ethernetDialogs = 0;
  int communicationUpdates = 0;

  static ParseEngine& Parser();

 private:
  ScriptedUi& ui_;
  std::unique_ptr<UpgradeWizard> wizard_;
};

// A package holding the root script and the members, written into the folder; versionText has five
// characters ("2.105").
std::string WriteUpgradePackage(const TempFolder& folder, const std::string& versionText, const std::string& rootName,
                                const std::string& rootScript, std::uint32_t flags = 0,
                                const std::string& fileName = "upgrade.fup");

}  // namespace quendrel
