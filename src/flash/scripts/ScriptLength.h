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

}  // namespace quendrel
