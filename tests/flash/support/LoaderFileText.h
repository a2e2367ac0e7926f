// The texts of the files a flash loader is fed from, made up for tests: hex-word program images,
// initialisation data files and Intel HEX files, with what the simulated drive must record of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quendrel {

// Four upper-case hexadecimal digits of the value's low 16 bits.
std::string Hex4(int value);
// count words made from a seed, as four hexadecimal digits each.
std::string HexWords(int count, int seed);

// A program image: the 16-digit header (length and address) and the words, split over lines and
// ending in the completion marker, as such files come.
std::string ProgramImageText(int address, const std::string& words);

struct DataSection {
  int address;
  std::string words;  // hexadecimal digits
};

std::string DataFileText(const std::vector<DataSection>& sections);
// The blocks of at most 200 words the loader must have received, as the simulator lists them.
std::string ExpectedBlocks(const std::vector<DataSection>& sections);

struct HexRecord {
  std::uint16_t address;
  std::string data;
};

// Data records of made-up bytes, count records of size bytes from the address on.
std::vector<HexRecord> HexRecords(int count, std::size_t size, std::uint16_t address);
// The records as Intel HEX lines, checksums and the end-of-file record included.
std::string IntelHexText(const std::vector<HexRecord>& records);

}  // namespace quendrel
