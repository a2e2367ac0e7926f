#include "flash/runner/ScriptReservation.h"

#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"

namespace quendrel {

bool ScriptReservation::Hold(std::shared_ptr<GIOContext> context) {
  Release();
  context_ = std::move(context);
  return context_ == nullptr || server_.Reserve(context_.get());
}

void ScriptReservation::Release() {
  if (context_ == nullptr) return;
  server_.Release(context_.get());
  context_.reset();
}

}  // namespace quendrel
