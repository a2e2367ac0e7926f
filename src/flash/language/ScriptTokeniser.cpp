#include "flash/language/ScriptTokeniser.h"

#include <array>
#include <string>
#include <utility>

#include "foundation/text/TextChecks.h"

namespace quendrel {

namespace {

bool IsWhitespace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The reading state of one text; a token in progress lives here until something ends it.
class Scanner {
 public:
  Scanner(std::string_view text, std::size_t mostTokens) : text_(text), mostTokens_(mostTokens) {}

  std::vector<udtToken> Run() {
    for (index_ = 0; index_ < text_.size() && tokens_.size() <= mostTokens_; ++index_) {
      Step(text_[index_]);
      previous_ = text_[index_];
    }
    if (!token_.empty()) {
      if (type_ == ttStringLiteral) {
        token_ += '"';  // an unterminated literal keeps its text as written
      }
      Append();
    }
    return std::move(tokens_);
  }

 private:
  bool HasNext() const { return index_ + 1 < text_.size(); }
  char Next() const { return text_[index_ + 1]; }

  void Step(char c) {
    if (lineComment_) {
      lineComment_ = c != '\r' && c != '\n';
      return;
    }
    if (blockComment_) {
      blockComment_ = !(c == '/' && previous_ == '*');
      return;
    }
    if (type_ != ttStringLiteral && c == '/' && HasNext() && (Next() == '*' || Next() == '/')) {
      (Next() == '*' ? blockComment_ : lineComment_) = true;
      return;
    }
    if (IsWhitespace(c) && type_ != ttStringLiteral && type_ != ttParentheses) {
      whitespace_ = true;
      if (!token_.empty()) {
        Append();
      }
      return;
    }
    whitespace_ = false;
    while (!Continue(c)) {
      Append();
    }
  }

  // Adds c to the token in progress; false when c cannot belong to it, so the token ends and c
  // starts the next one.
  bool Continue(char c) {
    switch (type_) {
      case ttNone:
        Start(c);
        return true;
      case ttIdentifier:
        return Accept(c, IsLetter(c) || IsDigit(c) || c == '_');
      case ttNumeric:
        return ContinueNumber(c);
      case ttStringLiteral:
        ContinueString(c);
        return true;
      default:
        return false;
    }
  }

  void Start(char c) {
    token_ = std::string(1, c);
    if (c == '"') {
      type_ = ttStringLiteral;
    } else if (IsLetter(c) || c == '_') {
      type_ = ttIdentifier;
    } else if (IsDigit(c)) {
      type_ = ttNumeric;
      hex_ = false;
    } else if (c == '&' && HasNext() && (Next() == 'H' || Next() == 'h')) {
      type_ = ttNumeric;
      hex_ = true;
    } else {
      type_ = ttSymbol;
    }
  }

  bool ContinueNumber(char c) {
    if (IsDigit(c) || (c == '.' && !hex_ && token_.find('.') == std::string::npos) ||
        (hex_ && IsHexDigit(c))) {
      return Accept(c, true);
    }
    if ((c == 'x' && token_ == "0") || ((c == 'H' || c == 'h') && token_ == "&")) {
      hex_ = true;
      return Accept(c, true);
    }
    return false;
  }

  void ContinueString(char c) {
    token_ += c;
    const bool closing = c == '"' && !escape_;
    escape_ = c == '\\' && !escape_;
    if (!closing) {
      return;
    }
    if (HasNext() && IsWhitespace(Next())) {
      whitespace_ = true;
    }
    token_ = UnescapeString(token_);
    Append();
  }

  bool Accept(char c, bool accepted) {
    if (accepted) {
      token_ += c;
    }
    return accepted;
  }

  void Append() {
    tokens_.push_back(udtToken{std::move(token_), type_, whitespace_});
    token_.clear();
    type_ = ttNone;
    whitespace_ = false;
  }

  std::string_view text_;
  std::size_t mostTokens_;
  std::size_t index_ = 0;
  std::vector<udtToken> tokens_;
  std::string token_;
  eTokType type_ = ttNone;
  bool whitespace_ = false;
  bool escape_ = false;
  bool hex_ = false;
  bool blockComment_ = false;
  bool lineComment_ = false;
  char previous_ = '^';
};

bool Joins(const std::string& first, const std::string& second) {
  static constexpr std::array<std::pair<char, char>, 9> kPairs = {{
      {'=', '='}, {'!', '='}, {'<', '='}, {'>', '='}, {'&', '&'},
      {'|', '|'}, {'^', '^'}, {'<', '<'}, {'>', '>'},
  }};
  if (first.size() != 1 || second.size() != 1) {
    return false;
  }
  for (const auto& [a, b] : kPairs) {
    if (first[0] == a && second[0] == b) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::vector<udtToken> ScriptTokeniser::Tokenise(std::string_view text) {
  return Tokenise(text, std::numeric_limits<std::size_t>::max());
}

std::vector<udtToken> ScriptTokeniser::Tokenise(std::string_view text, std::size_t mostTokens) {
  return Scanner(text, mostTokens).Run();
}

// tokens[kept] is the last token of the result so far, the first of any pair; a joined token
// is two characters long, so it never joins again. The pair ending at the last token is never
// looked at.
void ScriptTokeniser::JoinOperators(std::vector<udtToken>& tokens) {
  if (tokens.empty()) {
    return;
  }
  std::size_t kept = 0;
  for (std::size_t k = 1; k < tokens.size(); ++k) {
    udtToken& first = tokens[kept];
    if (k + 1 < tokens.size() && !first.blnWhitespace && Joins(first.strToken, tokens[k].strToken)) {
      tokens[k].strToken.insert(0, first.strToken);
      first = std::move(tokens[k]);
    } else if (++kept != k) {
      tokens[kept] = std::move(tokens[k]);
    }
  }
  tokens.resize(kept + 1);
}

std::vector<udtToken> ScriptTokeniser::TokeniseAndJoin(std::string_view text) {
  auto tokens = Tokenise(text);
  JoinOperators(tokens);
  return tokens;
}

// Joining at most halves the count, so twice the limit and one more always joins to more than it.
std::vector<udtToken> ScriptTokeniser::TokeniseAndJoin(std::string_view text, std::size_t mostTokens) {
  auto tokens = Tokenise(text, 2 * mostTokens + 2);
  JoinOperators(tokens);
  return tokens;
}

}  // namespace quendrel
