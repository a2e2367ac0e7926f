#include "comms/support/FakeModule.h"

#include "comms/modules/SerialFrameCodec.h"
#include "comms/server/DrivePdu.h"
#include "comms/server/GIOError.h"
#include "platform/FakeClock.h"

namespace quendrel {

udtDriveResponse FakeModule::Exchange(const DriveRequest& request, double timeoutSeconds, bool singleSend) {
  sent.push_back({request, timeoutSeconds, singleSend});
  if (clock_ != nullptr) clock_->Advance(secondsPerExchange);
  udtDriveResponse response = SerialFrameCodec::Unsent(request, 0);
  response.Error = false;
  if (answers.empty()) {
    response.Error = true;
    response.intData = gioTimeout;
    return response;
  }
  std::string answer = answers.front();
  answers.pop_front();
  if (!answer.empty() && answer[0] == '!') {
    response.Error = true;
    response.intData = static_cast<std::int16_t>(std::stoi(answer.substr(1)));
    if (response.intData == gioInvalidPacket) response.rawreply = "garbage";
    return response;
  }
  if (answer[0] == '\0')
    answer[0] = static_cast<char>(DrivePdu::FunctionCode(request) | DrivePdu::kExceptionFlag);
  response.rawreply = SerialFrameCodec::Frame(request.address, answer);
  response.driveID = request.address;
  if (DrivePdu::Decode(request, answer, response) != DrivePdu::Verdict::Accept) {
    response.Error = true;
    response.intData = gioInvalidPacket;
  }
  return response;
}

bool FakeModule::WriteByte(std::uint8_t byte, bool waitForEcho) {
  written.push_back(static_cast<char>(byte));
  echoRequests.push_back(waitForEcho);
  return true;
}

bool FakeModule::TakeByte(std::uint8_t& byte, double timeoutSeconds) {
  takeTimeouts.push_back(timeoutSeconds);
  if (incoming.empty()) return false;
  byte = incoming.front();
  incoming.pop_front();
  return true;
}

void FakeModule::AnswerPdu(const std::string& pdu) { answers.push_back(pdu); }

void FakeModule::AnswerError(int code) { answers.push_back("!" + std::to_string(code)); }

void FakeModule::AnswerException(int code) {
  // The function byte is filled in from the request the answer meets.
  answers.push_back(std::string(1, '\0') + static_cast<char>(code));
}

std::string Pdu(std::uint8_t function, std::initializer_list<int> bytes, const std::string& text) {
  std::string pdu(1, static_cast<char>(function));
  for (const int byte : bytes) pdu.push_back(static_cast<char>(byte));
  return pdu + text;
}

}  // namespace quendrel
