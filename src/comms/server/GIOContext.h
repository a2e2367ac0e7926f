// One connection to one drive: carries out drive operations on the selected module with the retry,
// legacy-code and failsoft policy every window relies on.
#pragma once

#include <cstdint>
#include <string>

#include "comms/server/DriveRequest.h"
#include "comms/server/udtDriveResponse.h"

namespace quendrel {

class GIOServer;

class GIOContext {
 public:
  // Use GIOServer::OpenContext; the server must outlive the context.
  GIOContext(GIOServer& server, std::uint8_t address, float timeout);
  ~GIOContext();
  GIOContext(const GIOContext&) = delete;
  GIOContext& operator=(const GIOContext&) = delete;

  std::uint8_t Address() const { return address_; }
  void SetAddress(std::uint8_t address) { address_ = address; }
  // Seconds; -1 is the module's configured timeout, 0 sends without waiting for the reply.
  float Timeout() const { return timeout_; }
  void SetTimeout(float timeout) { timeout_ = timeout; }
  // One send in total per operation, whatever the retry settings say.
  bool Failsoft() const { return failsoft_; }
  void SetFailsoft(bool failsoft) { failsoft_ = failsoft; }
  // The drive speaks the bare legacy function codes.
  bool Legacy() const { return legacy_; }
  void SetLegacy(bool legacy) { legacy_ = legacy; }

  // Asks the drive in current codes: an answer clears Legacy, "Invalid Function" sets it.
  void CheckLegacy();
  // Afterwards every operation fails with code 51 and sends nothing; lets go of a reservation.
  void CloseContext();
  bool IsClosed() const { return closed_; }

  // Whether a drive answers at the address: any reply but a gateway's counts. driveID = who answered.
  udtDriveResponse Ping();
  udtDriveResponse ReadValue(std::uint8_t menu, std::uint8_t pram);
  udtDriveResponse WriteValue(std::uint8_t menu, std::uint8_t pram, std::int16_t value);
  udtDriveResponse ReadName(std::uint8_t menu, std::uint8_t pram);
  udtDriveResponse ReadPAD(std::uint8_t menu, std::uint8_t pram);
  udtDriveResponse ReadDVD(std::uint8_t menu, std::uint8_t pram, std::int16_t index);
  udtDriveResponse WriteDVD(std::uint8_t menu, std::uint8_t pram, std::int16_t index,
                            const std::string& text);
  // Sends the function byte as given with the payload, with no retry or legacy step.
  udtDriveResponse RawQuery(std::uint8_t FuncCode, const std::string& strRequest);
  // Like RawQuery, for a function a template defines: its reply has the drive's counted layout
  // whatever the code.
  udtDriveResponse FunctionQuery(std::uint8_t code, const std::string& payload);
  // A parameter service (legacy code 2-6) with a payload built elsewhere, under the code set the
  // drive speaks and with the same retry and legacy policy as the typed services; the reply data
  // comes back raw in strData.
  udtDriveResponse ServiceQuery(std::uint8_t serviceCode, const std::string& payload);

 private:
  DriveRequest Request(DriveService service, std::uint8_t menu, std::uint8_t pram) const;
  DriveRequest RawRequest(std::uint8_t code, const std::string& payload) const;
  udtDriveResponse RunService(DriveRequest request);
  udtDriveResponse SendOnce(const DriveRequest& request);

  GIOServer& server_;
  std::uint8_t address_;
  float timeout_;
  bool failsoft_ = false;
  bool legacy_ = false;
  bool closed_ = false;
};

}  // namespace quendrel
