// Why a file operation failed, in words a message box can show after the file's name.
#pragma once

#include <sys/types.h>

#include <string>

namespace quendrel {

// The reason for a system error number ("access was denied", "the disk is full"); the system's own
// text for the rarer ones.
std::string FileErrorText(int error);

// Empty for a regular file; for anything else a name can stand for, why it is no file to read or
// write ("it is a folder", "it is a pipe, not a file").
std::string FileKindReason(mode_t mode);

}  // namespace quendrel
