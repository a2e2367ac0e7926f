// What the firmware upgrade wizard asks of the window that shows it, beyond the progress controls.
#pragma once

namespace quendrel {

class UpgradeWizardView {
 public:
  virtual ~UpgradeWizardView() = default;

  // Shows the wizard's controls as they stand and paints them at once, without running the message
  // pump: an upgrade blocks the window, so what it disabled must be on screen before it starts.
  virtual void ShowControls() = 0;
  // The transport settings dialogs, modal; each selects its module when the user applies it.
  virtual void ConfigureSerialPort() = 0;
  virtual void ConfigureEthernet() = 0;
  // The main window's communication menu items and status follow the module selected now.
  virtual void CommunicationsUpdate() = 0;
};

}  // namespace quendrel
