#include "params/FileBytes.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace quendrel {

namespace {

// Owns a POSIX descriptor so every early return closes it.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { Close(); }

  int Get() const { return fd_; }
  bool Close() {
    if (fd_ < 0) return true;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return closed;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Only a temporary file this call created is ever removed again.
bool WriteTempAndRename(const std::string& tempPath, const std::string& path, std::string_view bytes) {
  FileDescriptor fd(::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (fd.Get() < 0) return false;
  const bool replaced = WriteAll(fd.Get(), bytes) && ::fsync(fd.Get()) == 0 && fd.Close() &&
                        std::rename(tempPath.c_str(), path.c_str()) == 0;
  if (!replaced) ::unlink(tempPath.c_str());
  return replaced;
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::string ReplacementTempPath(const std::string& path) { return path + ".tmp"; }

bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
  if (path.empty()) return false;
  return WriteTempAndRename(ReplacementTempPath(path), path, bytes);
}

}  // namespace quendrel
