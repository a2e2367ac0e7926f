#include "widgets/qt/windows/ChildMnemonics.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTabWidget>

namespace quendrel {

namespace {

bool IsMnemonicKey(const QKeyEvent& key) {
  const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
  return modifiers == Qt::AltModifier && key.key() != Qt::Key_Alt && key.key() < Qt::Key_Escape;
}

bool Matches(const QString& caption, const QKeyEvent& key) {
  const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
  return !mnemonic.isEmpty() && mnemonic[0].key() == static_cast<Qt::Key>(key.key());
}

bool Live(const QWidget& control, const QWidget& window) {
  return control.isEnabled() && control.isVisibleTo(&window) && control.isVisible();
}

int TabFor(const QTabBar& bar, const QKeyEvent& key) {
  for (int i = 0; i < bar.count(); ++i) {
    if (bar.isTabEnabled(i) && Matches(bar.tabText(i), key)) return i;
  }
  return -1;
}

bool HasMnemonic(const QWidget& control, const QKeyEvent& key) {
  if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) return Matches(button->text(), key);
  if (const auto* label = qobject_cast<const QLabel*>(&control)) {
    return label->buddy() != nullptr && label->buddy()->isEnabled() && Matches(label->text(), key);
  }
  if (const auto* box = qobject_cast<const QGroupBox*>(&control)) return Matches(box->title(), key);
  if (const auto* bar = qobject_cast<const QTabBar*>(&control)) return TabFor(*bar, key) >= 0;
  return false;
}

void Press(QWidget& control) {
  if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
    if (button->focusPolicy() != Qt::NoFocus) button->setFocus(Qt::ShortcutFocusReason);
    button->click();
    return;
  }
  control.setFocus(Qt::ShortcutFocusReason);
}

}  // namespace

ChildMnemonics::ChildMnemonics(QMdiArea& area) : QObject(&area), area_(area) { qApp->installEventFilter(this); }

ChildMnemonics::~ChildMnemonics() { qApp->removeEventFilter(this); }

QWidget* ChildMnemonics::ControlFor(const QWidget& window, const QKeyEvent& key) {
  if (!IsMnemonicKey(key)) return nullptr;
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (Live(*control, window) && HasMnemonic(*control, key)) return control;
  }
  return nullptr;
}

void ChildMnemonics::Activate(QWidget& control, const QKeyEvent& key) {
  if (auto* label = qobject_cast<QLabel*>(&control)) return Press(*label->buddy());
  if (auto* bar = qobject_cast<QTabBar*>(&control)) return bar->setCurrentIndex(TabFor(*bar, key));
  if (auto* box = qobject_cast<QGroupBox*>(&control)) {
    if (box->isCheckable()) return box->setChecked(!box->isChecked());
    for (QWidget* inside : box->findChildren<QWidget*>()) {
      if (inside->isEnabled() && inside->isVisible() && (inside->focusPolicy() & Qt::TabFocus) != 0) {
        return inside->setFocus(Qt::ShortcutFocusReason);
      }
    }
    return;
  }
  Press(control);
}

QWidget* ChildMnemonics::FocusedChild() const {
  QMdiSubWindow* active = area_.activeSubWindow();
  QWidget* focus = QApplication::focusWidget();
  if (active == nullptr || active->widget() == nullptr || focus == nullptr) return nullptr;
  return active->isAncestorOf(focus) ? active->widget() : nullptr;
}

// Accepting the override keeps the key from the shortcuts, the menu bar's among them, and sends it to
// the focused control as a key press, where it is turned into the child's own mnemonic.
bool ChildMnemonics::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) {
    return QObject::eventFilter(watched, event);
  }
  auto* key = static_cast<QKeyEvent*>(event);
  if (event->type() == QEvent::KeyPress) {
    if (claimed_.isNull() || !IsMnemonicKey(*key)) return false;
    QPointer<QWidget> control = claimed_;
    claimed_.clear();
    if (!control.isNull() && HasMnemonic(*control, *key)) Activate(*control, *key);
    return true;
  }
  QWidget* window = FocusedChild();
  QWidget* control = window != nullptr ? ControlFor(*window, *key) : nullptr;
  claimed_ = control;
  if (control == nullptr) return false;
  key->accept();
  return true;
}

}  // namespace quendrel
