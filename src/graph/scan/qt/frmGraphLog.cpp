#include "graph/scan/qt/frmGraphLog.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <algorithm>

#include "graph/controls/qt/SeriesListBoxWidget.h"
#include "graph/controls/qt/TimePickerWidget.h"
#include "graph/pane/qt/GraphPaneWidget.h"
#include "platform/ScreenFrame.h"
#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtConvert.h"
#include "tree/TreeRenderFlags.h"
#include "tree/qt/ParameterTreeWidget.h"
#include "widgets/qt/progress/LabelProgressSink.h"
#include "widgets/qt/progress/PacedIndicatorSink.h"
#include "widgets/qt/progress/TextProgressBar.h"
#include "widgets/qt/progress/TextProgressBarSink.h"
#include "widgets/qt/windows/Artwork.h"
#include "widgets/qt/windows/DeferredClose.h"
#include "widgets/qt/windows/SingleChildWindow.h"

namespace quendrel {
namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int Px(int twips) { return twips / kTwipsPerPixel; }
constexpr int Twips(int pixels) { return pixels * kTwipsPerPixel; }

// The size the window opens at, in twips; it grows to the room the main window has.
constexpr int kOpenWidth = 13500;
constexpr int kOpenHeight = 8400;

QPointer<frmGraphLog>& OpenWindow() {
  static QPointer<frmGraphLog> open;
  return open;
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// The widest of the captions on a control of this kind, in twips, with the room its frame takes.
int CaptionWidth(const QWidget& control, std::initializer_list<const char*> captions, int frame) {
  int widest = 0;
  for (const char* caption : captions) {
    widest = std::max(widest, control.fontMetrics().horizontalAdvance(QString::fromLatin1(caption)));
  }
  return Twips(widest + frame);
}

}  // namespace

frmGraphLog* frmGraphLog::ShowWindow(const WindowHost& host, const Links& links) {
  return ShowSingleChild(OpenWindow(), host, [&] { return new frmGraphLog(host, links); });
}

frmGraphLog* frmGraphLog::Instance() { return OpenWindow(); }

frmGraphLog::frmGraphLog(const WindowHost& host, const Links& links, QWidget* parent)
    : QWidget(parent), close_(new DeferredClose(this)), mainStatus_(links.MainStatus) {
  setObjectName(QStringLiteral("frmGraphLog"));
  setWindowTitle(QStringLiteral("Graph/Log Parameters"));
  setWindowIcon(Artwork::WindowIcon());
  // The twips of the layout were measured for an 8-point dialog font.
  QFont small = font();
  small.setPointSizeF(8.0);
  setFont(small);
  CreateControls();

  GraphLogSession::Services services;
  services.Server = links.Server;
  services.UseIcons = links.UseIcons;
  services.Icons = host.Icons;
  services.tpbProgress = std::make_shared<TextProgressBarSink>(tpbProgress_);
  services.lblStatus = std::make_shared<LabelProgressSink>(lblStatus_);
  services.lblIndicator = std::make_shared<PacedIndicatorSink>(lblIndicator_);
  core_ = std::make_shared<GraphLogSession>(static_cast<GraphLogView&>(*this), treePramList_->Tree().shared_from_this(), std::move(services));

  // The widgets of the controls the core owns.
  tpScanPeriod_ = Named(new TimePickerWidget(core_->tpScanPeriod(), tabStrip_->widget(kGraphLogSetupPage)),
                        "tpScanPeriod");
  slbSeries_ = Named(new SeriesListBoxWidget(core_->slbSeries(), tabStrip_->widget(kGraphLogSetupPage)), "slbSeries");
  gpGraph_ = Named(new GraphPaneWidget(core_->gpGraph(), tabStrip_->widget(kGraphLogGraphPage)), "gpGraph");
  tpWindowLen_ = Named(new TimePickerWidget(core_->tpWindowLen(), tabStrip_->widget(kGraphLogGraphPage)),
                       "tpWindowLen");
  PaceListRefreshes();
  SetToolTips();
  MeasureControls();
  ConnectSignals();
  bStartGraph_->raise();
  GuardSlot([this] { core_->Form_Load(); });
  // The scan window's tree is for choosing what to scan: its nodes never get a value to show.
  ParameterTree& tree = treePramList_->Tree();
  tree.SetRenderFlags(tree.RenderFlags() & ~rfValue);
  Form_Resize();
}

frmGraphLog::~frmGraphLog() { Unload(); }

// A scan sweep asks for a refresh of the list and goes on; the list is painted once the frame is due.
void frmGraphLog::PaceListRefreshes() {
  listRefresh_ = new QTimer(this);
  listRefresh_->setSingleShot(true);
  // The series list is painted no more often than a screen shows a frame.
  listRefresh_->setInterval(kFrameMilliseconds);
  connect(listRefresh_, &QTimer::timeout, this, [this] { GuardSlot([this] { core_->slbSeries().Refresh(); }); });
}

bool frmGraphLog::ScheduleSeriesListRefresh() {
  if (!listRefresh_->isActive()) listRefresh_->start();
  return true;
}

void frmGraphLog::CreateControls() {
  tabStrip_ = Named(new QTabWidget(this), "tabStrip");
  auto* setup = new QWidget;
  auto* display = new QWidget;
  tabStrip_->addTab(setup, QStringLiteral("Graph/Log Setup"));
  tabStrip_->addTab(display, QStringLiteral("Graph Display"));
  // The pages find their place once the tab control has laid itself out.
  if (auto* stack = tabStrip_->findChild<QStackedWidget*>()) stack->installEventFilter(this);
  bStartGraph_ = Named(new QPushButton(QStringLiteral("Start Scanning"), this), "bStartGraph");

  frameStatic_ = Named(new QFrame(this), "frameStatic");
  frameStatic_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  lblStatus_ = Named(new QLabel(frameStatic_), "lblStatus");
  lblIndicator_ = Named(new QLabel(frameStatic_), "lblIndicator");
  lblIndicator_->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  CreateSetupPage(setup);
  CreateDisplayPage(display);
  TimerScan_ = new QTimer(this);
  // Continuous scanning asks for 1 ms; a coarse timer would wait several.
  TimerScan_->setTimerType(Qt::PreciseTimer);
  TimerConnection_ = new QTimer(this);
}

void frmGraphLog::CreateSetupPage(QWidget* page) {
  lblDriveAddr_ = Named(new QLabel(QStringLiteral("Drive Address:"), page), "lblDriveAddr");
  tbDriveAddr_ = Named(new QLineEdit(page), "tbDriveAddr");
  bConnect_ = Named(new QPushButton(QStringLiteral("Connect"), page), "bConnect");
  lblLogFile_ = Named(new QLabel(QStringLiteral("Log Filename:"), page), "lblLogFile");
  tbLogFile_ = Named(new QLineEdit(page), "tbLogFile");
  bLogBrowse_ = Named(new QPushButton(QStringLiteral("Browse..."), page), "bLogBrowse");
  lblScanPeriod_ = Named(new QLabel(QStringLiteral("Scan Period:"), page), "lblScanPeriod");
  chkContinuousScan_ = Named(new QCheckBox(QStringLiteral("Continuous Scan"), page), "chkContinuousScan");
  tpbProgress_ = Named(new TextProgressBar(page), "tpbProgress");
  treePramList_ = Named(new ParameterTreeWidget(page), "treePramList");
  bRemoveAll_ = Named(new QPushButton(QStringLiteral("Remove All"), page), "bRemoveAll");
  lblDriveAddr_->setBuddy(tbDriveAddr_);
  lblLogFile_->setBuddy(tbLogFile_);
}

void frmGraphLog::CreateDisplayPage(QWidget* page) {
  lblWindowLen_ = Named(new QLabel(QStringLiteral("Show on X Axis:"), page), "lblWindowLen");
  bAdvancedOptions_ = Named(new QPushButton(QStringLiteral("Advanced Options..."), page), "bAdvancedOptions");
  bSaveSnapshot_ = Named(new QPushButton(QStringLiteral("Save Snapshot..."), page), "bSaveSnapshot");
  bPrintSnapshot_ = Named(new QPushButton(QStringLiteral("Print Snapshot..."), page), "bPrintSnapshot");
}

void frmGraphLog::SetToolTips() {
  bStartGraph_->setToolTip(QStringLiteral("Start or stop scanning."));
  chkContinuousScan_->setToolTip(
      QStringLiteral("Scan everything as quickly as possible, without pausing between scan sweeps."));
  bRemoveAll_->setToolTip(QStringLiteral("Remove all series from the graph."));
  bAdvancedOptions_->setToolTip(QStringLiteral("Edit the graph's display options."));
  bSaveSnapshot_->setToolTip(QStringLiteral("Save all the data collected during this session to a file."));
  bPrintSnapshot_->setToolTip(QStringLiteral("Print the graph as currently displayed."));
}

// The desktop's font may need more room than the twips were made for; never less.
void frmGraphLog::MeasureControls() {
  GraphLogMetrics& m = metrics_;
  const int buttonFrame = bConnect_->sizeHint().width() - bConnect_->fontMetrics().horizontalAdvance(bConnect_->text());
  m.ButtonHeight = std::max(m.ButtonHeight, Twips(bConnect_->sizeHint().height()));
  m.TextBoxHeight = std::max(m.TextBoxHeight, Twips(tbDriveAddr_->sizeHint().height()));
  m.LabelHeight = std::max(m.LabelHeight, Twips(lblDriveAddr_->sizeHint().height()));
  m.PickerWidth = std::max(m.PickerWidth, Twips(tpScanPeriod_->sizeHint().width()));
  m.PickerHeight = std::max(m.PickerHeight, Twips(tpScanPeriod_->sizeHint().height()));
  m.ButtonWidth = std::max(m.ButtonWidth, CaptionWidth(*bConnect_, {"Connect", "Browse...", "Remove All"}, buttonFrame));
  m.WideButtonWidth =
      std::max(m.WideButtonWidth, CaptionWidth(*bStartGraph_, {"Start Scanning", "Stop Scanning"}, buttonFrame));
  m.OptionsButtonWidth = std::max(
      m.OptionsButtonWidth,
      CaptionWidth(*bAdvancedOptions_, {"Advanced Options...", "Save Snapshot...", "Print Snapshot..."}, buttonFrame));
  m.RowLabelWidth = std::max(m.RowLabelWidth, CaptionWidth(*lblDriveAddr_, {"Drive Address:", "Scan Period:"}, 2));
  m.LogLabelWidth = std::max(m.LogLabelWidth, CaptionWidth(*lblLogFile_, {"Log Filename:"}, 2));
  m.WindowLabelWidth = std::max(m.WindowLabelWidth, CaptionWidth(*lblWindowLen_, {"Show on X Axis:"}, 2));
  m.CheckWidth = std::max(m.CheckWidth, Twips(chkContinuousScan_->sizeHint().width()));
  m.TabHeaderHeight = std::max(m.TabHeaderHeight, Twips(tabStrip_->tabBar()->sizeHint().height() + 4));
}

void frmGraphLog::WireButton(QPushButton* button, void (GraphLogSession::*handler)()) {
  connect(button, &QPushButton::clicked, this, [this, handler] { GuardSlot([&] { ((*core_).*handler)(); }); });
}

void frmGraphLog::WireTimer(QTimer* timer, void (GraphLogSession::*handler)()) {
  connect(timer, &QTimer::timeout, this, [this, handler] { GuardSlot([&] { ((*core_).*handler)(); }); });
}

void frmGraphLog::ConnectSignals() {
  WireButton(bConnect_, &GraphLogSession::bConnect_Click);
  WireButton(bLogBrowse_, &GraphLogSession::bLogBrowse_Click);
  WireButton(bStartGraph_, &GraphLogSession::bStartGraph_Click);
  WireButton(bRemoveAll_, &GraphLogSession::bRemoveAll_Click);
  WireButton(bAdvancedOptions_, &GraphLogSession::bAdvancedOptions_Click);
  WireButton(bSaveSnapshot_, &GraphLogSession::bSaveSnapshot_Click);
  WireButton(bPrintSnapshot_, &GraphLogSession::bPrintSnapshot_Click);
  WireTimer(TimerScan_, &GraphLogSession::TimerScan_Timer);
  WireTimer(TimerConnection_, &GraphLogSession::TimerConnection_Timer);
  connect(tbDriveAddr_, &QLineEdit::textEdited, this,
          [this](const QString& text) { GuardSlot([&] { core_->tbDriveAddr_Change(FromQString(text)); }); });
  // The log's name is the file system's bytes.
  connect(tbLogFile_, &QLineEdit::textEdited, this,
          [this](const QString& text) { GuardSlot([&] { core_->tbLogFile_Change(FromQPath(text)); }); });
  connect(chkContinuousScan_, &QCheckBox::clicked, this,
          [this](bool checked) { GuardSlot([&] { core_->chkContinuousScan_Click(checked); }); });
  connect(tabStrip_, &QTabWidget::currentChanged, this, [this] { GuardSlot([this] { Form_Resize(); }); });
}

// --- The view ---

QWidget* frmGraphLog::ControlWidget(GraphLogControl control) const {
  switch (control) {
    case GraphLogControl::bConnect: return bConnect_;
    case GraphLogControl::tbDriveAddr: return tbDriveAddr_;
    case GraphLogControl::bAdvancedOptions: return bAdvancedOptions_;
    case GraphLogControl::bRemoveAll: return bRemoveAll_;
    case GraphLogControl::bSaveSnapshot: return bSaveSnapshot_;
    case GraphLogControl::bPrintSnapshot: return bPrintSnapshot_;
    case GraphLogControl::bStartGraph: return bStartGraph_;
    case GraphLogControl::tpScanPeriod: return tpScanPeriod_;
    case GraphLogControl::tpWindowLen: return tpWindowLen_;
    case GraphLogControl::treePramList: return treePramList_;
    case GraphLogControl::slbSeries: return slbSeries_;
    case GraphLogControl::chkContinuousScan: return chkContinuousScan_;
    case GraphLogControl::bLogBrowse: return bLogBrowse_;
    case GraphLogControl::tbLogFile: return tbLogFile_;
  }
  return nullptr;
}

void frmGraphLog::SetEnabled(GraphLogControl control, bool enabled) {
  // The core may tell before the widgets of its own controls exist.
  if (QWidget* widget = ControlWidget(control)) widget->setEnabled(enabled);
}

// The status shows at once: a drive request may keep the message loop from running for a while.
void frmGraphLog::SetStatus(const std::string& text) {
  lblStatus_->setText(ToQString(text));
  lblStatus_->repaint();
  if (mainStatus_) mainStatus_(text);
}

void frmGraphLog::SetStartCaption(const std::string& caption) { bStartGraph_->setText(ToQString(caption)); }

void frmGraphLog::SetDriveAddressText(const std::string& text) {
  if (tbDriveAddr_->text() != ToQString(text)) tbDriveAddr_->setText(ToQString(text));
}

void frmGraphLog::SetLogFileText(const std::string& text) {
  if (tbLogFile_->text() != ToQPath(text)) tbLogFile_->setText(ToQPath(text));
}

void frmGraphLog::SetContinuousScan(bool checked) {
  const QSignalBlocker block(chkContinuousScan_);
  chkContinuousScan_->setChecked(checked);
}

void frmGraphLog::SetScanTimer(bool running, std::int32_t intervalMs) { SyncTimer(TimerScan_, running, intervalMs); }

void frmGraphLog::SetKeepaliveTimer(bool running, std::int32_t intervalMs) {
  SyncTimer(TimerConnection_, running, intervalMs);
}

// Qt fires a timer of interval 0 at every turn of the loop; ours never fires then.
void frmGraphLog::SyncTimer(QTimer* timer, bool running, std::int32_t intervalMs) {
  if (!running || intervalMs <= 0) return timer->stop();
  if (timer->isActive() && timer->interval() == intervalMs) return;
  timer->start(intervalMs);
}

void frmGraphLog::ShowTabPage(int page) {
  if (tabStrip_->currentIndex() == page) return Form_Resize();
  tabStrip_->setCurrentIndex(page);
}

// Later, from the message loop: the handler that asked has not returned yet.
void frmGraphLog::CloseNow() {
  QTimer::singleShot(0, this, [this] {
    if (!close_->Pending()) close_->Defer();
    close_->Complete();
  });
}

// --- Life ---

void frmGraphLog::closeEvent(QCloseEvent* event) {
  DecideClose(*this, event, [this] { return MayClose(); }, [this] { Unload(); });
}

// A handler still on the stack (an upload, a box) refuses the close; the core calls CloseNow once
// it has returned, and an exit that asked goes on then.
bool frmGraphLog::MayClose() {
  if (unloaded_ || core_->Form_QueryUnload()) return true;
  close_->Defer();
  return false;
}

void frmGraphLog::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  TimerScan_->stop();
  TimerConnection_->stop();
  GuardSlot([this] { core_->Form_Unload(); });
  TimerScan_->stop();
  TimerConnection_->stop();
}

