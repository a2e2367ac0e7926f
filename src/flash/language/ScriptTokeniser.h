// Cuts the text of one script statement into tokens and joins two-character operators.
#pragma once

#include <cstddef>
#include <limits>
#include <string_view>
#include <vector>

#include "flash/language/udtToken.h"

namespace quendrel {

class ScriptTokeniser {
 public:
  // Identifiers, numbers as written ("12", "1.5", "0x1F", "&H1F"), unescaped string literals and
  // one-character symbols. Comments are dropped without ending the token around them.
  static std::vector<udtToken> Tokenise(std::string_view text);
  // The same, stopping once more than mostTokens tokens are made: a caller that refuses longer
  // statements need not hold the tokens of a whole file.
  static std::vector<udtToken> Tokenise(std::string_view text, std::size_t mostTokens);

  // Joins adjacent pairs such as "=" "=" into "==" when no whitespace separates them; the pair
  // ending at the last token is left alone.
  static void JoinOperators(std::vector<udtToken>& tokens);

  static std::vector<udtToken> TokeniseAndJoin(std::string_view text);
  // Joined tokens, but only up to a little more than mostTokens of them: a longer text gives more
  // than mostTokens, never all.
  static std::vector<udtToken> TokeniseAndJoin(std::string_view text, std::size_t mostTokens);
};

}  // namespace quendrel
