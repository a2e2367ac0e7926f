#include "drivesim/ParameterTable.h"

#include <charconv>
#include <vector>

// The table text, one parameter a line; blank lines and lines whose first non-blank is "#" are
// skipped. Fields are separated by "|" and trimmed of blanks and tabs:
//
//   MM.PP | name | PAD | value | access | value names
//
//   MM.PP        menu 0-20, a point, the parameter as exactly two digits (12.05 is M12P05)
//   name         the name as the drive reports it, bytes as they stand (no "|")
//   PAD          16 binary digits, most significant first: bits 0-1 decimal places, bit 2 bit
//                parameter, bits 5-6 security level; bit 4 (writable) follows the access field
//   value        the raw signed 16-bit value, -32768..32767 (2105 with three decimals is 2.105)
//   access       "rw" or "ro"; a write to "ro" is refused with exception 3
//   value names  optional; ";"-separated display names of the values 0, 1, 2, ...
//
// Example:  11.29 | Software Version | 0000000000000011 | 2105 | ro |
//
// A line of two fields, "MM.PP | exception N" (N 1-255), makes the drive answer every value, name,
// value-name and write request for that parameter with exception N, listed or not, to reproduce a drive
// that refuses one parameter.

namespace quendrel {

namespace {

constexpr std::uint16_t kWritableBit = 1U << 4;
constexpr int kParameterCount = 2100;

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  while (true) {
    const auto at = text.find(separator, start);
    pieces.push_back(Trim(text.substr(start, at == std::string_view::npos ? at : at - start)));
    if (at == std::string_view::npos) return pieces;
    start = at + 1;
  }
}

bool ParseInt(std::string_view text, int& out) {
  if (text.empty()) return false;
  const auto* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, out);
  return result.ec == std::errc() && result.ptr == end;
}

std::optional<int> ParseNumber(std::string_view text) {
  const auto point = text.find('.');
  if (point == std::string_view::npos || text.size() - point - 1 != 2) return std::nullopt;
  int menu = 0;
  int parameter = 0;
  if (!ParseInt(text.substr(0, point), menu) || !ParseInt(text.substr(point + 1), parameter)) {
    return std::nullopt;
  }
  if (menu < 0 || parameter < 0 || menu * 100 + parameter >= kParameterCount) return std::nullopt;
  return menu * 100 + parameter;
}

std::optional<std::uint16_t> ParsePad(std::string_view text) {
  if (text.size() != 16) return std::nullopt;
  std::uint16_t pad = 0;
  for (const char c : text) {
    if (c != '0' && c != '1') return std::nullopt;
    pad = static_cast<std::uint16_t>((pad << 1) | (c == '1' ? 1U : 0U));
  }
  return pad;
}

std::string BadParameter(std::string_view text) {
  return "bad parameter \"" + std::string(text) + "\" (menu.parameter, e.g. 11.29)";
}

constexpr std::string_view kExceptionWord = "exception ";

bool IsExceptionEntry(const std::vector<std::string_view>& fields) {
  return fields.size() == 2 && fields[1].starts_with(kExceptionWord);
}

// Adds a "MM.PP | exception N" entry, or names what is wrong with it.
std::string AddExceptionEntry(const std::vector<std::string_view>& fields, ParameterTable& table) {
  const auto number = ParseNumber(fields[0]);
  if (!number) return BadParameter(fields[0]);
  int code = 0;
  const std::string_view codeText = Trim(fields[1].substr(kExceptionWord.size()));
  if (!ParseInt(codeText, code) || code < 1 || code > 255) {
    return "bad exception \"" + std::string(codeText) + "\" (1..255)";
  }
  if (!table.AddException(*number, static_cast<std::uint8_t>(code))) return "exception listed twice";
  return {};
}

// Fills parameter from one line's fields, or names what is wrong with them.
std::string ParseFields(const std::vector<std::string_view>& fields, SimParameter& parameter) {
  if (fields.size() < 5 || fields.size() > 6) return "expected 5 or 6 fields separated by |";
  const auto number = ParseNumber(fields[0]);
  if (!number) return BadParameter(fields[0]);
  const auto pad = ParsePad(fields[2]);
  if (!pad) return "bad PAD \"" + std::string(fields[2]) + "\" (16 binary digits)";
  int value = 0;
  if (!ParseInt(fields[3], value) || value < -32768 || value > 32767) {
    return "bad value \"" + std::string(fields[3]) + "\" (-32768..32767)";
  }
  if (fields[4] != "rw" && fields[4] != "ro") return "bad access \"" + std::string(fields[4]) + "\" (rw or ro)";

  parameter.number = *number;
  parameter.name = std::string(fields[1]);
  parameter.readOnly = fields[4] == "ro";
  parameter.pad = parameter.readOnly ? static_cast<std::uint16_t>(*pad & ~kWritableBit)
                                     : static_cast<std::uint16_t>(*pad | kWritableBit);
  parameter.value = static_cast<std::int16_t>(value);
  if (fields.size() == 6 && !fields[5].empty()) {
    for (const auto name : Split(fields[5], ';')) parameter.valueNames.emplace_back(name);
  }
  return {};
}

}  // namespace

std::optional<ParameterTable> ParameterTable::FromText(std::string_view text, std::string& error) {
  ParameterTable table;
  int lineNumber = 0;
  for (const auto line : Split(text, '\n')) {
    ++lineNumber;
    if (line.empty() || line.front() == '#') continue;
    const std::vector<std::string_view> fields = Split(line, '|');
    std::string reason;
    if (IsExceptionEntry(fields)) {
      reason = AddExceptionEntry(fields, table);
    } else {
      SimParameter parameter;
      reason = ParseFields(fields, parameter);
      if (reason.empty() && !table.Add(std::move(parameter))) reason = "parameter listed twice";
    }
    if (!reason.empty()) {
      error = "line " + std::to_string(lineNumber) + ": " + reason;
      return std::nullopt;
    }
  }
  return table;
}

bool ParameterTable::Add(SimParameter parameter) {
  if (parameter.number < 0 || parameter.number >= kParameterCount) return false;
  return parameters_.emplace(parameter.number, std::move(parameter)).second;
}

bool ParameterTable::AddException(int number, std::uint8_t code) {
  if (number < 0 || number >= kParameterCount) return false;
  return exceptions_.emplace(number, code).second;
}

std::optional<std::uint8_t> ParameterTable::Exception(int number) const {
  const auto it = exceptions_.find(number);
  if (it == exceptions_.end()) return std::nullopt;
  return it->second;
}

SimParameter* ParameterTable::Find(int number) {
  const auto it = parameters_.find(number);
  return it == parameters_.end() ? nullptr : &it->second;
}

const SimParameter* ParameterTable::Find(int number) const {
  const auto it = parameters_.find(number);
  return it == parameters_.end() ? nullptr : &it->second;
}

}  // namespace quendrel
