// The file question must reach the dialog with the caller's filter, title and name, ask for an
// existing file when opening and before overwriting when saving, and turn a cancel into "".
#include "foundation/files/BrowseForFile.h"

#include <gtest/gtest.h>

#include "platform/ScriptedUi.h"
#include "support/CaseName.h"

namespace quendrel {
namespace {

constexpr const char* ParameterFilter = "Parameter Files Only (*.KVB)|*.KVB|All Files (*.*)|*.*";

struct BrowseCase {
  bool save;
  const char* title;
  const char* initialName;
  std::int16_t filterIndex;
  int flags;
};

class BrowseForFileTest : public ::testing::TestWithParam<BrowseCase> {};

TEST_P(BrowseForFileTest, HandsTheQuestionToTheDialogAndReturnsThePath) {
  const BrowseCase& c = GetParam();
  ScriptedUi ui;
  ui.AnswerFileDialog("/home/user/drive.KVB");

  EXPECT_EQ(BrowseForFile(c.save, ParameterFilter, c.filterIndex, c.title, c.initialName),
            "/home/user/drive.KVB");
  ASSERT_EQ(ui.Questions().size(), 1u);
  const UiQuestion& asked = ui.Questions().front();
  EXPECT_EQ(asked.Kind, UiQuestionKind::FileDialog);
  EXPECT_EQ(asked.Save, c.save);
  EXPECT_EQ(asked.Prompt, ParameterFilter);
  EXPECT_EQ(asked.Title, c.title);
  EXPECT_EQ(asked.DefaultText, c.initialName);
  EXPECT_EQ(asked.FilterIndex, c.filterIndex);
  EXPECT_EQ(asked.Style, c.flags);
}

TEST_P(BrowseForFileTest, ACancelledDialogGivesTheEmptyPath) {
  const BrowseCase& c = GetParam();
  ScriptedUi ui;
  ui.AnswerFileDialog("");

  EXPECT_EQ(BrowseForFile(c.save, ParameterFilter, c.filterIndex, c.title, c.initialName), "");
}

INSTANTIATE_TEST_SUITE_P(
    Modes, BrowseForFileTest,
    ::testing::Values(BrowseCase{false, "Select Parameter File", "", 1, 4100},
                      BrowseCase{true, "Save As...", "", 1, 6},
                      BrowseCase{true, "Save Snapshot As...", "graph.bmp", 2, 6},
                      BrowseCase{false, "Select Hex File...", "drive.HEX", 2, 4100}),
    NameByField<&BrowseCase::title>());

}  // namespace
}  // namespace quendrel
