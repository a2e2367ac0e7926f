// A module for tests: answers exchanges from a queue and records what the context asked for.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "comms/modules/GIOModule.h"

namespace quendrel {

class FakeClock;

class FakeModule final : public GIOModule {
 public:
  struct Sent {
    DriveRequest request;
    double timeout = 0;
    bool singleSend = false;
  };

  explicit FakeModule(std::string name = "Fake", FakeClock* clock = nullptr)
      : name_(std::move(name)), clock_(clock) {}

  std::string Name() const override { return name_; }
  void Startup() override { ++startups; }
  void Shutdown() override { ++shutdowns; }
  double ConfiguredTimeout() const override { return configuredTimeout; }
  udtDriveResponse Exchange(const DriveRequest& request, double timeoutSeconds, bool singleSend) override;
  bool HasByteChannel() const override { return byteChannel; }
  bool WriteByte(std::uint8_t byte, bool waitForEcho) override;
  bool TakeByte(std::uint8_t& byte, double timeoutSeconds) override;

  // Queues the drive's answer to the next exchange: a reply PDU (function byte first) or an error.
  void AnswerPdu(const std::string& pdu);
  void AnswerError(int code);
  // An exception reply to the next exchange's function.
  void AnswerException(int code);

  std::vector<Sent> sent;
  std::deque<std::string> answers;  // a PDU, or "!" and the error code
  double configuredTimeout = 1.0;
  bool byteChannel = true;
  double secondsPerExchange = 0.0;
  int startups = 0;
  int shutdowns = 0;
  std::string written;
  std::vector<bool> echoRequests;
  std::deque<std::uint8_t> incoming;
  std::vector<double> takeTimeouts;

 private:
  std::string name_;
  FakeClock* clock_;
};

// A PDU in the layout the drive uses: function byte, then the bytes given.
std::string Pdu(std::uint8_t function, std::initializer_list<int> bytes, const std::string& text = "");

}  // namespace quendrel
