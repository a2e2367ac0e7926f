// Our TCP client socket: connects to a drive's Ethernet interface within a deadline and carries
// bytes to and from it without ever blocking longer than the caller allows.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "comms/modules/ByteLink.h"
#include "comms/modules/HostLookup.h"

namespace quendrel {

class TcpConnection final : public ByteLink {
 public:
  TcpConnection() = default;
  ~TcpConnection() override;
  TcpConnection(const TcpConnection&) = delete;
  TcpConnection& operator=(const TcpConnection&) = delete;

  // Closes any open connection first, resolves the host and connects, the lookup included, within
  // the timeout. False when the name does not resolve or nobody accepts in time.
  bool Connect(const std::string& host, int port, double timeoutSeconds);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  bool Write(std::string_view bytes, double timeoutSeconds) override;
  Wait WaitReadable(double timeoutSeconds) override;
  // Bytes that arrived before the host closed are still handed out; the call after them fails.
  bool ReadAvailable(std::string& into) override;
  // Also the check that an idle connection is still there: false once the host has closed it.
  bool DiscardInput() override;

  // Why the link last failed, as a detail code: 43 closed by the host, 44 send or 45 receive failed.
  int FailureDetail() const { return failure_; }
  // The resolver host names go to; the system's unless a test stands in for the name server.
  void SetResolver(HostLookup::Resolver resolver) { resolver_ = std::move(resolver); }

 private:
  bool ConnectTo(const HostLookup::Address& address, double deadline);
  void Fail(int detail);

  int fd_ = -1;
  bool peerClosed_ = false;
  int failure_ = 0;
  HostLookup::Resolver resolver_ = HostLookup::SystemResolve;
};

}  // namespace quendrel
