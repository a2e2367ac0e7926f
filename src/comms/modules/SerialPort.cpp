#include "comms/modules/SerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <utility>

namespace quendrel {

namespace {

constexpr std::array<std::pair<int, speed_t>, 10> kSpeeds{{
    {110, B110},
    {300, B300},
    {1200, B1200},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
}};

tcflag_t CharacterSize(int dataBits) {
  switch (dataBits) {
    case 5:
      return CS5;
    case 6:
      return CS6;
    case 7:
      return CS7;
    default:
      return CS8;
  }
}

// A day is beyond any wait a caller means, and keeps a script's 1e300 or infinity from overflowing
// the whole seconds; NaN waits not at all.
timespec ToTimespec(double seconds) {
  constexpr double kLongestWait = 24.0 * 3600.0;
  const double clamped = seconds > 0.0 ? std::min(seconds, kLongestWait) : 0.0;
  timespec span{};
  span.tv_sec = static_cast<time_t>(clamped);
  span.tv_nsec = static_cast<long>((clamped - static_cast<double>(span.tv_sec)) * 1e9);
  return span;
}

}  // namespace

SerialPort::~SerialPort() { Close(); }

bool SerialPort::Open(const std::string& path, const Settings& settings) {
  Close();
  fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return false;
  path_ = path;
  int lines = 0;
  // Pseudo-terminals and some USB adapters refuse modem-control calls; such a line just sends.
  modemControl_ = ::ioctl(fd_, TIOCMGET, &lines) == 0;
  if (!Configure(settings)) {
    Close();
    return false;
  }
  SetRts(false);
  DiscardInput();
  DiscardOutput();
  return true;
}

void SerialPort::Close() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  path_.clear();
  modemControl_ = false;
}

bool SerialPort::Configure(const Settings& settings) {
  const auto speed = std::find_if(kSpeeds.begin(), kSpeeds.end(), [&settings](const auto& entry) {
    return entry.first == settings.baudRate;
  });
  if (fd_ < 0 || speed == kSpeeds.end()) return false;
  termios mode{};
  if (::tcgetattr(fd_, &mode) != 0) return false;
  ::cfmakeraw(&mode);
  mode.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  mode.c_cflag |= CLOCAL | CREAD | CharacterSize(settings.dataBits);
  if (settings.parity != 0) mode.c_cflag |= PARENB;
  if (settings.parity == 1) mode.c_cflag |= PARODD;
  // termios has no one and a half stop bits; the UART sends two instead, which a receiver accepts.
  if (settings.stopBits != 0) mode.c_cflag |= CSTOPB;
  mode.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  // With VMIN 1 a read of an empty, non-blocking port fails with EAGAIN, leaving a return of 0 to
  // mean the device has hung up.
  mode.c_cc[VMIN] = 1;
  mode.c_cc[VTIME] = 0;
  ::cfsetispeed(&mode, speed->second);
  ::cfsetospeed(&mode, speed->second);
  if (::tcsetattr(fd_, TCSANOW, &mode) == 0) return true;
  if (modemControl_) return false;
  // Some kernels refuse parity and short characters on a pseudo-terminal, where they mean nothing.
  mode.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD);
  mode.c_cflag |= CS8;
  return ::tcsetattr(fd_, TCSANOW, &mode) == 0;
}

void SerialPort::SetRts(bool raised) {
  if (!modemControl_) return;
  int rts = TIOCM_RTS;
  if (::ioctl(fd_, raised ? TIOCMBIS : TIOCMBIC, &rts) != 0) modemControl_ = false;
}

bool SerialPort::Write(std::string_view bytes, double timeoutSeconds) {
  if (fd_ < 0) return false;
  SetRts(true);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
  std::size_t sent = 0;
  bool ok = true;
  while (ok && sent < bytes.size()) {
    const ssize_t written = ::write(fd_, bytes.data() + sent, bytes.size() - sent);
    if (written > 0) {
      sent += static_cast<std::size_t>(written);
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno != EAGAIN) {
      ok = false;
      continue;
    }
    // The output queue is full: a slow line is still sending earlier bytes.
    pollfd waiter{fd_, POLLOUT, 0};
    const std::chrono::duration<double> left = deadline - std::chrono::steady_clock::now();
    const timespec span = ToTimespec(left.count());
    ok = ::ppoll(&waiter, 1, &span, nullptr) > 0 && (waiter.revents & POLLOUT) != 0;
  }
  if (modemControl_) {
    // Hold RTS until the UART has shifted out the last stop bit, or the adapter turns the line round
    // in the middle of the CRC.
    ::tcdrain(fd_);
    SetRts(false);
  }
  return ok;
}

ByteLink::Wait SerialPort::WaitReadable(double timeoutSeconds) {
  if (fd_ < 0) return Wait::Failed;
  pollfd waiter{fd_, POLLIN, 0};
  const timespec span = ToTimespec(timeoutSeconds);
  const int ready = ::ppoll(&waiter, 1, &span, nullptr);
  if (ready < 0) return errno == EINTR ? Wait::TimedOut : Wait::Failed;
  if (ready == 0) return Wait::TimedOut;
  if (waiter.revents & POLLIN) return Wait::Readable;
  return Wait::Failed;
}

bool SerialPort::ReadAvailable(std::string& into) {
  if (fd_ < 0) return false;
  std::array<char, 512> chunk{};
  while (true) {
    const ssize_t got = ::read(fd_, chunk.data(), chunk.size());
    if (got > 0) {
      into.append(chunk.data(), static_cast<std::size_t>(got));
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && errno == EAGAIN) return true;
    // 0 is a hang-up; EIO is a pseudo-terminal whose other end went, or an unplugged adapter.
    return false;
  }
}

bool SerialPort::DiscardInput() {
  if (fd_ < 0) return false;
  ::tcflush(fd_, TCIFLUSH);
  std::string ignored;
  return ReadAvailable(ignored);
}

void SerialPort::DiscardOutput() {
  if (fd_ >= 0) ::tcflush(fd_, TCOFLUSH);
}

}  // namespace quendrel
