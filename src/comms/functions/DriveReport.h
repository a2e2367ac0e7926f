// Writes the report of one drive exchange as the drive test window shows it: "Request", the request
// as items or raw bytes, "Reply", then the decoded reply or the error; every line ends with CR LF.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "comms/server/udtDriveResponse.h"

namespace quendrel {

class DriveReport {
 public:
  void Line(std::string_view text);
  // "caption: value", the line of one request or reply item.
  void Item(std::string_view caption, std::string_view value);
  // "Request" and "=======".
  void RequestHeading();
  // "Drive " and the address, "Function " and the function byte, then one line per data byte
  // between the function byte and the checksum, then an empty line.
  void RawRequest(int address, std::string_view rawreq);
  // "Reply" and "=====".
  void ReplyHeading();
  // "Error " and the code, or "Success".
  void Outcome(const udtDriveResponse& response);
  const std::string& Text() const { return text_; }
  // The other report's lines after these.
  void Append(const DriveReport& other) { text_ += other.text_; }

  // The report of a fixed sequence of the drive test window (unlock, force flash mode) for its last
  // exchange: with showRequest and without showRaw the label and the address stand for the request.
  static std::string ExchangeReport(const std::string& label, int address, const udtDriveResponse& response,
                                    bool showRequest, bool showRaw);

  // "   [0xHH] 'c'"; a blank stands for a character that would break the report or not show.
  static std::string ByteLine(std::uint8_t byte);

 private:
  std::string text_;
};

}  // namespace quendrel
