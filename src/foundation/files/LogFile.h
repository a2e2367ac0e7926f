// A log on disk: a file opened for appending, each line handed to the system in one write with its
// CR LF, so a line is on disk whole as soon as it is written, and nothing is held back. Every log the
// program writes is opened here, so none can wait for a pipe's reader or pour into a device.
#pragma once

#include <string>
#include <string_view>

namespace quendrel {

class LogFile {
 public:
  LogFile() = default;
  ~LogFile();
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;

  // Opens the file named by the path's bytes for appending, creating it when missing; any file open
  // before is closed first. False, with nothing open and Reason() saying why, when it cannot be
  // opened or is no regular file (a folder, a device or a pipe would block or swallow the log).
  bool Open(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  // Why the last Open failed ("it is a pipe, not a file").
  const std::string& Reason() const { return reason_; }
  // The file's name and the reason, as the sentence a box shows after its own words
  // ("/tmp/run.log: it is a pipe, not a file.").
  std::string Refusal() const;
  // Appends text and CR LF. False when the line could not be written whole; the file is then closed
  // and forgotten, so the lines after it go nowhere.
  bool WriteLine(std::string_view text);
  void Close();

 private:
  bool Refuse(std::string reason);

  int fd_ = -1;
  std::string path_;
  std::string reason_;
};

}  // namespace quendrel
