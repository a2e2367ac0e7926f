// The parameter table the simulated drive serves when no table file is given.
#pragma once

#include <string>

#include "drivesim/ParameterTable.h"

namespace quendrel {

// The table in the text format of ParameterTable, so it doubles as an example of that format.
const std::string& DefaultParameterTableText();

ParameterTable DefaultParameterTable();

}  // namespace quendrel
