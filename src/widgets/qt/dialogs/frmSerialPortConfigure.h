// The serial port settings dialog: port, line settings, timeout, retries and the adapter's echo.
// OK checks them, writes [Serial Port], applies them and selects the serial module; Cancel
// changes nothing.
#pragma once

#include <QDialog>

#include "widgets/SerialPortSettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace quendrel {

class GIOServer;

class frmSerialPortConfigure : public QDialog {
 public:
  // server defaults to the program's CommServer().
  explicit frmSerialPortConfigure(QWidget* owner = nullptr, GIOServer* server = nullptr);

  // Fills the dialog from the settings and shows it modally; QDialog::Accepted after OK.
  int ShowModal();
  void Fill(const SerialPortSettings& settings);
  SerialPortSettings Collect() const;
  // What OK does; false (and the user told why) when the settings cannot be used.
  bool bOK_Click();

 private:
  void FillPorts(int selected);

  GIOServer& server_;
  QComboBox* cbPort_;
  QComboBox* cbBaudRate_;
  QComboBox* cbParity_;
  QComboBox* cbDataBits_;
  QComboBox* cbStopBits_;
  QLineEdit* tbTimeout_;
  QLineEdit* tbRetries_;
  QCheckBox* chkLocalEcho_;
};

}  // namespace quendrel
