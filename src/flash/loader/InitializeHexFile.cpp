#include "flash/loader/InitializeHexFile.h"

#include <cmath>
#include <optional>

#include "comms/functions/ScriptPackage.h"
#include "flash/loader/LoaderText.h"
#include "foundation/files/RegularFile.h"
#include "foundation/files/TextStream.h"

namespace quendrel {

namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kDigitsPerWord = 4;

}  // namespace

bool InitializeHexFile::LoadFromStream(TextStream* stream) {
  if (stream == nullptr) return false;
  const std::string text = stream->ReadAll();
  stream->Close();
  return LoadFromText(text);
}

bool InitializeHexFile::LoadFromText(std::string_view raw) {
  const std::string text = LoaderText::Clean(raw);
  if (text.size() < kHeaderSize) return false;
  const auto length = LoaderText::Word(text, 4);
  const auto address = LoaderText::Word(text, 8);
  if (!length || !address || LoaderText::Signed(*length) < 1) return false;
  std::string data;
  data.reserve(2 * static_cast<std::size_t>(*length));
  for (std::size_t i = 0; i < *length; ++i) {
    const auto word = LoaderText::Word(text, kHeaderSize + kDigitsPerWord * i);
    if (!word) return false;
    data.push_back(static_cast<char>(*word & 0xFF));
    data.push_back(static_cast<char>(*word >> 8));
  }
  unused_ = LoaderText::Signed(LoaderText::LenientWord(text, 0));
  length_ = LoaderText::Signed(*length);
  address_ = LoaderText::Signed(*address);
  data_ = std::move(data);
  Rewind();
  return true;
}

bool InitializeHexFile::Load(const std::string& path) {
  std::string reason;
  const auto text = ReadRegularFile(path, kLargestScriptFile, reason);
  return text && LoadFromText(*text);
}

std::string InitializeHexFile::NextWord() {
  if (position_ + 1 > data_.size()) return {};
  std::string word = data_.substr(position_ - 1, 2);
  position_ += 2;
  return word;
}

std::int32_t InitializeHexFile::Position() const {
  return static_cast<std::int32_t>(std::nearbyint(static_cast<double>(position_) / 2.0));
}

std::int16_t InitializeHexFile::LittleLength() const {
  return LoaderText::Swapped(LoaderText::Signed(static_cast<std::uint32_t>(length_ - 1)));
}

std::int16_t InitializeHexFile::LittleAddress() const { return LoaderText::Swapped(address_); }

std::int16_t InitializeHexFile::LittleUnused() const { return LoaderText::Swapped(unused_); }

}  // namespace quendrel
