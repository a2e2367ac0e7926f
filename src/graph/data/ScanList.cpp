#include "graph/data/ScanList.h"

#include <memory>

namespace quendrel {

namespace {

std::unique_ptr<PLF>& ScanListSlot() {
  static std::unique_ptr<PLF> list;
  return list;
}

}  // namespace

void CreateScanList(const std::string& programFolder) { ScanListSlot() = std::make_unique<PLF>(programFolder); }

PLF& ScanList() {
  std::unique_ptr<PLF>& list = ScanListSlot();
  if (!list) list = std::make_unique<PLF>();
  return *list;
}

}  // namespace quendrel
