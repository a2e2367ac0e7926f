// Cuts the text of a version-2 script into statement texts, as the loader reads it: comments are
// dropped and statements cut where no string literal, block comment or parenthesis is open.
#pragma once

#include <cstddef>
#include <string>

#include "flash/language/LiteralTracker.h"

namespace quendrel {

// Where the scanner hands the statement texts it cuts; false stops the scan.
class StatementSink {
 public:
  virtual ~StatementSink() = default;
  // Text cut off by a brace: one statement, parsed whole.
  virtual bool Whole(const std::string& text) = 0;
  // Text cut at ";", at a brace or at the end: split again at ";" and braces into statements.
  virtual bool Split(const std::string& text) = 0;
};

// One pass over the text. Line breaks and tabs inside a statement are dropped, not turned into
// blanks; a brace outside parentheses is a statement of its own.
class StatementScanner {
 public:
  explicit StatementScanner(StatementSink& sink) : sink_(sink) {}

  // False when the sink stopped the scan, or a string literal or parenthesis is still open at the end.
  bool Scan(const std::string& text);

 private:
  bool Take(const std::string& text, std::size_t& i);
  bool Keep(char c);
  bool StartComment(const std::string& text, std::size_t& i, char c, bool slashKept);
  bool Brace(char c);
  bool EndStatement();

  StatementSink& sink_;
  std::string statement_;
  LiteralTracker literal_;
  bool inComment_ = false;
  int parens_ = 0;
  char previous_ = 0;
  bool previousKept_ = false;
};

}  // namespace quendrel
