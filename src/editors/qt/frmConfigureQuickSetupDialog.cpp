#include "editors/qt/frmConfigureQuickSetupDialog.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtConvert.h"
#include "widgets/qt/progress/BarProgressSink.h"
#include "widgets/qt/progress/LabelProgressSink.h"
#include "widgets/qt/progress/TextProgressBar.h"
#include "widgets/qt/progress/TextProgressBarSink.h"
#include "widgets/qt/windows/Artwork.h"

namespace quendrel {
namespace {

constexpr int kLatin1Max = 255;
// Marks the picker entries that bind a slot, as against menu headers that only open and close.
constexpr int kAssignsRole = Qt::UserRole + 1;

std::function<void(frmConfigureQuickSetupDialog&)>& OpenAction() {
  static std::function<void(frmConfigureQuickSetupDialog&)> action;
  return action;
}

QLabel* WrappedLabel(const char* text) {
  auto* label = new QLabel(QString::fromLatin1(text));
  label->setWordWrap(true);
  return label;
}

// Items are kept while their number stays: the list is shown again from inside its own selection
// signal, and a view whose items vanish under a key press in progress loses its place.
void FillList(QListWidget* list, const std::vector<frmConfigureQuickSetup::ListEntry>& entries, int selected) {
  if (list->count() != static_cast<int>(entries.size())) {
    list->clear();
    for (const auto& entry : entries) list->addItem(ToQString(entry.Text));
  }
  for (int i = 0; i < list->count(); ++i) {
    const QString text = ToQString(entries[static_cast<std::size_t>(i)].Text);
    if (list->item(i)->text() != text) list->item(i)->setText(text);
  }
  if (list->currentRow() != selected) list->setCurrentRow(selected);
}

// An optional sign, up to five digits and at most as many decimals as the scale parameter has: every
// value its 16-bit word can hold, and nothing the drive would round.
QString ScalePattern(int decimals) {
  const QString digits = QStringLiteral("-?\\d{0,5}");
  return decimals > 0 ? digits + QStringLiteral("(\\.\\d{0,%1})?").arg(decimals) : digits;
}

void FillCombo(QComboBox* combo, const std::vector<frmConfigureQuickSetup::ListEntry>& entries, int selected) {
  combo->clear();
  for (const auto& entry : entries) combo->addItem(ToQString(entry.Text), entry.Data);
  combo->setCurrentIndex(selected);
}

}  // namespace

void frmConfigureQuickSetupDialog::ShowModal(const WindowHost& host, GIOServer* server) {
  frmConfigureQuickSetupDialog dialog(server, host.Owner);
  if (auto action = std::exchange(OpenAction(), nullptr)) {
    QMetaObject::invokeMethod(&dialog, [&dialog, action] { action(dialog); }, Qt::QueuedConnection);
  }
  dialog.exec();
}

void frmConfigureQuickSetupDialog::OnOpen(std::function<void(frmConfigureQuickSetupDialog&)> action) {
  OpenAction() = std::move(action);
}

frmConfigureQuickSetupDialog::frmConfigureQuickSetupDialog(GIOServer* server, QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("Quick Setup Menu Customization Wizard"));
  setWindowIcon(Artwork::WindowIcon());
  setModal(true);
  tabPanel_ = new QTabWidget;
  // Every page's tab shows whole: the wizard is never narrower than its four tabs.
  tabPanel_->setUsesScrollButtons(false);
  tabPanel_->addTab(CreateSourcePage(), QStringLiteral("Upload Parameter Data"));
  tabPanel_->addTab(CreateSlotPage(), QStringLiteral("Select Menu Parameters"));
  tabPanel_->addTab(CreateOptionsPage(), QStringLiteral("Extra Options"));
  tabPanel_->addTab(CreatePreviewPage(), QStringLiteral("Preview"));
  auto* picture = new QLabel;
  picture->setPixmap(Artwork::WizardPicture(101));
  bBack_ = new QPushButton(QStringLiteral("<< &Back"));
  bNext_ = new QPushButton(QStringLiteral("&Next >>"));
  bClose_ = new QPushButton(QStringLiteral("Cancel"));
  bClose_->setToolTip(QStringLiteral("Close this dialog (without saving changes)"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(bBack_);
  buttons->addWidget(bNext_);
  buttons->addWidget(bClose_);
  auto* right = new QVBoxLayout;
  right->addWidget(tabPanel_);
  right->addLayout(buttons);
  auto* outer = new QHBoxLayout(this);
  outer->addWidget(picture, 0, Qt::AlignTop);
  outer->addLayout(right, 1);

  frmConfigureQuickSetup::Services services;
  services.Server = server;
  services.progUpload = std::make_shared<BarProgressSink>(progUpload_);
  services.tpbUpload = std::make_shared<TextProgressBarSink>(tpbUpload_);
  services.lblConnectStatus = std::make_shared<LabelProgressSink>(lblConnectStatus_);
  core_ = std::make_unique<frmConfigureQuickSetup>(services);
  // Inside a handler that yields to the message loop, the user must already see what it disabled.
  core_->OnChanged([this] { Render(); });
  ConnectSignals();
  Act([this] { core_->Form_Load(); });
}

QWidget* frmConfigureQuickSetupDialog::CreateSourcePage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->addWidget(WrappedLabel("Welcome to the Quendrel(tm) Quick Setup Menu Wizard! This wizard will guide you "
                               "through the process of customizing your drive's Quick Setup Menu."),
                  0, 0, 1, 3);
  grid->addWidget(WrappedLabel("To customize a connected drive, type its serial address (parameter M11P23) and "
                               "click Upload Menu Data. To prepare settings without a drive, type its firmware "
                               "version and click Customize Offline."),
                  1, 0, 1, 3);
  tbDriveID_ = new QLineEdit;
  tbDriveID_->setToolTip(QStringLiteral("Input a drive ID."));
  bConnect_ = new QPushButton(QStringLiteral("&Upload Menu Data"));
  tbFirmwareVersion_ = new QLineEdit;
  tbFirmwareVersion_->setInputMask(QStringLiteral("0.000"));
  bGenerate_ = new QPushButton(QStringLiteral("Customize &Offline"));
  auto* addressLabel = new QLabel(QStringLiteral("Drive &Address:"));
  addressLabel->setBuddy(tbDriveID_);
  grid->addWidget(addressLabel, 2, 0);
  grid->addWidget(tbDriveID_, 2, 1);
  grid->addWidget(bConnect_, 2, 2);
  auto* versionLabel = new QLabel(QStringLiteral("Drive &Software Version:"));
  versionLabel->setBuddy(tbFirmwareVersion_);
  grid->addWidget(versionLabel, 3, 0);
  grid->addWidget(tbFirmwareVersion_, 3, 1);
  grid->addWidget(bGenerate_, 3, 2);
  progUpload_ = new QProgressBar;
  progUpload_->setTextVisible(false);
  tpbUpload_ = new TextProgressBar;
  lblConnectStatus_ = new QLabel;
  lblReadyToGo_ = new QLabel(QStringLiteral("Ready"));
  grid->addWidget(progUpload_, 4, 0, 1, 3);
  grid->addWidget(tpbUpload_, 5, 0, 1, 3);
  grid->addWidget(lblConnectStatus_, 6, 0, 1, 2);
  grid->addWidget(lblReadyToGo_, 6, 2);
  grid->setRowStretch(7, 1);
  return page;
}

QWidget* frmConfigureQuickSetupDialog::CreateSlotPage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  lbM00_ = new QListWidget;
  lbM00_->setToolTip(QStringLiteral("Select a parameter to edit."));
  treePramList_ = new QTreeWidget;
  treePramList_->setHeaderHidden(true);
  treePramList_->setToolTip(QStringLiteral("Choose which parameter is placed in the selected menu slot at left."));
  grid->addWidget(new QLabel(QStringLiteral("Quick Setup Parameter:")), 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("Parameter Bound to this menu item:")), 0, 1);
  grid->addWidget(lbM00_, 1, 0);
  grid->addWidget(treePramList_, 1, 1);
  return page;
}

