#include "comms/modules/HostLookup.h"

#include <netdb.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace quendrel {

namespace {

struct AddressListDeleter {
  void operator()(addrinfo* list) const { ::freeaddrinfo(list); }
};

// Shared by the caller and the helper thread; whichever lets go last frees it, so a caller that gave
// up leaves nothing dangling for the lookup to write into.
struct PendingLookup {
  std::mutex guard;
  std::condition_variable finished;
  bool done = false;
  std::vector<HostLookup::Address> found;
};

}  // namespace

std::vector<HostLookup::Address> HostLookup::Lookup(const std::string& host, int port, int flags) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = flags | AI_NUMERICSERV;
  addrinfo* list = nullptr;
  const std::string service = std::to_string(port);
  if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &list) != 0 || list == nullptr) return {};
  const std::unique_ptr<addrinfo, AddressListDeleter> owned(list);
  std::vector<Address> addresses;
  for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_addrlen > sizeof(sockaddr_storage)) continue;
    Address address;
    address.family = entry->ai_family;
    address.length = entry->ai_addrlen;
    std::memcpy(&address.storage, entry->ai_addr, entry->ai_addrlen);
    addresses.push_back(address);
  }
  return addresses;
}

std::vector<HostLookup::Address> HostLookup::SystemResolve(const std::string& host, int port) {
  return Lookup(host, port, 0);
}

std::vector<HostLookup::Address> HostLookup::Find(const std::string& host, int port, double timeoutSeconds,
                                                  const Resolver& resolve) {
  // A numeric address is read, never looked up.
  std::vector<Address> numeric = Lookup(host, port, AI_NUMERICHOST);
  if (!numeric.empty()) return numeric;
  auto pending = std::make_shared<PendingLookup>();
  try {
    std::thread([pending, resolve, host, port] {
      std::vector<Address> found;
      try {
        found = resolve(host, port);
      } catch (...) {
        found.clear();
      }
      const std::lock_guard<std::mutex> lock(pending->guard);
      pending->found = std::move(found);
      pending->done = true;
      pending->finished.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    return {};
  }
  std::unique_lock<std::mutex> lock(pending->guard);
  // The wait becomes whole nanoseconds: bounded, so that no timeout overflows them.
  constexpr double kLongestWait = 24.0 * 3600.0;
  const double seconds = timeoutSeconds > 0.0 ? std::min(timeoutSeconds, kLongestWait) : 0.0;
  const auto wait = std::chrono::duration<double>(seconds);
  if (!pending->finished.wait_for(lock, wait, [&pending] { return pending->done; })) return {};
  return std::move(pending->found);
}

}  // namespace quendrel
