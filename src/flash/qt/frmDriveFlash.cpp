#include "flash/qt/frmDriveFlash.h"

#include <QGridLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtConvert.h"
#include "widgets/qt/progress/ClientProgressSink.h"
#include "widgets/qt/progress/TextBoxProgressSink.h"
#include "widgets/qt/progress/TextProgressBar.h"
#include "widgets/qt/progress/TextProgressBarSink.h"
#include "widgets/qt/windows/Artwork.h"

namespace quendrel {
namespace {

std::function<void(frmDriveFlash&)>& OpenAction() {
  static std::function<void(frmDriveFlash&)> action;
  return action;
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLineEdit* ReadOnlyBox(const char* name) {
  auto* box = Named(new QLineEdit, name);
  box->setReadOnly(true);
  return box;
}

// A run repaints the statement boxes after every statement. Their border is drawn by a frame around
// them, which those repaints leave alone, and a box without a border fills all of itself, so its
// repaints stop at the box instead of drawing the window behind it again each time.
QFrame* Framed(QLineEdit* box) {
  auto* frame = new QFrame;
  frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  box->setFrame(false);
  box->setAttribute(Qt::WA_OpaquePaintEvent);
  auto* inside = new QHBoxLayout(frame);
  inside->setContentsMargins(1, 1, 1, 1);
  inside->addWidget(box);
  return frame;
}

// Only a text that differs is set: setting it again would move the cursor of the box the user types in.
void ShowText(QLineEdit* box, const QString& text) {
  if (box->text() != text) box->setText(text);
}

}  // namespace

void frmDriveFlash::ShowModal(const WindowHost& host, Links links) {
  frmDriveFlash dialog(std::move(links), host.Owner);
  if (auto action = std::exchange(OpenAction(), nullptr)) {
    QMetaObject::invokeMethod(&dialog, [&dialog, action] { action(dialog); }, Qt::QueuedConnection);
  }
  dialog.exec();
}

void frmDriveFlash::OnOpen(std::function<void(frmDriveFlash&)> action) { OpenAction() = std::move(action); }

frmDriveFlash::frmDriveFlash(Links links, QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("frmDriveFlash"));
  setWindowTitle(QStringLiteral("Drive Flash"));
  setWindowIcon(Artwork::WindowIcon());
  setModal(true);
  auto* column = new QVBoxLayout(this);
  column->addWidget(BuildOptionsFrame());
  column->addWidget(BuildButtons());
  column->addWidget(BuildStatusFrame(), 1);
  core_ = std::make_unique<DriveFlash>(CoreLinks(std::move(links)));
  // Inside a run that yields to the message loop, the user must already see what it disabled.
  core_->OnChanged([this] { Render(); });
  ConnectSignals();
  Act([this] { core_->Form_Load(); });
}

DriveFlashLinks frmDriveFlash::CoreLinks(Links links) {
  DriveFlashLinks core;
  core.Environment = links.Environment;
  core.MainStatus = std::move(links.MainStatus);
  core.tpbProgress = std::make_shared<TextProgressBarSink>(tpbProgress_);
  core.tpbSubProgress = std::make_shared<TextProgressBarSink>(tpbSubProgress_);
  core.tbCommand = std::make_shared<TextBoxProgressSink>(tbCommand_);
  core.tbData = std::make_shared<TextBoxProgressSink>(tbData_);
  core.Client = std::make_shared<ClientProgressSink>(this);
  return core;
}

QWidget* frmDriveFlash::BuildOptionsFrame() {
  auto* frame = new QGroupBox(QStringLiteral("Drive Flash Options:"));
  auto* grid = new QGridLayout(frame);
  tbFileName_ = Named(new QLineEdit, "tbFileName");
  bBrowse_ = Named(new QPushButton(QStringLiteral("&Browse...")), "bBrowse");
  auto* fileLabel = Named(new QLabel(QStringLiteral("Command File:")), "lblFileName");
  fileLabel->setBuddy(tbFileName_);
  grid->addWidget(fileLabel, 0, 0);
  grid->addWidget(tbFileName_, 0, 1, 1, 2);
  grid->addWidget(bBrowse_, 0, 3);
  auto* instruction = Named(
      new QLabel(QStringLiteral("(Type in full path for file or use Browse button to bring up file select window)")),
      "txtInstructFileName");
  grid->addWidget(instruction, 1, 1, 1, 3);
  tbDriveAddress_ = Named(new QLineEdit, "tbDriveAddress");
  tbDriveAddress_->setMaximumWidth(tbDriveAddress_->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
  grid->addWidget(Named(new QLabel(QStringLiteral("Drive Address:")), "lblEnterDriveAddress"), 2, 0);
  grid->addWidget(tbDriveAddress_, 2, 1);
  rbEntireFile_ = Named(new QRadioButton(QStringLiteral("Execute Entire File")), "rbExecuteMode1");
  rbSingleStep_ = Named(new QRadioButton(QStringLiteral("Single Step")), "rbExecuteMode0");
  grid->addWidget(rbEntireFile_, 3, 0, 1, 2);
  grid->addWidget(rbSingleStep_, 4, 0, 1, 2);
  chkLogOutput_ = Named(new QCheckBox(QStringLiteral("Log Output to:")), "chkLogOutput");
  tbLogFile_ = Named(new QLineEdit, "tbLogFile");
  bBrowseLog_ = Named(new QPushButton(QStringLiteral("Browse...")), "bBrowseLog");
  grid->addWidget(chkLogOutput_, 5, 0);
  grid->addWidget(tbLogFile_, 5, 1, 1, 2);
  grid->addWidget(bBrowseLog_, 5, 3);
  grid->setColumnStretch(2, 1);
  return frame;
}

// Start and Single Step share one place: the chosen mode decides which of them shows.
QWidget* frmDriveFlash::BuildButtons() {
  auto* row = new QWidget;
  auto* buttons = new QGridLayout(row);
  buttons->setContentsMargins(0, 0, 0, 0);
  bStartFlash_ = Named(new QPushButton(QStringLiteral("Start Flash")), "bStartFlash");
  bSingleStep_ = Named(new QPushButton(QStringLiteral("Single Step")), "bSingleStep");
  bPauseFlash_ = Named(new QPushButton(QStringLiteral("Pause Flash")), "bPauseFlash");
  bSkipBack_ = Named(new QPushButton(QStringLiteral("Skip Back")), "bSkipBack");
  bSkipFwd_ = Named(new QPushButton(QStringLiteral("Skip Fwd")), "bSkipFwd");
  bReset_ = Named(new QPushButton(QStringLiteral("Reset")), "bReset");
  buttons->addWidget(bStartFlash_, 0, 0);
  buttons->addWidget(bSingleStep_, 0, 0);
  buttons->addWidget(bPauseFlash_, 0, 1);
  buttons->addWidget(bSkipBack_, 0, 2);
  buttons->addWidget(bSkipFwd_, 0, 3);
  buttons->addWidget(bReset_, 0, 4);
  bSingleStep_->hide();
  return row;
}

QWidget* frmDriveFlash::BuildStatusFrame() {
  auto* frame = new QGroupBox(QStringLiteral("Flash Status:"));
  auto* grid = new QGridLayout(frame);
  lblStatus_ = Named(new QLabel, "lblStatus");
  grid->addWidget(lblStatus_, 0, 0, 1, 2);
  tpbProgress_ = Named(new TextProgressBar, "tpbProgress");
  grid->addWidget(Named(new QLabel(QStringLiteral("Drive Flash Progress:")), "lblProgress"), 1, 0);
  grid->addWidget(tpbProgress_, 1, 1);
  lblSubProgress_ = Named(new QLabel(QStringLiteral("File Progress:")), "lblSubProgress");
  tpbSubProgress_ = Named(new TextProgressBar, "tpbSubProgress");
  grid->addWidget(lblSubProgress_, 2, 0);
  grid->addWidget(tpbSubProgress_, 2, 1);
  tbCommand_ = ReadOnlyBox("tbCommand");
  tbData_ = ReadOnlyBox("tbData");
  tbReply_ = ReadOnlyBox("tbReply");
  grid->addWidget(new QLabel(QStringLiteral("Command:")), 3, 0);
  grid->addWidget(Framed(tbCommand_), 3, 1);
  grid->addWidget(new QLabel(QStringLiteral("Data:")), 4, 0);
  grid->addWidget(Framed(tbData_), 4, 1);
  grid->addWidget(new QLabel(QStringLiteral("Reply")), 5, 0);
  grid->addWidget(Framed(tbReply_), 5, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(6, 1);
  return frame;
}

void frmDriveFlash::ConnectSignals() {
  auto on = [this](QPushButton* button, void (DriveFlash::*handler)()) {
    connect(button, &QPushButton::clicked, this, [this, handler] { Act([this, handler] { (core_.get()->*handler)(); }); });
  };
  on(bBrowse_, &DriveFlash::bBrowse_Click);
  on(bBrowseLog_, &DriveFlash::bBrowseLog_Click);
  on(bStartFlash_, &DriveFlash::bStartFlash_Click);
  on(bSingleStep_, &DriveFlash::bSingleStep_Click);
  on(bPauseFlash_, &DriveFlash::bPauseFlash_Click);
  on(bSkipFwd_, &DriveFlash::bSkipFwd_Click);
  on(bSkipBack_, &DriveFlash::bSkipBack_Click);
  on(bReset_, &DriveFlash::bReset_Click);
  connect(chkLogOutput_, &QCheckBox::clicked, this, [this](bool ticked) { Act([&] { core_->chkLogOutput_Click(ticked); }); });
  connect(rbSingleStep_, &QRadioButton::clicked, this, [this] { Act([this] { core_->rbExecuteMode_Click(true); }); });
  connect(rbEntireFile_, &QRadioButton::clicked, this, [this] { Act([this] { core_->rbExecuteMode_Click(false); }); });
  // File names stay the file system's bytes.
  connect(tbFileName_, &QLineEdit::textEdited, this,
          [this](const QString& text) { Act([&] { core_->tbFileName_Change(FromQPath(text)); }); });
  connect(tbLogFile_, &QLineEdit::textEdited, this,
          [this](const QString& text) { Act([&] { core_->tbLogFile_Change(FromQPath(text)); }); });
  connect(tbDriveAddress_, &QLineEdit::textEdited, this,
          [this](const QString& text) { Act([&] { core_->tbDriveAddress_Change(FromQString(text)); }); });
  ConnectProgressBar();
}

void frmDriveFlash::ConnectProgressBar() {
  auto seek = [this](const TextProgressBarMouse& mouse) { Act([&] { core_->tpbProgress_Mouse(mouse.Value); }); };
  tpbProgress_->OnMouseDown(seek);
  tpbProgress_->OnMouseUp(seek);
  tpbProgress_->OnMouseMove([seek](const TextProgressBarMouse& mouse) {
    if ((mouse.Button & vbLeftButton) != 0) seek(mouse);
  });
}

void frmDriveFlash::Act(const std::function<void()>& action) {
  GuardSlot(action);
  Render();
  if (core_->CloseRequested()) done(QDialog::Rejected);
}

void frmDriveFlash::done(int result) {
  if (!core_->QueryClose()) return;
  GuardSlot([this] { core_->Form_Unload(); });
  QDialog::done(result);
}

void frmDriveFlash::Render() {
  const DriveFlashControls& view = core_->View();
  RenderTexts(view);
  chkLogOutput_->setEnabled(view.chkLogOutputEnabled);
  tbLogFile_->setEnabled(view.LogFileEnabled);
  bBrowseLog_->setEnabled(view.LogFileEnabled);
  for (QWidget* source : {static_cast<QWidget*>(tbDriveAddress_), static_cast<QWidget*>(tbFileName_),
                          static_cast<QWidget*>(bBrowse_)}) {
    source->setEnabled(view.SourceEnabled);
  }
  rbEntireFile_->setEnabled(view.ExecuteModeEnabled);
  rbSingleStep_->setEnabled(view.ExecuteModeEnabled);
  bStartFlash_->setEnabled(view.StartEnabled);
  bSingleStep_->setEnabled(view.StartEnabled);
  bStartFlash_->setVisible(!view.SingleStepMode);
  bSingleStep_->setVisible(view.SingleStepMode);
  bPauseFlash_->setEnabled(view.bPauseFlashEnabled);
  for (QPushButton* button : {bSkipBack_, bSkipFwd_, bReset_}) button->setEnabled(view.NavigationEnabled);
  lblSubProgress_->setVisible(view.lblSubProgressVisible);
  if (focusRequestsShown_ != view.FocusRequests) {
    focusRequestsShown_ = view.FocusRequests;
    QPushButton* start = view.SingleStepMode ? bSingleStep_ : bStartFlash_;
    (view.Focus == DriveFlashFocus::PauseButton ? bPauseFlash_ : start)->setFocus();
  }
}

void frmDriveFlash::RenderTexts(const DriveFlashControls& view) {
  ShowText(tbFileName_, ToQPath(view.tbFileName));
  ShowText(tbDriveAddress_, ToQString(view.tbDriveAddress));
  ShowText(tbLogFile_, ToQPath(view.tbLogFile));
  chkLogOutput_->setChecked(view.chkLogOutput);
  rbSingleStep_->setChecked(view.SingleStepMode);
  rbEntireFile_->setChecked(!view.SingleStepMode);
  if (lblStatus_->text() != ToQString(view.lblStatus)) lblStatus_->setText(ToQString(view.lblStatus));
}

}  // namespace quendrel
