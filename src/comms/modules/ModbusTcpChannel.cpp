#include "comms/modules/ModbusTcpChannel.h"

#include "comms/modules/ModbusTcpCodec.h"
#include "comms/modules/SerialFrameCodec.h"
#include "comms/server/DrivePdu.h"
#include "platform/Clock.h"

namespace quendrel {

ModbusTcpChannel::Outcome ModbusTcpChannel::ReadMore(double deadline) {
  switch (link_.ReadMore(received_, clock_, deadline)) {
    case ByteLink::Wait::Readable:
      return Outcome::Data;
    case ByteLink::Wait::TimedOut:
      return Outcome::TimedOut;
    case ByteLink::Wait::Failed:
      break;
  }
  return Outcome::LinkFailed;
}

ModbusTcpChannel::Outcome ModbusTcpChannel::ReadReply(const DriveRequest& request, std::uint16_t transaction,
                                                      udtDriveResponse& response, double deadline) {
  while (true) {
    const auto scan = ModbusTcpCodec::ScanAdu(received_);
    if (scan.status == ModbusTcpCodec::Scan::OutOfStep) {
      response.rawreply = received_;
      received_.clear();
      return Outcome::OutOfStep;
    }
    if (scan.status == ModbusTcpCodec::Scan::Complete) {
      bool stale = false;
      const Outcome outcome = TakeUnit(request, transaction, scan.length, response, stale);
      if (!stale) return outcome;
      continue;
    }
    const Outcome outcome = ReadMore(deadline);
    if (outcome != Outcome::Data) {
      if (!received_.empty()) response.rawreply = received_;
      return outcome;
    }
  }
}

ModbusTcpChannel::Outcome ModbusTcpChannel::TakeUnit(const DriveRequest& request, std::uint16_t transaction,
                                                     std::size_t length, udtDriveResponse& response,
                                                     bool& stale) {
  const std::string adu = received_.substr(0, length);
  received_.erase(0, length);
  const ModbusTcpCodec::Header header = ModbusTcpCodec::ReadHeader(adu);
  // The answer to a request that timed out earlier: read, dropped, and the wait goes on.
  stale = header.transaction != transaction;
  if (stale) return Outcome::Data;
  const std::string_view pdu = ModbusTcpCodec::Pdu(adu);
  // Listed as a serial frame, so a raw reply reads the same on every transport.
  response.rawreply = SerialFrameCodec::Frame(header.unit, pdu);
  // Nothing follows our reply until our next request: bytes after it mean its header counted short.
  // Its own end is then unknown, and the rest would be read as the start of the next exchange's reply.
  if (!received_.empty()) {
    response.rawreply = SerialFrameCodec::Frame(header.unit, std::string(pdu) + received_);
    received_.clear();
    return Outcome::Invalid;
  }
  if (header.protocol != 0 || header.unit != request.address) return Outcome::Invalid;
  udtDriveResponse decoded = response;
  const auto verdict = DrivePdu::Decode(request, pdu, decoded);
  stale = verdict == DrivePdu::Verdict::Stale;
  if (stale) return Outcome::Data;
  decoded.driveID = header.unit;
  response = decoded;
  if (verdict == DrivePdu::Verdict::Accept) return Outcome::Data;
  // A PDU that disagrees with its layout under a header that disagrees with it too: bytes already
  // here after our own reply can only be the rest of it, and would read as a header next time.
  received_.clear();
  return Outcome::Invalid;
}

}  // namespace quendrel
