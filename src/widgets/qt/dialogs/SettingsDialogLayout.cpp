#include "widgets/qt/dialogs/SettingsDialogLayout.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/GuardSlot.h"

namespace quendrel {

void LayOutSettingsDialog(QDialog& dialog, QFormLayout* form, std::function<bool()> onOk) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("bOK"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("bCancel"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog, onOk = std::move(onOk)] {
    bool accepted = false;
    GuardSlot([&] { accepted = onOk(); });
    if (accepted) dialog.accept();
  });
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

}  // namespace quendrel
