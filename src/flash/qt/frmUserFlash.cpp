#include "flash/qt/frmUserFlash.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "comms/modules/EthernetModule.h"
#include "comms/modules/SerialModule.h"
#include "comms/server/GIOServer.h"
#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtConvert.h"
#include "widgets/qt/dialogs/frmEthernetConfigure.h"
#include "widgets/qt/dialogs/frmSerialPortConfigure.h"
#include "widgets/qt/progress/ClientProgressSink.h"
#include "widgets/qt/progress/LabelProgressSink.h"
#include "widgets/qt/progress/TextProgressBar.h"
#include "widgets/qt/progress/TextProgressBarSink.h"
#include "widgets/qt/windows/Artwork.h"

namespace quendrel {
namespace {

std::function<void(frmUserFlash&)>& OpenAction() {
  static std::function<void(frmUserFlash&)> action;
  return action;
}

QLabel* Text(const QString& text) {
  auto* label = new QLabel(text);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  return label;
}

QLabel* SunkenLabel() {
  auto* label = new QLabel;
  label->setTextFormat(Qt::PlainText);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setMinimumWidth(80);
  return label;
}

}  // namespace

void frmUserFlash::ShowModal(const WindowHost& host, GIOServer& server, std::function<void()> communicationsUpdate) {
  frmUserFlash dialog(Environment(server), host.Owner, std::move(communicationsUpdate));
  if (auto action = std::exchange(OpenAction(), nullptr)) {
    QMetaObject::invokeMethod(&dialog, [&dialog, action] { action(dialog); }, Qt::QueuedConnection);
  }
  dialog.exec();
}

void frmUserFlash::OnOpen(std::function<void(frmUserFlash&)> action) { OpenAction() = std::move(action); }

ScriptEnvironment frmUserFlash::Environment(GIOServer& server) {
  ScriptEnvironment environment = ScriptEnvironment::Global();
  environment.commServer = &server;
  environment.serial = dynamic_cast<SerialModule*>(server.Module("Serial"));
  environment.ethernet = dynamic_cast<EthernetModule*>(server.Module("Ethernet"));
  return environment;
}

frmUserFlash::frmUserFlash(ScriptEnvironment environment, QWidget* owner, std::function<void()> communicationsUpdate)
    : QDialog(owner), environment_(environment), communicationsUpdate_(std::move(communicationsUpdate)) {
  setWindowTitle(QStringLiteral("Upgrade Drive Firmware"));
  setWindowIcon(Artwork::WindowIcon());
  setModal(true);
  // Wrapped texts ask for no height of their own: the smallest size keeps every page's texts whole.
  setMinimumSize(600, 400);
  SSTab1_ = new QTabWidget;
  SSTab1_->setUsesScrollButtons(false);
  SSTab1_->addTab(CreateDrivePage(), QStringLiteral("Select Drive"));
  SSTab1_->addTab(CreateFilePage(), QStringLiteral("Load Upgrade File"));
  SSTab1_->addTab(CreateUpgradePage(), QStringLiteral("Perform Upgrade"));
  SSTab1_->addTab(CreateCompletePage(), QStringLiteral("Upgrade Complete"));
  auto* picture = new QLabel;
  picture->setPixmap(Artwork::WizardPicture(102));
  bPrev_ = new QPushButton(QStringLiteral("<< &Prev"));
  bNextFinish_ = new QPushButton(QStringLiteral("&Next >>"));
  bCancel_ = new QPushButton(QStringLiteral("Cancel"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(bPrev_);
  buttons->addWidget(bNextFinish_);
  buttons->addWidget(bCancel_);
  auto* right = new QVBoxLayout;
  right->addWidget(SSTab1_, 1);
  right->addLayout(buttons);
  auto* outer = new QHBoxLayout(this);
  outer->addWidget(picture, 0, Qt::AlignTop);
  outer->addLayout(right, 1);

  UpgradeWizard::ProgressControls progress;
  progress.tpbProgress = std::make_shared<TextProgressBarSink>(tpbProgress_);
  progress.tpbSubProgress = std::make_shared<TextProgressBarSink>(tpbSubProgress_);
  progress.lblFlashStatus = std::make_shared<LabelProgressSink>(lblFlashStatus_);
  progress.lblSubProgress = std::make_shared<LabelProgressSink>(lblSubProgress_);
  progress.window = std::make_shared<ClientProgressSink>(this);
  UpgradeWizardView& view = *this;
  core_ = std::make_unique<UpgradeWizard>(environment_, view, std::move(progress));
  ConnectSignals();
  Act([this] { core_->Form_Load(); });
}

frmUserFlash::~frmUserFlash() = default;

QWidget* frmUserFlash::CreateDrivePage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->addWidget(Text(QStringLiteral(
                      "     This wizard will upgrade your drive's firmware using a firmware update file (available "
                      "from the factory). First, enter your drive's Serial Address in the box below and verify that "
                      "the communications settings are correct. You may click \"Test Communication\" to verify that "
                      "the drive is connected and accessible.")),
                  0, 0, 1, 3);
  auto* mode = new QGroupBox(QStringLiteral("Connect Using:"));
  auto* modeLayout = new QVBoxLayout(mode);
  obCommMode_[0] = new QRadioButton(QStringLiteral("Serial Port"));
  obCommMode_[1] = new QRadioButton(QStringLiteral("Ethernet"));
  bConfigureGIO_ = new QPushButton;
  for (QWidget* control : {static_cast<QWidget*>(obCommMode_[0]), static_cast<QWidget*>(obCommMode_[1]),
                           static_cast<QWidget*>(bConfigureGIO_)}) {
    modeLayout->addWidget(control);
  }
  grid->addWidget(mode, 1, 0, 1, 3);
  tbAddress_ = new QLineEdit;
  tbAddress_->setMaximumWidth(60);
  auto* addressLabel = new QLabel(QStringLiteral("Drive &Address:"));
  addressLabel->setBuddy(tbAddress_);
  bTestCommunication_ = new QPushButton(QStringLiteral("Test Communication"));
  grid->addWidget(addressLabel, 2, 0);
  grid->addWidget(tbAddress_, 2, 1, Qt::AlignLeft);
  grid->addWidget(bTestCommunication_, 2, 2);
  lblCommTestStatus_ = new QLabel;
  grid->addWidget(lblCommTestStatus_, 3, 0, 1, 3);
  grid->setRowStretch(4, 1);
  return page;
}

QWidget* frmUserFlash::CreateFilePage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->addWidget(Text(QStringLiteral("     Next, click \"Browse...\" below and find the firmware upgrade file you "
                                      "wish to apply to your drive.")),
                  0, 0, 1, 2);
  lblOldFirmwareVersion_ = SunkenLabel();
  lblNewFirmwareVersion_ = SunkenLabel();
  grid->addWidget(new QLabel(QStringLiteral("Current Drive Version:")), 1, 0);
  grid->addWidget(lblOldFirmwareVersion_, 1, 1, Qt::AlignLeft);
  grid->addWidget(new QLabel(QStringLiteral("Firmware File Version:")), 2, 0);
  grid->addWidget(lblNewFirmwareVersion_, 2, 1, Qt::AlignLeft);
  bBrowse_ = new QPushButton(QStringLiteral("&Browse..."));
  grid->addWidget(bBrowse_, 3, 0, Qt::AlignLeft);
  grid->setRowStretch(4, 1);
  return page;
}

QWidget* frmUserFlash::CreateUpgradePage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->addWidget(Text(QStringLiteral("     Quendrel is ready to upgrade your drive's firmware. Click \"Next\" to begin "
                                      "the upload.")),
                  0, 0, 1, 2);
  QLabel* warning = Text(QStringLiteral(
      "The upgrade will take several minutes, depending on your communications settings. DO NOT turn off or "
      "disconnect the drive during the upgrade; doing so may leave your drive in an unrecoverable state, requiring "
      "factory maintenance to repair."));
  QFont bold = warning->font();
  bold.setBold(true);
  warning->setFont(bold);
  grid->addWidget(warning, 1, 0, 1, 2);
  lblFlashStatus_ = Text(QString());
  // Room for the failure text, wrapped, so the bars below never move while the window is held.
  lblFlashStatus_->setMinimumHeight(3 * lblFlashStatus_->fontMetrics().lineSpacing());
  lblFlashStatus_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  grid->addWidget(lblFlashStatus_, 2, 0, 1, 2);
  tpbProgress_ = new TextProgressBar;
  tpbProgress_->SetText("Firmware Progress");
  grid->addWidget(new QLabel(QStringLiteral("Progress:")), 3, 0);
  grid->addWidget(tpbProgress_, 3, 1);
  lblSubProgress_ = new QLabel(QStringLiteral("Current Sector:"));
  tpbSubProgress_ = new TextProgressBar;
  tpbSubProgress_->SetText("File Progress");
  grid->addWidget(lblSubProgress_, 4, 0);
  grid->addWidget(tpbSubProgress_, 4, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(5, 1);
  return page;
}

QWidget* frmUserFlash::CreateCompletePage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(Text(QStringLiteral("Your firmware has been successfully upgraded.")));
  layout->addStretch();
  return page;
}

