// The lines of the scan log: open and close marks, reasons, the header and the data cells, as the
// log's readers expect them (time stamps mm-dd-yyyy hh:mm:ss.mmm, columns separated by tabs).
#pragma once

#include <cstdint>
#include <string>

#include "graph/data/SeriesCollection.h"

namespace quendrel {

std::string ScanLogOpenMark(double seconds);
std::string ScanLogCloseMark(double seconds);
// "*** (" + reason + ") ***".
std::string ScanLogReason(const std::string& reason);
// Two empty columns for date and time, then the name of every logged series in order.
std::string ScanLogHeader(const SeriesCollection& series);
// One column of a data line, tab included: the value read, or "ERR " and the code of a failed read.
std::string ScanLogValueCell(float value);
std::string ScanLogErrorCell(std::int32_t code);
// The date and time of the sweep, tab-separated, then the cells.
std::string ScanLogDataLine(double seconds, const std::string& cells);

}  // namespace quendrel
