// An error that reaches a slot is shown once and goes no further; the message tells a
// run-time error by its number.
#include "platform/qt/GuardSlot.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "platform/NumberedError.h"
#include "platform/ScriptedUi.h"

namespace quendrel {
namespace {

TEST(GuardSlotTest, AnErrorIsShownOnceAndGoesNoFurther) {
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[] { throw NumberedError(13, "Type mismatch"); },
       "Run-time error '13':\n\nType mismatch"},
      {[] { throw std::out_of_range("map::at"); }, "Unexpected error:\n\nmap::at"},
      {[] { throw 42; }, "Unexpected error of an unknown kind."}};
  for (const auto& [action, shown] : cases) {
    ScriptedUi ui;
    ui.AnswerMsgBox(vbOK);
    EXPECT_FALSE(GuardSlot(action));
    EXPECT_EQ(ui.Prompts(), std::vector<std::string>{shown});
  }
  ScriptedUi quiet;
  EXPECT_TRUE(GuardSlot([] {}));
}

}  // namespace
}  // namespace quendrel
