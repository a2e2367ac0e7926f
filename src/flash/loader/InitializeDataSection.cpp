#include "flash/loader/InitializeDataSection.h"

#include <algorithm>
#include <optional>

#include "comms/server/GIOServer.h"
#include "flash/loader/LoaderText.h"
#include "foundation/progress/ProgressServer.h"

namespace quendrel {

namespace {

constexpr std::size_t kWordDigits = 4;
constexpr std::size_t kHeaderDigits = 12;
constexpr std::int32_t kClosingLast = 0;
constexpr std::int32_t kClosingMore = 1;

}  // namespace

bool InitializeDataSection::LoadFromBinary(std::string& text) {
  const auto length = LoaderText::Word(text, 0);
  if (!length) return false;
  if (LoaderText::Signed(*length) < 1) {
    length_ = LoaderText::Signed(*length);
    text.clear();
    return true;
  }
  const auto address = LoaderText::Word(text, kWordDigits);
  if (!address) return false;
  std::string data;
  data.reserve(2 * static_cast<std::size_t>(*length));
  for (std::size_t i = 0; i < *length; ++i) {
    const auto word = LoaderText::Word(text, kHeaderDigits + kWordDigits * i);
    if (!word) return false;
    data.push_back(static_cast<char>(*word >> 8));
    data.push_back(static_cast<char>(*word & 0xFF));
  }
  length_ = LoaderText::Signed(*length);
  address_ = LoaderText::Signed(*address);
  third_ = LoaderText::Signed(LoaderText::LenientWord(text, 2 * kWordDigits));
  data_ = std::move(data);
  text.erase(0, kHeaderDigits + kWordDigits * static_cast<std::size_t>(length_));
  return true;
}

std::int16_t InitializeDataSection::Blocks() const {
  if (length_ <= kBlockWords) return 1;
  return static_cast<std::int16_t>(length_ / kBlockWords + 1);
}

bool InitializeDataSection::Send(const LoaderLine& line, ProgressServer& ps, bool bLast) const {
  const std::int32_t start = ps.Progress();
  const std::int32_t base = static_cast<std::uint16_t>(address_);
  std::int32_t block = 0;
  for (std::int32_t first = 0; first < length_; first += kBlockWords) {
    const std::int32_t count = std::min(kBlockWords, length_ - first);
    const bool lastBlock = first + count >= length_;
    const std::string_view data = std::string_view(data_).substr(2 * static_cast<std::size_t>(first),
                                                                  2 * static_cast<std::size_t>(count));
    const bool sent = SendInitBlock(line, data, count, base + first, lastBlock && bLast);
    ps.SetProgress(start + ++block);
    if (!sent) return false;
  }
  return true;
}

bool InitializeDataSection::SendInitBlock(const LoaderLine& line, std::string_view data, std::int32_t count,
                                          std::int32_t address, bool last) {
  GIOServer& server = line.server;
  // The loader may leave these unechoed: their results are not the block's.
  server.WriteWord(address, true, true);
  server.WriteWord(count - 1, true, true);
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    const auto high = static_cast<std::uint8_t>(data[i]);
    const auto low = static_cast<std::uint8_t>(data[i + 1]);
    // The stored bytes taken low byte first: the word goes out with its bytes swapped.
    if (!server.WriteWord(low << 8 | high, true, false)) return false;
  }
  std::uint8_t acknowledgement = 0;
  if (server.WaitForByte(acknowledgement, line.acknowledgeSeconds) == 0) return false;
  server.WriteWord(last ? kClosingLast : kClosingMore, true, true);
  return true;
}

}  // namespace quendrel
