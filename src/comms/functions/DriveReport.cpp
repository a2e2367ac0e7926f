#include "comms/functions/DriveReport.h"

#include "foundation/text/BitText.h"

namespace quendrel {

namespace {

// Control characters (a raw CR or LF would split the report's lines) show as a blank.
bool Printable(std::uint8_t byte) { return (byte >= 0x20 && byte < 0x7F) || byte >= 0xA0; }

}  // namespace

void DriveReport::Line(std::string_view text) {
  text_ += text;
  text_ += "\r\n";
}

void DriveReport::Item(std::string_view caption, std::string_view value) {
  text_ += caption;
  text_ += ": ";
  text_ += value;
  text_ += "\r\n";
}

void DriveReport::RequestHeading() {
  Line("Request");
  Line("=======");
}

void DriveReport::ReplyHeading() {
  Line("Reply");
  Line("=====");
}

std::string DriveReport::ByteLine(std::uint8_t byte) {
  const char shown = Printable(byte) ? static_cast<char>(byte) : ' ';
  return "   [" + FormatHex(byte, 2, "0") + "] '" + std::string(1, shown) + "'";
}

void DriveReport::RawRequest(int address, std::string_view rawreq) {
  Line("Drive " + std::to_string(address));
  if (rawreq.size() >= 2) Line("Function " + std::to_string(static_cast<std::uint8_t>(rawreq[1])));
  // Address and function byte first, the two checksum bytes last.
  for (std::size_t i = 2; i + 2 < rawreq.size(); ++i) Line(ByteLine(static_cast<std::uint8_t>(rawreq[i])));
  Line("");
}

void DriveReport::Outcome(const udtDriveResponse& response) {
  Line(response.Error ? "Error " + std::to_string(response.intData) : "Success");
}

std::string DriveReport::ExchangeReport(const std::string& label, int address, const udtDriveResponse& response,
                                        bool showRequest, bool showRaw) {
  DriveReport report;
  report.RequestHeading();
  if (showRequest && showRaw) report.RawRequest(address, response.rawreq);
  if (showRequest && !showRaw) {
    report.Line(label + std::to_string(address));
    report.Line("");
  }
  report.ReplyHeading();
  report.Outcome(response);
  return report.Text();
}

}  // namespace quendrel
