#include "foundation/files/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "foundation/files/FileErrorText.h"

namespace quendrel {

namespace {

constexpr std::size_t kChunk = 65536;

}  // namespace

RegularFile::RegularFile(const std::string& path) { Open(path); }

// The name is looked at before it is opened, so a device is never opened at all; the open itself does
// not wait for a pipe's writer, and what was opened is looked at again in case the name changed hands.
bool RegularFile::Open(const std::string& path) {
  if (path.empty()) return Refuse("no file name was given");
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return Refuse(FileErrorText(errno));
  if (std::string kind = FileKindReason(info.st_mode); !kind.empty()) return Refuse(std::move(kind));
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd_ < 0 || ::fstat(fd_, &info) != 0) return Refuse(FileErrorText(errno));
  if (std::string kind = FileKindReason(info.st_mode); !kind.empty()) return Refuse(std::move(kind));
  size_ = static_cast<std::uint64_t>(info.st_size);
  return true;
}

RegularFile::~RegularFile() { Close(); }

void RegularFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool RegularFile::Refuse(std::string reason) {
  Close();
  size_ = 0;
  reason_ = std::move(reason);
  return false;
}

std::optional<std::string> RegularFile::Read(std::uint64_t count) {
  std::string bytes;
  if (!ReadInto(bytes, count)) return std::nullopt;
  return bytes;
}

bool RegularFile::ReadInto(std::string& bytes, std::uint64_t count) {
  if (fd_ < 0) return false;
  const std::size_t end = bytes.size() + static_cast<std::size_t>(std::min(count, size_));
  if (end > bytes.capacity()) bytes.reserve(end);
  std::array<char, kChunk> chunk{};
  for (std::uint64_t left = count; left > 0;) {
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), left));
    const ssize_t got = ::read(fd_, chunk.data(), wanted);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Refuse(FileErrorText(errno));
    if (got == 0) break;
    bytes.append(chunk.data(), static_cast<std::size_t>(got));
    left -= static_cast<std::uint64_t>(got);
  }
  return true;
}

bool NothingAtPath(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) == 0) return false;
  return errno == ENOENT || errno == ENOTDIR;
}

std::string TooLargeReason(std::uint64_t size, std::uint64_t sizeLimit) {
  return "it is too large for this kind of file (" + std::to_string(size) + " bytes, at most " +
         std::to_string(sizeLimit) + ")";
}

// One byte beyond the limit is asked for, so a file that grew after it was opened is refused as well.
std::optional<std::string> ReadRegularFile(const std::string& path, std::uint64_t sizeLimit, std::string& reason) {
  RegularFile file(path);
  if (file.IsOpen() && file.Size() > sizeLimit) {
    reason = TooLargeReason(file.Size(), sizeLimit);
    return std::nullopt;
  }
  std::optional<std::string> bytes = file.Read(sizeLimit == UINT64_MAX ? sizeLimit : sizeLimit + 1);
  if (!bytes) {
    reason = file.Reason();
    return std::nullopt;
  }
  if (bytes->size() > sizeLimit) {
    reason = TooLargeReason(bytes->size(), sizeLimit);
    return std::nullopt;
  }
  reason.clear();
  return bytes;
}

}  // namespace quendrel
