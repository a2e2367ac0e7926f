// The small window that explains the seven parameter icons, drawn from the icon set the
// trees use, so the key always matches what the trees show.
#pragma once

#include <QDialog>
#include <QLabel>
#include <array>

#include "widgets/qt/windows/WindowHost.h"

namespace quendrel {

class popIconHelp : public QDialog {
 public:
  // Opens the one key window (modeless, over the host's owner, closed by Escape) or brings the
  // open one forward; the host's icons must outlive it.
  static popIconHelp* ShowKey(const WindowHost& host);
  // The open key window, if any.
  static popIconHelp* Instance();

  popIconHelp(const ImageList& icons, QWidget* owner);

  // The picture boxes in drawing order: menu, parameter, read-only, bit 0 and 1, read-only
  // bit 0 and 1.
  static constexpr int IconCount = 7;
  QLabel* IconBox(int index) const { return boxes_[static_cast<std::size_t>(index)]; }
  // How often the icons were drawn since the window opened.
  int Drawings() const { return drawings_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawIcons();

  const ImageList& icons_;
  std::array<QLabel*, IconCount> boxes_{};
  bool drawn_ = false;
  int drawings_ = 0;
};

}  // namespace quendrel