QWidget* frmConfigureQuickSetupDialog::CreateOptionsPage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  cbSpecialSelect_ = new QComboBox;
  lblEditSpecialName_ = new QLabel;
  lblSpecialName_ = new QLabel;
  cbNameSelect_ = new QComboBox;
  tbCustomName_ = new QLineEdit;
  lblScaleAutomatically_ = new QLabel;
  lblScaleFormula_ = new QLabel;
  tbScaleEdit_ = new QLineEdit;
  scaleValidator_ = new QRegularExpressionValidator(QRegularExpression(ScalePattern(0)), tbScaleEdit_);
  tbScaleEdit_->setValidator(scaleValidator_);
  grid->addWidget(new QLabel(QStringLiteral("Edit Options for Parameter:")), 0, 0);
  grid->addWidget(cbSpecialSelect_, 0, 1);
  grid->addWidget(lblEditSpecialName_, 1, 0, 1, 2);
  grid->addWidget(lblSpecialName_, 2, 0);
  grid->addWidget(cbNameSelect_, 2, 1);
  grid->addWidget(tbCustomName_, 3, 1);
  grid->addWidget(lblScaleAutomatically_, 4, 0, 1, 2);
  grid->addWidget(lblScaleFormula_, 5, 0);
  grid->addWidget(tbScaleEdit_, 5, 1);
  grid->setRowStretch(6, 1);
  return page;
}

