// One client connection to the simulated drive's Ethernet side; owns its socket.
#pragma once

#include <string>
#include <string_view>

namespace quendrel {

class SimTcpConnection {
 public:
  explicit SimTcpConnection(int fd) : fd_(fd) {}
  ~SimTcpConnection();
  SimTcpConnection(const SimTcpConnection&) = delete;
  SimTcpConnection& operator=(const SimTcpConnection&) = delete;

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
