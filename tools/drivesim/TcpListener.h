// A listening TCP socket on the loopback interface, for the simulated drive's Ethernet side.
#pragma once

#include <memory>
#include <string>

namespace quendrel {

class TcpListener {
 public:
  // Listens on 127.0.0.1 only; port 0 lets the system choose (see Port). Nothing on failure.
  static std::unique_ptr<TcpListener> Open(int port, std::string& error);

  ~TcpListener();
  TcpListener(const TcpListener&) = delete;
  TcpListener& operator=(const TcpListener&) = delete;

  int Fd() const { return fd_; }
  int Port() const { return port_; }
  // A new connection, non-blocking with Nagle's delay off; -1 when none is waiting.
  int Accept() const;

 private:
  struct Key {};

 public:
  explicit TcpListener(Key) {}

 private:
  int fd_ = -1;
  int port_ = 0;
};

}  // namespace quendrel
