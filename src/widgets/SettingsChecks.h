// The checks and the stored number form the serial and Ethernet settings share, for numbers kept
// as the user typed them until they are checked.
#pragma once

#include <string>

namespace quendrel {

// A number with no fraction, such as "3" or " 4.0"; "1.5" and "few" are not.
bool IsWholeNumberText(const std::string& text);

// "" when the text can be used, else the message that tells the user what to fix.
std::string TimeoutProblem(const std::string& seconds);
std::string RetriesProblem(const std::string& retries);

// The number as the INI file keeps it: " 0.50" is stored as "0.5".
std::string StoredNumberText(const std::string& text);

}  // namespace quendrel
