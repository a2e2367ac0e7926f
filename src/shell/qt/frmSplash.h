// The window shown while Quendrel starts: product name, version and legal line.
#pragma once

#include <QWidget>

namespace quendrel {

class frmSplash : public QWidget {
 public:
  explicit frmSplash(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace quendrel