QWidget* frmConfigureQuickSetupDialog::CreatePreviewPage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  lblPreview_ = new QLabel;
  lblPreview_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  lblPreview_->setFrameStyle(QFrame::Box | QFrame::Sunken);
  lblPreview_->setStyleSheet(QStringLiteral("background: #9c6; color: black; padding: 4px;"));
  lblTooltip_ = new QLabel;
  chkPreviewShowData_ = new QCheckBox(QStringLiteral("Show actual drive values in Preview"));
  chkPreviewShowData_->setToolTip(QStringLiteral("Update the preview with actual values from the drive in real-time."));
  bPreviewUp_ = new QPushButton(QStringLiteral("Up"));
  bPreviewDown_ = new QPushButton(QStringLiteral("Down"));
  grid->addWidget(lblPreview_, 0, 0, 1, 3);
  grid->addWidget(lblTooltip_, 0, 3);
  // Keypad look-alikes: they only make the page resemble the drive.
  const char* const keys[] = {"Left", "Enter", "Esc"};
  for (int i = 0; i < 3; ++i) grid->addWidget(new QPushButton(QString::fromLatin1(keys[i])), 1, i);
  grid->addWidget(bPreviewUp_, 2, 0);
  grid->addWidget(bPreviewDown_, 2, 1);
  const char* const lamps[] = {"Fault", "Forward", "Current Limit", "Drive Run"};
  for (int i = 0; i < 4; ++i) {
    auto* lamp = new QRadioButton(QString::fromLatin1(lamps[i]));
    lamp->setEnabled(false);
    grid->addWidget(lamp, 3 + i / 2, i % 2);
  }
  grid->addWidget(chkPreviewShowData_, 5, 0, 1, 3);
  bSave_ = new QPushButton(QStringLiteral("Save to File"));
  bSave_->setToolTip(QStringLiteral("Save these settings to a .KVB file that can be downloaded to any compatible drive."));
  bApply_ = new QPushButton(QStringLiteral("Send to Drive"));
  bApply_->setToolTip(QStringLiteral("Update the drive with the currently displayed settings."));
  grid->addWidget(bSave_, 6, 0);
  grid->addWidget(bApply_, 6, 1);
  grid->setRowStretch(7, 1);
  return page;
}

void frmConfigureQuickSetupDialog::Act(const std::function<void()>& action) {
  GuardSlot(action);
  Render();
}

void frmConfigureQuickSetupDialog::done(int result) {
  core_->Form_Unload();
  QDialog::done(result);
}

