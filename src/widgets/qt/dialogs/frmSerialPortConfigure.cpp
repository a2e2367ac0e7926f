#include "widgets/qt/dialogs/frmSerialPortConfigure.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

#include "comms/modules/SerialModule.h"
#include "comms/server/CommServer.h"
#include "comms/server/SettingsChecks.h"
#include "foundation/text/BaudRate.h"
#include "platform/UiServices.h"
#include "platform/qt/QtConvert.h"
#include "widgets/qt/dialogs/SettingsDialogLayout.h"

namespace quendrel {

namespace {

constexpr const char* kCaption = "Serial Port Settings";
constexpr int kBaudRateCodes = 10;

void SelectData(QComboBox* box, int value) {
  const int index = box->findData(value);
  box->setCurrentIndex(index >= 0 ? index : 0);
}

}  // namespace

frmSerialPortConfigure::frmSerialPortConfigure(QWidget* owner, GIOServer* server)
    : QDialog(owner),
      server_(server != nullptr ? *server : CommServer()),
      cbPort_(Named(new QComboBox(this), "cbPort")),
      cbBaudRate_(Named(new QComboBox(this), "cbBaudRate")),
      cbParity_(Named(new QComboBox(this), "cbParity")),
      cbDataBits_(Named(new QComboBox(this), "cbDataBits")),
      cbStopBits_(Named(new QComboBox(this), "cbStopBits")),
      tbTimeout_(Named(new QLineEdit(this), "tbTimeout")),
      tbRetries_(Named(new QLineEdit(this), "tbRetries")),
      chkLocalEcho_(Named(new QCheckBox(QStringLiteral("The adapter &echoes what it sends (two-wire RS-485)"), this),
                          "chkLocalEcho")) {
  setWindowTitle(QString::fromLatin1(kCaption));
  for (int code = 0; code < kBaudRateCodes; ++code) {
    const int rate = BaudRateFromIndex(code);
    cbBaudRate_->addItem(QString::number(rate), rate);
  }
  cbParity_->addItem(QStringLiteral("None"), 0);
  cbParity_->addItem(QStringLiteral("Odd"), 1);
  cbParity_->addItem(QStringLiteral("Even"), 2);
  for (int bits = 8; bits >= 5; --bits) cbDataBits_->addItem(QString::number(bits), bits);
  cbStopBits_->addItem(QStringLiteral("1"), 0);
  cbStopBits_->addItem(QStringLiteral("1.5"), 1);
  cbStopBits_->addItem(QStringLiteral("2"), 2);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Port:"), cbPort_);
  form->addRow(QStringLiteral("&Baud rate:"), cbBaudRate_);
  form->addRow(QStringLiteral("P&arity:"), cbParity_);
  form->addRow(QStringLiteral("&Data bits:"), cbDataBits_);
  form->addRow(QStringLiteral("&Stop bits:"), cbStopBits_);
  form->addRow(QStringLiteral("&Timeout (seconds):"), tbTimeout_);
  form->addRow(QStringLiteral("&Retries after a timeout:"), tbRetries_);
  form->addRow(chkLocalEcho_);

  LayOutSettingsDialog(*this, form, [this] { return bOK_Click(); });
  Fill(SerialPortSettings::FromConfig());
}

void frmSerialPortConfigure::FillPorts(int selected) {
  cbPort_->clear();
  std::vector<std::string> devices;
  if (const auto* serial = dynamic_cast<const SerialModule*>(server_.Module("Serial"))) {
    devices = serial->PortNames();
  }
  const std::size_t listed = std::min(devices.size(), static_cast<std::size_t>(kComPortCount));
  for (std::size_t index = 0; index < listed; ++index) {
    const int port = static_cast<int>(index);
    cbPort_->addItem(ToQString(ComPortName(port) + " (" + devices[index] + ")"), port);
  }
  // The configured port stays choosable even when its device is unplugged right now.
  if (cbPort_->findData(selected) < 0 && ComPortProblem(selected).empty()) {
    cbPort_->addItem(ToQString(ComPortName(selected)), selected);
  }
  cbPort_->setCurrentIndex(std::max(cbPort_->findData(selected), 0));
}

void frmSerialPortConfigure::Fill(const SerialPortSettings& settings) {
  FillPorts(settings.ComPort);
  SelectData(cbBaudRate_, settings.BaudRate);
  SelectData(cbParity_, settings.Parity);
  SelectData(cbDataBits_, settings.DataBits);
  SelectData(cbStopBits_, settings.StopBits);
  tbTimeout_->setText(ToQString(settings.Timeout));
  tbRetries_->setText(ToQString(settings.Retries));
  chkLocalEcho_->setChecked(settings.LocalEcho);
}

SerialPortSettings frmSerialPortConfigure::Collect() const {
  SerialPortSettings settings;
  settings.ComPort = cbPort_->currentData().toInt();
  settings.BaudRate = cbBaudRate_->currentData().toInt();
  settings.Parity = cbParity_->currentData().toInt();
  settings.DataBits = cbDataBits_->currentData().toInt();
  settings.StopBits = cbStopBits_->currentData().toInt();
  settings.Timeout = FromQString(tbTimeout_->text());
  settings.Retries = FromQString(tbRetries_->text());
  settings.LocalEcho = chkLocalEcho_->isChecked();
  return settings;
}

bool frmSerialPortConfigure::bOK_Click() {
  const std::string problem = ApplySerialPortSettings(Collect(), server_);
  if (problem.empty()) return true;
  Ui().MsgBox(problem, vbExclamation, kCaption);
  return false;
}

int frmSerialPortConfigure::ShowModal() {
  Fill(SerialPortSettings::FromConfig());
  return exec();
}

}  // namespace quendrel
