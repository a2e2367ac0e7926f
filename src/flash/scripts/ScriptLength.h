// How many statements a script may hold: statement indexes, labels and ProgramLength are 16-bit,
// so a longer script could only run cut short or wrapped round.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace quendrel {

class UiServices;

inline constexpr std::size_t kMostStatements = std::numeric_limits<std::int16_t>::max();

// True when count statements fit; otherwise the user is told the count, under title, and false.
bool StatementCountFits(std::size_t count, UiServices& ui, const std::string& title);

// Every token of a script is charted once at load, at about two seconds a million: far more than any
// flash script holds, and a bound on how long a load may keep the window from answering.
inline constexpr std::size_t kMostScriptTokens = 1'000'000;

// True when count tokens may be loaded; otherwise the user is told so, under title, and false.
bool TokenCountFits(std::size_t count, UiServices& ui, const std::string& title);

}  // namespace quendrel
