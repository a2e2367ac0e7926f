#include "flash/support/LoaderFileText.h"

#include <cstdio>

namespace quendrel {

namespace {

constexpr std::size_t kDigitsPerBlock = 200 * 4;

std::string Hex2(int value) {
  char text[4];
  std::snprintf(text, sizeof text, "%02X", value & 0xFF);
  return text;
}

std::string IntelHexLine(int type, std::uint16_t address, const std::string& data) {
  int sum = static_cast<int>(data.size()) + (address >> 8) + (address & 0xFF) + type;
  std::string line = ":" + Hex2(static_cast<int>(data.size())) + Hex4(address) + Hex2(type);
  for (const char byte : data) {
    line += Hex2(static_cast<unsigned char>(byte));
    sum += static_cast<unsigned char>(byte);
  }
  return line + Hex2(-sum) + "\r\n";
}

}  // namespace

std::string Hex4(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
  return text;
}

std::string HexWords(int count, int seed) {
  std::string text;
  for (int i = 0; i < count; ++i) text += Hex4(seed * 7919 + i * 104729);
  return text;
}

std::string ProgramImageText(int address, const std::string& words) {
  const int length = static_cast<int>(words.size() / 4);
  std::string text = "0000" + Hex4(length) + Hex4(address) + "0000";
  for (std::size_t at = 0; at < words.size(); at += 64) text += "\r\n" + words.substr(at, 64);
  return text + "\r\nDownload completed";
}

std::string DataFileText(const std::vector<DataSection>& sections) {
  std::string text = Hex4(static_cast<int>(sections.size())) + "\r\n";
  for (const auto& section : sections) {
    const int length = static_cast<int>(section.words.size() / 4);
    text += Hex4(length) + Hex4(section.address) + "0000\r\n" + section.words + "\r\n";
  }
  return text + "Download completed";
}

std::string ExpectedBlocks(const std::vector<DataSection>& sections) {
  std::string blocks;
  for (const auto& section : sections) {
    for (std::size_t first = 0; first < section.words.size(); first += kDigitsPerBlock) {
      blocks += (blocks.empty() ? "" : " ") + Hex4(section.address + static_cast<int>(first / 4)) + ":" +
                section.words.substr(first, kDigitsPerBlock);
    }
  }
  return blocks;
}

std::vector<HexRecord> HexRecords(int count, std::size_t size, std::uint16_t address) {
  std::vector<HexRecord> records;
  for (int i = 0; i < count; ++i) {
    std::string data;
    for (std::size_t k = 0; k < size; ++k) data += static_cast<char>((i * 31 + static_cast<int>(k) * 7 + 5) & 0xFF);
    records.push_back({static_cast<std::uint16_t>(address + i * size), data});
  }
  return records;
}

std::string IntelHexText(const std::vector<HexRecord>& records) {
  std::string text;
  for (const auto& record : records) text += IntelHexLine(0, record.address, record.data);
  return text + IntelHexLine(1, 0, {});
}

}  // namespace quendrel
