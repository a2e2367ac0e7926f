// A close asked for while a window's handler still runs on the stack (a transfer that pumps the
// event loop): the window goes once that handler has returned. When the close came from the program's
// exit, which gave up because this window stayed, the exit is asked for again then, so one Exit does;
// that exit closes the window with the others, or keeps it with them when a question is cancelled.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace quendrel {

class DeferredClose final : public QObject {
 public:
  explicit DeferredClose(QWidget* window);

  // Watches the window's top-level for a close; call once the window sits where it will stay.
  void WatchTopLevel();
  // From the window's closeEvent, when it has to stay for now.
  void Defer();
  bool Pending() const { return pending_; }
  // Once the handler has returned: closes the window (its MDI frame when it has one) when its own
  // close was deferred, and asks the top-level to close again when the top-level's was.
  void Complete();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  QPointer<QWidget> topLevel_;
  bool pending_ = false;
  bool topLevelClosing_ = false;
  bool closeWindow_ = false;
  bool resumeTopLevel_ = false;
};

}  // namespace quendrel
