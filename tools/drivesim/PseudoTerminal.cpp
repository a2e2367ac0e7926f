#include "drivesim/PseudoTerminal.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace quendrel {

namespace {

std::string SystemError(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// Points linkPath at target in one step, so a client never finds the link missing halfway.
bool ReplaceLink(const std::string& target, const std::string& linkPath, std::string& error) {
  const std::string temporary = linkPath + ".new";
  ::unlink(temporary.c_str());
  if (::symlink(target.c_str(), temporary.c_str()) != 0 || ::rename(temporary.c_str(), linkPath.c_str()) != 0) {
    error = SystemError("symlink");
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<PseudoTerminal> PseudoTerminal::Open(const std::string& linkPath, std::string& error) {
  auto terminal = std::make_unique<PseudoTerminal>(Key{});
  terminal->master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (terminal->master_ < 0 || ::grantpt(terminal->master_) != 0 || ::unlockpt(terminal->master_) != 0) {
    error = SystemError("posix_openpt");
    return nullptr;
  }
  char name[128];
  if (::ptsname_r(terminal->master_, name, sizeof name) != 0) {
    error = SystemError("ptsname");
    return nullptr;
  }
  terminal->slavePath_ = name;
  terminal->slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (terminal->slave_ < 0) {
    error = SystemError("open slave");
    return nullptr;
  }
  // Raw from the start: a cooked line would echo the drive's replies back to it.
  termios settings{};
  ::tcgetattr(terminal->slave_, &settings);
  ::cfmakeraw(&settings);
  ::tcsetattr(terminal->slave_, TCSANOW, &settings);
  ::fcntl(terminal->master_, F_SETFL, ::fcntl(terminal->master_, F_GETFL) | O_NONBLOCK);
  if (!linkPath.empty()) {
    if (!ReplaceLink(terminal->slavePath_, linkPath, error)) return nullptr;
    terminal->linkPath_ = linkPath;
  }
  return terminal;
}

PseudoTerminal::~PseudoTerminal() {
  if (!linkPath_.empty()) ::unlink(linkPath_.c_str());
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
}

}  // namespace quendrel
