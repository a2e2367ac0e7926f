#include "flash/scripts/StatementScanner.h"

#include <algorithm>

namespace quendrel {

namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool HoldsText(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) > ' '; });
}

}  // namespace

bool StatementScanner::Scan(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!Take(text, i)) return false;
  }
  if (literal_.Open() || parens_ > 0) return false;
  return !HoldsText(statement_) || EndStatement();
}

bool StatementScanner::Take(const std::string& text, std::size_t& i) {
  const char c = text[i];
  const char p = previous_;
  const bool pKept = previousKept_;
  previous_ = c;
  previousKept_ = false;
  if (inComment_) {
    inComment_ = !(p == '*' && c == '/');
    return true;
  }
  if (literal_.Open() || c == '"') {
    literal_.Step(c);
    return Keep(c);
  }
  if (p == '/' && (c == '*' || c == '/')) return StartComment(text, i, c, pKept);
  if ((c == '{' || c == '}') && parens_ == 0) return Brace(c);
  if (c == ';' && parens_ == 0 && !Trim(statement_).empty()) return EndStatement();
  if (c == '(') ++parens_;
  if (c == ')' && parens_ > 0) --parens_;
  return Keep(c);
}

bool StatementScanner::Keep(char c) {
  if (c == '\n' || c == '\r' || c == '\t') return true;
  statement_ += c;
  previousKept_ = true;
  return true;
}

bool StatementScanner::StartComment(const std::string& text, std::size_t& i, char c, bool slashKept) {
  if (slashKept) statement_.pop_back();
  previous_ = 0;
  if (c == '*') {
    inComment_ = true;
    return true;
  }
  // CR alone, LF alone and CR LF each end a line.
  const auto lineEnd = text.find_first_of("\r\n", i);
  i = lineEnd == std::string::npos ? text.size() : lineEnd;
  return true;
}

bool StatementScanner::Brace(char c) {
  const std::string trimmed = Trim(statement_);
  if (!trimmed.empty() && !sink_.Whole(trimmed)) return false;
  statement_ = std::string(1, c);
  return EndStatement();
}

bool StatementScanner::EndStatement() {
  if (!sink_.Split(Trim(statement_))) return false;
  statement_.clear();
  return true;
}

}  // namespace quendrel
