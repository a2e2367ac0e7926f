#include "resources/BuiltInText.h"

#include <map>
#include <string_view>

namespace quendrel {

namespace resources {
const std::map<int, const std::string_view*>& BuiltInTextTable();
}  // namespace resources

std::optional<std::string> BuiltInText(int number) {
  const auto& table = resources::BuiltInTextTable();
  const auto found = table.find(number);
  if (found == table.end()) return std::nullopt;
  return std::string(*found->second);
}

std::vector<int> BuiltInTextNumbers() {
  std::vector<int> numbers;
  for (const auto& [number, text] : resources::BuiltInTextTable()) numbers.push_back(number);
  return numbers;
}

}  // namespace quendrel
