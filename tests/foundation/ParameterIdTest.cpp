#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "foundation/text/ParameterId.h"
#include "platform/ScriptedUi.h"

namespace quendrel {
namespace {

TEST(ParameterIdTest, TextIsMenuAndParameterAsTwoDigitsEach) {
  const std::pair<std::int32_t, std::string> cases[] = {
      {0, "M00P00"}, {102, "M01P02"}, {1205, "M12P05"}, {2099, "M20P99"}, {99, "M00P99"},
  };
  for (const auto& [number, text] : cases) {
    EXPECT_EQ(ParameterIdText(number), text) << number;
  }
}

TEST(ParameterIdTest, ParsesEitherLetterCaseAndBitForm) {
  ScriptedUi ui;
  const std::pair<std::string, std::int32_t> cases[] = {
      {"M12P05", 1205}, {"m01p02", 102}, {"M07B12", 712}, {"m00b00", 0}, {"M20P99", 2099},
  };
  for (const auto& [text, number] : cases) EXPECT_EQ(ParseParameterId(text), number) << text;
  for (std::int32_t n = 0; n < 2100; n += 37) EXPECT_EQ(ParseParameterId(ParameterIdText(n)), n);
  EXPECT_TRUE(ui.Questions().empty());
}

TEST(ParameterIdTest, InvalidTextIsReportedAndGivesMinusOne) {
  const std::string invalid[] = {"",       "M1P05", "M012P05", "X12P05",  "M12Q05",
                                 "M1AP05", "M12P0", " M12P05", "M12P05 ", "M12P5X"};
  for (const auto& text : invalid) {
    ScriptedUi ui;
    ui.AnswerMsgBox(vbOK);
    EXPECT_EQ(ParseParameterId(text), -1) << text;
    ASSERT_EQ(ui.Questions().size(), 1u) << text;
    const auto& question = ui.Questions().front();
    EXPECT_EQ(question.Prompt, "'" + text + "' is an invalid parameter ID.");
    EXPECT_EQ(question.Title, "Parse Error");
    EXPECT_EQ(question.Style, vbCritical | vbOKOnly);
  }
}

}  // namespace
}  // namespace quendrel
