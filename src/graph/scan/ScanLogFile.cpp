#include "graph/scan/ScanLogFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quendrel {

ScanLogFile::~ScanLogFile() { Close(); }

bool ScanLogFile::Open(const std::string& path) {
  Close();
  if (path.empty()) return false;
  // Non-blocking only while opening, so a pipe nobody reads fails at once instead of waiting.
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  struct stat info {};
  const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  const int flags = ::fcntl(fd, F_GETFL);
  if (!regular || flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

bool ScanLogFile::WriteLine(std::string_view text) {
  if (fd_ < 0) return false;
  std::string line(text);
  line += "\r\n";
  std::string_view rest = line;
  while (!rest.empty()) {
    const ssize_t written = ::write(fd_, rest.data(), rest.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      Close();
      return false;
    }
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

void ScanLogFile::Close() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

}  // namespace quendrel
