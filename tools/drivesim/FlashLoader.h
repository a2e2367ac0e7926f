// The drive's flash loader: the frames it serves, the carriage-return synchronisation, and the
// byte-echoed transfers of a program image and of data blocks, which it records.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendrel {

class FlashLoader {
 public:
  static constexpr std::uint8_t kSynchronized = 0xAA;
  static constexpr std::uint8_t kAcknowledgement = 0x06;
  static constexpr std::uint8_t kProcessorReset = 52;

  // What comes after synchronisation.
  enum class Plan { ProgramThenData, Program, Data };

  // Faults a test asks for; each holds until cleared.
  struct Faults {
    bool noSync = false;          // carriage returns are swallowed for ever
    bool wrongSync = false;       // synchronisation answers 0x55
    long wrongEchoAt = -1;        // the transfer's byte k (0-based) comes back inverted
    bool noAcknowledgement = false;
    int lateAcknowledgementMs = 0;
    bool noClosingEcho = false;   // the closing word of data blocks is not echoed
  };

  // A transfer as it arrived: the address and the words.
  struct Image {
    int address = 0;
    std::vector<std::uint16_t> words;
  };

  // Bytes to send, after the given number of byte times plus milliseconds.
  struct Output {
    std::string bytes;
    int byteTimes = 0;
    int delayMs = 0;
  };

  // The answer to a frame while the loader serves frames; leave: the loader ends (no answer).
  struct Answer {
    std::optional<std::string> pdu;
    bool leave = false;
  };

  // Back to serving frames, as a restart into the loader leaves it.
  void Restart();
  // Raw bytes are the loader's own while it synchronises or takes a transfer.
  bool TakesRawBytes() const { return state_ != State::Frames; }
  std::vector<Output> Take(std::uint8_t byte);
  Answer Respond(std::uint8_t function, std::string_view data) const;

  void SetCarriageReturnsSwallowed(int count) { swallowed_ = count; }
  void SetPlan(Plan plan) { plan_ = plan; }
  Faults& InjectedFaults() { return faults_; }
  const std::optional<Image>& Program() const { return program_; }
  const std::vector<Image>& DataBlocks() const { return blocks_; }
  void ForgetImages();
  // "frames", "sync" or "transfer".
  std::string StateName() const;

 private:
  enum class State { Frames, Sync, Transfer };
  enum class Part { Header, Words, Closing };

  std::vector<Output> Synchronise(std::uint8_t byte);
  std::vector<Output> Transfer(std::uint8_t byte);
  void BeginTransfer(bool program);
  void Finish();
  int HeaderWord(std::size_t at) const;

  State state_ = State::Frames;
  Plan plan_ = Plan::ProgramThenData;
  Faults faults_;
  int swallowed_ = 3;
  int carriageReturns_ = 0;
  bool program_transfer_ = false;
  Part part_ = Part::Header;
  std::string pending_;  // the bytes of the header, words or closing word so far
  int count_ = 0;
  long transferred_ = 0;
  std::optional<Image> program_;
  std::vector<Image> blocks_;
};

}  // namespace quendrel
