#include "params/support/ParamImages.h"

#include <gtest/gtest.h>

#include "foundation/files/FileCipher.h"
#include "foundation/text/BitText.h"
#include "foundation/text/ParameterId.h"
#include "foundation/values/Crc16.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/compatibility/FirmwareInformationTemplate.h"

namespace quendrel {

std::string Be16(std::uint32_t value) {
  return {static_cast<char>((value >> 8) & 0xFF), static_cast<char>(value & 0xFF)};
}

std::string Be32(std::uint32_t value) { return Be16(value >> 16) + Be16(value & 0xFFFF); }

std::string Text8(std::string_view text) { return static_cast<char>(text.size()) + std::string(text); }

std::string Restamp(std::string image) {
  image.resize(image.size() - 2);
  AppendCrc16(image);
  return image;
}

std::string SealKvb(std::string_view body) {
  std::string image = "KVB1" + Be32(static_cast<std::uint32_t>(body.size())) + DecryptString(body);
  AppendCrc16(image);
  return image;
}

std::string OpenKvb(std::string_view image) { return DecryptString(image.substr(8, image.size() - 10)); }

namespace {

std::uint32_t ReadBe(std::string_view bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = 0; i < size; ++i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

}  // namespace

Fc2Parts OpenFc2(std::string_view image) {
  Fc2Parts parts;
  parts.Header = std::string(image.substr(4, 6));
  std::size_t at = 10;
  const std::uint32_t count = ReadBe(image, 8, 2);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t versionSize = static_cast<std::uint8_t>(image[at]);
    std::string version(image.substr(at + 1, versionSize));
    at += 1 + versionSize;
    const std::uint32_t blockSize = ReadBe(image, at, 4);
    at += 4;
    parts.Templates.emplace_back(std::move(version), DecryptString(image.substr(at, blockSize)));
    at += blockSize;
  }
  return parts;
}

std::string SealFc2(const Fc2Parts& parts) {
  std::string image = "FC2!" + parts.Header;
  for (const auto& [version, block] : parts.Templates) {
    image += Text8(version) + Be32(static_cast<std::uint32_t>(block.size())) + DecryptString(block);
  }
  AppendCrc16(image);
  return image;
}

KVBFile DriveFragment(const std::map<std::int32_t, std::string>& values) {
  const auto fit = FirmwareCompatibility().FitData(2.105);
  KVBFile fragment;
  for (const auto& [n, value] : values) {
    fragment.SetIdentifier(n, ParameterIdText(n));
    fragment.SetPAD(n, LongToBinaryString(fit->Template(n).iPad, false));
    fragment.SetValue(n, value);
  }
  return fragment;
}

KVBFile FullSet() {
  static const char* const kPads[] = {"0000000000010000", "0000000000000000", "0000000000010100",
                                      "0000000000000100", "0000000001110011", "1000001000000011",
                                      "",                 "0000000000110001", "0000000001010010"};
  static const char* const kValues[] = {"0", "12.5", "-250", "1.000", "-32768", "32767", "0.01", "3", ""};
  KVBFile set;
  set.SetDescription("Full set: every slot, every field \xB0\xE7");
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) {
    set.SetIdentifier(n, ParameterIdText(n));
    set.SetName(n, "Parameter " + std::to_string(n) + (n % 7 == 0 ? " Fran\xE7" "ais" : ""));
    set.SetValue(n, kValues[n % 9]);
    set.SetValueName(n, n % 5 == 0 ? "Name of " + std::to_string(n) : "");
    set.SetPAD(n, kPads[n % 9]);
    set.SetWorkFlag(n, n % 3 == 0);
    for (std::int32_t k = 0; k < n % 4; ++k) set.AddDVD(n, k * k * 3 - 1, "Choice " + std::to_string(k));
  }
  return set;
}

void ExpectSameSets(const KVBFile& expected, const KVBFile& actual) {
  EXPECT_EQ(expected.Description(), actual.Description());
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) {
    SCOPED_TRACE("slot " + std::to_string(n));
    ASSERT_EQ(expected.Identifier(n), actual.Identifier(n));
    ASSERT_EQ(expected.Name(n), actual.Name(n));
    ASSERT_EQ(expected.Value(n), actual.Value(n));
    ASSERT_EQ(expected.ValueName(n), actual.ValueName(n));
    ASSERT_EQ(expected.PAD(n), actual.PAD(n));
    ASSERT_EQ(expected.NumDVDs(n), actual.NumDVDs(n));
    for (std::int32_t i = 0; i < expected.NumDVDs(n); ++i) {
      ASSERT_EQ(expected.DVDNumber(n, i), actual.DVDNumber(n, i));
      ASSERT_EQ(expected.DVD(n, i), actual.DVD(n, i));
    }
  }
}

}  // namespace quendrel
