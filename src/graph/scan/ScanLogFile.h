// The scan log on disk: a file opened for appending, each line handed to the system in one write
// with its CR LF, so a line is on disk whole as soon as it is written, and nothing is held back.
#pragma once

#include <string>
#include <string_view>

namespace quendrel {

class ScanLogFile {
 public:
  ScanLogFile() = default;
  ~ScanLogFile();
  ScanLogFile(const ScanLogFile&) = delete;
  ScanLogFile& operator=(const ScanLogFile&) = delete;

  // Opens the file named by the path's bytes for appending, creating it when missing; any file open
  // before is closed first. False, with nothing open, when it cannot be opened or is no regular file
  // (a folder, a device or a pipe would block or swallow the log).
  bool Open(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  // Appends text and CR LF. False when the line could not be written whole; the file is then closed
  // and forgotten, so the lines after it go nowhere.
  bool WriteLine(std::string_view text);
  void Close();

 private:
  int fd_ = -1;
};

}  // namespace quendrel
