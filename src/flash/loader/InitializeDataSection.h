// One block of initialisation words for the drive's loader, with the address of its first word;
// sent in blocks of at most 200 words, each acknowledged by the loader.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quendrel {

class GIOServer;
class ProgressServer;

// Where the loader's words go and how long it may take to acknowledge a block.
struct LoaderLine {
  GIOServer& server;
  double acknowledgeSeconds = 30.0;
};

class InitializeDataSection {
 public:
  static constexpr std::int32_t kBlockWords = 200;

  // Parses the section at the front of text and removes what it used. A Length below 1 ends the
  // file: text becomes empty. False (text left as it was) when the Length, Address or a data
  // word holds a non-hex character or the text ends inside them.
  bool LoadFromBinary(std::string& text);

  std::int16_t Address() const { return address_; }
  std::int16_t Length() const { return length_; }
  std::int16_t Blocks() const;
  const std::string& Data() const { return data_; }

  // Block by block; progress advances by one a block. False at the first block that fails.
  bool Send(const LoaderLine& line, ProgressServer& ps, bool bLast) const;

 private:
  // Addresses are computed in 32 bits and go out as their low 16 bits.
  static bool SendInitBlock(const LoaderLine& line, std::string_view data, std::int32_t count,
                            std::int32_t address, bool last);

  std::int16_t address_ = 0;
  std::int16_t length_ = 0;
  std::int16_t third_ = 0;
  std::string data_;  // two bytes a word, in the order written
};

}  // namespace quendrel
