// An error that reaches a slot is shown once and goes no further; the message tells a
// run-time error by its number.
#include "platform/qt/GuardSlot.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "foundation/RuntimeError.h"
#include "platform/ScriptedUi.h"

namespace quendrel {
namespace {

TEST(GuardSlotTest, AnErrorIsShownAndStopsThere) {
  struct Case {
    const char* what;
    std::function<void()> action;
    const char* shown;  // null: nothing shown
  };
  const std::vector<Case> cases = {
      {"run-time error", [] { throw RuntimeError(errTypeMismatch, "pagPTreeGeneral", "Type mismatch"); },
       "Run-time error '13':\n\nType mismatch"},
      {"library error", [] { throw std::out_of_range("map::at"); }, "Unexpected error:\n\nmap::at"},
      {"anything else", [] { throw 42; }, "Unexpected error of an unknown kind."},
      {"no error", [] {}, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedUi ui;
    if (c.shown != nullptr) ui.AnswerMsgBox(vbOK);
    EXPECT_EQ(GuardSlot(c.action), c.shown == nullptr);
    ASSERT_EQ(ui.Questions().size(), c.shown == nullptr ? 0u : 1u);
    if (c.shown == nullptr) continue;
    EXPECT_EQ(ui.Questions()[0].Prompt, c.shown);
    EXPECT_EQ(ui.Questions()[0].Style, vbCritical);
  }
}

}  // namespace
}  // namespace quendrel
