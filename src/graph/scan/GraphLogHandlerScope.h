// Brackets every handler of the scan window's core: keeps the core alive while the handler runs (a
// box or an upload spins the message loop, in which the window may be closed), and carries out a
// close asked for meanwhile once the outermost handler has returned.
#pragma once

#include <memory>

#include "graph/scan/GraphLogSession.h"

namespace quendrel {

class GraphLogSession::HandlerScope {
 public:
  explicit HandlerScope(GraphLogSession& session)
      : session_(session), keepAlive_(session.weak_from_this().lock()) {
    ++session_.running_;
  }
  ~HandlerScope() {
    if (--session_.running_ != 0 || !session_.closeRequested_ || session_.unloaded_) return;
    session_.closeRequested_ = false;
    session_.view_.CloseNow();
  }
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;

  // The window is closing: what the handler had still to do is moot.
  bool Stale() const { return session_.unloaded_ || session_.closeRequested_; }

 private:
  GraphLogSession& session_;
  std::shared_ptr<GraphLogSession> keepAlive_;
};

}  // namespace quendrel
