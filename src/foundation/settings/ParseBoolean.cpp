#include "foundation/settings/ParseBoolean.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "foundation/text/DateText.h"
#include "foundation/text/NumberText.h"

namespace quendrel {

bool ParseBoolean(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return false;
  std::string word(text.substr(first, text.find_last_not_of(" \t") - first + 1));
  std::transform(word.begin(), word.end(), word.begin(),
                 [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
  if (word == "true") return true;
  if (word == "false") return false;
  if (const std::optional<double> date = ParseDateText(word)) return *date != 0;
  const std::optional<double> number = NumericTextValue(word);
  return number && *number != 0;
}

}  // namespace quendrel
