#include "editors/qt/frmEditOfflineWindow.h"

#include <QGridLayout>
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

QPointer<frmEditOfflineWindow>& OpenWindow() {
  static QPointer<frmEditOfflineWindow> open;
  return open;
}

}  // namespace

frmEditOfflineWindow* frmEditOfflineWindow::ShowWindow(const WindowHost& host) { return ShowSingleChild(OpenWindow(), host); }

frmEditOfflineWindow* frmEditOfflineWindow::Instance() { return OpenWindow(); }

frmEditOfflineWindow::frmEditOfflineWindow(const WindowHost& host, QWidget* parent) : QWidget(parent) {
  setWindowTitle(QString::fromLatin1(frmEditOffline::Caption));
  setWindowIcon(Artwork::WindowIcon());
  CreateControls();
  core_ = std::make_shared<frmEditOffline>(pTree_->Tree().shared_from_this(), UseIcons() ? host.Icons : nullptr);
  ConnectSignals();
  core_->Form_Load();
  ShowCore();
}

frmEditOfflineWindow::~frmEditOfflineWindow() = default;

void frmEditOfflineWindow::CreateControls() {
  frameFile_ = new QGroupBox(QStringLiteral("File Operations"), this);
  frameTree_ = new QGroupBox(QStringLiteral("Parameters (double-click to edit)"), this);
  tbFileName_ = new QLineEdit(frameFile_);
  tbDescription_ = new QLineEdit(frameFile_);
  bBrowse_ = new QPushButton(QStringLiteral("&Browse..."), frameFile_);
  bLoadFile_ = new QPushButton(QStringLiteral("&Load File"), frameFile_);
  bSaveFile_ = new QPushButton(QStringLiteral("&Save As..."), frameFile_);
  pTree_ = new ParameterTreeWidget(frameTree_);
  CanvasFont font = pTree_->Tree().Font();
  font.Name = "Tahoma";
  font.Size = 8.25F;
  pTree_->Tree().SetFont(font);

  auto* file = new QGridLayout(frameFile_);
  file->addWidget(new QLabel(QStringLiteral("File Name:"), frameFile_), 0, 0);
  file->addWidget(tbFileName_, 0, 1);
  file->addWidget(bLoadFile_, 0, 2);
  file->addWidget(bBrowse_, 0, 3);
  file->addWidget(new QLabel(QStringLiteral("Description:"), frameFile_), 1, 0);
  file->addWidget(tbDescription_, 1, 1);
  file->addWidget(bSaveFile_, 1, 3);
  file->setColumnStretch(1, 1);
  auto* tree = new QVBoxLayout(frameTree_);
  tree->addWidget(pTree_);
  auto* window = new QVBoxLayout(this);
  window->addWidget(frameFile_);
  window->addWidget(frameTree_, 1);
}

void frmEditOfflineWindow::ConnectSignals() {
  connect(bBrowse_, &QPushButton::clicked, this, [this] { Run([this] { core_->bBrowse_Click(); }); });
  connect(bLoadFile_, &QPushButton::clicked, this, [this] { Run([this] { core_->bLoadFile_Click(); }); });
  connect(bSaveFile_, &QPushButton::clicked, this, [this] { Run([this] { core_->bSaveFile_Click(); }); });
  connect(tbFileName_, &QLineEdit::textEdited, this,
          [this](const QString& text) { Run([&] { core_->tbFileName_Change(FromQPath(text)); }); });
  // Only the user's typing counts as an edit; the text a load puts in is set with signals blocked.
  connect(tbDescription_, &QLineEdit::textEdited, this,
          [this](const QString& text) { Run([&] { core_->tbDescription_Change(FromQString(text)); }); });
}

void frmEditOfflineWindow::Run(const std::function<void()>& handler) {
  GuardSlot([&] {
    handler();
    ShowCore();
  });
}

void frmEditOfflineWindow::ShowCore() {
  const frmEditOffline::Controls& view = core_->View();
  // The file name is a path, the description a Latin-1 text of the file.
  for (auto [box, shown] : {std::pair{tbFileName_, ToQPath(view.tbFileNameText)},
                            {tbDescription_, ToQString(view.tbDescriptionText)}}) {
    if (box->text() == shown) continue;
    const QSignalBlocker block(box);
    box->setText(shown);
  }
}

void frmEditOfflineWindow::closeEvent(QCloseEvent* event) {
  DecideClose(*this, event, [this] { return core_->Form_QueryUnload(); }, [this] { core_->Form_Unload(); });
}

QSize frmEditOfflineWindow::minimumSizeHint() const {
  return {MinWidth / kTwipsPerPixel, MinHeight / kTwipsPerPixel};
}

}  // namespace quendrel
