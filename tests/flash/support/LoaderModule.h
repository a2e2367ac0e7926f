// A module that plays a drive's flash loader in memory: it swallows carriage returns, answers the
// synchronisation, echoes bytes and acknowledges transfers, each of which a test can make fail.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "comms/modules/GIOModule.h"

namespace quendrel {

class LoaderModule final : public GIOModule {
 public:
  std::string Name() const override { return "Loader"; }
  void Startup() override {}
  void Shutdown() override {}
  double ConfiguredTimeout() const override { return 1.0; }
  // The loader serves no frames: every exchange times out.
  udtDriveResponse Exchange(const DriveRequest& request, double timeoutSeconds, bool singleSend) override;
  bool HasByteChannel() const override { return true; }
  bool WriteByte(std::uint8_t byte, bool waitForEcho) override;
  bool TakeByte(std::uint8_t& byte, double timeoutSeconds) override;

  int carriageReturnsSwallowed = 0;
  std::optional<std::uint8_t> syncAnswer = 0xAA;  // nothing: the line stays silent
  long failEchoAt = -1;                            // 0-based among the echo-tested bytes
  bool acknowledge = true;

  std::string written;          // every byte, in order
  std::string echoTested;       // the bytes written with the echo test
  int carriageReturns = 0;
  std::vector<double> waits;    // the limits of the waits for an acknowledgement

 private:
  std::deque<std::uint8_t> incoming_;
};

// The words of a byte string read little-endian, two bytes at a time.
std::vector<int> LittleEndianWords(const std::string& bytes);

}  // namespace quendrel
