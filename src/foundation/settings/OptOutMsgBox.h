// Asks a question the user may silence for good, answering from the remembered choice once the
// user has ticked "do not show again".
#pragma once

#include <string>

namespace quendrel {

// Answer bits; the values callers test.
inline constexpr int OptOutCancel = 1;
inline constexpr int OptOutOK = 2;
inline constexpr int OptOutYes = 4;
inline constexpr int OptOutNo = 8;

// The settings section that keeps the remembered answers, one key per question.
inline constexpr const char* OptOutSection = "Warning Messages";

// flags is a message box style; the button sets used are OK/Cancel, Yes/No/Cancel and Yes/No.
// A remembered "OK", "Cancel", "Yes" or "No" under key is answered at once without a box. Otherwise
// the box is shown, with the tick only when offerNeverAgain is true, and a ticked answer is kept.
// Returns 0 for a button that has no answer bit (Abort, Retry, Ignore).
int OptOutMsgBox(const std::string& message, const std::string& title, int flags,
                 const std::string& key, bool offerNeverAgain);

}  // namespace quendrel
