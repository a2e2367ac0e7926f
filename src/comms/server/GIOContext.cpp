#include "comms/server/GIOContext.h"

#include <algorithm>

#include "comms/modules/SerialFrameCodec.h"
#include "comms/server/CommSettings.h"
#include "comms/server/GIOError.h"
#include "comms/server/GIOServer.h"

namespace quendrel {

namespace {

bool IsError(const udtDriveResponse& response, int code) {
  return response.Error && response.intData == code;
}

}  // namespace

GIOContext::GIOContext(GIOServer& server, std::uint8_t address, float timeout)
    : server_(server), address_(address), timeout_(timeout) {}

GIOContext::~GIOContext() { CloseContext(); }

void GIOContext::CloseContext() {
  if (closed_) return;
  closed_ = true;
  server_.Release(this);
}

DriveRequest GIOContext::Request(DriveService service, std::uint8_t menu, std::uint8_t pram) const {
  DriveRequest request;
  request.service = service;
  request.address = address_;
  request.legacy = legacy_;
  request.menu = menu;
  request.pram = pram;
  return request;
}

udtDriveResponse GIOContext::SendOnce(const DriveRequest& request) {
  if (closed_) return SerialFrameCodec::Unsent(request, gioNoModule);
  return server_.Exchange(this, request, timeout_, failsoft_);
}

udtDriveResponse GIOContext::RunService(DriveRequest request) {
  const int attempts = failsoft_ ? 1 : std::max(1, CommSettings::Retries("General"));
  int used = 0;
  while (true) {
    request.legacy = legacy_;
    udtDriveResponse response = SendOnce(request);
    ++used;
    if (IsError(response, gioInvalidFunction) && !legacy_) {
      legacy_ = true;
      // The switch always gets its own send, even past the count: a window that opens a fresh context
      // per edit would otherwise never reach a legacy drive with Retries at 0 or 1.
      if (failsoft_) return response;
      continue;
    }
    if (IsError(response, gioInvalidPacket) && used < attempts) continue;
    return response;
  }
}

void GIOContext::CheckLegacy() {
  DriveRequest request = Request(DriveService::ReadValue, 0, 0);
  request.legacy = false;
  const udtDriveResponse response = SendOnce(request);
  if (!response.Error) legacy_ = false;
  if (IsError(response, gioInvalidFunction)) legacy_ = true;
}

udtDriveResponse GIOContext::Ping() {
  udtDriveResponse response = SendOnce(Request(DriveService::Ping, 0, 0));
  // A drive that rejects the read has still answered; only a gateway speaks for an absent drive.
  const bool driveAnswered = !response.rawreply.empty() && !IsError(response, gioGatewayPathUnavailable) &&
                             !IsError(response, gioSlaveNotResponding) && !IsError(response, gioTimeout) &&
                             !IsError(response, gioInvalidPacket);
  if (response.Error && driveAnswered) {
    response.Error = false;
    response.intData = 0;
  }
  return response;
}

udtDriveResponse GIOContext::ReadValue(std::uint8_t menu, std::uint8_t pram) {
  return RunService(Request(DriveService::ReadValue, menu, pram));
}

udtDriveResponse GIOContext::WriteValue(std::uint8_t menu, std::uint8_t pram, std::int16_t value) {
  DriveRequest request = Request(DriveService::WriteValue, menu, pram);
  request.value = value;
  return RunService(request);
}

udtDriveResponse GIOContext::ReadName(std::uint8_t menu, std::uint8_t pram) {
  return RunService(Request(DriveService::ReadName, menu, pram));
}

udtDriveResponse GIOContext::ReadPAD(std::uint8_t menu, std::uint8_t pram) {
  return RunService(Request(DriveService::ReadPAD, menu, pram));
}

udtDriveResponse GIOContext::ReadDVD(std::uint8_t menu, std::uint8_t pram, std::int16_t index) {
  DriveRequest request = Request(DriveService::ReadDVD, menu, pram);
  request.index = index;
  return RunService(request);
}

udtDriveResponse GIOContext::WriteDVD(std::uint8_t menu, std::uint8_t pram, std::int16_t index,
                                      const std::string& text) {
  DriveRequest request = Request(DriveService::WriteDVD, menu, pram);
  request.index = index;
  request.text = text;
  return RunService(request);
}

DriveRequest GIOContext::RawRequest(std::uint8_t code, const std::string& payload) const {
  DriveRequest request = Request(DriveService::Raw, 0, 0);
  request.rawFunction = code;
  request.text = payload;
  return request;
}

udtDriveResponse GIOContext::ServiceQuery(std::uint8_t serviceCode, const std::string& payload) {
  DriveRequest request = RawRequest(serviceCode, payload);
  request.rawService = true;
  return RunService(request);
}

udtDriveResponse GIOContext::RawQuery(std::uint8_t FuncCode, const std::string& strRequest) {
  return SendOnce(RawRequest(FuncCode, strRequest));
}

udtDriveResponse GIOContext::FunctionQuery(std::uint8_t code, const std::string& payload) {
  DriveRequest request = RawRequest(code, payload);
  request.countedReply = true;
  return SendOnce(request);
}

}  // namespace quendrel
