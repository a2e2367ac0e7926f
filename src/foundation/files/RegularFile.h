// Reads a file whose name the user gave: only a regular file is opened, so a folder, a device or a pipe
// nobody writes to is refused at once instead of failing half-way, never ending or blocking the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quendrel {

class RegularFile {
 public:
  // Opens the file for reading; IsOpen() tells whether it could, Reason() why not.
  explicit RegularFile(const std::string& path);
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;
  ~RegularFile();

  bool IsOpen() const { return fd_ >= 0; }
  // Why the file could not be opened or read ("it is a folder"), for a message after the file's name;
  // empty while all went well.
  const std::string& Reason() const { return reason_; }
  // The size when it was opened; a reader checks it against what its format can hold before reading.
  std::uint64_t Size() const { return size_; }

  // Up to count bytes from where the last read ended, fewer at the end of the file; nothing when the
  // file is not open or a read fails. Only what the file holds is ever allocated.
  std::optional<std::string> Read(std::uint64_t count);
  // The same, appended to bytes; false on a read error.
  bool ReadInto(std::string& bytes, std::uint64_t count);
  // Closes the file early; it then reads as ended.
  void Close();

 private:
  bool Open(const std::string& path);
  bool Refuse(std::string reason);

  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::string reason_;
};

// The whole file, or nothing (reason says why) when it is no regular file, cannot be read or holds
// more than sizeLimit bytes, in which case none of it is read.
std::optional<std::string> ReadRegularFile(const std::string& path, std::uint64_t sizeLimit, std::string& reason);

// True when the name stands for nothing on disk: no such file, a dangling link, or a folder on its
// path that is missing or is a file. False when something is there, or when the system will not say.
bool NothingAtPath(const std::string& path);

// The reason ReadRegularFile gives for a file above its limit.
std::string TooLargeReason(std::uint64_t size, std::uint64_t sizeLimit);

}  // namespace quendrel
