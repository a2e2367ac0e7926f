// A load that fails leaves the editor exactly as it was (set, tree, description, file name, unsaved
// edits) with one box naming the file and the reason, so a later save writes the set the user sees; a
// save that fails says why.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

#include "editors/frmEditFragment.h"
#include "editors/frmEditOffline.h"
#include "foundation/settings/Config.h"
#include "foundation/settings/OptOutMsgBox.h"
#include "foundation/support/RefusedFiles.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/files/KVBCodec.h"
#include "platform/ScriptedUi.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

// What the user sees and what a save would write.
struct WindowState {
  std::string SetImage;
  std::vector<std::string> Tree;
  std::string Description;
  std::string FileName;
  bool Unsaved = false;
  std::size_t PreviewLines = 0;
  friend bool operator==(const WindowState&, const WindowState&) = default;
};

void ListNodes(const ParameterTreeNode* node, std::vector<std::string>& lines) {
  for (; node != nullptr; node = node->Sibling()) {
    lines.push_back(node->Caption() + " = " + node->FormattedValue());
    ListNodes(node->Child(), lines);
  }
}

std::vector<std::string> TreeLines(const ParameterTree& tree) {
  std::vector<std::string> lines;
  ListNodes(tree.First(), lines);
  return lines;
}

std::string FolderPath(const TempFolder& folder) {
  std::string path = folder.File("");
  path.pop_back();
  return path;
}

struct BadFile {
  std::string What;
  std::string Path;
};

// Every kind of path a load must refuse; the box's text itself is the parameter file's to choose.
std::vector<BadFile> BadFiles(const TempFolder& folder) {
  std::vector<BadFile> files;
  for (const auto& c : testing::UnopenablePaths(FolderPath(folder))) files.push_back({c.What, c.Path});
  files.push_back({"600 MB file", testing::SparseFile(folder.File("huge.KVB"), testing::kSixHundredMegabytes)});
  const std::string damaged = folder.File("damaged.KVB");
  WriteTestFile(damaged, "KVB1" + std::string(20, '\x7F'));
  files.push_back({"damaged file", damaged});
  return files;
}

class FailedLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2));
    ASSERT_TRUE(good.BuildFromTemplate(2.105));
    good.SetValue(1129, "2.105");
    good.SetDescription("Pump station");
    ASSERT_TRUE(good.SaveKVBFile(goodPath, false));
  }
  void TearDown() override {
    FirmwareCompatibility() = FirmwareCompatibilityFile{};
    Config().SetValue("UnsavedData", OptOutSection, "");
  }
  // Tells the unsaved-changes question to go on without saving, then expects one box naming the path.
  void ExpectOneBoxNaming(const std::string& path, const std::function<void()>& load) {
    ui.AnswerOptOutBox(vbNo);
    ui.AnswerMsgBox(vbOK);
    const std::size_t asked = ui.Questions().size();
    load();
    EXPECT_EQ(ui.PendingAnswers(), 0U);
    std::vector<UiQuestion> boxes;
    for (std::size_t i = asked; i < ui.Questions().size(); ++i) {
      if (ui.Questions()[i].Kind == UiQuestionKind::MsgBox) boxes.push_back(ui.Questions()[i]);
    }
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_NE(boxes[0].Prompt.find(path), std::string::npos) << boxes[0].Prompt;
  }

  TempFolder folder;
  std::string goodPath = folder.File("good.KVB");
  KVBFile good;
  ScriptedUi ui;
  std::shared_ptr<ParameterTree> tree = std::make_shared<ParameterTree>();
};

class OfflineFailedLoadTest : public FailedLoadTest {
 protected:
  void SetUp() override {
    FailedLoadTest::SetUp();
    form->Form_Load();
    form->tbFileName_Change(goodPath);
    form->bLoadFile_Click();
    ASSERT_NE(tree->FindNode("M01P03"), nullptr);
    form->tbDescription_Change("Edited");
    tree->Node("M01P03").SetValue(42.0F);
    form->pTree_ValueCommit(tree->Node("M01P03"));
    ASSERT_TRUE(form->Unsaved());
  }
  WindowState State() const {
    return {*KVBCodec::Encode(form->Set(), false), TreeLines(*tree), form->View().tbDescriptionText,
            form->View().tbFileNameText, form->Unsaved(), 0};
  }

