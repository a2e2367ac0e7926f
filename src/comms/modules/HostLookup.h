// Finds the addresses of a drive's host within a deadline: a numeric address at once, a name on a
// helper thread that the caller stops waiting for when its time is up.
#pragma once

#include <sys/socket.h>

#include <functional>
#include <string>
#include <vector>

namespace quendrel {

class HostLookup {
 public:
  struct Address {
    int family = AF_UNSPEC;
    sockaddr_storage storage{};
    socklen_t length = 0;
  };
  // Blocks for as long as it likes; runs on a thread of its own, with its own copy of the host.
  using Resolver = std::function<std::vector<Address>(const std::string& host, int port)>;

  // The system resolver (getaddrinfo), for TCP.
  static std::vector<Address> SystemResolve(const std::string& host, int port);
  // Empty when the host does not resolve before the timeout.
  static std::vector<Address> Find(const std::string& host, int port, double timeoutSeconds,
                                   const Resolver& resolve);

 private:
  static std::vector<Address> Lookup(const std::string& host, int port, int flags);
};

}  // namespace quendrel
