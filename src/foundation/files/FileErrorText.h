// Why a file operation failed, in words a message box can show after the file's name.
#pragma once

#include <string>

namespace quendrel {

// The reason for a system error number ("access was denied", "the disk is full"); the system's own
// text for the rarer ones.
std::string FileErrorText(int error);

}  // namespace quendrel
