// One token of a script statement as the tokeniser hands it to the chart parser.
#pragma once

#include <cstdint>
#include <string>

namespace quendrel {

enum eTokType : std::int32_t {
  ttNone = 0,
  ttIdentifier = 1,
  ttNumeric = 2,
  ttSymbol = 3,
  ttStringLiteral = 4,
  ttParentheses = 5,
};

struct udtToken {
  std::string strToken;
  eTokType ttType = ttNone;
  // Whitespace directly follows the token; two-character operators join only when it doesn't.
  bool blnWhitespace = false;
};

}  // namespace quendrel
