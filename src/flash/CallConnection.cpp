#include "flash/CallConnection.h"

#include "comms/GIOContext.h"
#include "comms/GIOServer.h"
#include "flash/IFlashCommandFile.h"

namespace quendrel {

CallConnection::CallConnection(const IFlashCommandFile& ffile) : context_(ffile.Context()) {
  if (context_) return;
  GIOServer* server = ffile.Environment().commServer;
  if (server != nullptr) context_ = server->OpenContext(ffile.Address(), ffile.Timeout());
}

}  // namespace quendrel
