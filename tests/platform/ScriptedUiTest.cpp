// The scripted UiServices must answer in order, record what was asked, and turn every
// unplanned or missing question into a test failure; the silent default answers as Enter does.
#include "platform/ScriptedUi.h"
#include "support/CaseName.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace quendrel {
namespace {

struct ButtonCase {
  int style;
  int defaultButton;
  int count;
};

class DefaultButtonTest : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(DefaultButtonTest, SilentUiAnswersTheDefaultButton) {
  const ButtonCase& c = GetParam();
  EXPECT_EQ(DefaultButton(c.style), c.defaultButton);
  EXPECT_EQ(ButtonCount(c.style), c.count);
  EXPECT_EQ(Ui().MsgBox("Go on?", c.style, "Question"), c.defaultButton);
  bool optedOut = true;
  EXPECT_EQ(Ui().OptOutBox("Go on?", c.style, "Question", true, optedOut), c.defaultButton);
  EXPECT_FALSE(optedOut);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, DefaultButtonTest,
    ::testing::Values(ButtonCase{vbOKOnly, vbOK, 1},
                      ButtonCase{vbOKCancel | vbDefaultButton2, vbCancel, 2},
                      ButtonCase{vbAbortRetryIgnore | vbDefaultButton3, vbIgnore, 3},
                      ButtonCase{vbYesNoCancel | vbQuestion, vbYes, 3},
                      ButtonCase{vbYesNoCancel | vbDefaultButton2, vbNo, 3},
                      ButtonCase{vbYesNo | vbDefaultButton3, vbYes, 2},  // no third button
                      ButtonCase{7, vbOK, 1}),  // unknown button set: OK only
    [](const ::testing::TestParamInfo<ButtonCase>& info) {
      return CaseName(info.index, "style " + std::to_string(info.param.style));
    });

TEST(SilentUi, CancelsDialogsAndKeepsTheInputDefault) {
  std::uint32_t color = 0x123456;
  FontDialogChoice font;
  EXPECT_EQ(Ui().InputBox("Gain:", "Custom Gain", "1.5"), "1.5");
  EXPECT_EQ(Ui().FileDialog({}), "");
  EXPECT_FALSE(Ui().ColorDialog(color, cdlCCRGBInit));
  EXPECT_EQ(color, 0x123456u);
  EXPECT_FALSE(Ui().FontDialog(font, 0));
  EXPECT_FALSE(Ui().PrintImage({}, true));
}

TEST(ScriptedUi, InstallsItselfWhileItLives) {
  {
    ScriptedUi ui;
    EXPECT_EQ(&Ui(), &ui);
    ui.AnswerMsgBox(vbNo);
    EXPECT_EQ(Ui().MsgBox("Save?", vbYesNo, "Unsaved"), vbNo);
  }
  // The silent default is back: no failure, the default button.
  EXPECT_EQ(Ui().MsgBox("Save?", vbYesNo, "Unsaved"), vbYes);
}

TEST(ScriptedUi, AnswersEachKindFromItsOwnQueueInOrder) {
  ScriptedUi ui;
  ui.AnswerMsgBox(vbRetry);
  ui.AnswerMsgBox(vbCancel);
  ui.AnswerInputBox("2.5");
  ui.AnswerFileDialog("/tmp/a.KVB");
  EXPECT_EQ(ui.InputBox("Input a gain value:", "Custom Gain Selection", "1"), "2.5");
  EXPECT_EQ(ui.MsgBox("Port busy", vbRetryCancel, "Error"), vbRetry);
  FileDialogRequest request;
  request.Save = true;
  request.Filter = "Parameter Files Only (*.KVB)|*.KVB";
  request.Title = "Save As...";
  request.Flags = cdlOFNOverwritePrompt | cdlOFNHideReadOnly;
  EXPECT_EQ(ui.FileDialog(request), "/tmp/a.KVB");
  EXPECT_EQ(ui.MsgBox("Port busy", vbRetryCancel, "Error"), vbCancel);

  ASSERT_EQ(ui.Questions().size(), 4u);
  EXPECT_EQ(ui.Titles(), (std::vector<std::string>{"Custom Gain Selection", "Error", "Save As...",
                                                   "Error"}));
  const UiQuestion& input = ui.Questions()[0];
  EXPECT_EQ(input.Kind, UiQuestionKind::InputBox);
  EXPECT_EQ(input.Prompt, "Input a gain value:");
  const UiQuestion& file = ui.Questions()[2];
  EXPECT_TRUE(file.Save);
  EXPECT_EQ(file.Style, 6);
  EXPECT_EQ(ui.Questions()[1].Style, vbRetryCancel);
}

TEST(ScriptedUi, OptOutTickCountsOnlyWhenOffered) {
  ScriptedUi ui;
  ui.AnswerOptOutBox(vbYes, true);
  ui.AnswerOptOutBox(vbNo, true);
  bool optedOut = false;
  EXPECT_EQ(ui.OptOutBox("Save?", 35, "Unsaved Parameter Data", true, optedOut), vbYes);
  EXPECT_TRUE(optedOut);
  EXPECT_EQ(ui.OptOutBox("Save?", 35, "Unsaved Parameter Data", false, optedOut), vbNo);
  EXPECT_FALSE(optedOut);
  EXPECT_TRUE(ui.Questions()[0].OptOutOffered);
  EXPECT_FALSE(ui.Questions()[1].OptOutOffered);
}

TEST(ScriptedUi, DialogsCanBeCancelledOrAnswered) {
  ScriptedUi ui;
  ui.CancelColorDialog();
  ui.AnswerColorDialog(0x00FF00);
  FontDialogChoice chosen;
  chosen.Font.Name = "Arial";
  chosen.Font.Size = 12;
  chosen.Color = 0xFF;
  ui.AnswerFontDialog(chosen);
  ui.CancelFontDialog();
  ui.AnswerPrintDialog(false);
  ui.AnswerPrintDialog(true);

  std::uint32_t color = 0x0000FF;
  EXPECT_FALSE(ui.ColorDialog(color, cdlCCFullOpen));
  EXPECT_EQ(color, 0x0000FFu);
  EXPECT_TRUE(ui.ColorDialog(color, cdlCCFullOpen | cdlCCRGBInit));
  EXPECT_EQ(color, 0x00FF00u);
  EXPECT_EQ(ui.Questions()[1].Style, 3);

  FontDialogChoice font;
  EXPECT_TRUE(ui.FontDialog(font, 0x103));
  EXPECT_EQ(font.Font.Name, "Arial");
  EXPECT_FALSE(ui.FontDialog(font, 0x103));
  EXPECT_EQ(font.Font.Size, 12.0f);

  CanvasImage page;
  page.Name = "graph";
  EXPECT_FALSE(ui.PrintImage(page, true));
  EXPECT_TRUE(ui.PrintImage(page, true));
  ASSERT_EQ(ui.Printed().size(), 1u);
  EXPECT_EQ(ui.Printed()[0].Name, "graph");
}

TEST(ScriptedUi, PumpRunsTheTestsActionEveryTime) {
  ScriptedUi ui;
  int clicks = 0;
  ui.OnPump([&clicks] { ++clicks; });
  Ui().PumpMessages();
  Ui().PumpMessages();
  Ui().Beep();
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(ui.Pumps(), 2);
  EXPECT_EQ(ui.Beeps(), 1);
}

TEST(ScriptedUi, UnexpectedQuestionFailsTheTestAndAnswersTheDefault) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedUi ui;
        ui.AnswerInputBox("never used by a message box");
        ui.InputBox("p", "t", "");
        EXPECT_EQ(ui.MsgBox("Really quit?", vbYesNo | vbDefaultButton2, "Quit"), vbNo);
      },
      "Unexpected message box titled \"Quit\": \"Really quit?\"");
}

TEST(ScriptedUi, AnswerNobodyAskedForFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedUi ui;
        ui.AnswerFileDialog("/tmp/x");
        ui.AnswerMsgBox(vbOK);
        ui.MsgBox("Done", vbOKOnly, "Upload");
      },
      "1 scripted answer(s) were never asked for");
}

}  // namespace
}  // namespace quendrel