void frmUserFlash::ConnectSignals() {
  for (int index = 0; index < 2; ++index) {
    connect(obCommMode_[static_cast<std::size_t>(index)], &QRadioButton::clicked, this,
            [this, index] { Act([this, index] { core_->obCommMode_Click(index); }); });
  }
  connect(bConfigureGIO_, &QPushButton::clicked, this, [this] { Act([this] { core_->bConfigureGIO_Click(); }); });
  connect(tbAddress_, &QLineEdit::textEdited, this,
          [this](const QString& text) { Act([this, &text] { core_->tbAddress_Change(FromQString(text)); }); });
  connect(bTestCommunication_, &QPushButton::clicked, this,
          [this] { Act([this] { core_->bTestCommunication_Click(); }); });
  connect(bBrowse_, &QPushButton::clicked, this, [this] { Act([this] { core_->bBrowse_Click(); }); });
  connect(bPrev_, &QPushButton::clicked, this, [this] { Act([this] { core_->bPrev_Click(); }); });
  connect(bNextFinish_, &QPushButton::clicked, this, [this] { NextFinish(); });
  connect(bCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void frmUserFlash::NextFinish() {
  bool finished = false;
  Act([this, &finished] { finished = core_->bNextFinish_Click(); });
  if (finished) reject();
}

void frmUserFlash::Act(const std::function<void()>& action) {
  GuardSlot(action);
  Render();
}

void frmUserFlash::Render() {
  if (unloaded_) return;
  const UpgradeWizard::Controls& view = core_->View();
  {
    QSignalBlocker block(SSTab1_);
    for (int page = 0; page < UpgradeWizard::kPageCount; ++page) SSTab1_->setTabEnabled(page, page == view.Page);
    SSTab1_->setCurrentIndex(view.Page);
  }
  obCommMode_[view.obCommMode == 1 ? 1 : 0]->setChecked(true);
  bConfigureGIO_->setText(ToQString(view.bConfigureGIOCaption));
  if (FromQString(tbAddress_->text()) != view.tbAddressText) tbAddress_->setText(ToQString(view.tbAddressText));
  lblCommTestStatus_->setText(ToQString(view.lblCommTestStatus));
  lblOldFirmwareVersion_->setText(ToQString(view.lblOldFirmwareVersion));
  lblNewFirmwareVersion_->setText(ToQString(view.lblNewFirmwareVersion));
  bPrev_->setEnabled(view.bPrevEnabled);
  bNextFinish_->setEnabled(view.bNextFinishEnabled);
  bNextFinish_->setText(ToQString(view.bNextFinishCaption));
  bCancel_->setEnabled(view.bCancelEnabled);
  for (TextProgressBar* bar : {tpbProgress_, tpbSubProgress_}) {
    if (bar->TextStyle() != view.BarTextStyle) bar->SetTextStyle(view.BarTextStyle);
  }
}

void frmUserFlash::done(int result) {
  if (!core_->Form_QueryUnload()) return;
  if (!unloaded_) core_->Form_Unload();
  unloaded_ = true;
  QDialog::done(result);
}

void frmUserFlash::ShowControls() {
  Render();
  ClientProgressSink::LayOutAndPaint(*this);
}

void frmUserFlash::ConfigureSerialPort() {
  frmSerialPortConfigure dialog(this, environment_.commServer);
  dialog.ShowModal();
}

void frmUserFlash::ConfigureEthernet() {
  frmEthernetConfigure dialog(this, environment_.commServer);
  dialog.ShowModal();
}

void frmUserFlash::CommunicationsUpdate() {
  if (communicationsUpdate_) communicationsUpdate_();
}

}  // namespace quendrel
