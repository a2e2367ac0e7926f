#include "tree/qt/pagPTreeGeneral.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtConvert.h"
#include "tree/ParameterTree.h"

namespace quendrel {
namespace {

// Controls are placed in twips, as the page was laid out.
QRect Twips(int left, int top, int width, int height) {
  return QRect(left / 15, top / 15, width / 15, height / 15);
}

QLabel* AddLabel(QWidget* page, const char* text, const QRect& place) {
  auto* label = new QLabel(text, page);
  label->setGeometry(place);
  return label;
}

}  // namespace

pagPTreeGeneral::pagPTreeGeneral(QWidget* parent) : QDialog(parent) {
  setWindowTitle("General");
  BuildControls();
  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
  buttons->setGeometry(Twips(60, 2000, 6315, 420));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
          [this] { GuardSlot([this] { PropertyPage_ApplyChanges(); }); });
  setFixedSize(6480 / 15, 2520 / 15);
}

void pagPTreeGeneral::BuildControls() {
  AddLabel(this, "Appearance:", Twips(60, 120, 1395, 255));
  cbAppearance = new QComboBox(this);
  cbAppearance->setGeometry(Twips(1500, 60, 1995, 315));
  AddLabel(this, "Icon Imagelist:", Twips(60, 480, 1395, 255));
  cbIconList = new QComboBox(this);
  cbIconList->setGeometry(Twips(1500, 420, 1995, 315));
  AddLabel(this, "Scrollbars:", Twips(60, 840, 1395, 255));
  cbScrollbars = new QComboBox(this);
  cbScrollbars->setGeometry(Twips(1500, 780, 1995, 315));
  AddLabel(this, "Indent Distance:", Twips(60, 1200, 1395, 240));
  txtIndent = new QLineEdit(this);
  txtIndent->setGeometry(Twips(1500, 1140, 1980, 330));
  chkEnabled = new QCheckBox("Enabled", this);
  chkEnabled->setGeometry(Twips(1500, 1500, 1995, 255));
  chkCheckboxes = new QCheckBox("Checkboxes", this);
  chkCheckboxes->setGeometry(Twips(3540, 60, 2835, 255));
  chkAutoGray = new QCheckBox("Automatically Grey Checkboxes", this);
  chkAutoGray->setGeometry(Twips(3720, 360, 2655, 315));

  const auto changed = [this] {
    if (!filling_) page_.MarkChanged();
  };
  connect(cbAppearance, &QComboBox::activated, this, changed);
  connect(cbIconList, &QComboBox::activated, this, changed);
  connect(cbScrollbars, &QComboBox::activated, this, changed);
  connect(chkAutoGray, &QCheckBox::clicked, this, changed);
  connect(chkEnabled, &QCheckBox::clicked, this, changed);
  connect(txtIndent, &QLineEdit::textChanged, this, changed);
  connect(chkCheckboxes, &QCheckBox::clicked, this, [this](bool checked) {
    page_.SetCheckboxesChecked(checked);
    chkAutoGray->setEnabled(page_.AutoGrayAvailable);
  });
}

void pagPTreeGeneral::PropertyPage_SelectionChanged(ParameterTree& tree) {
  tree_ = &tree;
  page_.SelectionChanged(tree);
  ShowPage();
}

void pagPTreeGeneral::ShowPage() {
  filling_ = true;
  chkEnabled->setChecked(page_.EnabledChecked);
  chkCheckboxes->setChecked(page_.CheckboxesChecked);
  chkAutoGray->setChecked(page_.AutoGrayChecked);
  chkAutoGray->setEnabled(page_.AutoGrayAvailable);
  txtIndent->setText(ToQString(page_.IndentText));
  cbAppearance->clear();
  for (const auto& entry : TreeGeneralPage::AppearanceEntries()) cbAppearance->addItem(ToQString(entry.Text), entry.Value);
  cbAppearance->setCurrentIndex(page_.AppearanceIndex);
  cbScrollbars->clear();
  for (const auto& entry : TreeGeneralPage::ScrollBarEntries()) cbScrollbars->addItem(ToQString(entry.Text), entry.Value);
  cbScrollbars->setCurrentIndex(page_.ScrollBarsIndex);
  cbIconList->clear();
  for (const std::string& name : page_.IconListEntries) cbIconList->addItem(ToQString(name));
  cbIconList->setCurrentIndex(page_.IconListIndex);
  filling_ = false;
  page_.Changed = false;
}

void pagPTreeGeneral::TakeControls() {
  page_.EnabledChecked = chkEnabled->isChecked();
  page_.CheckboxesChecked = chkCheckboxes->isChecked();
  page_.AutoGrayChecked = chkAutoGray->isChecked();
  page_.IndentText = FromQString(txtIndent->text());
  page_.AppearanceIndex = cbAppearance->currentIndex();
  page_.ScrollBarsIndex = cbScrollbars->currentIndex();
  page_.IconListIndex = cbIconList->currentIndex();
}

bool pagPTreeGeneral::PropertyPage_ApplyChanges() {
  if (tree_ == nullptr) return true;
  TakeControls();
  return page_.ApplyChanges(*tree_);
}

void pagPTreeGeneral::accept() {
  bool applied = false;
  GuardSlot([&] { applied = PropertyPage_ApplyChanges(); });
  if (applied) QDialog::accept();
}

}  // namespace quendrel
