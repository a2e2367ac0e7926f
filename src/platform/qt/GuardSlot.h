// Keeps exceptions out of Qt's event loop, which cannot carry them: an error that reaches a
// slot or an event handler ends that one action and is shown to the user, and the program
// goes on.
#pragma once

#include <exception>
#include <utility>

namespace quendrel {

// Tells the user, through Ui()'s message box, of an error no caller was there to handle.
void ReportUnexpectedError(const std::exception& error);
void ReportUnknownError();

// Runs action inside a slot or event handler; false when it threw (the error has been shown).
template <typename Action>
bool GuardSlot(Action&& action) noexcept {
  try {
    std::forward<Action>(action)();
    return true;
  } catch (const std::exception& error) {
    ReportUnexpectedError(error);
  } catch (...) {
    ReportUnknownError();
  }
  return false;
}

}  // namespace quendrel
