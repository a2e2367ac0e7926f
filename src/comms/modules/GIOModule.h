// A communication module: owns one transport's framing and bytes, while contexts own the policy.
#pragma once

#include <cstdint>
#include <string>

#include "comms/server/DriveRequest.h"
#include "comms/server/udtDriveResponse.h"

namespace quendrel {

class GIOModule {
 public:
  virtual ~GIOModule() = default;

  // The registry name ("Serial", "Ethernet", "None").
  virtual std::string Name() const = 0;
  // Takes the settings; talks to nothing until the first exchange.
  virtual void Startup() = 0;
  // Closes the port or connection.
  virtual void Shutdown() = 0;
  // What a context's timeout of -1 stands for, in seconds, as configured at this moment.
  virtual double ConfiguredTimeout() const = 0;

  // One exchange with the drive. Timeout 0 sends and returns at once without an error. Unless
  // singleSend, the module sends the frame again after a timeout as often as its own settings say.
  // Never throws: every failure comes back in the response.
  virtual udtDriveResponse Exchange(const DriveRequest& request, double timeoutSeconds, bool singleSend) = 0;

  // True when the byte channel below reaches the drive as it is now set up. A transport that carries
  // only framed requests cannot feed the flash loader: a drive sent into its loader over one would be
  // left where nothing can reach it.
  virtual bool HasByteChannel() const { return false; }
  // The byte channel the flash loader is fed through: no framing, no gap. With waitForEcho the byte
  // must come back within the configured timeout.
  virtual bool WriteByte(std::uint8_t byte, bool waitForEcho) = 0;
  // Takes one received byte, waiting up to the timeout for it (0: only what is already there).
  virtual bool TakeByte(std::uint8_t& byte, double timeoutSeconds) = 0;
};

}  // namespace quendrel
