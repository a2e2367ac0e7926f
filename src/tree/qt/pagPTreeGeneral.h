// The tree's "General" property page as a small dialog: shows a tree's settings and writes
// them back on Apply or OK. Only for setting up trees by hand; the program never shows it.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

#include "tree/TreeGeneralPage.h"

namespace quendrel {

class ParameterTree;

class pagPTreeGeneral : public QDialog {
 public:
  explicit pagPTreeGeneral(QWidget* parent = nullptr);

  // Reads the tree into the controls; the tree must outlive the page.
  void PropertyPage_SelectionChanged(ParameterTree& tree);
  // False when the page refused the settings (it stays open).
  bool PropertyPage_ApplyChanges();
  bool Changed() const { return page_.Changed; }

  QComboBox* cbAppearance = nullptr;
  QComboBox* cbIconList = nullptr;
  QComboBox* cbScrollbars = nullptr;
  QLineEdit* txtIndent = nullptr;
  QCheckBox* chkEnabled = nullptr;
  QCheckBox* chkCheckboxes = nullptr;
  QCheckBox* chkAutoGray = nullptr;

 private:
  void BuildControls();
  void ShowPage();
  void TakeControls();
  void accept() override;

  TreeGeneralPage page_;
  ParameterTree* tree_ = nullptr;
  bool filling_ = false;
};

}  // namespace quendrel
