#include "foundation/text/TextChecks.h"

#include <algorithm>

namespace quendrel {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

template <class Predicate>
bool AllOf(std::string_view text, Predicate inClass) {
  return !text.empty() && std::all_of(text.begin(), text.end(), inClass);
}

// Resolves the \x escape whose digits start at `at`; returns how many digits it used (0 when
// there is no hexadecimal digit there).
std::size_t AppendHexEscape(std::string_view text, std::size_t at, std::string& out) {
  int code = 0;
  std::size_t used = 0;
  while (used < 3 && at + used < text.size()) {
    const int digit = HexDigitValue(text[at + used]);
    if (digit < 0 || code * 16 + digit > 255) break;
    code = code * 16 + digit;
    ++used;
  }
  if (used > 0) out.push_back(static_cast<char>(code));
  return used;
}

}  // namespace

bool IsAlphanumericText(std::string_view text) {
  return AllOf(text, [](char c) { return IsAsciiLetter(c) || IsDigit(c) || c == '.'; });
}

bool IsBlankText(std::string_view text) {
  return AllOf(text, [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

bool IsHexText(std::string_view text) {
  return AllOf(text, [](char c) { return HexDigitValue(c) >= 0; });
}

bool IsLetterText(std::string_view text) { return AllOf(text, IsAsciiLetter); }

std::string StripQuotes(std::string_view text) {
  while (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  return std::string(text);
}

std::string UnescapeString(std::string_view quoted) {
  const std::string text = StripQuotes(quoted);
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i++];
    if (c != '\\' || i == text.size()) {
      out.push_back(c);
      continue;
    }
    switch (text[i]) {
      case '\\':
        out.push_back('\\');
        ++i;
        break;
      case 'n':
        out += "\r\n";
        ++i;
        break;
      case 't':
        out.push_back('\t');
        ++i;
        break;
      case '"':
        out.push_back('"');
        ++i;
        break;
      case 'x': {
        const std::size_t used = AppendHexEscape(text, i + 1, out);
        if (used == 0) {
          out.push_back('\\');
          break;
        }
        i += 1 + used;
        break;
      }
      default:
        out.push_back('\\');
        break;
    }
  }
  return out;
}

}  // namespace quendrel
