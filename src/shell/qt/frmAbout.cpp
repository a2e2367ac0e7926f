#include "shell/qt/frmAbout.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/QtConvert.h"
#include "shell/AppGlobals.h"
#include "widgets/qt/windows/Artwork.h"

namespace quendrel {

namespace {

QLabel* NamedLabel(const QString& name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setWordWrap(true);
  return label;
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  const ProductTexts& product = Product();
  setWindowTitle(QStringLiteral("About ") + ToQString(product.Product));

  auto* picture = new QLabel(this);
  picture->setPixmap(Artwork::WindowPicture(64));
  picture->setAlignment(Qt::AlignTop);

  auto* name = NamedLabel(QStringLiteral("lblProduct"), ToQString(product.Product), this);
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 1.8);
  big.setBold(true);
  name->setFont(big);

  auto* texts = new QVBoxLayout;
  texts->addWidget(name);
  texts->addWidget(NamedLabel(QStringLiteral("lblVersion"),
                              QStringLiteral("Version ") + ToQString(product.Version), this));
  texts->addWidget(NamedLabel(QStringLiteral("lblDescription"), ToQString(product.Description), this));
  texts->addSpacing(12);
  texts->addWidget(NamedLabel(QStringLiteral("lblCompany"), ToQString(product.Company), this));
  texts->addWidget(NamedLabel(QStringLiteral("lblLegal"), ToQString(product.LegalCopyright), this));
  texts->addStretch();

  auto* top = new QHBoxLayout;
  top->addWidget(picture);
  top->addSpacing(12);
  top->addLayout(texts, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("bOK"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buttons);
  // The texts wrap, so their height depends on the width: at the narrowest width they still show whole.
  constexpr int narrowest = 380;
  setMinimumSize(narrowest, std::max(minimumSizeHint().height(), heightForWidth(narrowest)));
}

}  // namespace quendrel
