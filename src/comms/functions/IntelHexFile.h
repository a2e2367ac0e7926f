// The data records of an Intel HEX text, all checked before any of them is sent to a drive.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quendrel {

class IntelHexFile {
 public:
  struct Record {
    std::uint16_t address = 0;
    std::string data;
  };

  // Reads every record up to the end-of-file record. False, with the reason and its line number in
  // Error(), for a bad hexadecimal digit, a bad checksum, a truncated line, an unknown record type or
  // an extended address record that sets a base other than 0; false, with the reason alone, for a text
  // that never reaches its end-of-file record or holds no data byte before it.
  bool Parse(std::string_view text);
  const std::vector<Record>& DataRecords() const { return records_; }
  const std::string& Error() const { return error_; }

 private:
  enum class Kind { Data, Other, EndOfFile, Malformed };
  Kind ReadLine(std::string_view line, Record& record);
  Kind ExtendedAddress(const std::string& bytes);
  bool Fail(int line, const std::string& reason);
  bool Refuse(const std::string& reason);
  bool HoldsData() const;

  std::vector<Record> records_;
  std::string error_;
  std::string reason_;
};

}  // namespace quendrel
