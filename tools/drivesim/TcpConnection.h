// One client connection to the simulated drive's Ethernet side; owns its socket.
#pragma once

#include <string>
#include <string_view>

namespace quendrel {

class TcpConnection {
 public:
  explicit TcpConnection(int fd) : fd_(fd) {}
  ~TcpConnection();
  TcpConnection(const TcpConnection&) = delete;
  TcpConnection& operator=(const TcpConnection&) = delete;

  int Fd() const { return fd_; }
  // Reads what is waiting; false when the peer has gone.
  bool Read(std::string& bytes);
  void Send(std::string_view bytes);
  // Writes what the socket takes now; the rest waits for the next call.
  void Flush();
  bool HasUnsent() const { return !unsent_.empty(); }

 private:
  int fd_;
  std::string unsent_;
};

}  // namespace quendrel
