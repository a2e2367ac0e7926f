#include "foundation/files/FileErrorText.h"

#include <sys/stat.h>

#include <cerrno>
#include <system_error>

namespace quendrel {

std::string FileErrorText(int error) {
  switch (error) {
    case ENOENT:
      return "it does not exist";
    case ENOTDIR:
      return "a folder on its path is a file";
    case ENOSPC:
    case EDQUOT:
      return "the disk is full";
    case EROFS:
      return "the disk is read-only";
    case EACCES:
    case EPERM:
      return "access was denied";
    case ENAMETOOLONG:
      return "the name is too long";
    case ELOOP:
      return "its links lead round in a circle";
    case EISDIR:
      return "it is a folder";
    default:
      return std::generic_category().message(error);
  }
}

std::string FileKindReason(mode_t mode) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return "it is a folder";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a file";
  if (S_ISFIFO(mode)) return "it is a pipe, not a file";
  if (S_ISSOCK(mode)) return "it is a socket, not a file";
  return "it is not a regular file";
}

}  // namespace quendrel
