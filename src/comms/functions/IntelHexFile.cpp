#include "comms/functions/IntelHexFile.h"

#include <algorithm>
#include <optional>

namespace quendrel {

namespace {

constexpr int kDataRecord = 0;
constexpr int kEndOfFileRecord = 1;
constexpr int kExtendedSegmentRecord = 2;
constexpr int kExtendedLinearRecord = 4;
constexpr int kLastKnownRecord = 5;  // extended segment and linear addresses, start addresses

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> HexBytes(std::string_view digits) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
    const int high = HexValue(digits[i]);
    const int low = HexValue(digits[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<char>(high * 16 + low));
  }
  return bytes;
}

std::string_view Trimmed(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

bool IntelHexFile::Fail(int line, const std::string& reason) {
  return Refuse("line " + std::to_string(line) + ": " + reason);
}

bool IntelHexFile::Refuse(const std::string& reason) {
  records_.clear();
  error_ = reason;
  return false;
}

bool IntelHexFile::HoldsData() const {
  return std::any_of(records_.begin(), records_.end(), [](const Record& record) { return !record.data.empty(); });
}

bool IntelHexFile::Parse(std::string_view text) {
  records_.clear();
  error_.clear();
  std::size_t start = 0;
  int number = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = Trimmed(text.substr(start, end - start));
    start = end + 1;
    ++number;
    if (line.empty()) continue;
    Record record;
    switch (ReadLine(line, record)) {
      case Kind::Data:
        records_.push_back(std::move(record));
        break;
      case Kind::Other:
        break;
      case Kind::EndOfFile:
        return HoldsData() ? true : Refuse("no data before the end-of-file record");
      case Kind::Malformed:
        return Fail(number, reason_);
    }
  }
  // A file cut at a line end reads as well-formed up to the cut: only its missing end record tells
  // that the rest of the image never arrived.
  return Refuse("no end-of-file record");
}

IntelHexFile::Kind IntelHexFile::ReadLine(std::string_view line, Record& record) {
  if (line[0] != ':') {
    reason_ = "a record must start with ':'";
    return Kind::Malformed;
  }
  const std::string_view digits = line.substr(1);
  const auto bytes = HexBytes(digits);
  if (!bytes) {
    reason_ = "bad hexadecimal digit";
    return Kind::Malformed;
  }
  // Count, address (two bytes), type, data, checksum.
  const auto count = bytes->empty() ? 0U : static_cast<std::uint8_t>((*bytes)[0]);
  if (digits.size() % 2 != 0 || bytes->size() < 5 || bytes->size() != 5U + count) {
    reason_ = "truncated record";
    return Kind::Malformed;
  }
  unsigned sum = 0;
  for (const char byte : *bytes) sum += static_cast<std::uint8_t>(byte);
  if ((sum & 0xFF) != 0) {
    reason_ = "bad checksum";
    return Kind::Malformed;
  }
  const int type = static_cast<std::uint8_t>((*bytes)[3]);
  if (type > kLastKnownRecord) {
    reason_ = "unknown record type " + std::to_string(type);
    return Kind::Malformed;
  }
  if (type == kEndOfFileRecord) return Kind::EndOfFile;
  if (type == kExtendedSegmentRecord || type == kExtendedLinearRecord) return ExtendedAddress(*bytes);
  if (type != kDataRecord) return Kind::Other;
  record.address = static_cast<std::uint16_t>((static_cast<std::uint8_t>((*bytes)[1]) << 8) |
                                              static_cast<std::uint8_t>((*bytes)[2]));
  record.data = bytes->substr(4, count);
  return Kind::Data;
}

// The drive's packet carries a 16-bit address, so data based anywhere but at 0 would land at its low
// 16 bits, over the image's own start. Tools that always write a base may write a zero one.
IntelHexFile::Kind IntelHexFile::ExtendedAddress(const std::string& bytes) {
  if (bytes.size() != 7) {
    reason_ = "an extended address record must hold two bytes";
    return Kind::Malformed;
  }
  if (bytes[4] != '\0' || bytes[5] != '\0') {
    reason_ = "data above 64 KiB";
    return Kind::Malformed;
  }
  return Kind::Other;
}

}  // namespace quendrel
