#include "foundation/files/LogFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "foundation/files/FileErrorText.h"

namespace quendrel {

LogFile::~LogFile() { Close(); }

// The name is looked at before it is opened, so a device is never opened at all. The open itself is
// non-blocking, so a pipe that turned up under the name fails at once instead of waiting for a reader,
// and what was opened is looked at again in case the name changed hands.
bool LogFile::Open(const std::string& path) {
  Close();
  path_ = path;
  reason_.clear();
  if (path.empty()) return Refuse("no file name was given");
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) {
    if (std::string kind = FileKindReason(info.st_mode); !kind.empty()) return Refuse(std::move(kind));
  }
  fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd_ < 0 || ::fstat(fd_, &info) != 0) return Refuse(FileErrorText(errno));
  if (std::string kind = FileKindReason(info.st_mode); !kind.empty()) return Refuse(std::move(kind));
  const int flags = ::fcntl(fd_, F_GETFL);
  if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) < 0) return Refuse(FileErrorText(errno));
  return true;
}

bool LogFile::Refuse(std::string reason) {
  Close();
  reason_ = std::move(reason);
  return false;
}

std::string LogFile::Refusal() const {
  if (path_.empty()) return "No file name was given.";
  return path_ + ": " + reason_ + ".";
}

bool LogFile::WriteLine(std::string_view text) {
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

void LogFile::Close() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

}  // namespace quendrel
