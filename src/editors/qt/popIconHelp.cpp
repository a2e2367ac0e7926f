#include "editors/qt/popIconHelp.h"

#include <QPainter>
#include <QPointer>
#include <algorithm>

#include "platform/ImageList.h"
#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtConvert.h"

namespace quendrel {
namespace {

struct IconRow {
  const char* key;
  int left;
  int top;
};

// Picture boxes in twips, 330 x 330 each.
constexpr std::array<IconRow, popIconHelp::IconCount> kIcons = {{{"menu", 60, 60},
                                                                  {"pram", 60, 420},
                                                                  {"readonly", 60, 780},
                                                                  {"bitpram0", 60, 1140},
                                                                  {"bitpram1", 360, 1140},
                                                                  {"readonlybit0", 60, 1500},
                                                                  {"readonlybit1", 365, 1500}}};

struct LabelRow {
  const char* text;
  int left;
  int top;
  int width;
};

constexpr std::array<LabelRow, 5> kLabels = {{{"Menu", 480, 90, 3135},
                                              {"Normal Parameter", 480, 450, 3135},
                                              {"Read-Only Parameter", 480, 810, 3135},
                                              {"Bit Parameter (zero and one)", 780, 1170, 2835},
                                              {"Read-Only Bit Parameter (zero and one)", 780, 1530, 2835}}};

constexpr int kBoxTwips = 330;
constexpr int kLabelHeight = 255;

QPointer<popIconHelp>& OpenKey() {
  static QPointer<popIconHelp> open;
  return open;
}

}  // namespace

popIconHelp* popIconHelp::ShowKey(const WindowHost& host) {
  QPointer<popIconHelp>& open = OpenKey();
  if (open.isNull()) open = new popIconHelp(*host.Icons, host.Owner);
  open->show();
  open->raise();
  open->activateWindow();
  return open;
}

popIconHelp* popIconHelp::Instance() { return OpenKey().data(); }

popIconHelp::popIconHelp(const ImageList& icons, QWidget* owner)
    // A dialog is placed over its owner, not at the screen's corner over the menu bar, and
    // Escape closes it.
    : QDialog(owner, Qt::Tool), icons_(icons) {
  // Closing unloads the window; opening it again draws the icons afresh.
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setWindowTitle("Parameter Symbol Key");
  for (std::size_t i = 0; i < kIcons.size(); ++i) {
    boxes_[i] = new QLabel(this);
    boxes_[i]->setGeometry(kIcons[i].left / 15, kIcons[i].top / 15, kBoxTwips / 15, kBoxTwips / 15);
  }
  int right = 3735 / 15;
  for (const LabelRow& row : kLabels) {
    auto* label = new QLabel(row.text, this);
    // The desktop font may be wider than the one the key was laid out for.
    label->ensurePolished();
    const int width = std::max(row.width / 15, label->sizeHint().width());
    label->setGeometry(row.left / 15, row.top / 15, width, kLabelHeight / 15);
    right = std::max(right, row.left / 15 + width + 8);
  }
  setFixedSize(right, 1920 / 15);
  update();
}

void popIconHelp::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  if (drawn_) return;
  drawn_ = true;
  GuardSlot([this] { DrawIcons(); });
}

void popIconHelp::DrawIcons() {
  ++drawings_;
  for (std::size_t i = 0; i < kIcons.size(); ++i) {
    QPixmap picture(kBoxTwips / 15, kBoxTwips / 15);
    picture.fill(palette().color(QPalette::Window));
    QPainter painter(&picture);
    painter.drawImage(1, 1, ToQImage(icons_.Image(kIcons[i].key)));
    painter.end();
    boxes_[i]->setPixmap(picture);
  }
}

}  // namespace quendrel
