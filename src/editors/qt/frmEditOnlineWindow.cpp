#include "editors/qt/frmEditOnlineWindow.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QPointer>
#include <QSignalBlocker>
#include <algorithm>

#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtConvert.h"
#include "tree/qt/ParameterTreeWidget.h"
#include "widgets/qt/progress/BarProgressSink.h"
#include "widgets/qt/progress/LabelProgressSink.h"
#include "widgets/qt/progress/TextProgressBar.h"
#include "widgets/qt/progress/TextProgressBarSink.h"
#include "widgets/qt/windows/DeferredClose.h"
#include "widgets/qt/windows/SingleChildWindow.h"

namespace quendrel {
namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int Px(int twips) { return twips / kTwipsPerPixel; }

// The window's smallest outer size and the size it asks for when it opens, in twips.
constexpr int MinWidth = 6420;
constexpr int MinHeight = 4000;
constexpr int OpenWidth = 5760;
constexpr int OpenHeight = 6030;
constexpr int ConnectionHeight = 2130;

QPointer<frmEditOnlineWindow>& OpenWindow() {
  static QPointer<frmEditOnlineWindow> open;
  return open;
}

void SetColours(QWidget* widget, std::uint32_t fore, std::uint32_t back) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, ToQColor(fore));
  palette.setColor(QPalette::Window, ToQColor(back));
  widget->setAutoFillBackground(true);
  widget->setPalette(palette);
}

}  // namespace

frmEditOnlineWindow* frmEditOnlineWindow::ShowWindow(const WindowHost& host, const Links& links) {
  return ShowSingleChild(OpenWindow(), host, [&] { return new frmEditOnlineWindow(host, links); });
}

frmEditOnlineWindow* frmEditOnlineWindow::Instance() { return OpenWindow(); }

frmEditOnlineWindow::frmEditOnlineWindow(const WindowHost& host, const Links& links, QWidget* parent)
    : QWidget(parent), close_(new DeferredClose(this)) {
  setWindowTitle(QStringLiteral("Edit Parameters Online"));
  // The layout's twips were measured for an 8-point dialog font.
  QFont small = font();
  small.setPointSizeF(8.0);
  setFont(small);
  CreateControls();
  frmEditOnline::Services services;
  services.Server = links.Server;
  services.MainStatus = links.MainStatus;
  services.Icons = host.Icons;
  services.WebSite = links.WebSite;
  services.pbProgress = std::make_shared<BarProgressSink>(pbProgress_);
  services.tpbProgress = std::make_shared<TextProgressBarSink>(tpbProgress_);
  services.lblStatus = std::make_shared<LabelProgressSink>(lblStatus_);
  core_ = std::make_shared<frmEditOnline>(pTree_->Tree().shared_from_this(), std::move(services));
  core_->OnChanged([this] { ShowCore(); });
  // Later, from the message loop: the handler that asked has not returned yet.
  core_->OnClose([this] { QTimer::singleShot(0, this, [this] { close_->Complete(); }); });
  ConnectSignals();
  core_->Form_Load();
  ShowCore();
}

frmEditOnlineWindow::~frmEditOnlineWindow() {
  core_->OnChanged({});
  core_->OnClose({});
  core_->Form_Unload();
}

void frmEditOnlineWindow::CreateControls() {
  FrameConnection_ = new QGroupBox(QStringLiteral("Connection"), this);
  FrameData_ = new QGroupBox(QStringLiteral("Parameters (double-click to edit)"), this);
  pTree_ = new ParameterTreeWidget(FrameData_);
  CanvasFont font = pTree_->Tree().Font();
  font.Name = "Tahoma";
  pTree_->Tree().SetFont(font);
  Label1_ = new QLabel(QStringLiteral("Drive Address:"), FrameConnection_);
  tbDriveAddr_ = new QLineEdit(FrameConnection_);
  bConnect_ = new QPushButton(QStringLiteral("Connect"), FrameConnection_);
  lblConnected_ = new QLabel(QStringLiteral("Not Connected"), FrameConnection_);
  lblIndicator_ = new QLabel(FrameConnection_);
  lblIndicator_->setFrameShape(QFrame::Panel);
  lblIndicator_->setFrameShadow(QFrame::Sunken);
  lblStatus_ = new QLabel(QStringLiteral("Not Connected"), FrameConnection_);
  tpbProgress_ = new TextProgressBar(FrameConnection_);
  pbProgress_ = new QProgressBar(FrameConnection_);
  pbProgress_->setTextVisible(false);
  lblDescriptionTag_ = new QLabel(QStringLiteral("Description:"), FrameConnection_);
  tbDescription_ = new QLineEdit(FrameConnection_);
  bSaveFile_ = new QPushButton(QStringLiteral("&Save To File..."), FrameConnection_);
  TimerUpdate_ = new QTimer(this);
  TimerReconnect_ = new QTimer(this);
  TimerUpdate_->setInterval(frmEditOnline::TimerInterval);
  TimerReconnect_->setInterval(frmEditOnline::TimerInterval);
  Label1_->setGeometry(Px(120), Px(300), Px(1260), Px(285));
  tbDriveAddr_->setGeometry(Px(1380), Px(270), Px(540), Px(330));
  bConnect_->setGeometry(Px(1980), Px(255), Px(900), Px(360));
  lblStatus_->setGeometry(Px(120), Px(720), 0, Px(285));
  tpbProgress_->setGeometry(Px(120), Px(1065), 0, Px(285));
  pbProgress_->setGeometry(Px(120), Px(1380), 0, Px(150));
  lblDescriptionTag_->setGeometry(Px(120), Px(1695), Px(1100), Px(285));
  tbDescription_->setGeometry(Px(1260), Px(1650), 0, Px(330));
}

