// The About box: product name, version, description and legal texts, and OK.
#pragma once

#include <QDialog>

namespace quendrel {

class frmAbout : public QDialog {
 public:
  explicit frmAbout(QWidget* parent = nullptr);
};

}  // namespace quendrel
