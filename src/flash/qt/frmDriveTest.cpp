#include "flash/qt/frmDriveTest.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QVBoxLayout>
#include <algorithm>

#include "comms/server/CommServer.h"
#include "flash/qt/ReportBoxFeedback.h"
#include "foundation/files/BrowseForFile.h"
#include "platform/Canvas.h"
#include "platform/KeyCodes.h"
#include "platform/SystemColors.h"
#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtInput.h"
#include "widgets/qt/windows/Artwork.h"
#include "widgets/qt/windows/ChildWindowSize.h"
#include "widgets/qt/windows/DeferredClose.h"
#include "widgets/qt/windows/SingleChildWindow.h"

namespace quendrel {
namespace {

// The client area the window was designed for, 8250 x 4080 twips; with its frame it is the
// smallest window, 8300 x 4780 twips.
constexpr int kClientWidth = 550;
constexpr int kClientHeight = 272;
constexpr int kOuterWidth = 553;
constexpr int kOuterHeight = 319;

QPointer<frmDriveTest>& OpenWindow() {
  static QPointer<frmDriveTest> open;
  return open;
}

QColor GrayText() { return ToQColor(SystemColorFlag | sysGrayText); }

// What was typed into a cell when the grid's Latin-1 bytes cannot hold it.
constexpr int kTypedRole = Qt::UserRole;

// True when the text survives the trip to our Latin-1 bytes and back: FromQString turns a character
// it has no byte for into "?".
bool FitsLatin1(const QString& text) { return ToQString(FromQString(text)) == text; }

// The character code a key gives where text is typed: Enter 13, Backspace 8, Escape 27,
// Ctrl+letter 1-26, a typed character its own code; 0 for a key that types nothing (arrows,
// Delete, Tab, Alt with a letter).
int CharacterCode(const QKeyEvent& key) {
  const Qt::KeyboardModifiers held = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  const int qtKey = key.key();
  if (held == Qt::ControlModifier) return qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z ? qtKey - Qt::Key_A + 1 : 0;
  // Ctrl+Alt is how some desktops type the characters of a key's third level.
  if (held != Qt::NoModifier && held != (Qt::ControlModifier | Qt::AltModifier)) return 0;
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return vbKeyReturn;
    case Qt::Key_Backspace:
      return vbKeyBack;
    case Qt::Key_Escape:
      return vbKeyEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
      return 0;
    default:
      break;
  }
  const QString text = key.text();
  return text.size() == 1 && text[0].unicode() >= 32 ? text[0].unicode() : 0;
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

void Apply(QWidget* widget, const DriveTestPanel::Control& control) {
  widget->setVisible(control.visible);
  widget->setEnabled(control.enabled);
}

QLabel* RightLabel(const char* text) {
  auto* label = new QLabel(QString::fromLatin1(text));
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

}  // namespace

frmDriveTest* frmDriveTest::ShowWindow(const WindowHost& host) {
  QPointer<frmDriveTest>& open = OpenWindow();
  if (open.isNull()) {
    open = new frmDriveTest(CommServer());
    open->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* frame = host.MdiArea->addSubWindow(open);
    frame->setMinimumSize(QSize(kOuterWidth, kOuterHeight).expandedTo(frame->minimumSizeHint()));
    ChildWindowSize::Open(*frame);
  }
  open->show();
  if (auto* frame = qobject_cast<QMdiSubWindow*>(open->parentWidget())) host.MdiArea->setActiveSubWindow(frame);
  return open;
}

frmDriveTest* frmDriveTest::Instance() { return OpenWindow().data(); }

frmDriveTest::frmDriveTest(GIOServer& server, QWidget* parent)
    : QWidget(parent),
      feedback_(std::make_shared<ReportBoxFeedback>(nullptr)),
      console_(server, feedback_),
      close_(new DeferredClose(this)) {
  setWindowTitle(QStringLiteral("Test Drive Commands"));
  setWindowIcon(Artwork::WindowIcon());
  setMinimumSize(kClientWidth, kClientHeight);
  // The minimum size was laid out for an 8-point dialog font; the desktop's larger one clips the
  // buttons and boxes at that size.
  QFont small = font();
  small.setPointSizeF(8.0);
  setFont(small);
  auto* left = new QVBoxLayout;
  // The left frames keep 3 px from the middle.
  left->setContentsMargins(0, 0, 3, 0);
  left->addWidget(BuildCommandFrame());
  left->addWidget(BuildParamsFrame(), 1);
  left->addWidget(BuildButtonsFrame());
  auto* leftHalf = new QWidget;
  leftHalf->setLayout(left);
  QGroupBox* rightHalf = BuildResultsFrame();
  // The halves split the client area at its middle whatever their contents ask for.
  for (QWidget* half : {leftHalf, static_cast<QWidget*>(rightHalf)}) {
    half->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  }
  auto* halves = new QHBoxLayout(this);
  halves->setContentsMargins(0, 0, 0, 0);
  halves->setSpacing(0);
  halves->addWidget(leftHalf, 1);
  halves->addWidget(rightHalf, 1);
  // Each half gets half the width whatever it asks for, so the window is never narrower than twice
  // the wider half's smallest width: every caption then shows whole in any desktop font.
  const int halvesWidth = 2 * std::max(leftHalf->minimumSizeHint().width(), rightHalf->minimumSizeHint().width());
  setMinimumWidth(std::max(kClientWidth, halvesWidth));
  feedback_->SetBox(tbResult_);
  pollTimer_ = new QTimer(this);
  Connect();
  console_.OnBusyChanged([this] { ShowBusy(); });
  Load();
}

frmDriveTest::~frmDriveTest() = default;

QWidget* frmDriveTest::ChildNamed(const char* name) const { return findChild<QWidget*>(QString::fromLatin1(name)); }

QGroupBox* frmDriveTest::BuildCommandFrame() {
  auto* frame = Named(new QGroupBox(QStringLiteral("Drive Command")), "frameDriveCommand");
  auto* grid = new QGridLayout(frame);
  tbDriveAddress_ = Named(new QLineEdit, "tbDriveAddress");
  cbCommand_ = Named(new QComboBox, "cbCommand");
  grid->addWidget(RightLabel("Address:"), 0, 0);
  grid->addWidget(tbDriveAddress_, 0, 1);
  QLabel* commandLabel = RightLabel("C&ommand:");
  commandLabel->setBuddy(cbCommand_);
  grid->addWidget(commandLabel, 1, 0);
  grid->addWidget(cbCommand_, 1, 1, 1, 2);
  grid->setColumnStretch(2, 1);
  return frame;
}

QGroupBox* frmDriveTest::BuildParamsFrame() {
  frameParams_ = Named(new QGroupBox, "frameParams");
  auto* column = new QVBoxLayout(frameParams_);
  gridParameters_ = Named(new QTableWidget(0, 2), "gridParameters");
  // The window's own editor replaces Qt's: it opens on any character and commits on focus loss.
  gridParameters_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  gridParameters_->setSelectionMode(QAbstractItemView::SingleSelection);
  gridParameters_->setTabKeyNavigation(false);
  gridParameters_->verticalHeader()->hide();
  gridParameters_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  gridParameters_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  gridParameters_->installEventFilter(this);
  gridParameters_->viewport()->installEventFilter(this);
  tbCellEdit_ = Named(new QLineEdit(gridParameters_->viewport()), "tbCellEdit");
  tbCellEdit_->setStyleSheet(QStringLiteral("background-color: #C0FFC0"));
  tbCellEdit_->setFrame(false);
  tbCellEdit_->hide();
  tbCellEdit_->setEnabled(false);
  tbCellEdit_->installEventFilter(this);
  column->addWidget(gridParameters_);
  column->addWidget(BuildSpecialControls());
  return frameParams_;
}

QWidget* frmDriveTest::BuildSpecialControls() {
  specialControls_ = new QWidget;
  auto* grid = new QGridLayout(specialControls_);
  grid->setContentsMargins(0, 0, 0, 0);
  lblFilename_ = Named(new QLabel(QStringLiteral("File to Upload:")), "lblFilename");
  tbFilename_ = Named(new QLineEdit, "tbFilename");
  bBrowse_ = Named(new QPushButton(QStringLiteral("&Browse...")), "bBrowse");
  lblSubCommand_ = Named(new QLabel, "lblSubCommand");
  cbSubcommand_ = Named(new QComboBox, "cbSubcommand");
  lblEIBValue_ = Named(new QLabel(QStringLiteral("Value:")), "lblEIBValue");
  tbEIBValue_ = Named(new QLineEdit, "tbEIBValue");
  chkEIBFlag_ = Named(new QCheckBox(QStringLiteral("Enable")), "chkEIBFlag");
  grid->addWidget(lblFilename_, 0, 0);
  grid->addWidget(tbFilename_, 0, 1);
  grid->addWidget(bBrowse_, 1, 1, Qt::AlignRight);
  grid->addWidget(lblSubCommand_, 2, 0);
  grid->addWidget(cbSubcommand_, 2, 1);
  grid->addWidget(lblEIBValue_, 3, 0);
  grid->addWidget(tbEIBValue_, 3, 1);
  grid->addWidget(chkEIBFlag_, 4, 1);
  grid->setRowStretch(5, 1);
  grid->setColumnStretch(1, 1);
  return specialControls_;
}

QGroupBox* frmDriveTest::BuildButtonsFrame() {
  auto* frame = Named(new QGroupBox(QStringLiteral("Execution")), "frameButtons");
  auto* grid = new QGridLayout(frame);
  chkRawData_ = Named(new QCheckBox(QStringLiteral("Show &Raw Data")), "chkRawData");
  bExecute_ = Named(new QPushButton(QStringLiteral("Single &Command")), "bExecute");
  tbScanPeriod_ = Named(new QLineEdit, "tbScanPeriod");
  chkRepeat_ = Named(new QCheckBox(QStringLiteral("Continuous &Poll")), "chkRepeat");
  bUnlockDrive_ = Named(new QPushButton(QStringLiteral("Unlock Drive")), "bUnlockDrive");
  bForceFU_ = Named(new QPushButton(QStringLiteral("Force DriveFlash Mode")), "bForceFU");
  grid->addWidget(chkRawData_, 0, 0, 1, 2);
  grid->addWidget(bExecute_, 0, 2);
  grid->addWidget(RightLabel("Poll Period (ms):"), 1, 0);
  grid->addWidget(tbScanPeriod_, 1, 1);
  grid->addWidget(chkRepeat_, 1, 2);
  grid->addWidget(bUnlockDrive_, 2, 0, 1, 2);
  grid->addWidget(bForceFU_, 2, 2);
  grid->setColumnStretch(2, 1);
  // At the window's minimum width every caption and a four-digit period must still show whole.
  grid->setContentsMargins(4, 2, 4, 4);
  grid->setHorizontalSpacing(3);
  tbScanPeriod_->setMinimumWidth(tbScanPeriod_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 10);
  return frame;
}

QGroupBox* frmDriveTest::BuildResultsFrame() {
  auto* frame = Named(new QGroupBox(QStringLiteral("Communications Results:")), "frameResults");
  auto* grid = new QGridLayout(frame);
  chkShowRequest_ = Named(new QCheckBox(QStringLiteral("&Show Request")), "chkShowRequest");
  tbResult_ = Named(new QPlainTextEdit, "tbResult");
  tbResult_->setReadOnly(true);
  tbResult_->setUndoRedoEnabled(false);
  tbResult_->setLineWrapMode(QPlainTextEdit::NoWrap);
  tbResult_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  grid->addWidget(new QLabel(QStringLiteral("Response:")), 0, 0);
  grid->addWidget(chkShowRequest_, 0, 1, Qt::AlignRight);
  grid->addWidget(tbResult_, 1, 0, 1, 2);
  return frame;
}

void frmDriveTest::Connect() {
  connect(cbCommand_, &QComboBox::activated, this, [this](int index) { GuardSlot([&] { ChooseCommand(index); }); });
  connect(cbSubcommand_, &QComboBox::activated, this, [this](int index) {
    GuardSlot([&] {
      console_.Panel().ChooseEibValue(index);
      ShowPanel();
    });
  });
  connect(tbDriveAddress_, &QLineEdit::textEdited, this, [this](const QString& text) {
    GuardSlot([&] { tbDriveAddress_->setText(ToQString(console_.SetAddressText(FromQString(text)))); });
  });
  connect(tbScanPeriod_, &QLineEdit::textEdited, this, [this](const QString& text) {
    GuardSlot([&] {
      tbScanPeriod_->setText(ToQString(console_.SetPeriodText(FromQString(text))));
      UpdateTimer();
    });
  });
  connect(chkRepeat_, &QCheckBox::toggled, this, [this](bool on) {
    GuardSlot([&] {
      console_.SetPolling(on);
      UpdateTimer();
    });
  });
  connect(chkShowRequest_, &QCheckBox::toggled, this, [this](bool on) { console_.SetShowRequest(on); });
  connect(chkRawData_, &QCheckBox::toggled, this, [this](bool on) { console_.SetShowRaw(on); });
  connect(tbFilename_, &QLineEdit::textChanged, this,
          // File names stay the file system's bytes.
          [this](const QString& text) { console_.Panel().SetFilename(FromQPath(text)); });
  connect(tbEIBValue_, &QLineEdit::textChanged, this,
          [this](const QString& text) { console_.Panel().SetEibValueText(FromQString(text)); });
  connect(chkEIBFlag_, &QCheckBox::toggled, this, [this](bool on) { console_.Panel().SetFlagTicked(on); });
  connect(bBrowse_, &QPushButton::clicked, this, [this] { GuardSlot([this] { Browse(); }); });
  connect(bExecute_, &QPushButton::clicked, this, [this] { Exchange(&DriveTestConsole::ExecuteSelectedFunction); });
  connect(pollTimer_, &QTimer::timeout, this, [this] { Exchange(&DriveTestConsole::ExecuteSelectedFunction); });
  connect(bUnlockDrive_, &QPushButton::clicked, this, [this] { Exchange(&DriveTestConsole::UnlockDrive); });
  connect(bForceFU_, &QPushButton::clicked, this, [this] { Exchange(&DriveTestConsole::ForceFlashMode); });
  connect(gridParameters_, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
    if (syncing_ || row < 0) return;
    GuardSlot([&] {
      console_.Grid().SetCurrentCell(row + 1, column);
      ShowGrid();
    });
  });
}

void frmDriveTest::Load() {
  console_.Load();
  for (const std::string& description : console_.CommandList()) cbCommand_->addItem(ToQString(description));
  cbCommand_->setCurrentIndex(-1);
  chkShowRequest_->setChecked(console_.ShowRequest());
  tbScanPeriod_->setText(ToQString(console_.PeriodText()));
  tbDriveAddress_->setText(ToQString(console_.AddressText()));
  ShowGrid();
  ShowPanel();
}

void frmDriveTest::ChooseCommand(int index) {
  console_.ChooseCommand(index);
  ShowPanel();
  ShowGrid();
}

void frmDriveTest::ShowGrid() {
  const DriveTestGrid& grid = console_.Grid();
  syncing_ = true;
  gridParameters_->setHorizontalHeaderLabels(
      {ToQString(grid.RowAt(0).caption), ToQString(grid.RowAt(0).value)});
  gridParameters_->setRowCount(grid.Rows() - 1);
  gridParameters_->clearSpans();
  for (int row = 1; row < grid.Rows(); ++row) {
    const DriveTestGrid::Row& data = grid.RowAt(row);
    // The separator's text spans both columns, centred.
    ShowCell(row - 1, 0, ToQString(data.merged ? data.value : data.caption), data);
    ShowCell(row - 1, 1, CellText(row), data);
    if (data.merged) gridParameters_->setSpan(row - 1, 0, 1, 2);
  }
  if (grid.Rows() > 1) gridParameters_->setCurrentCell(grid.CurrentRow() - 1, grid.CurrentColumn());
  gridParameters_->setSelectionMode(grid.HighlightOn() ? QAbstractItemView::SingleSelection
                                                       : QAbstractItemView::NoSelection);
  if (!grid.HighlightOn()) gridParameters_->clearSelection();
  syncing_ = false;
}

void frmDriveTest::ShowCell(int row, int column, const QString& text, const DriveTestGrid::Row& data) {
  // Items are kept, not replaced: a press in progress holds on to the item it started on.
  QTableWidgetItem* item = gridParameters_->item(row, column);
  if (item == nullptr) {
    item = new QTableWidgetItem;
    gridParameters_->setItem(row, column, item);
  }
  item->setText(text);
  item->setTextAlignment(data.merged ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
  item->setForeground(data.greyed ? GrayText() : palette().color(QPalette::Text));
}

void frmDriveTest::ShowPanel() {
  const DriveTestPanel::State& state = console_.Panel().Controls();
  gridParameters_->setVisible(state.gridShown);
  specialControls_->setVisible(!state.gridShown);
  frameParams_->setFlat(!state.frameBorder);
  frameParams_->setTitle(state.frameBorder ? QStringLiteral("P&arameters") : QString());
  for (QWidget* widget : {static_cast<QWidget*>(lblFilename_), static_cast<QWidget*>(tbFilename_),
                          static_cast<QWidget*>(bBrowse_)}) {
    Apply(widget, state.fileControls);
  }
  Apply(lblSubCommand_, state.subcommand);
  Apply(cbSubcommand_, state.subcommand);
  Apply(lblEIBValue_, state.eibValue);
  Apply(tbEIBValue_, state.eibValue);
  Apply(chkEIBFlag_, state.flag);
  const QSignalBlocker blockFile(tbFilename_);
  const QSignalBlocker blockValue(tbEIBValue_);
  const QSignalBlocker blockFlag(chkEIBFlag_);
  tbFilename_->setText(ToQPath(state.filename));
  tbEIBValue_->setText(ToQString(state.eibValueText));
  chkEIBFlag_->setText(ToQString(state.flagCaption));
  chkEIBFlag_->setChecked(state.flagTicked);
  lblSubCommand_->setText(ToQString(state.subcommandCaption));
  lblEIBValue_->setText(ToQString(state.eibValueCaption));
  if (cbSubcommand_->count() != static_cast<int>(state.eibValues.size())) {
    cbSubcommand_->clear();
    for (const auto& value : state.eibValues) cbSubcommand_->addItem(ToQString(value.caption), value.selector);
  }
  cbSubcommand_->setCurrentIndex(state.chosenEib);
}

void frmDriveTest::PlaceEditor() {
  const DriveTestGrid& grid = console_.Grid();
  if (!grid.Editing()) {
    // The grid takes the focus back first: a focused editor that is disabled hands it to the next
    // widget in the tab chain, and the grid takes that as a Tab and moves its current cell.
    if (tbCellEdit_->hasFocus()) gridParameters_->setFocus();
    tbCellEdit_->setEnabled(false);
    tbCellEdit_->hide();
    return;
  }
  const QTableWidgetItem* cell = gridParameters_->item(grid.EditRow() - 1, 1);
  tbCellEdit_->setGeometry(gridParameters_->visualItemRect(cell));
  tbCellEdit_->setEnabled(true);
  tbCellEdit_->show();
  tbCellEdit_->setFocus();
}

void frmDriveTest::OpenEditor() {
  const DriveTestGrid& grid = console_.Grid();
  ShowGrid();
  // The cell's own text is what the cell shows, which keeps characters the grid's bytes could not.
  tbCellEdit_->setText(grid.EditorSelectsAll() ? CellText(grid.EditRow()) : ToQString(grid.EditorText()));
  if (grid.EditorSelectsAll()) tbCellEdit_->selectAll();
  PlaceEditor();
}

QString frmDriveTest::CellText(int row) const {
  const DriveTestGrid::Row& data = console_.Grid().RowAt(row);
  const QTableWidgetItem* item = gridParameters_->item(row - 1, 1);
  if (!data.fitsLatin1 && item != nullptr && item->data(kTypedRole).isValid()) return item->data(kTypedRole).toString();
  return ToQString(data.value);
}

void frmDriveTest::KeepTyped(int row, const QString& typed) {
  if (QTableWidgetItem* item = gridParameters_->item(row - 1, 1)) item->setData(kTypedRole, typed);
}

bool frmDriveTest::GridKey(QKeyEvent* key) {
  const int code = CharacterCode(*key);
  if (code == 0) return false;
  if (console_.ChosenCommand() >= 0 && console_.Grid().CharacterKey(code)) OpenEditor();
  return true;
}

bool frmDriveTest::GridDoubleClick(QMouseEvent* click) {
  const QModelIndex cell = gridParameters_->indexAt(click->position().toPoint());
  if (!cell.isValid()) return false;
  console_.Grid().SetCurrentCell(cell.row() + 1, cell.column());
  if (console_.ChosenCommand() >= 0 && console_.Grid().BeginCellEdit()) OpenEditor();
  return true;
}

bool frmDriveTest::EditorKey(QKeyEvent* key) {
  const int code = key->key() == Qt::Key_Enter ? vbKeyReturn : KeyCodeFromQt(key->key());
  const int row = console_.Grid().EditRow();
  const QString typed = tbCellEdit_->text();
  if (!console_.Grid().EditorKey(code, FromQString(typed), FitsLatin1(typed))) return false;
  if (code != vbKeyEscape) KeepTyped(row, typed);
  PlaceEditor();
  ShowGrid();
  gridParameters_->setFocus();
  return true;
}

void frmDriveTest::EditorLostFocus() {
  if (!tbCellEdit_->isEnabled()) return;
  const int row = console_.Grid().EditRow();
  const QString typed = tbCellEdit_->text();
  console_.Grid().EditorLostFocus(FromQString(typed), FitsLatin1(typed));
  KeepTyped(row, typed);
  PlaceEditor();
  ShowGrid();
}

bool frmDriveTest::eventFilter(QObject* watched, QEvent* event) {
  bool handled = false;
  GuardSlot([&] {
    if (watched == gridParameters_ && event->type() == QEvent::KeyPress) handled = GridKey(static_cast<QKeyEvent*>(event));
    if (watched == tbCellEdit_ && event->type() == QEvent::KeyPress) handled = EditorKey(static_cast<QKeyEvent*>(event));
    if (watched == tbCellEdit_ && event->type() == QEvent::FocusOut) EditorLostFocus();
    if (watched == gridParameters_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
      handled = GridDoubleClick(static_cast<QMouseEvent*>(event));
    }
  });
  return handled || QWidget::eventFilter(watched, event);
}

void frmDriveTest::UpdateTimer() {
  // A zero interval would fire without pause; here it means no ticks at all.
  if (!console_.TimerRuns()) return pollTimer_->stop();
  pollTimer_->start(console_.PollInterval());
}

void frmDriveTest::Exchange(void (DriveTestConsole::*run)()) {
  if (feedback_) feedback_->SetFileName(console_.Panel().Controls().filename);
  GuardSlot([&] { (console_.*run)(); });
  if (console_.Busy()) return;
  if (feedback_) feedback_->Flush();
  close_->Complete();
}

// A file transfer yields to the message loop: its buttons must look as dead as the console makes them.
void frmDriveTest::ShowBusy() {
  for (QWidget* button : {bExecute_, bUnlockDrive_, bForceFU_}) button->setEnabled(!console_.Busy());
}

void frmDriveTest::Browse() {
  const std::string path =
      BrowseForFile(false, "Intel Hex Files (*.HEX)|*.HEX|All Files (*.*)|*.*", 1, "Select Hex File...", "");
  if (!path.empty()) tbFilename_->setText(ToQPath(path));
}

void frmDriveTest::closeEvent(QCloseEvent* event) {
  DecideClose(*this, event, [this] { return MayClose(); }, [this] { pollTimer_->stop(); });
}

bool frmDriveTest::MayClose() {
  if (!console_.Busy()) return true;
  // The transfer under way still runs on this window's stack: dropping the report box ends it
  // before its next packet, and the window goes once it has returned.
  pollTimer_->stop();
  close_->Defer();
  feedback_.reset();
  return false;
}

void frmDriveTest::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  close_->WatchTopLevel();
}

}  // namespace quendrel
