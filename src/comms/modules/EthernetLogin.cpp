#include "comms/modules/EthernetLogin.h"

#include "comms/modules/ByteLink.h"
#include "foundation/files/FileCipher.h"
#include "platform/Clock.h"

namespace quendrel {

namespace {

enum class Read { Complete, TimedOut, Failed };

Read ReadExactly(ByteLink& link, Clock& clock, std::size_t count, double deadline, std::string& into) {
  while (into.size() < count) {
    const double left = deadline - clock.MonotonicSeconds();
    if (left <= 0) return Read::TimedOut;
    const ByteLink::Wait wait = link.WaitReadable(left);
    if (wait == ByteLink::Wait::Failed) return Read::Failed;
    if (wait == ByteLink::Wait::Readable && !link.ReadAvailable(into)) return Read::Failed;
  }
  return Read::Complete;
}

}  // namespace

std::string EthernetLogin::Answer(std::string_view challenge, std::string_view password) {
  // The cipher restarts its key stream at every call, so enciphering the mixed bytes as a whole
  // XORs key-stream byte i into byte i.
  std::string mixed(challenge);
  for (std::size_t i = 0; i < mixed.size() && !password.empty(); ++i) {
    mixed[i] = static_cast<char>(mixed[i] ^ password[i % password.size()]);
  }
  return DecryptString(mixed);
}

EthernetLogin::Result EthernetLogin::Run(ByteLink& link, Clock& clock, std::string_view password,
                                         double deadline) {
  std::string challenge;
  const Read challenged = ReadExactly(link, clock, kChallengeLength, deadline, challenge);
  if (challenged == Read::Failed) return Result::LinkFailed;
  if (challenged == Read::TimedOut) return Result::Refused;
  if (!link.Write(Answer(challenge.substr(0, kChallengeLength), password), deadline - clock.MonotonicSeconds()))
    return Result::LinkFailed;
  std::string verdict;
  const Read answered = ReadExactly(link, clock, 1, deadline, verdict);
  if (answered == Read::Failed) return Result::LinkFailed;
  return answered == Read::Complete && verdict[0] == kAccepted ? Result::Accepted : Result::Refused;
}

}  // namespace quendrel
