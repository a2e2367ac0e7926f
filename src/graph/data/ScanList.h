// The program's one scan list, made at start-up with the program folder it saves into.
#pragma once

#include <string>

#include "graph/data/PLF.h"

namespace quendrel {

// A fresh, empty list replacing any before it.
void CreateScanList(const std::string& programFolder);
// The list CreateScanList made; an empty one saving into the current directory before that.
PLF& ScanList();

}  // namespace quendrel