void frmConfigureQuickSetupDialog::ConnectSignals() {
  auto on = [this](auto* sender, auto signal, auto handler) {
    connect(sender, signal, this, [this, handler](auto... args) { Act([=] { handler(args...); }); });
  };
  auto& core = *core_;
  connect(tabPanel_->tabBar(), &QTabBar::tabBarClicked, this, [this](int i) { Act([this, i] { core_->tabPanel_Click(i); }); });
  on(bBack_, &QPushButton::clicked, [&core](bool) { core.bBack_Click(); });
  connect(bNext_, &QPushButton::clicked, this, [this] {
    bool finished = false;
    Act([this, &finished] { finished = core_->bNext_Click(); });
    if (finished) accept();
  });
  connect(bClose_, &QPushButton::clicked, this, &QDialog::reject);
  on(tbDriveID_, &QLineEdit::textEdited, [&core](const QString& t) { core.tbDriveID_Change(FromQString(t)); });
  on(tbFirmwareVersion_, &QLineEdit::textEdited,
     [&core](const QString& t) { core.tbFirmwareVersion_Change(FromQString(t)); });
  on(bConnect_, &QPushButton::clicked, [&core](bool) { core.bConnect_Click(); });
  on(bGenerate_, &QPushButton::clicked, [&core](bool) { core.bGenerate_Click(); });
  // Keys choose a slot as a click does; a click on the slot already chosen chooses it again.
  connect(lbM00_, &QListWidget::currentRowChanged, this, [this](int row) { ChooseSlot(row); });
  connect(lbM00_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { ChooseSlot(lbM00_->row(item)); });
  on(treePramList_, &QTreeWidget::itemClicked,
     [&core](QTreeWidgetItem* item, int) { core.treePramList_NodeClick(FromQString(item->data(0, Qt::UserRole).toString())); });
  // A parameter reached with the keys is chosen as a click chooses it, or the highlight would name a
  // parameter the slot is not bound to. Menu headers only open and close on a click. The choice waits
  // for the signal to return, because showing it rebuilds the tree that sent it.
  connect(treePramList_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item == nullptr || !item->data(0, kAssignsRole).toBool()) return;
    const std::string key = FromQString(item->data(0, Qt::UserRole).toString());
    QMetaObject::invokeMethod(
        this, [this, key] { Act([this, key] { core_->treePramList_NodeClick(key); }); }, Qt::QueuedConnection);
  });
  on(chkPreviewShowData_, &QCheckBox::clicked, [&core](bool ticked) { core.chkPreviewShowData_Click(ticked); });
  on(bPreviewUp_, &QPushButton::clicked, [&core](bool) { core.bPreviewUp_Click(); });
  on(bPreviewDown_, &QPushButton::clicked, [&core](bool) { core.bPreviewDown_Click(); });
  on(bSave_, &QPushButton::clicked, [&core](bool) { core.bSave_Click(); });
  on(bApply_, &QPushButton::clicked, [&core](bool) { core.bApply_Click(); });
  ConnectOptionSignals();
}

void frmConfigureQuickSetupDialog::ConnectOptionSignals() {
  auto& core = *core_;
  connect(cbSpecialSelect_, &QComboBox::activated, this, [this, &core](int i) { Act([&core, i] { core.cbSpecialSelect_Click(i); }); });
  connect(cbNameSelect_, &QComboBox::activated, this, [this, &core](int i) {
    Act([&core, i] { core.cbNameSelect_Click(i); });
    if (core.View().tbCustomNameEnabled) {
      tbCustomName_->selectAll();
      tbCustomName_->setFocus();
    }
  });
  connect(tbCustomName_, &QLineEdit::textEdited, this, [this](const QString& t) { CustomNameEdited(t); });
  connect(tbCustomName_, &QLineEdit::returnPressed, this, [this] { tbScaleEdit_->setFocus(); });
  connect(tbCustomName_, &QLineEdit::editingFinished, this, [this, &core] {
    if (core.View().tbCustomNameEnabled) Act([&core] { core.tbCustomName_LostFocus(); });
  });
  connect(tbScaleEdit_, &QLineEdit::textEdited, this,
          [this, &core](const QString& t) { Act([&core, t] { core.tbScaleEdit_Change(FromQString(t)); }); });
  connect(tbScaleEdit_, &QLineEdit::editingFinished, this, [this, &core] { Act([&core] { core.tbScaleEdit_LostFocus(); }); });
}

void frmConfigureQuickSetupDialog::ChooseSlot(int row) {
  Act([this, row] { core_->lbM00_Click(row); });
  if (core_->View().treeEnabled) treePramList_->setFocus();
}

// A character Latin-1 cannot hold would reach the drive as "?": it is refused as it is typed.
void frmConfigureQuickSetupDialog::CustomNameEdited(const QString& text) {
  const bool fits = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= kLatin1Max; });
  if (!fits) {
    QSignalBlocker block(tbCustomName_);
    tbCustomName_->setText(customNameShown_);
    return;
  }
  Act([this, &text] { core_->tbCustomName_Change(FromQString(text)); });
}

