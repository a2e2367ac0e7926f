#include "platform/qt/FontColorDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/QtConvert.h"

namespace quendrel {

FontColorDialog::FontColorDialog(const FontDialogChoice& start, int flags, QWidget* parent)
    : QDialog(parent), start_(start), fonts_(new QFontDialog(ToQFont(start.Font))), color_(start.Color) {
  setWindowTitle(QStringLiteral("Font"));
  // The font lists live inside this dialog, whose own buttons answer for both.
  fonts_->setWindowFlags(Qt::Widget);
  fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
  auto* column = new QVBoxLayout(this);
  column->addWidget(fonts_);
  if ((flags & cdlCFEffects) != 0) {
    colorButton_ = new QPushButton(QStringLiteral("C&olor..."));
    colorButton_->setObjectName(QStringLiteral("bFontColor"));
    auto* label = new QLabel(QStringLiteral("Text colour:"));
    label->setBuddy(colorButton_);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(colorButton_);
    row->addStretch();
    column->addLayout(row);
    connect(colorButton_, &QPushButton::clicked, this, [this] { PickColor(); });
    ShowColor();
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  column->addWidget(buttons);
  opened_ = FromQFont(fonts_->currentFont());
}

FontDialogChoice FontColorDialog::Choice() const {
  FontDialogChoice choice;
  choice.Color = colorPicked_ ? color_ : start_.Color;
  const QFont chosen = fonts_->currentFont();
  choice.Font = FromQFont(chosen);
  if (choice.Font == opened_) {
    choice.Font = start_.Font;
    return choice;
  }
  // The dialog reports pixels for a pixel-sized font; keep the points the user picked.
  if (chosen.pointSizeF() <= 0) choice.Font.Size = start_.Font.Size;
  return choice;
}

void FontColorDialog::PickColor() {
  const QColor chosen = QColorDialog::getColor(ToQColor(color_), this);
  if (!chosen.isValid()) return;
  color_ = FromQColor(chosen);
  colorPicked_ = true;
  ShowColor();
}

void FontColorDialog::ShowColor() {
  QPixmap swatch(24, 12);
  swatch.fill(ToQColor(color_));
  colorButton_->setIcon(QIcon(swatch));
  colorButton_->setIconSize(swatch.size());
}

}  // namespace quendrel
