// Remembered answers must silence a question for good, only when the user ticked the box, and
// only for that question's key.
#include "foundation/settings/OptOutMsgBox.h"

#include <gtest/gtest.h>

#include "foundation/settings/Config.h"
#include "platform/ScriptedUi.h"
#include "support/CaseName.h"

namespace quendrel {
namespace {

constexpr int YesNoCancelQuestion = vbYesNoCancel | vbQuestion;  // 35
constexpr int YesNoQuestion = vbYesNo | vbQuestion;              // 36
constexpr int OKCancelInformation = vbOKCancel | vbInformation;  // 65

class OptOutMsgBoxTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetConfig(); }
  void TearDown() override { ResetConfig(); }

  static std::string Remembered(const std::string& key) {
    return Config().Value(key, "Warning Messages");
  }

  ScriptedUi ui_;
};

struct RememberedCase {
  const char* text;
  int style;
  int bit;
};

class RememberedAnswerTest : public OptOutMsgBoxTest,
                             public ::testing::WithParamInterface<RememberedCase> {};

TEST_P(RememberedAnswerTest, AnswersWithoutAskingAgain) {
  const RememberedCase& c = GetParam();
  Config().SetValue("UnsavedData", "Warning Messages", std::string(c.text));

  EXPECT_EQ(OptOutMsgBox("Save your changes before closing the current file?",
                         "Unsaved Parameter Data", c.style, "UnsavedData", true),
            c.bit);
  EXPECT_TRUE(ui_.Questions().empty());
}

INSTANTIATE_TEST_SUITE_P(Answers, RememberedAnswerTest,
                         ::testing::Values(RememberedCase{"OK", OKCancelInformation, OptOutOK},
                                           RememberedCase{"Cancel", OKCancelInformation,
                                                          OptOutCancel},
                                           RememberedCase{"Yes", YesNoCancelQuestion, OptOutYes},
                                           RememberedCase{"No", YesNoQuestion, OptOutNo}),
                         NameByField<&RememberedCase::text>());

struct AskedCase {
  int style;
  int button;
  int bit;
  const char* rememberedText;
};

class AskedAnswerTest : public OptOutMsgBoxTest, public ::testing::WithParamInterface<AskedCase> {};

TEST_P(AskedAnswerTest, OnlyATickedAnswerIsRememberedAndSilencesTheNextAsk) {
  const AskedCase& c = GetParam();
  ui_.AnswerOptOutBox(c.button, false);
  ui_.AnswerOptOutBox(c.button, true);

  EXPECT_EQ(OptOutMsgBox("Install it anyway?", "Old FUP", c.style, "OldFUP", true), c.bit);
  EXPECT_EQ(Remembered("OldFUP"), "");
  const UiQuestion& asked = ui_.Questions().front();
  EXPECT_EQ(asked.Kind, UiQuestionKind::OptOutBox);
  EXPECT_EQ(asked.Prompt, "Install it anyway?");
  EXPECT_EQ(asked.Title, "Old FUP");
  EXPECT_EQ(asked.Style, c.style);
  EXPECT_TRUE(asked.OptOutOffered);

  for (int ask = 0; ask < 2; ++ask)
    EXPECT_EQ(OptOutMsgBox("Install it anyway?", "Old FUP", c.style, "OldFUP", true), c.bit);
  EXPECT_EQ(Remembered("OldFUP"), c.rememberedText);
  EXPECT_EQ(ui_.Questions().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, AskedAnswerTest,
    ::testing::Values(AskedCase{OKCancelInformation, vbOK, OptOutOK, "OK"},
                      AskedCase{OKCancelInformation, vbCancel, OptOutCancel, "Cancel"},
                      AskedCase{YesNoCancelQuestion, vbYes, OptOutYes, "Yes"},
                      AskedCase{YesNoCancelQuestion, vbCancel, OptOutCancel, "Cancel"},
                      AskedCase{YesNoQuestion, vbNo, OptOutNo, "No"}),
    NameByField<&AskedCase::rememberedText>());

TEST_F(OptOutMsgBoxTest, WithoutTheOfferNothingIsRemembered) {
  ui_.AnswerOptOutBox(vbYes, true);

  EXPECT_EQ(OptOutMsgBox("Apply it?", "Fragment Version Change", YesNoCancelQuestion,
                         "FragmentVersionChange", false),
            OptOutYes);
  ASSERT_EQ(ui_.Questions().size(), 1u);
  EXPECT_FALSE(ui_.Questions().front().OptOutOffered);
  EXPECT_EQ(Remembered("FragmentVersionChange"), "");
}

TEST_F(OptOutMsgBoxTest, AnUnknownRememberedTextStillAsks) {
  for (const char* text : {"Maybe", "yes ", ""}) {
    Config().SetValue("OldFUP", "Warning Messages", std::string(text));
    ui_.AnswerOptOutBox(vbNo);
    EXPECT_EQ(OptOutMsgBox("Install it anyway?", "Old FUP", YesNoQuestion, "OldFUP", true),
              OptOutNo)
        << '"' << text << '"';
  }
  EXPECT_EQ(ui_.Questions().size(), 3u);
}

TEST_F(OptOutMsgBoxTest, ARememberedAnswerSilencesOnlyItsOwnQuestion) {
  Config().SetValue("UnsavedData", "Warning Messages", std::string("No"));
  Config().SetValue("UnrecognizedFirmware", "General", std::string("OK"));
  ui_.AnswerOptOutBox(vbYes);
  ui_.AnswerOptOutBox(vbCancel);

  EXPECT_EQ(OptOutMsgBox("Install it anyway?", "Old FUP", YesNoQuestion, "OldFUP", true),
            OptOutYes);
  EXPECT_EQ(OptOutMsgBox("Obtain an update.", "Firmware Not Supported", OKCancelInformation,
                         "UnrecognizedFirmware", true),
            OptOutCancel);
  EXPECT_EQ(ui_.Questions().size(), 2u);
}

TEST_F(OptOutMsgBoxTest, AButtonWithoutAnAnswerBitGivesZeroAndIsNotKept) {
  ui_.AnswerOptOutBox(vbRetry, true);

  EXPECT_EQ(OptOutMsgBox("Try again?", "Error", vbAbortRetryIgnore, "OldFUP", true), 0);
  EXPECT_EQ(Remembered("OldFUP"), "");
}

}  // namespace
}  // namespace quendrel
