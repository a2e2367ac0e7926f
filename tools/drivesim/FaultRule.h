// One injected fault: what goes wrong with a reply, and which requests it hits.
#pragma once

#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace quendrel {

enum class FaultKind {
  Drop,        // the request is served, the reply is lost
  CorruptCrc,  // the reply's CRC is wrong
  WrongAddress,  // the reply comes from another address (argument: that address; default ours + 1)
  Noise,       // random bytes before the reply (argument: how many; default 4)
  Split,       // the reply in pieces (arguments: pieces, default 3; ms between them, default 20)
  Late,        // the reply after a delay (argument: ms; default 1000)
  Stop,        // the request is neither served nor answered
  Close,       // the port closes instead of the reply (argument: ms until it reopens; 0 = never)
  Cut,         // half the reply, then a TCP connection closes (the serial line just goes quiet)
  Length,      // the reply's length field lies by the argument (default 5): MBAP length or RTU count
  OldTid,      // a copy of the reply under the previous transaction id first (argument 1: only it)
  Refuse,      // the TCP login is refused whatever the answer; counts logins, not requests
};

enum class FaultSelector { Always, Next, Every, After, Probability };

class FaultRule {
 public:
  // "<kind> [always | next N | every N | after N | prob P] [arguments...]", e.g. "drop next 2".
  static std::optional<FaultRule> Parse(std::string_view text, std::string& error);

  // Counts one request and says whether this rule hits it.
  bool Hits(std::mt19937& random);
  // A "next N" rule that has hit N requests.
  bool Spent() const { return selector_ == FaultSelector::Next && seen_ >= count_; }

  FaultKind Kind() const { return kind_; }
  bool CountsLogins() const { return kind_ == FaultKind::Refuse; }
  // The i-th argument, or fallback when it was not given.
  int Argument(std::size_t i, int fallback) const { return i < arguments_.size() ? arguments_[i] : fallback; }

 private:
  FaultKind kind_ = FaultKind::Drop;
  FaultSelector selector_ = FaultSelector::Always;
  long count_ = 0;
  double probability_ = 0;
  long seen_ = 0;
  std::vector<int> arguments_;
};

}  // namespace quendrel
