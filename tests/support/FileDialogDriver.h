// Plays the user's part in Qt's file dialog and the boxes it raises: typing any characters (Cyrillic
// included, which QTest::keyClicks cannot), pressing Save or Open, waiting for a folder's listing,
// and failing on a box nobody expected.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <stdexcept>
#include <string>

namespace quendrel {

// Modal dialogs announced by WhenModalShown and not shown yet.
inline int& AnnouncedModals() {
  static int count = 0;
  return count;
}

// While it lives, a modal dialog the test did not announce fails the test and is closed, so a fault
// that raises an unexpected box ends the test instead of leaving it waiting for an answer.
class UnexpectedModalGuard : public QObject {
 public:
  UnexpectedModalGuard() {
    AnnouncedModals() = 0;
    QApplication::instance()->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (event->type() != QEvent::Show || dialog == nullptr || !dialog->isModal()) return false;
    if (AnnouncedModals() > 0) {
      --AnnouncedModals();
      return false;
    }
    const auto* box = qobject_cast<QMessageBox*>(dialog);
    ADD_FAILURE() << "unexpected dialog \"" << dialog->windowTitle().toStdString() << "\" "
                  << (box != nullptr ? box->text().toStdString() : std::string());
    QTimer::singleShot(0, dialog, &QDialog::reject);
    return false;
  }
};

// Runs action on the modal dialog of the kind expected once its event loop is up; a missing one
// fails the test and closes whatever is up instead.
template <typename Dialog>
void WhenModalShown(std::function<void(Dialog&)> action) {
  ++AnnouncedModals();
  QTimer::singleShot(0, [action = std::move(action)] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      ADD_FAILURE() << "no modal dialog of the expected kind";
      if (QApplication::activeModalWidget() != nullptr) QApplication::activeModalWidget()->close();
      return;
    }
    action(*dialog);
  });
}

// One key event per character, carrying the character as the keyboard's text.
inline void TypeText(QWidget& widget, const QString& text) {
  for (const QChar character : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
    QApplication::sendEvent(&widget, &release);
  }
}

inline QLineEdit& FileNameEdit(QFileDialog& dialog) {
  auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (edit == nullptr) throw std::logic_error("the file dialog has no file name box");
  return *edit;
}

// Types name into the dialog's file name box, replacing what it held.
inline void TypeFileName(QFileDialog& dialog, const QString& name) {
  QLineEdit& edit = FileNameEdit(dialog);
  // The dialog tells typing from a pick in its list by the box's focus.
  QApplication::setActiveWindow(&dialog);
  edit.setFocus();
  edit.clear();
  TypeText(edit, name);
}

// The Save or Open button, as the user clicks it.
inline void PressAccept(QFileDialog& dialog) {
  auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  if (buttons == nullptr) throw std::logic_error("the file dialog has no buttons");
  for (QAbstractButton* button : buttons->buttons()) {
    if (buttons->buttonRole(button) != QDialogButtonBox::AcceptRole) continue;
    button->click();
    return;
  }
  throw std::logic_error("the file dialog has no accept button");
}

// Runs the dialog's events until its list shows count entries of the folder it shows; a list that
// never fills keeps the test waiting, which the test runner's time limit ends.
inline void WaitForListing(QFileDialog& dialog, int count) {
  auto* view = dialog.findChild<QAbstractItemView*>(QStringLiteral("listView"));
  if (view == nullptr) throw std::logic_error("the file dialog has no list");
  while (view->model()->rowCount(view->rootIndex()) < count) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

}  // namespace quendrel
