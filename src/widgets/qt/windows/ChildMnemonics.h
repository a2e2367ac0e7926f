// Lets the focused child window's own Alt+letter keys win over the main window's menu bar: Qt offers
// such a key to the menu bar first whenever both use the letter, so a caption's underlined letter
// inside a child window would open a menu instead.
#pragma once

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QMdiArea;
class QWidget;

namespace quendrel {

class ChildMnemonics : public QObject {
 public:
  // Watches the keys of every child window of area, for as long as this object lives.
  explicit ChildMnemonics(QMdiArea& area);
  ~ChildMnemonics() override;

  // The enabled, visible control in window whose caption's mnemonic is key (Alt+letter); nullptr when
  // none is. Labels count only with a buddy, as only those have a mnemonic.
  static QWidget* ControlFor(const QWidget& window, const QKeyEvent& key);
  // What the control's mnemonic does: a button is clicked, a label's buddy gets the focus (a button
  // buddy is clicked), a group box focuses its first control, a tab comes to the front.
  static void Activate(QWidget& control, const QKeyEvent& key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* FocusedChild() const;

  QMdiArea& area_;
  // The control whose key press is on its way after this object claimed the key.
  QPointer<QWidget> claimed_;
};

}  // namespace quendrel