  std::shared_ptr<frmEditOffline> form = std::make_shared<frmEditOffline>(tree, nullptr);
};

TEST_F(OfflineFailedLoadTest, ATypedOrBrowsedFileThatDoesNotLoadChangesNothing) {
  const WindowState before = State();
  for (const BadFile& bad : BadFiles(folder)) {
    SCOPED_TRACE(bad.What);
    ExpectOneBoxNaming(bad.Path, [&] {
      ui.AnswerFileDialog(bad.Path);
      form->bBrowse_Click();
    });
    EXPECT_EQ(State(), before);

    form->tbFileName_Change(bad.Path);
    ExpectOneBoxNaming(bad.Path, [&] { form->bLoadFile_Click(); });
    WindowState typed = before;
    typed.FileName = bad.Path;
    EXPECT_EQ(State(), typed) << "only the typed name differs";
    form->tbFileName_Change(goodPath);
  }

  // The save after all of that writes the edited set, not an emptied one.
  const std::string copy = folder.File("copy.KVB");
  ui.AnswerFileDialog(copy);
  ASSERT_TRUE(form->bSaveFile_Click());
  KVBFile saved;
  ASSERT_TRUE(saved.LoadKVBFile(copy));
  EXPECT_EQ(saved.Value(103), "42");
  EXPECT_EQ(saved.Description(), "Edited");
  EXPECT_EQ(*KVBCodec::Encode(saved, false), before.SetImage);
}

TEST_F(OfflineFailedLoadTest, AFailedSaveShowsTheReasonAndKeepsTheEdits) {
  const std::string locked = folder.File("locked.KVB");
  WriteTestFile(locked, "old");
  ::chmod(locked.c_str(), 0444);
  const struct {
    std::string Path;
    std::string Prompt;
  } cases[] = {
      {folder.File("gone/set.KVB"),
       folder.File("gone/set.KVB") + " could not be saved: the folder " + folder.File("gone") + " does not exist."},
      {locked, locked + " could not be saved: " + locked + " is read-only."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Path);
    ui.AnswerFileDialog(c.Path);
    ui.AnswerMsgBox(vbOK);
    EXPECT_FALSE(form->bSaveFile_Click());
    EXPECT_EQ(ui.Prompts().back(), c.Prompt);
    EXPECT_EQ(ui.Titles().back(), "File save error");
    EXPECT_TRUE(form->Unsaved());
    EXPECT_EQ(form->View().tbFileNameText, goodPath);
  }
}

class FragmentFailedLoadTest : public FailedLoadTest {
 protected:
  void SetUp() override {
    FailedLoadTest::SetUp();
    form->Form_Load();
    ui.AnswerFileDialog(goodPath);
    form->bBrowse_Click();
    ASSERT_NE(tree->FindNode("M01P03"), nullptr);
    form->tbDescription_Change("Edited");
    ASSERT_TRUE(form->Unsaved());
  }
  WindowState State() const {
    return {*KVBCodec::Encode(form->Set(), false), TreeLines(*tree), form->View().tbDescriptionText,
            Config().Value("LastPramFile", "Files"), form->Unsaved(), form->View().lbPreview.size()};
  }

  std::shared_ptr<frmEditFragment> form = std::make_shared<frmEditFragment>(tree, nullptr);
};

TEST_F(FragmentFailedLoadTest, AFileThatDoesNotLoadChangesNothing) {
  const WindowState before = State();
  ASSERT_EQ(before.FileName, goodPath);
  for (const BadFile& bad : BadFiles(folder)) {
    SCOPED_TRACE(bad.What);
    ExpectOneBoxNaming(bad.Path, [&] {
      ui.AnswerFileDialog(bad.Path);
      form->bBrowse_Click();
    });
    EXPECT_EQ(State(), before);
  }
}

}  // namespace
}  // namespace quendrel
