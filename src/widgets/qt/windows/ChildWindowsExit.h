// Closing every child window of an MDI area as one decision: each window is asked first, in window
// order, whether it may close, and only when all have agreed does any of them close. A refusal
// anywhere leaves every window, edit and connection as it was.
#pragma once

class QMdiArea;
class QWidget;

namespace quendrel {

class ChildWindowsExit {
 public:
  // True when every child window of area agreed and has closed.
  static bool CloseAll(QMdiArea& area);

  // Asks window, as its own close would, but leaves it open. An agreement is remembered, so the close
  // that follows does not ask the user again.
  static bool Ask(QWidget& window);
  // The exit that asked was stopped: the window's next close asks afresh.
  static void Forget(QWidget& window);

  // The window's close handler is being asked for its agreement only: it must stay open.
  static bool Asking(const QWidget& window);
  // An exit already has the window's agreement: its close must not ask the user again.
  static bool Agreed(const QWidget& window);
};

}  // namespace quendrel
