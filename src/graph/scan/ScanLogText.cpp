#include "graph/scan/ScanLogText.h"

#include "foundation/DateText.h"
#include "foundation/NumberText.h"

namespace quendrel {

std::string ScanLogOpenMark(double seconds) {
  return "*** Log Opened: " + FormatTimestamp(seconds, true, false) + " ***";
}

std::string ScanLogCloseMark(double seconds) {
  return "*** Log Closed: " + FormatTimestamp(seconds, true, false) + " ***";
}

std::string ScanLogReason(const std::string& reason) { return "*** (" + reason + ") ***"; }

std::string ScanLogHeader(const SeriesCollection& series) {
  std::string line = "\t";
  for (const auto& s : series) {
    if (s->Logged()) line += "\t" + s->Name();
  }
  return line;
}

std::string ScanLogValueCell(float value) { return SingleToText(value) + "\t"; }

std::string ScanLogErrorCell(std::int32_t code) { return "ERR " + std::to_string(code) + "\t"; }

std::string ScanLogDataLine(double seconds, const std::string& cells) {
  return FormatTimestamp(seconds, true, true) + "\t" + cells;
}

}  // namespace quendrel
