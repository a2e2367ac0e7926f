// The Ethernet settings dialog: host, port, protocol, login and password, timeout and retries.
// OK checks them, writes [Ethernet], applies them and selects the Ethernet module; Cancel
// changes nothing.
#pragma once

#include <QDialog>

#include "widgets/EthernetSettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace quendrel {

class GIOServer;

class frmEthernetConfigure : public QDialog {
 public:
  // server defaults to the program's CommServer().
  explicit frmEthernetConfigure(QWidget* owner = nullptr, GIOServer* server = nullptr);

  // Fills the dialog from the settings and shows it modally; QDialog::Accepted after OK.
  int ShowModal();
  void Fill(const EthernetSettings& settings);
  EthernetSettings Collect() const;
  // What OK does; false (and the user told why) when the settings cannot be used.
  bool bOK_Click();

 private:
  // The message for a host or password that cannot be stored as typed; "" when both can.
  std::string UnstorableTextProblem() const;

  GIOServer& server_;
  QLineEdit* tbHost_;
  QLineEdit* tbPort_;
  QComboBox* cbProtocol_;
  QCheckBox* chkLogin_;
  QLineEdit* tbPassword_;
  QLineEdit* tbTimeout_;
  QLineEdit* tbRetries_;
};

}  // namespace quendrel
