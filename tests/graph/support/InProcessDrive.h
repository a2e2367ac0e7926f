// A drive for the scan window's tests: the simulated drive's own responder behind a module in the
// same process, so every exchange is instant and its order is the test's to see, with failures the
// test scripts per parameter and a drive that can fall silent.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "comms/GIOModule.h"
#include "drivesim/DriveResponder.h"

namespace quendrel {

class InProcessDrive final : public GIOModule {
 public:
  static constexpr std::uint8_t kAddress = 1;

  // The simulated drive's table unless another table text is given.
  InProcessDrive();
  explicit InProcessDrive(const std::string& tableText);

  std::string Name() const override { return "InProcess"; }
  void Startup() override {}
  void Shutdown() override {}
  double ConfiguredTimeout() const override { return 0.4; }
  udtDriveResponse Exchange(const DriveRequest& request, double timeoutSeconds, bool singleSend) override;
  bool WriteByte(std::uint8_t, bool) override { return false; }
  bool TakeByte(std::uint8_t&, double) override { return false; }

  // The next exchanges that read parameter n (menu × 100 + parameter) fail with these codes, one
  // each, in order: 46 and 11 as a lost line would, others as the drive's answer.
  void FailReads(int n, std::initializer_list<int> codes);
  // The next pings fail with these codes, one each.
  void FailPings(std::initializer_list<int> codes) { pingFailures_.insert(pingFailures_.end(), codes); }
  // While silent every exchange times out (46); pings included.
  void SetSilent(bool silent) { silent_ = silent; }
  // Runs before every exchange is answered: where a test moves a clock or plays the user.
  void OnExchange(std::function<void(const DriveRequest&)> hook) { onExchange_ = std::move(hook); }

  int Value(int n);
  void SetValue(int n, int raw);
  DriveResponder& Responder() { return responder_; }

  // What was asked, in order.
  std::vector<DriveRequest> sent;
  // Exchanges that read a value (ReadValue) of parameter n since the last Forget.
  int ReadsOf(int n) const;
  std::vector<DriveRequest> Writes() const;
  void Forget() { sent.clear(); }

 private:
  DriveResponder responder_;
  std::map<int, std::deque<int>> failures_;
  std::deque<int> pingFailures_;
  bool silent_ = false;
  std::function<void(const DriveRequest&)> onExchange_;
};

}  // namespace quendrel
