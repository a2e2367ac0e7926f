// A program image for the drive's loader: a 16-digit header (length and load address) and the
// image as words of four hexadecimal digits, handed out one word at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quendrel {

class TextStream;

class InitializeHexFile {
 public:
  // Refuses (false, the previous image kept) a text without a full header, a Length below 1,
  // and a Length or Address word or one of the first Length data words that is cut short or
  // holds a non-hex character: a corrupt image must be refused before any of it reaches the
  // loader. Text after those words is ignored. False without a stream.
  bool LoadFromStream(TextStream* stream);
  bool LoadFromText(std::string_view text);
  // False when the file is missing or unreadable.
  bool Load(const std::string& path);

  void Rewind() { position_ = 1; }
  // The next word's two bytes, low byte first; "" once the image is used up.
  std::string NextWord();
  // The 1-based character position halved, halves rounded to the even neighbour.
  std::int32_t Position() const;

  std::int16_t Length() const { return length_; }
  std::int16_t Address() const { return address_; }
  std::int16_t Unused() const { return unused_; }
  // Length - 1, bytes swapped: what the loader takes as its count.
  std::int16_t LittleLength() const;
  std::int16_t LittleAddress() const;
  std::int16_t LittleUnused() const;

 private:
  std::int16_t unused_ = 0;
  std::int16_t length_ = 0;
  std::int16_t address_ = 0;
  std::string data_;  // two bytes a word, low byte first
  std::size_t position_ = 1;
};

}  // namespace quendrel
