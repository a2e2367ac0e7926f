// Version-1 flash scripts as version-2 statement texts: each command line of semicolon-separated
// fields becomes one drive function call, Wait call, timeout assignment or End.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quendrel {

// The statement name of a version-1 command word: "funcNN" by its drive function code (the two
// characters after "func"; an unknown code keeps the word), "wait", "setdrivetimeout" and the end
// marker by name, any other word "".
std::string TranslateFLACommand(std::string_view word);

// The text as it goes between the double quotes of a string literal.
std::string EscapeFLAString(std::string_view text);

// One command line as a statement text.
std::string TranslateFLALine(std::string_view line);

// Every command line of a script, comments removed, as statement texts in order.
std::vector<std::string> TranslateFLAScript(std::string_view text);

}  // namespace quendrel
