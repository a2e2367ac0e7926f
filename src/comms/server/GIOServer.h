// The module registry: picks the transport every context talks through, hands out contexts, keeps
// the response-time average and passes raw bytes to the selected module for the flash loader.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "comms/modules/GIOModule.h"
#include "comms/server/DriveRequest.h"
#include "comms/server/RoundTripAverage.h"
#include "comms/server/udtDriveResponse.h"

namespace quendrel {

class Clock;
class GIOContext;

class GIOServer {
 public:
  // "None" is always registered and selected until something else is.
  explicit GIOServer(Clock& clock);
  ~GIOServer();
  GIOServer(const GIOServer&) = delete;
  GIOServer& operator=(const GIOServer&) = delete;

  // Replaces a module of the same name. Returns the registered module.
  GIOModule& RegisterModule(std::unique_ptr<GIOModule> module);
  // nullptr when no module has that name (case ignored).
  GIOModule* Module(const std::string& name) const;

  // Program start: starts every module, then selects the one named by [General] GIOTarget.
  void Startup();
  // Program exit: shuts every module down.
  void Shutdown();

  // Stops the current module, selects the named one ("None" for an unknown name), stores the name as
  // [General] GIOTarget and starts it.
  void SelectModule(const std::string& name);
  std::string SelectedModule() const;
  GIOModule& Selected() const { return *selected_; }

  // A context for the drive at the address; timeout -1 is the module's configured timeout, 0 sends
  // without waiting. Opening does not talk to the drive.
  std::shared_ptr<GIOContext> OpenContext(std::uint8_t address, float timeout);

  // While one context holds the module, every other context's operations fail with Error 6 and send
  // nothing: a frame dropped into a flash loader session would corrupt the firmware transfer.
  bool Reserve(const GIOContext* owner);
  void Release(const GIOContext* owner);
  bool IsReservedFor(const GIOContext* other) const;

  // Whether the selected module, as set up now, can carry the flash loader's bytes.
  bool HasByteChannel() const { return selected_->HasByteChannel(); }
  // Byte pass-through on the selected module.
  bool WriteByte(std::uint8_t bOut, bool waitForEcho = false);
  // The low 16 bits of iWord, high byte first unless reverseBytes. Both bytes always go; false when
  // either failed.
  bool WriteWord(std::int32_t iWord, bool waitForEcho = false, bool reverseBytes = false);
  // Never blocks; the number of bytes taken (0 or 1).
  int GetByte(std::uint8_t& outByte);
  // A negative timeout waits the module's configured timeout.
  int WaitForByte(std::uint8_t& outByte, double sglTO = -1.0);

  // Seconds, over the last 16 exchanges that got an answer.
  double AverageResponseTime() const { return roundTrips_.Average(); }

  // Every transport failure reaches the windows as 11; this keeps its detail (40-45) so the status
  // bar can say why, until an exchange is answered again or another module is selected. 0 = none.
  int LastTransportError() const { return lastTransportError_; }

  // A context's exchange on the module selected now, its timeout resolved now. A request to address 0
  // fails with gioBroadcastRefused and sends nothing.
  udtDriveResponse Exchange(const GIOContext* from, const DriveRequest& request, double timeout,
                            bool singleSend);

 private:
  Clock& clock_;
  std::vector<std::unique_ptr<GIOModule>> modules_;
  GIOModule* selected_ = nullptr;
  const GIOContext* owner_ = nullptr;
  RoundTripAverage roundTrips_;
  int lastTransportError_ = 0;
};

}  // namespace quendrel
