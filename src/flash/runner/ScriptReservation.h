// Keeps every other context's frames off the line while one script's context runs a flash loader
// session: the module stays reserved for the context held until the holder lets go or ends.
#pragma once

#include <memory>

namespace quendrel {

class GIOContext;
class GIOServer;

class ScriptReservation {
 public:
  explicit ScriptReservation(GIOServer& server) : server_(server) {}
  ~ScriptReservation() { Release(); }
  ScriptReservation(const ScriptReservation&) = delete;
  ScriptReservation& operator=(const ScriptReservation&) = delete;

  // Lets go of the context held before, then reserves the module for this one. False while another
  // context holds the module; the context is kept all the same, so Release stays the one way out.
  bool Hold(std::shared_ptr<GIOContext> context);
  // The module is free again; the context itself stays open for whoever still uses it.
  void Release();
  const std::shared_ptr<GIOContext>& Context() const { return context_; }

 private:
  GIOServer& server_;
  std::shared_ptr<GIOContext> context_;
};

}  // namespace quendrel
