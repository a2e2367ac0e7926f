// The graph data file (*.dat): one tab-separated row per whole second holding every series'
// value in that second, for the user's spreadsheet.
#pragma once

#include <string>

#include "foundation/files/ReplaceFile.h"
#include "graph/data/SeriesCollection.h"

namespace quendrel {

class GraphDataFile {
 public:
  // The separator is the user's locale's, so that spreadsheets read the values as numbers.
  explicit GraphDataFile(char decimalSeparator = '.') : decimalSeparator_(decimalSeparator) {}

  // Replaces the file whole or not at all; raises RuntimeError with the reason when it cannot.
  void Save(const std::string& path, const SeriesCollection& series) const;
  // Streams the file's lines to the sink; false when the sink refused a piece.
  bool Write(const SeriesCollection& series, const FileByteSink& sink) const;

 private:
  std::string ValueText(double value) const;

  char decimalSeparator_;
};

}  // namespace quendrel
