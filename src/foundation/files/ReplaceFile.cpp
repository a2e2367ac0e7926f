#include "foundation/files/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <climits>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "foundation/files/FileErrorText.h"

namespace quendrel {

namespace {

// Linux gives up after as many links in a row; a longer chain is taken for a circle.
constexpr int kLinkLimit = 40;

std::string FolderOf(const std::string& path) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  return folder.empty() ? std::string(".") : folder.string();
}

// The file a chain of symbolic links ends at, so that a save replaces it and leaves the links as they
// are; a link that leads nowhere yet names the file the save creates. Nothing when the chain is a circle.
std::optional<std::string> LinkTarget(std::string path) {
  for (int hops = 0; hops < kLinkLimit; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(path, error);
    if (error) return path;
    path = target.is_absolute() ? target.string() : (std::filesystem::path(FolderOf(path)) / target).string();
  }
  return std::nullopt;
}

// The longest name the target's folder takes; the usual limit when the folder will not say.
std::size_t NameLimit(const std::string& folder) {
  const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  return limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
}

// Where a name is cut, a multi-byte character is dropped whole so the name stays valid UTF-8.
std::string CutAtCharacter(std::string name, std::size_t length) {
  if (name.size() <= length) return name;
  while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) --length;
  name.resize(length);
  return name;
}

// Checked before anything is written: rename() would replace a read-only file without a word, and a
// missing folder deserves a better reason than the temporary file's name.
std::string RefusalReason(const std::string& path, const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) {
    return errno == ENOENT ? "the folder " + folder + " does not exist" : FileErrorText(errno);
  }
  if (!S_ISDIR(info.st_mode)) return folder + " is not a folder";
  if (::stat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return path + " is a folder";
    // The rename would put a plain file where a device or a pipe was.
    if (!S_ISREG(info.st_mode)) return path + " is not a regular file";
    // A file nobody may write was marked read-only on purpose; the superuser's access() would pass it.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0)
      return path + " is read-only";
  } else if (errno != ENOENT) {
    return FileErrorText(errno);
  }
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return "the folder " + folder + " is read-only";
  return {};
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

// The replacement reads like the file it replaces: same permissions and, where allowed, the same owner.
bool TakeOverAttributes(int fd, const std::string& target) {
  struct stat old {};
  if (::stat(target.c_str(), &old) != 0) return ::fchmod(fd, 0666 & ~CurrentUmask()) == 0;
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
    // Only a privileged user may give a file away; the user's own new file is good enough.
  }
  return ::fchmod(fd, old.st_mode & 07777) == 0;
}

// The directory entry of a rename is only durable once the folder itself is flushed.
void FlushFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A uniquely named file beside the target (mkstemp never reuses an existing name, so no file of the
// user's is ever overwritten), removed again unless it has become the target.
class TemporaryFile {
 public:
  static constexpr std::string_view kSuffix = ".new-XXXXXX";

  // The target's name cut short where the suffix would pass the folder's name limit.
  TemporaryFile(const std::string& target, const std::string& folder) : name_(Name(target, folder)) {
    fd_ = ::mkstemp(name_.data());
    if (fd_ < 0) error_ = errno;
    created_ = fd_ >= 0;
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (created_ && !renamed_) ::unlink(name_.c_str());
  }

  static std::string Name(const std::string& target, const std::string& folder) {
    const std::string base = std::filesystem::path(target).filename().string();
    const std::size_t limit = NameLimit(folder);
    const std::size_t kept = limit > kSuffix.size() ? limit - kSuffix.size() : 1;
    return (std::filesystem::path(folder) / (CutAtCharacter(base, kept) + std::string(kSuffix))).string();
  }

  bool IsOpen() const { return fd_ >= 0; }
  int Error() const { return error_; }

  bool Write(std::string_view bytes) {
    while (!bytes.empty() && error_ == 0) {
      const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) error_ = written < 0 ? errno : ENOSPC;
      if (written > 0) bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return error_ == 0;
  }

  bool RenameOver(const std::string& target) {
    if (!TakeOverAttributes(fd_, target) || ::fsync(fd_) != 0) return Fail();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return Fail();
    if (std::rename(name_.c_str(), target.c_str()) != 0) return Fail();
    renamed_ = true;
    return true;
  }

 private:
  bool Fail() {
    error_ = errno;
    return false;
  }

  std::string name_;
  int fd_ = -1;
  int error_ = 0;
  bool created_ = false;
  bool renamed_ = false;
};

ReplaceFileResult Refused(std::string reason) { return ReplaceFileResult{false, std::move(reason)}; }

}  // namespace

ReplaceFileResult ReplaceFile(const std::string& name, const FileContentWriter& write) {
  if (name.empty()) return Refused("no file name was given");
  const std::optional<std::string> target = LinkTarget(name);
  if (!target) return Refused(FileErrorText(ELOOP));
  const std::string& path = *target;
  const std::string folder = FolderOf(path);
  if (std::string reason = RefusalReason(path, folder); !reason.empty()) return Refused(std::move(reason));

  TemporaryFile file(path, folder);
  if (!file.IsOpen()) return Refused(FileErrorText(file.Error()));
  const bool written = write([&file](std::string_view bytes) { return file.Write(bytes); });
  if (!written) return Refused(file.Error() != 0 ? FileErrorText(file.Error()) : "the contents could not be made");
  if (!file.RenameOver(path)) return Refused(FileErrorText(file.Error()));
  FlushFolder(folder);
  return ReplaceFileResult{true, {}};
}

ReplaceFileResult ReplaceFile(const std::string& path, std::string_view bytes) {
  return ReplaceFile(path, [bytes](const FileByteSink& sink) { return sink(bytes); });
}

}  // namespace quendrel