void frmConfigureQuickSetupDialog::Render() {
  if (core_->Unloaded()) return;
  const auto& view = core_->View();
  {
    QSignalBlocker block(tabPanel_);
    for (int i = 0; i < frmConfigureQuickSetup::kPageCount; ++i) tabPanel_->setTabEnabled(i, view.Reachable[i]);
    tabPanel_->setCurrentIndex(view.Page);
  }
  bBack_->setEnabled(view.bBackEnabled);
  bNext_->setEnabled(view.bNextEnabled);
  bNext_->setText(ToQString(view.bNextCaption));
  if (tbDriveID_->text() != ToQString(view.tbDriveIDText)) tbDriveID_->setText(ToQString(view.tbDriveIDText));
  for (QWidget* source : std::initializer_list<QWidget*>{bConnect_, bGenerate_, tbDriveID_, tbFirmwareVersion_}) {
    source->setEnabled(view.SourceEnabled);
  }
  lblConnectStatus_->setText(ToQString(view.lblConnectStatus));
  lblReadyToGo_->setVisible(view.lblReadyToGoVisible);
  bSave_->setEnabled(view.bSaveEnabled);
  bApply_->setEnabled(view.bApplyEnabled);
  RenderSlotPage(view);
  RenderOptionsPage(view);
  RenderPreviewPage(view);
}

void frmConfigureQuickSetupDialog::RenderSlotPage(const frmConfigureQuickSetup::Controls& view) {
  QSignalBlocker blockList(lbM00_);
  QSignalBlocker blockTree(treePramList_);
  FillList(lbM00_, view.lbM00, view.lbM00Selected);
  treePramList_->clear();
  std::map<std::string, QTreeWidgetItem*> items;
  for (const auto& node : view.treePramList) {
    const auto parent = items.find(node.Parent);
    auto* item = parent == items.end() ? new QTreeWidgetItem(treePramList_) : new QTreeWidgetItem(parent->second);
    item->setText(0, ToQString(node.Text));
    item->setData(0, Qt::UserRole, ToQString(node.Key));
    item->setData(0, kAssignsRole, node.Assigns);
    items[node.Key] = item;
    if (view.treeExpanded.contains(node.Key)) item->setExpanded(true);
    if (node.Key == view.treeSelectedKey) treePramList_->setCurrentItem(item);
  }
  if (view.treeSelectedKey.empty()) treePramList_->setCurrentItem(nullptr);
  if (auto* current = treePramList_->currentItem()) treePramList_->scrollToItem(current);
  treePramList_->setEnabled(view.treeEnabled);
}

void frmConfigureQuickSetupDialog::RenderOptionsPage(const frmConfigureQuickSetup::Controls& view) {
  QSignalBlocker blockSpecial(cbSpecialSelect_);
  QSignalBlocker blockName(cbNameSelect_);
  FillCombo(cbSpecialSelect_, view.cbSpecialSelect, view.cbSpecialSelected);
  FillCombo(cbNameSelect_, view.cbNameSelect, view.cbNameSelected);
  cbNameSelect_->setEnabled(view.cbNameSelectEnabled);
  cbNameSelect_->setToolTip(ToQString(view.cbNameSelectToolTip));
  lblEditSpecialName_->setText(ToQString(view.lblEditSpecialName));
  lblSpecialName_->setText(ToQString(view.lblSpecialName));
  lblScaleAutomatically_->setText(ToQString(view.lblScaleAutomatically));
  lblScaleFormula_->setText(ToQString(view.lblScaleFormula));
  customNameShown_ = ToQString(view.tbCustomNameText);
  if (tbCustomName_->text() != customNameShown_) tbCustomName_->setText(customNameShown_);
  tbCustomName_->setEnabled(view.tbCustomNameEnabled);
  const QString scalePattern = ScalePattern(view.tbScaleEditDecimals);
  if (scaleValidator_->regularExpression().pattern() != scalePattern) {
    scaleValidator_->setRegularExpression(QRegularExpression(scalePattern));
  }
  if (FromQString(tbScaleEdit_->text()) != view.tbScaleEditText) tbScaleEdit_->setText(ToQString(view.tbScaleEditText));
  tbScaleEdit_->setEnabled(view.tbScaleEditEnabled);
  tbScaleEdit_->setToolTip(ToQString(view.tbScaleEditToolTip));
}

void frmConfigureQuickSetupDialog::RenderPreviewPage(const frmConfigureQuickSetup::Controls& view) {
  lblPreview_->setText(ToQString(view.PreviewLine1) + QStringLiteral("\r\n") + ToQString(view.PreviewLine2));
  lblTooltip_->setText(ToQString(view.lblTooltip));
  lblTooltip_->adjustSize();
  lblTooltip_->setVisible(view.lblTooltipVisible);
  QSignalBlocker block(chkPreviewShowData_);
  chkPreviewShowData_->setChecked(view.chkPreviewShowData);
}

}  // namespace quendrel
