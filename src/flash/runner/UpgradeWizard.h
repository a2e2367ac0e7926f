// The firmware upgrade wizard without its widgets: four pages that choose the connection and test it,
// read the drive's firmware version, pick an upgrade package and check it against the drive, then run
// the package's root script from start to end. The window renders View() after every handler and
// whenever the wizard calls ShowControls; it forwards only what the user did.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "comms/functions/dfResponseCodes.h"
#include "flash/runner/ScriptReservation.h"
#include "flash/scripts/ScriptEnvironment.h"

namespace quendrel {

class FUPFile;
class GIOContext;
class GIOServer;
class IFlashCommandFile;
class ProgressClientSink;
class ProgressControlSink;
class ProgressLabelSink;
class ProgressServer;
class ProgressTextBarSink;
class UpgradeWizardView;

class UpgradeWizard {
 public:
  enum Page : int { SelectDrive = 0, LoadUpgradeFile = 1, PerformUpgrade = 2, UpgradeComplete = 3 };
  static constexpr int kPageCount = 4;
  // What the text progress bars write over themselves: the text only, or the text and the percentage.
  static constexpr int kBarTextOnly = 0;
  static constexpr int kBarTextAndPercent = 2;

  // Everything the wizard decides about its window; the progress controls below are shared with the
  // running script and left out.
  struct Controls {
    int Page = SelectDrive;  // the only page enabled
    int obCommMode = 0;      // 0 serial, 1 Ethernet
    std::string bConfigureGIOCaption = "&Configure Serial Port...";
    std::string tbAddressText = "1";
    std::string lblCommTestStatus;
    std::string lblOldFirmwareVersion;
    std::string lblNewFirmwareVersion;
    bool bPrevEnabled = false;
    bool bNextFinishEnabled = true;
    std::string bNextFinishCaption = "&Next >>";
    bool bCancelEnabled = true;
    int BarTextStyle = kBarTextOnly;  // both bars
  };

  // The controls a run reports to; any may be null.
  struct ProgressControls {
    std::shared_ptr<ProgressTextBarSink> tpbProgress;
    std::shared_ptr<ProgressTextBarSink> tpbSubProgress;
    std::shared_ptr<ProgressLabelSink> lblFlashStatus;
    std::shared_ptr<ProgressControlSink> lblSubProgress;
    std::shared_ptr<ProgressClientSink> window;
  };

  // The environment's commServer is the registry the wizard selects modules in and opens contexts
  // on; its ui asks the wizard's questions, and its scripts run in it.
  UpgradeWizard(ScriptEnvironment environment, UpgradeWizardView& view, ProgressControls progress);
  ~UpgradeWizard();
  UpgradeWizard(const UpgradeWizard&) = delete;
  UpgradeWizard& operator=(const UpgradeWizard&) = delete;

  const Controls& View() const { return controls_; }
  bool Running() const { return running_; }
  const IFlashCommandFile* Script() const { return script_.get(); }
  const FUPFile* Package() const { return package_.get(); }

  // The address box's rule: the typed number rounded, modulo 256, raised to 1 when below 1. A text
  // holding no number, or one beyond the 32-bit range, gives 1.
  static std::string AddressText(std::string_view typed);

  // --- Window handlers ---
  void Form_Load();
  // False while an upgrade runs: the window must stay.
  bool Form_QueryUnload() const { return !running_; }
  // The window is going: drops the script and every connection the wizard opened.
  void Form_Unload();
  void obCommMode_Click(int index);
  void bConfigureGIO_Click();
  void tbAddress_Change(std::string_view text);
  void bTestCommunication_Click();
  void bBrowse_Click();
  // True when the window should close (Finish on the last page).
  bool bNextFinish_Click();
  void bPrev_Click();

 private:
  void ShowPage(int page);
  std::uint8_t Address() const;
  std::shared_ptr<GIOContext> OpenWindowContext();
  void SelectModule(const std::string& name);

  bool ConnectionCarriesUpgrade() const;
  // Tells why the picked file is no package; whatever was chosen before stays.
  void ReadDriveVersion();
  void CheckPackageAndLoad();
  bool OlderPackageAccepted() const;
  void Upgrade();
  bool RunUpgrade();
  void PrepareProgress();
  // Sets up the run on a context of its own and steps until the script ends or fails.
  dfResponseCodes RunScript(std::shared_ptr<GIOContext>& context);
  void ShowSubProgress(bool visible);

  ScriptEnvironment environment_;
  GIOServer& server_;
  UpgradeWizardView& view_;
  ProgressControls progressControls_;
  Controls controls_;
  std::shared_ptr<GIOContext> context_;
  std::shared_ptr<FUPFile> package_;
  std::string packageFolder_;
  // Before the script, which reports to it until the script goes.
  std::unique_ptr<ProgressServer> progress_;
  std::unique_ptr<IFlashCommandFile> script_;
  ScriptReservation reservation_;
  bool running_ = false;
};

}  // namespace quendrel
