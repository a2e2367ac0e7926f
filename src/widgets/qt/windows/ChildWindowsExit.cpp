#include "widgets/qt/windows/ChildWindowsExit.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QVariant>

namespace quendrel {

namespace {

// Kept on the window itself, so that every window closing through Decide takes part without knowing
// who asks.
constexpr char kAsking[] = "quendrelCloseAsking";
constexpr char kAgreed[] = "quendrelCloseAgreed";

bool Flag(const QWidget& window, const char* name) { return window.property(name).toBool(); }

void SetFlag(QWidget& window, const char* name, bool on) { window.setProperty(name, on ? QVariant(true) : QVariant()); }

}  // namespace

bool ChildWindowsExit::CloseAll(QMdiArea& area) {
  // A question box lets events through, and a window may go meanwhile.
  QList<QPointer<QWidget>> asked;
  for (QMdiSubWindow* child : area.subWindowList(QMdiArea::CreationOrder)) {
    asked << (child->widget() != nullptr ? child->widget() : child);
  }
  const auto forgetAll = [&asked] {
    for (const QPointer<QWidget>& window : asked) {
      if (!window.isNull()) Forget(*window);
    }
  };
  for (const QPointer<QWidget>& window : asked) {
    if (!window.isNull() && !Ask(*window)) {
      forgetAll();
      return false;
    }
  }
  area.closeAllSubWindows();
  // A window that still refused at its close stays open, and it and the others left open ask again
  // next time.
  forgetAll();
  return area.subWindowList().isEmpty();
}

bool ChildWindowsExit::Ask(QWidget& window) {
  if (Flag(window, kAgreed)) return true;
  // Sent to the window's own handler only: the frame around it must not take this for a real close.
  QCloseEvent query;
  SetFlag(window, kAsking, true);
  static_cast<QObject&>(window).event(&query);
  SetFlag(window, kAsking, false);
  SetFlag(window, kAgreed, query.isAccepted());
  return query.isAccepted();
}

void ChildWindowsExit::Forget(QWidget& window) { SetFlag(window, kAgreed, false); }

bool ChildWindowsExit::Asking(const QWidget& window) { return Flag(window, kAsking); }

bool ChildWindowsExit::Agreed(const QWidget& window) { return Flag(window, kAgreed); }

}  // namespace quendrel
