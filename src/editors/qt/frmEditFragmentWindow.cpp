#include "editors/qt/frmEditFragmentWindow.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "widgets/qt/windows/SingleChildWindow.h"
#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtConvert.h"
#include "tree/qt/ParameterTreeWidget.h"
#include "widgets/TreeIcons.h"
#include "widgets/qt/windows/Artwork.h"

namespace quendrel {
namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int MinWidth = 6200;
constexpr int MinHeight = 3780;

QPointer<frmEditFragmentWindow>& OpenWindow() {
  static QPointer<frmEditFragmentWindow> open;
  return open;
}

}  // namespace

frmEditFragmentWindow* frmEditFragmentWindow::ShowWindow(const WindowHost& host) { return ShowSingleChild(OpenWindow(), host); }

frmEditFragmentWindow* frmEditFragmentWindow::Instance() { return OpenWindow(); }

frmEditFragmentWindow::frmEditFragmentWindow(const WindowHost& host, QWidget* parent) : QWidget(parent) {
  setWindowTitle(QString::fromLatin1(frmEditFragment::Caption));
  setWindowIcon(Artwork::WindowIcon());
  CreateControls();
  core_ = std::make_shared<frmEditFragment>(pTree_->Tree().shared_from_this(), UseIcons() ? host.Icons : nullptr);
  ConnectSignals();
  core_->Form_Load();
  ShowCore();
}

frmEditFragmentWindow::~frmEditFragmentWindow() = default;

void frmEditFragmentWindow::CreateControls() {
  auto* frameFile = new QGroupBox(QStringLiteral("File Operations"), this);
  cbFirmwareVersion_ = new QComboBox(frameFile);
  bNewFragment_ = new QPushButton(QStringLiteral("&Create"), frameFile);
  bBrowse_ = new QPushButton(QStringLiteral("&Load..."), frameFile);
  tbDescription_ = new QLineEdit(frameFile);
  bSaveFile_ = new QPushButton(QStringLiteral("&Save As..."), frameFile);
  auto* file = new QGridLayout(frameFile);
  auto* versionLabel = new QLabel(QStringLiteral("Firmware &Version:"), frameFile);
  versionLabel->setBuddy(cbFirmwareVersion_);
  auto* descriptionLabel = new QLabel(QStringLiteral("&Description:"), frameFile);
  descriptionLabel->setBuddy(tbDescription_);
  file->addWidget(versionLabel, 0, 0);
  file->addWidget(cbFirmwareVersion_, 0, 1);
  file->addWidget(bNewFragment_, 0, 2);
  file->addWidget(bBrowse_, 0, 3);
  file->addWidget(descriptionLabel, 1, 0);
  file->addWidget(tbDescription_, 1, 1, 1, 2);
  file->addWidget(bSaveFile_, 1, 3);
  file->setColumnStretch(1, 1);

  SSTab1_ = new QTabWidget(this);
  auto* frameTree = new QGroupBox(QStringLiteral("&Parameters (double-click to edit)"));
  pTree_ = new ParameterTreeWidget(frameTree);
  CanvasFont font = pTree_->Tree().Font();
  font.Name = "Tahoma";
  pTree_->Tree().SetFont(font);
  (new QVBoxLayout(frameTree))->addWidget(pTree_);
  lbPreview_ = new QListWidget;
  SSTab1_->addTab(frameTree, QStringLiteral("Parameters"));
  SSTab1_->addTab(lbPreview_, QStringLiteral("Preview"));

  auto* window = new QVBoxLayout(this);
  window->addWidget(frameFile);
  window->addWidget(SSTab1_, 1);
}

void frmEditFragmentWindow::ConnectSignals() {
  connect(cbFirmwareVersion_, &QComboBox::activated, this,
          [this](int index) { Run([&] { core_->cbFirmwareVersion_Click(index); }); });
  connect(bNewFragment_, &QPushButton::clicked, this, [this] { Run([this] { core_->bNewFragment_Click(); }); });
  connect(bBrowse_, &QPushButton::clicked, this, [this] { Run([this] { core_->bBrowse_Click(); }); });
  connect(bSaveFile_, &QPushButton::clicked, this, [this] { Run([this] { core_->bSaveFile_Click(); }); });
  // Only the user's typing counts as an edit; the text a load puts in is set with signals blocked.
  connect(tbDescription_, &QLineEdit::textEdited, this,
          [this](const QString& text) { Run([&] { core_->tbDescription_Change(FromQString(text)); }); });
  // Ticks and edits reach the core through the tree's own events; the preview list, on the other
  // tab, catches up when it is shown.
  connect(SSTab1_, &QTabWidget::currentChanged, this, [this] { Run([] {}); });
}

void frmEditFragmentWindow::Run(const std::function<void()>& handler) {
  GuardSlot([&] {
    handler();
    ShowCore();
  });
}

void frmEditFragmentWindow::ShowCore() {
  const frmEditFragment::Controls& view = core_->View();
  {
    const QSignalBlocker block(cbFirmwareVersion_);
    cbFirmwareVersion_->clear();
    for (const std::string& item : view.cbFirmwareVersionItems) cbFirmwareVersion_->addItem(ToQString(item));
    cbFirmwareVersion_->setCurrentIndex(view.cbFirmwareVersionIndex);
    cbFirmwareVersion_->setEnabled(view.cbFirmwareVersionEnabled);
  }
  if (tbDescription_->text() != ToQString(view.tbDescriptionText)) {
    const QSignalBlocker block(tbDescription_);
    tbDescription_->setText(ToQString(view.tbDescriptionText));
  }
  lbPreview_->clear();
  for (const frmEditFragment::PreviewLine& line : view.lbPreview) {
    auto* item = new QListWidgetItem(ToQString(line.Text), lbPreview_);
    item->setData(Qt::UserRole, line.ItemData);
  }
}

void frmEditFragmentWindow::closeEvent(QCloseEvent* event) {
  DecideClose(*this, event, [this] { return core_->Form_QueryUnload(); }, [] {});
}

QSize frmEditFragmentWindow::minimumSizeHint() const {
  return {MinWidth / kTwipsPerPixel, MinHeight / kTwipsPerPixel};
}

}  // namespace quendrel
