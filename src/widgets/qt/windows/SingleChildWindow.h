// The one modeless child window of a kind in the main window's MDI area: created on first use, brought
// forward afterwards, and closed only when its core agrees.
#pragma once

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <functional>

#include "platform/qt/GuardSlot.h"
#include "widgets/qt/windows/ChildWindowSize.h"
#include "widgets/qt/windows/ChildWindowsExit.h"
#include "widgets/qt/windows/WindowHost.h"

namespace quendrel {

// make() builds the window the first time.
template <typename Window, typename Make>
Window* ShowSingleChild(QPointer<Window>& open, const WindowHost& host, Make make) {
  if (open.isNull()) {
    open = make();
    QMdiSubWindow* child = host.MdiArea->addSubWindow(open);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->setWindowTitle(open->windowTitle());
    child->setWindowIcon(open->windowIcon());
    ChildWindowSize::Open(*child);
  }
  QWidget* frame = open->parentWidget() != nullptr ? open->parentWidget() : open.data();
  frame->show();
  frame->raise();
  if (auto* child = qobject_cast<QMdiSubWindow*>(frame)) host.MdiArea->setActiveSubWindow(child);
  return open;
}

template <typename Window>
Window* ShowSingleChild(QPointer<Window>& open, const WindowHost& host) {
  return ShowSingleChild(open, host, [&host] { return new Window(host); });
}

// What a child window's close handler does. Accepts the close when mayClose agrees (an error in it
// keeps the window open), then runs unload. An exit asks every child window before it closes any:
// asked only for the agreement, the window stays open; once it has agreed, its close does not ask the
// user again.
inline void DecideClose(QWidget& window, QCloseEvent* event, const std::function<bool()>& mayClose,
                        const std::function<void()>& unload) {
  bool allowed = ChildWindowsExit::Agreed(window);
  if (!allowed) GuardSlot([&] { allowed = mayClose(); });
  if (ChildWindowsExit::Asking(window)) return event->setAccepted(allowed);
  if (!allowed) return event->ignore();
  GuardSlot(unload);
  event->accept();
}

}  // namespace quendrel
