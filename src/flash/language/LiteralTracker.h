// Follows string literals through a script text one character at a time, as the tokeniser reads them.
#pragma once

#include <string>
#include <vector>

namespace quendrel {

// A literal opens at a double quote, a backslash escapes the next character, and an unterminated
// literal runs to the end of the text. The loader and the statement splitter share this rule so
// that they never disagree on where a statement ends.
class LiteralTracker {
 public:
  // Takes the next character; true when it belongs to a string literal (its quotes included).
  bool Step(char c);
  bool Open() const { return open_; }

 private:
  bool open_ = false;
  bool escape_ = false;
};

// Which characters of the text belong to a string literal.
std::vector<bool> LiteralMask(const std::string& text);

}  // namespace quendrel
