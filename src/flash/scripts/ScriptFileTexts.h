// The words every script load uses for a file on disk it cannot take, so that a script, a package and
// a file of no script kind are refused alike: the file's path, then what is wrong with it.
#pragma once

#include <string>

namespace quendrel {

// "File Not Found: <path>": the name stands for nothing on disk.
std::string FileNotFoundText(const std::string& path);
// "Path/File access error: <path>: <reason>": something is there that cannot be read as a file
// ("it is a folder", "it is a pipe, not a file", "access was denied").
std::string FileAccessText(const std::string& path, const std::string& reason);

}  // namespace quendrel
