#include "drivesim/FlashLoader.h"

#include "drivesim/SimFrame.h"

namespace quendrel {

namespace {

constexpr std::uint8_t kCarriageReturn = 13;
constexpr std::uint8_t kWrongSync = 0x55;
constexpr std::uint8_t kLoaderMessage = 1;
constexpr std::uint8_t kIllegalFunction = 1;
constexpr std::uint8_t kFirstFlashFunction = 32;
constexpr std::uint8_t kReadDataWord = 34;
constexpr std::uint8_t kReadSectorProtect = 43;
constexpr const char* kLoaderText = "Quendrel Flash Loader 1.0";

std::string Byte(int value) { return std::string(1, static_cast<char>(value & 0xFF)); }

}  // namespace

void FlashLoader::Restart() {
  state_ = State::Frames;
  carriageReturns_ = 0;
  pending_.clear();
}

void FlashLoader::ForgetImages() {
  program_.reset();
  blocks_.clear();
}

std::string FlashLoader::StateName() const {
  switch (state_) {
    case State::Frames:
      return "frames";
    case State::Sync:
      return "sync";
    case State::Transfer:
      return "transfer";
  }
  return "frames";
}

FlashLoader::Answer FlashLoader::Respond(std::uint8_t function, std::string_view) const {
  if (function == kLoaderMessage) {
    const std::string text = kLoaderText;
    return {SimFrame::CountedReply(function, Byte(static_cast<int>(text.size())) + text), false};
  }
  if (function == kProcessorReset) return {std::nullopt, true};
  if (function < kFirstFlashFunction || function > kProcessorReset) {
    return {SimFrame::ExceptionReply(function, kIllegalFunction), false};
  }
  // The reads answer in their templates' shape; everything else is acknowledged.
  if (function == kReadDataWord) return {SimFrame::CountedReply(function, std::string("\x12\x34", 2)), false};
  if (function == kFirstFlashFunction || function == kFirstFlashFunction + 1) {
    return {SimFrame::CountedReply(function, Byte(function == kFirstFlashFunction ? 0x1F : 0xC8)), false};
  }
  if (function == kReadSectorProtect) return {SimFrame::CountedReply(function, Byte(0)), false};
  return {SimFrame::CountedReply(function, {}), false};
}

std::vector<FlashLoader::Output> FlashLoader::Take(std::uint8_t byte) {
  if (state_ == State::Frames) {
    if (byte != kCarriageReturn) return {};
    state_ = State::Sync;
    carriageReturns_ = 0;
  }
  return state_ == State::Sync ? Synchronise(byte) : Transfer(byte);
}

std::vector<FlashLoader::Output> FlashLoader::Synchronise(std::uint8_t byte) {
  if (byte != kCarriageReturn || faults_.noSync || ++carriageReturns_ <= swallowed_) return {};
  if (faults_.wrongSync) return {{Byte(kWrongSync), 1, 0}};
  BeginTransfer(plan_ != Plan::Data);
  transferred_ = 0;
  return {{Byte(kSynchronized), 1, 0}};
}

void FlashLoader::BeginTransfer(bool program) {
  state_ = State::Transfer;
  program_transfer_ = program;
  part_ = Part::Header;
  pending_.clear();
  if (program) {
    program_ = Image{};
  }
}

int FlashLoader::HeaderWord(std::size_t at) const {
  return static_cast<std::uint8_t>(pending_[at]) | static_cast<std::uint8_t>(pending_[at + 1]) << 8;
}

// Every byte goes back as it arrives; a block's last word earns the acknowledgement.
std::vector<FlashLoader::Output> FlashLoader::Transfer(std::uint8_t byte) {
  std::vector<Output> out;
  const bool closing = part_ == Part::Closing;
  const bool wrong = transferred_++ == faults_.wrongEchoAt;
  if (!(closing && faults_.noClosingEcho)) out.push_back({Byte(wrong ? byte ^ 0xFF : byte), 2, 0});
  pending_.push_back(static_cast<char>(byte));
  switch (part_) {
    case Part::Header:
      if (pending_.size() < 4) break;
      count_ = HeaderWord(2) + 1;
      (program_transfer_ ? *program_ : blocks_.emplace_back()).address = HeaderWord(0);
      part_ = Part::Words;
      pending_.clear();
      break;
    case Part::Words: {
      if (pending_.size() < 2) break;
      Image& image = program_transfer_ ? *program_ : blocks_.back();
      image.words.push_back(static_cast<std::uint16_t>(HeaderWord(0)));
      pending_.clear();
      if (static_cast<int>(image.words.size()) < count_) break;
      if (!faults_.noAcknowledgement) out.push_back({Byte(kAcknowledgement), 1, faults_.lateAcknowledgementMs});
      if (!program_transfer_) {
        part_ = Part::Closing;
      } else if (plan_ == Plan::ProgramThenData) {
        BeginTransfer(false);
      } else {
        Finish();
      }
      break;
    }
    case Part::Closing:
      if (pending_.size() < 2) break;
      if (HeaderWord(0) == 0) {
        Finish();
      } else {
        BeginTransfer(false);
      }
      break;
  }
  return out;
}

void FlashLoader::Finish() {
  state_ = State::Frames;
  pending_.clear();
}

}  // namespace quendrel
