#include "flash/builtins/CallConnection.h"

#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "flash/scripts/IFlashCommandFile.h"

namespace quendrel {

CallConnection::CallConnection(const IFlashCommandFile& ffile) : context_(ffile.Context()) {
  if (context_) return;
  GIOServer* server = ffile.Environment().commServer;
  if (server != nullptr) context_ = server->OpenContext(ffile.Address(), ffile.Timeout());
}

}  // namespace quendrel
