#include "widgets/qt/dialogs/frmEthernetConfigure.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

#include "comms/server/CommServer.h"
#include "platform/UiServices.h"
#include "platform/qt/QtConvert.h"
#include "widgets/qt/dialogs/SettingsDialogLayout.h"

namespace quendrel {

namespace {

constexpr const char* kCaption = "Ethernet Settings";

// Host and password are kept as Latin-1 bytes; any other character would be stored as "?", and
// the connection or login would then fail with nothing to show why.
bool FitsLatin1(const QString& text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
}

}  // namespace

frmEthernetConfigure::frmEthernetConfigure(QWidget* owner, GIOServer* server)
    : QDialog(owner),
      server_(server != nullptr ? *server : CommServer()),
      tbHost_(Named(new QLineEdit(this), "tbHost")),
      tbPort_(Named(new QLineEdit(this), "tbPort")),
      cbProtocol_(Named(new QComboBox(this), "cbProtocol")),
      chkLogin_(Named(new QCheckBox(QStringLiteral("&Log in with a password"), this), "chkLogin")),
      tbPassword_(Named(new QLineEdit(this), "tbPassword")),
      tbTimeout_(Named(new QLineEdit(this), "tbTimeout")),
      tbRetries_(Named(new QLineEdit(this), "tbRetries")) {
  setWindowTitle(QString::fromLatin1(kCaption));
  cbProtocol_->addItem(QStringLiteral("Modbus/TCP"), 0);
  cbProtocol_->addItem(QStringLiteral("RTU frames over TCP"), 1);
  tbPassword_->setEchoMode(QLineEdit::Password);
  connect(chkLogin_, &QCheckBox::toggled, tbPassword_, &QWidget::setEnabled);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Host:"), tbHost_);
  form->addRow(QStringLiteral("&Port:"), tbPort_);
  form->addRow(QStringLiteral("P&rotocol:"), cbProtocol_);
  form->addRow(chkLogin_);
  form->addRow(QStringLiteral("Pass&word:"), tbPassword_);
  form->addRow(QStringLiteral("&Timeout (seconds):"), tbTimeout_);
  form->addRow(QStringLiteral("R&etries:"), tbRetries_);

  LayOutSettingsDialog(*this, form, [this] { return bOK_Click(); });
  setMinimumWidth(340);
  Fill(EthernetSettings::FromConfig());
}

void frmEthernetConfigure::Fill(const EthernetSettings& settings) {
  tbHost_->setText(ToQString(settings.Host));
  tbPort_->setText(ToQString(settings.Port));
  const int protocol = cbProtocol_->findData(settings.Protocol);
  cbProtocol_->setCurrentIndex(protocol >= 0 ? protocol : 0);
  chkLogin_->setChecked(settings.Authenticate);
  tbPassword_->setEnabled(settings.Authenticate);
  tbPassword_->setText(ToQString(settings.Password));
  tbTimeout_->setText(ToQString(settings.Timeout));
  tbRetries_->setText(ToQString(settings.Retries));
}

EthernetSettings frmEthernetConfigure::Collect() const {
  EthernetSettings settings;
  settings.Host = FromQString(tbHost_->text());
  settings.Port = FromQString(tbPort_->text());
  settings.Protocol = cbProtocol_->currentData().toInt();
  settings.Authenticate = chkLogin_->isChecked();
  settings.Password = FromQString(tbPassword_->text());
  settings.Timeout = FromQString(tbTimeout_->text());
  settings.Retries = FromQString(tbRetries_->text());
  return settings;
}

std::string frmEthernetConfigure::UnstorableTextProblem() const {
  if (!FitsLatin1(tbHost_->text())) {
    return "The host name or address can only hold Western European (Latin-1) characters.";
  }
  if (!FitsLatin1(tbPassword_->text())) return "The password can only hold Western European (Latin-1) characters.";
  return "";
}

bool frmEthernetConfigure::bOK_Click() {
  if (const std::string problem = UnstorableTextProblem(); !problem.empty()) {
    Ui().MsgBox(problem, vbExclamation, kCaption);
    return false;
  }
  const std::string problem = ApplyEthernetSettings(Collect(), server_);
  if (problem.empty()) return true;
  Ui().MsgBox(problem, vbExclamation, kCaption);
  // Settings that were saved but cannot be used yet still close the dialog.
  return Collect().Validate().empty();
}

int frmEthernetConfigure::ShowModal() {
  Fill(EthernetSettings::FromConfig());
  return exec();
}

}  // namespace quendrel
