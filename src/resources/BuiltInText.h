#pragma once

// Gives access to the texts compiled into the program (script grammar, drive function templates,
// default settings) by their resource number.

#include <optional>
#include <string>
#include <vector>

namespace quendrel {

// The bytes of built-in text `number`, or nothing when the program has no such text.
std::optional<std::string> BuiltInText(int number);

// Every resource number compiled in, in ascending order.
std::vector<int> BuiltInTextNumbers();

}  // namespace quendrel
