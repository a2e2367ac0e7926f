#include "comms/server/DrivePdu.h"

#include <algorithm>
#include <cmath>

#include "comms/server/DriveFlashCommand.h"
#include "foundation/text/BitText.h"
#include "foundation/text/FixedPoint.h"

namespace quendrel {

namespace {

// Modbus's function for device identification and other encapsulated interfaces; the drive uses the
// same code for a flash function of its own.
constexpr std::uint8_t kModbusEncapsulatedInterface = 0x2B;

std::uint8_t Byte(std::string_view data, std::size_t at) { return static_cast<std::uint8_t>(data[at]); }

std::uint16_t Word(std::string_view data, std::size_t at) {
  return static_cast<std::uint16_t>((Byte(data, at) << 8) | Byte(data, at + 1));
}

void AppendWord(std::string& out, std::uint16_t word) {
  out.push_back(static_cast<char>(word >> 8));
  out.push_back(static_cast<char>(word & 0xFF));
}

bool IsWriteValueCode(std::uint8_t function) {
  return function == dfcWriteValue || function == kModernFunctionOffset + dfcWriteValue;
}

int ServiceCode(DriveService service) {
  switch (service) {
    case DriveService::ReadPAD:
      return dfcReadPAD;
    case DriveService::Ping:
    case DriveService::ReadValue:
      return dfcReadValue;
    case DriveService::ReadName:
    case DriveService::ReadDVD:
      return dfcReadName;
    case DriveService::WriteDVD:
      return dfcWriteDVD;
    case DriveService::WriteValue:
      return dfcWriteValue;
    case DriveService::Raw:
      break;
  }
  return 0;
}

bool SameMenuAndParameter(const DriveRequest& request, std::string_view data) {
  return Byte(data, 0) == request.menu && Byte(data, 1) == request.pram;
}

// Reads "length, text" at the given offset; the text must end exactly where the data does.
bool TakeLengthPrefixedText(std::string_view data, std::size_t at, std::string& text) {
  if (data.size() <= at || data.size() != at + 1 + Byte(data, at)) return false;
  text.assign(data.substr(at + 1));
  return true;
}

}  // namespace

std::uint8_t DrivePdu::FunctionCode(const DriveRequest& request) {
  if (request.service == DriveService::Raw && (!request.rawService || request.legacy)) return request.rawFunction;
  if (request.service == DriveService::Raw) return static_cast<std::uint8_t>(kModernFunctionOffset + request.rawFunction);
  const int code = ServiceCode(request.service);
  return static_cast<std::uint8_t>(request.legacy ? code : kModernFunctionOffset + code);
}

std::optional<std::string> DrivePdu::Encode(const DriveRequest& request) {
  std::string pdu(1, static_cast<char>(FunctionCode(request)));
  if (request.service == DriveService::Raw) {
    pdu += request.text;
    if (pdu.size() > kMaxPduLength) return std::nullopt;
    return pdu;
  }
  pdu.push_back(static_cast<char>(request.menu));
  pdu.push_back(static_cast<char>(request.pram));
  switch (request.service) {
    case DriveService::ReadDVD:
      AppendWord(pdu, static_cast<std::uint16_t>(request.index));
      break;
    case DriveService::WriteDVD:
      AppendWord(pdu, static_cast<std::uint16_t>(request.index));
      if (request.text.size() > 255) return std::nullopt;
      pdu.push_back(static_cast<char>(request.text.size()));
      pdu += request.text;
      break;
    case DriveService::WriteValue:
      AppendWord(pdu, static_cast<std::uint16_t>(request.value));
      break;
    default:
      break;
  }
  if (pdu.size() > kMaxPduLength) return std::nullopt;
  return pdu;
}

bool DrivePdu::HasReplyLayout(const DriveRequest& request) {
  return request.service != DriveService::Raw || request.countedReply ||
         IsDriveFunction(FunctionCode(request), request.legacy);
}

// Codes 2-6 are the parameter services only to a drive on the legacy codes; anywhere else they are
// the standard Modbus reads and single writes, whose replies a gateway or third-party device lays out
// its own way (write single coil echoes the request, with no count byte). Code 43 is the drive's
// flash sector query only when sent through its template; raw, it is Modbus's encapsulated interface
// transport (read device identification), whose reply has no count byte either.
bool DrivePdu::IsDriveFunction(std::uint8_t function, bool legacy) {
  const bool modernService = function >= kModernFunctionOffset + dfcReadPAD &&
                             function <= kModernFunctionOffset + dfcWriteValue;
  const bool legacyService = legacy && function >= dfcReadPAD && function <= dfcWriteValue;
  const bool flash = function == dfcFlashProgrammingMessage ||
                     (function >= dfcReadManufacturerID && function <= dfcProcessorReset &&
                      function != kModbusEncapsulatedInterface);
  return modernService || legacyService || flash || function == kDriveEibFunction;
}

std::optional<std::size_t> DrivePdu::ReplyLength(std::string_view replyStart) {
  if (replyStart.empty()) return std::nullopt;
  const std::uint8_t function = Byte(replyStart, 0);
  if (function & kExceptionFlag) return 2;
  // A write is acknowledged by echoing its four data bytes, the one reply without a count byte.
  if (IsWriteValueCode(function)) return 5;
  if (replyStart.size() < 2) return std::nullopt;
  return 2 + static_cast<std::size_t>(Byte(replyStart, 1));
}

DrivePdu::Verdict DrivePdu::Decode(const DriveRequest& request, std::string_view reply,
                                   udtDriveResponse& response) {
  const std::uint8_t function = FunctionCode(request);
  if (reply.empty()) return Verdict::Invalid;
  const std::uint8_t replied = Byte(reply, 0);
  response.function = replied;
  response.Menu = request.menu;
  response.Pram = request.pram;
  if (replied == (function | kExceptionFlag)) {
    if (reply.size() != 2) return Verdict::Invalid;
    response.Error = true;
    response.intData = Byte(reply, 1);
    return Verdict::Accept;
  }
  if (replied != function) return Verdict::Invalid;
  if (!HasReplyLayout(request)) return DecodeUnlaidOut(reply.substr(1), response);
  if (IsWriteValueCode(function)) return DecodeEcho(request, reply.substr(1), response);
  if (reply.size() < 2 || reply.size() != 2 + static_cast<std::size_t>(Byte(reply, 1)))
    return Verdict::Invalid;
  response.byteCount = Byte(reply, 1);
  return DecodeCounted(request, reply.substr(2), response);
}

DrivePdu::Verdict DrivePdu::DecodeUnlaidOut(std::string_view data, udtDriveResponse& response) {
  response.byteCount = static_cast<std::uint8_t>(std::min<std::size_t>(data.size(), 255));
  response.strData.assign(data);
  return Verdict::Accept;
}

DrivePdu::Verdict DrivePdu::DecodeEcho(const DriveRequest& request, std::string_view data,
                                       udtDriveResponse& response) {
  if (data.size() != 4) return Verdict::Invalid;
  response.byteCount = 4;
  if (request.service == DriveService::Raw) {
    response.strData.assign(data);
    return Verdict::Accept;
  }
  if (!SameMenuAndParameter(request, data) || Word(data, 2) != static_cast<std::uint16_t>(request.value)) {
    return Verdict::Stale;
  }
  response.intData = static_cast<std::int16_t>(Word(data, 2));
  response.sglData = response.intData;
  return Verdict::Accept;
}

DrivePdu::Verdict DrivePdu::DecodeCounted(const DriveRequest& request, std::string_view data,
                                          udtDriveResponse& response) {
  if (request.service == DriveService::Raw) {
    response.strData.assign(data);
    return Verdict::Accept;
  }
  if (data.size() < 2) return Verdict::Invalid;
  if (!SameMenuAndParameter(request, data)) return Verdict::Stale;
  switch (request.service) {
    case DriveService::ReadPAD: {
      if (data.size() != 4) return Verdict::Invalid;
      const std::uint16_t pad = Word(data, 2);
      response.intData = static_cast<std::int16_t>(pad);
      response.extraData = pad;
      response.strData = LongToBinaryString(pad, false);
      return Verdict::Accept;
    }
    case DriveService::Ping:
    case DriveService::ReadValue: {
      if (data.size() < 7 || !TakeLengthPrefixedText(data, 6, response.strData)) return Verdict::Invalid;
      const std::uint16_t pad = Word(data, 4);
      const int places = DecimalPlacesFromFlags(LongToBinaryString(pad, false));
      response.intData = static_cast<std::int16_t>(Word(data, 2));
      response.sglData = static_cast<float>(response.intData / std::pow(10.0, places));
      response.extraData = pad;
      return Verdict::Accept;
    }
    case DriveService::ReadName:
    case DriveService::ReadDVD:
      return TakeLengthPrefixedText(data, 2, response.strData) ? Verdict::Accept : Verdict::Invalid;
    case DriveService::WriteDVD:
      if (data.size() != 4) return Verdict::Invalid;
      if (Word(data, 2) != static_cast<std::uint16_t>(request.index)) return Verdict::Stale;
      response.intData = static_cast<std::int16_t>(Word(data, 2));
      return Verdict::Accept;
    default:
      return Verdict::Invalid;
  }
}

}  // namespace quendrel
