#include "graph/support/InProcessDrive.h"

#include <stdexcept>

#include "comms/DrivePdu.h"
#include "comms/GIOError.h"
#include "comms/SerialFrameCodec.h"
#include "drivesim/DefaultParameterTable.h"

namespace quendrel {

namespace {

ParameterTable TableOf(const std::string& text) {
  std::string error;
  auto table = ParameterTable::FromText(text, error);
  if (!table) throw std::runtime_error("bad drive table: " + error);
  return std::move(*table);
}

}  // namespace

InProcessDrive::InProcessDrive() : InProcessDrive(DefaultParameterTableText()) {}

InProcessDrive::InProcessDrive(const std::string& tableText) : responder_(TableOf(tableText)) {}

udtDriveResponse InProcessDrive::Exchange(const DriveRequest& request, double, bool) {
  sent.push_back(request);
  if (onExchange_) onExchange_(request);
  udtDriveResponse response = SerialFrameCodec::Unsent(request, 0);
  const auto fail = [&response](int code) {
    response.Error = true;
    response.intData = static_cast<std::int16_t>(code);
    return response;
  };
  if (silent_ || request.address != kAddress) return fail(gioTimeout);
  if (request.service == DriveService::Ping && !pingFailures_.empty()) {
    const int code = pingFailures_.front();
    pingFailures_.pop_front();
    return fail(code);
  }
  const int n = request.menu * 100 + request.pram;
  auto scripted = failures_.find(n);
  if (request.service == DriveService::ReadValue && scripted != failures_.end() && !scripted->second.empty()) {
    const int code = scripted->second.front();
    scripted->second.pop_front();
    return fail(code);
  }
  const auto pdu = DrivePdu::Encode(request);
  if (!pdu) return fail(gioRequestTooLong);
  const DriveResponder::Outcome outcome =
      responder_.Respond(static_cast<std::uint8_t>((*pdu)[0]), std::string_view(*pdu).substr(1));
  if (!outcome.pdu) return fail(gioTimeout);
  response.Error = false;
  response.rawreply = SerialFrameCodec::Frame(request.address, *outcome.pdu);
  response.driveID = request.address;
  if (DrivePdu::Decode(request, *outcome.pdu, response) != DrivePdu::Verdict::Accept) return fail(gioInvalidPacket);
  return response;
}

void InProcessDrive::FailReads(int n, std::initializer_list<int> codes) {
  failures_[n].insert(failures_[n].end(), codes.begin(), codes.end());
}

int InProcessDrive::Value(int n) {
  const SimParameter* parameter = responder_.Table().Find(n);
  if (parameter == nullptr) throw std::runtime_error("no parameter " + std::to_string(n));
  return parameter->value;
}

void InProcessDrive::SetValue(int n, int raw) {
  SimParameter* parameter = responder_.Table().Find(n);
  if (parameter == nullptr) throw std::runtime_error("no parameter " + std::to_string(n));
  parameter->value = static_cast<std::int16_t>(raw);
}

int InProcessDrive::ReadsOf(int n) const {
  int reads = 0;
  for (const DriveRequest& request : sent) {
    if (request.service == DriveService::ReadValue && request.menu * 100 + request.pram == n) ++reads;
  }
  return reads;
}

std::vector<DriveRequest> InProcessDrive::Writes() const {
  std::vector<DriveRequest> writes;
  for (const DriveRequest& request : sent) {
    if (request.service == DriveService::WriteValue) writes.push_back(request);
  }
  return writes;
}

}  // namespace quendrel
