#include "graph/scan/ScanLogCells.h"

#include "graph/scan/ScanLogText.h"

namespace quendrel {

ScanLogCells::ScanLogCells(std::size_t expected) { values_.reserve(expected); }

void ScanLogCells::AddValue(float value) { values_.push_back(value); }

void ScanLogCells::AddError(std::int32_t code) {
  FormatValues();
  text_ += ScanLogErrorCell(code);
}

const std::string& ScanLogCells::Text() {
  FormatValues();
  return text_;
}

void ScanLogCells::FormatValues() {
  for (const float value : values_) text_ += ScanLogValueCell(value);
  values_.clear();
}

}  // namespace quendrel