void frmGraphLog::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  close_->WatchTopLevel();
}

// --- Layout ---

QSize frmGraphLog::sizeHint() const { return {Px(kOpenWidth), Px(kOpenHeight)}; }

void frmGraphLog::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  GuardSlot([this] { Form_Resize(); });
}

bool frmGraphLog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize || event->type() == QEvent::Move) GuardSlot([this] { Form_Resize(); });
  return QWidget::eventFilter(watched, event);
}

bool frmGraphLog::NormalState() const {
  const QWidget* frame = qobject_cast<const QMdiSubWindow*>(parentWidget());
  const Qt::WindowStates state = (frame != nullptr ? frame : this)->windowState();
  return !(state & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

QPoint frmGraphLog::PageOrigin(int page) const {
  const QPoint origin = tabStrip_->widget(page)->mapTo(this, QPoint(0, 0));
  return {Twips(origin.x()), Twips(origin.y())};
}

void frmGraphLog::Place(QWidget* control, const GraphLogRect& rect, const QPoint& origin) const {
  control->setGeometry(Px(rect.Left - origin.x()), Px(rect.Top - origin.y()), Px(rect.Width), Px(rect.Height));
}

void frmGraphLog::Form_Resize() {
  const QWidget* frame = qobject_cast<const QMdiSubWindow*>(parentWidget());
  if (resizing_ || (frame != nullptr ? frame : this)->isMinimized()) return;
  resizing_ = true;
  const int page = tabStrip_->currentIndex() == kGraphLogGraphPage ? kGraphLogGraphPage : kGraphLogSetupPage;
  // Once the tab control has laid itself out, its pages begin where it says.
  GraphLogMetrics metrics = metrics_;
  const QPoint pageOrigin = tabStrip_->widget(page)->mapTo(tabStrip_, QPoint(0, 0));
  if (pageOrigin.y() > 0) metrics.TabHeaderHeight = Twips(pageOrigin.y());
  // Measured each time: the list's icons and font may have changed since the window opened.
  metrics.SeriesListWidth = core_->slbSeries().MinWidth();
  const GraphLogPlacement placed = GraphLogLayout::Place(Twips(width()), Twips(height()), page, metrics);
  Place(tabStrip_, placed.tabStrip);
  Place(bStartGraph_, placed.bStartGraph);
  Place(frameStatic_, placed.frameStatic);
  Place(lblStatus_, placed.lblStatus);
  Place(lblIndicator_, placed.lblIndicator);
  if (placed.Setup) {
    const GraphLogSetupPage& p = *placed.Setup;
    const QPoint origin = PageOrigin(kGraphLogSetupPage);
    for (const auto& [control, rect] : {std::pair<QWidget*, GraphLogRect>{lblDriveAddr_, p.lblDriveAddr},
                                        {tbDriveAddr_, p.tbDriveAddr},
                                        {bConnect_, p.bConnect},
                                        {lblLogFile_, p.lblLogFile},
                                        {tbLogFile_, p.tbLogFile},
                                        {bLogBrowse_, p.bLogBrowse},
                                        {lblScanPeriod_, p.lblScanPeriod},
                                        {tpScanPeriod_, p.tpScanPeriod},
                                        {chkContinuousScan_, p.chkContinuousScan},
                                        {tpbProgress_, p.tpbProgress},
                                        {treePramList_, p.treePramList},
                                        {slbSeries_, p.slbSeries},
                                        {bRemoveAll_, p.bRemoveAll}}) {
      Place(control, rect, origin);
    }
  }
  if (placed.Display) {
    const GraphLogDisplayPage& p = *placed.Display;
    const QPoint origin = PageOrigin(kGraphLogGraphPage);
    for (const auto& [control, rect] : {std::pair<QWidget*, GraphLogRect>{gpGraph_, p.gpGraph},
                                        {lblWindowLen_, p.lblWindowLen},
                                        {tpWindowLen_, p.tpWindowLen},
                                        {bAdvancedOptions_, p.bAdvancedOptions},
                                        {bSaveSnapshot_, p.bSaveSnapshot},
                                        {bPrintSnapshot_, p.bPrintSnapshot}}) {
      Place(control, rect, origin);
    }
  }
  // A normal window springs back to the smallest size; a maximized one keeps the room it has.
  if (NormalState() && (Twips(width()) < placed.Width || Twips(height()) < placed.Height)) {
    const QSize grow(Px(placed.Width) - width(), Px(placed.Height) - height());
    QWidget* outer = parentWidget() != nullptr ? parentWidget() : this;
    outer->resize(outer->size() + grow.expandedTo(QSize(0, 0)));
  }
  resizing_ = false;
  update();
}

}  // namespace quendrel
