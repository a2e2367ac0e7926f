// Builds and takes apart parameter and compatibility file images the way the formats are documented, so
// tests can make precisely damaged files and parameter sets with every kind of content.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "params/files/KVBFile.h"

namespace quendrel {

// Big-endian fields, as the file formats write them.
std::string Be16(std::uint32_t value);
std::string Be32(std::uint32_t value);
std::string Text8(std::string_view text);

// The image's last two bytes replaced by the CRC-16 of everything before them.
std::string Restamp(std::string image);

// "KVB1", the body's length, the enciphered body and the CRC.
std::string SealKvb(std::string_view body);
// The deciphered body of a well-formed image.
std::string OpenKvb(std::string_view image);

// An FC2 image taken apart: its 6 header bytes after the magic, and per template its version text and
// deciphered block.
struct Fc2Parts {
  std::string Header;
  std::vector<std::pair<std::string, std::string>> Templates;
};
Fc2Parts OpenFc2(std::string_view image);
std::string SealFc2(const Fc2Parts& parts);

// A set with every slot present and every field used: names with Latin-1 bytes, values with 0-3
// decimals and signs, value names, PADs of every kind (a few empty), value-name lists with gaps in their
// numbers, and every third slot work-flagged.
KVBFile FullSet();
// A fragment as the fragment editor saves it for the simulated drive: only the given values, each under
// the 2.105 template's identifier and PAD.
KVBFile DriveFragment(const std::map<std::int32_t, std::string>& values);
// Field-by-field equality of every slot except the work flags, which files do not hold.
void ExpectSameSets(const KVBFile& expected, const KVBFile& actual);

}  // namespace quendrel