void frmEditOnlineWindow::ConnectSignals() {
  connect(bConnect_, &QPushButton::clicked, this, [this] { GuardSlot([this] { core_->bConnect_Click(); }); });
  connect(bSaveFile_, &QPushButton::clicked, this, [this] { GuardSlot([this] { core_->bSaveFile_Click(); }); });
  connect(tbDriveAddr_, &QLineEdit::textEdited, this,
          [this](const QString& text) { GuardSlot([&] { core_->tbDriveAddr_Change(FromQString(text)); }); });
  connect(tbDescription_, &QLineEdit::textEdited, this,
          [this](const QString& text) { GuardSlot([&] { core_->tbDescription_Change(FromQString(text)); }); });
  connect(TimerUpdate_, &QTimer::timeout, this, [this] { GuardSlot([this] { core_->TimerUpdate_Timer(); }); });
  connect(TimerReconnect_, &QTimer::timeout, this,
          [this] { GuardSlot([this] { core_->TimerReconnect_Timer(); }); });
}

// The core's fields onto the controls; the status and indicator repaint at once, since a drive
// request may keep the message loop from running for a while.
void frmEditOnlineWindow::ShowCore() {
  const frmEditOnline::Controls& view = core_->View();
  if (tbDriveAddr_->text() != ToQString(view.tbDriveAddrText)) {
    const QSignalBlocker block(tbDriveAddr_);
    tbDriveAddr_->setText(ToQString(view.tbDriveAddrText));
  }
  if (tbDescription_->text() != ToQString(view.tbDescriptionText)) {
    const QSignalBlocker block(tbDescription_);
    tbDescription_->setText(ToQString(view.tbDescriptionText));
  }
  tbDriveAddr_->setEnabled(view.tbDriveAddrEnabled);
  bConnect_->setEnabled(view.bConnectEnabled);
  lblConnected_->setText(ToQString(view.lblConnectedCaption));
  tbDescription_->setEnabled(view.tbDescriptionEnabled);
  bSaveFile_->setEnabled(view.bSaveFileEnabled);
  SetColours(lblDescriptionTag_, view.lblDescriptionTagForeColor, SystemColorFlag | 15u);
  SetColours(lblStatus_, view.lblStatusForeColor, view.lblStatusBackColor);
  SetColours(lblIndicator_, 0, view.lblIndicatorColor);
  lblStatus_->repaint();
  lblIndicator_->repaint();
  SyncTimer(TimerUpdate_, view.TimerUpdateEnabled);
  SyncTimer(TimerReconnect_, view.TimerReconnectEnabled);
}

void frmEditOnlineWindow::SyncTimer(QTimer* timer, bool enabled) {
  if (!enabled) {
    timer->stop();
  } else if (!timer->isActive()) {
    timer->start();
  }
}

void frmEditOnlineWindow::closeEvent(QCloseEvent* event) {
  DecideClose(*this, event, [this] { return MayClose(); }, [this] {
    core_->Form_Unload();
    TimerUpdate_->stop();
    TimerReconnect_->stop();
  });
}

// A connect or a tick that yields to the message loop refuses the close; the core reports once it has
// returned, and then the window goes, or the exit that asked goes on.
bool frmEditOnlineWindow::MayClose() {
  if (core_->Form_QueryUnload()) return true;
  close_->Defer();
  return false;
}

void frmEditOnlineWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  close_->WatchTopLevel();
}

QSize frmEditOnlineWindow::sizeHint() const {
  return {Px(std::max(OpenWidth, MinWidth)), Px(std::max(OpenHeight, MinHeight))};
}

void frmEditOnlineWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  GuardSlot([this] { Form_Resize(); });
}

// Everything hangs off the window's width and height, which never go below the smallest size.
void frmEditOnlineWindow::Form_Resize() {
  const int w = std::max(width() * kTwipsPerPixel, MinWidth);
  const int h = std::max(height() * kTwipsPerPixel, MinHeight);
  const int frameWidth = w - 125;
  FrameConnection_->setGeometry(Px(60), 0, Px(frameWidth), Px(ConnectionHeight));
  const int wide = Px(frameWidth - 240);
  lblStatus_->resize(wide, lblStatus_->height());
  tpbProgress_->resize(wide, tpbProgress_->height());
  pbProgress_->resize(wide, pbProgress_->height());
  lblIndicator_->setGeometry(Px(frameWidth - 315), Px(300), Px(195), Px(255));
  const int connectedLeft = bConnect_->geometry().right() + 1 + 5;
  lblConnected_->setGeometry(connectedLeft, Px(300), lblIndicator_->x() - connectedLeft - 5, Px(285));
  bSaveFile_->setGeometry(Px(frameWidth - 1635), Px(1620), Px(1515), Px(390));
  tbDescription_->resize(Px(frameWidth - 3060), tbDescription_->height());
  const int dataHeight = h - ConnectionHeight - 580;
  FrameData_->setGeometry(Px(60), Px(ConnectionHeight + 60), Px(frameWidth), Px(dataHeight));
  pTree_->setGeometry(Px(130), Px(270), Px(frameWidth - 260), Px(dataHeight - 360));
}

}  // namespace quendrel
