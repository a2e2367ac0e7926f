// The firmware upgrade wizard on screen: a modal dialog over the main window that renders the
// UpgradeWizard core after every user action and forwards only what the user did. While an upgrade
// runs the dialog refuses to close, even from inside a box the script shows.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <array>
#include <functional>
#include <memory>

#include "flash/runner/UpgradeWizard.h"
#include "flash/runner/UpgradeWizardView.h"
#include "flash/scripts/ScriptEnvironment.h"
#include "widgets/qt/windows/WindowHost.h"

namespace quendrel {

class GIOServer;
class TextProgressBar;

class frmUserFlash : public QDialog, private UpgradeWizardView {
 public:
  // Shows the wizard modally over the host's owner; it works on the server's modules and tells the
  // main window through communicationsUpdate when it selected or configured one. The dialog is
  // destroyed once exec returns.
  static void ShowModal(const WindowHost& host, GIOServer& server, std::function<void()> communicationsUpdate);
  // Runs while the next wizard is open, for tests that drive the modal dialog.
  static void OnOpen(std::function<void(frmUserFlash&)> action);
  // The program's own services, with the server's modules.
  static ScriptEnvironment Environment(GIOServer& server);

  frmUserFlash(ScriptEnvironment environment, QWidget* owner, std::function<void()> communicationsUpdate);
  ~frmUserFlash() override;

  UpgradeWizard& Core() { return *core_; }
  QTabWidget* Pages() const { return SSTab1_; }
  QRadioButton* CommModeButton(int index) const { return obCommMode_[static_cast<std::size_t>(index)]; }
  QLineEdit* AddressBox() const { return tbAddress_; }
  QPushButton* TestButton() const { return bTestCommunication_; }
  QPushButton* BrowseButton() const { return bBrowse_; }
  QPushButton* PrevButton() const { return bPrev_; }
  QPushButton* NextButton() const { return bNextFinish_; }
  QPushButton* CancelButton() const { return bCancel_; }
  QLabel* FlashStatus() const { return lblFlashStatus_; }
  QLabel* SubProgressLabel() const { return lblSubProgress_; }
  TextProgressBar* ProgressBar() const { return tpbProgress_; }
  TextProgressBar* SubProgressBar() const { return tpbSubProgress_; }
  // Plays a user action on the core and shows the result, as every signal handler does.
  void Act(const std::function<void()>& action);

 protected:
  // Every way of closing ends here; a running upgrade keeps the dialog open.
  void done(int result) override;

 private:
  QWidget* CreateDrivePage();
  QWidget* CreateFilePage();
  QWidget* CreateUpgradePage();
  QWidget* CreateCompletePage();
  void ConnectSignals();
  void Render();
  void NextFinish();

  void ShowControls() override;
  void ConfigureSerialPort() override;
  void ConfigureEthernet() override;
  void CommunicationsUpdate() override;

  ScriptEnvironment environment_;
  std::function<void()> communicationsUpdate_;
  QTabWidget* SSTab1_ = nullptr;
  std::array<QRadioButton*, 2> obCommMode_{};
  QPushButton* bConfigureGIO_ = nullptr;
  QPushButton* bTestCommunication_ = nullptr;
  QLineEdit* tbAddress_ = nullptr;
  QLabel* lblCommTestStatus_ = nullptr;
  QLabel* lblOldFirmwareVersion_ = nullptr;
  QLabel* lblNewFirmwareVersion_ = nullptr;
  QPushButton* bBrowse_ = nullptr;
  QLabel* lblFlashStatus_ = nullptr;
  TextProgressBar* tpbProgress_ = nullptr;
  QLabel* lblSubProgress_ = nullptr;
  TextProgressBar* tpbSubProgress_ = nullptr;
  QPushButton* bPrev_ = nullptr;
  QPushButton* bNextFinish_ = nullptr;
  QPushButton* bCancel_ = nullptr;
  std::unique_ptr<UpgradeWizard> core_;
  bool unloaded_ = false;
};

}  // namespace quendrel
