// Where a test puts the pictures people look at: $QUENDREL_TEST_OUTPUT/<area>/<name>, or the
// system's temporary folder when run outside ctest. The folder is made when missing.
#pragma once

#include <string>

namespace quendrel {

std::string TestOutputPath(const std::string& area, const std::string& name);

}  // namespace quendrel
