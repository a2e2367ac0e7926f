// The fragment file editor: new fragments from a firmware template, fragments loaded with and
// without one, ticks and the preview list, the version question, quick setup slots and saving only
// what is ticked.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "editors/frmEditFragment.h"
#include "foundation/settings/Config.h"
#include "foundation/settings/OptOutMsgBox.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/support/ParamImages.h"
#include "params/support/TransferRig.h"
#include "platform/ScriptedUi.h"
#include "platform/UiServices.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

class FragmentEditorTest : public ::testing::Test {
 public:
  void SetUp() override {
    ASSERT_TRUE(FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2));
    form->Form_Load();
  }
  void TearDown() override {
    FirmwareCompatibility() = FirmwareCompatibilityFile{};
    Config().SetValue("UnsavedData", OptOutSection, "");
  }
  ParameterTreeNode& Node(const std::string& key) { return tree->Node(key); }
  void Tick(const std::string& key, int checked) {
    Node(key).SetChecked(checked);
    form->pTree_CheckChanged(Node(key));
  }
  void Commit(const std::string& key, const std::string& typed) {
    tree->SetSelected(&Node(key));
    tree->EditCurrentValue();
    tree->EditTextChanged(typed);
    tree->CommitEdit();
  }
  // Writes a fragment of the given slots (identifier, value) plus the version and loads it.
  void LoadFragment(const std::string& version, std::vector<std::pair<std::int32_t, std::string>> slots) {
    KVBFile file;
    if (!version.empty()) {
      file.SetIdentifier(1129, "M11P29");
      file.SetValue(1129, version);
      file.SetPAD(1129, "1000001000011011");
    }
    for (const auto& [n, id] : slots) {
      file.SetIdentifier(n, id);
      file.SetName(n, "Slot " + std::to_string(n));
      file.SetPAD(n, "0000000000010100");
      file.SetValue(n, "1");
      file.AddDVD(n, 0, "Off");
      file.AddDVD(n, 1, "On");
    }
    file.SetDescription("Fragment " + version);
    ASSERT_TRUE(file.SaveKVBFile(path, false));
    ui.AnswerFileDialog(path);
    form->bBrowse_Click();
  }
  std::string PreviewLineOf(std::int32_t tag) const {
    for (const auto& line : form->View().lbPreview) {
      if (line.ItemData == tag) return line.Text;
    }
    return "";
  }
  std::vector<std::int32_t> PreviewTags() const {
    std::vector<std::int32_t> tags;
    for (const auto& line : form->View().lbPreview) tags.push_back(line.ItemData);
    return tags;
  }

  TempFolder folder;
  std::string path = folder.File("fragment.KVB");
  ScriptedUi ui;
  std::shared_ptr<ParameterTree> tree = std::make_shared<ParameterTree>();
  std::shared_ptr<frmEditFragment> form = std::make_shared<frmEditFragment>(tree, nullptr);
};

TEST_F(FragmentEditorTest, CreateTicksTheVersionAndWithoutATemplateChangesNothing) {
  ASSERT_EQ(form->View().cbFirmwareVersionItems, std::vector<std::string>{"2.105"});
  form->bNewFragment_Click();
  EXPECT_EQ(Node("M11P29").Checked(), 1);
  EXPECT_FLOAT_EQ(Node("M11P29").Value(), 2.105F);
  EXPECT_EQ(PreviewTags(), std::vector<std::int32_t>{1129});
  EXPECT_TRUE(form->Unsaved());

  FirmwareCompatibility() = FirmwareCompatibilityFile{};
  Config().SetValue("UnsavedData", OptOutSection, "No");
  form->cbFirmwareVersion_Click(-1);
  ui.AnswerMsgBox(vbOK);
  ASSERT_NO_THROW(form->bNewFragment_Click());
  EXPECT_EQ(ui.Titles().back(), "Error 1337");
  EXPECT_EQ(form->Set().Value(1129), "2.105");
  EXPECT_NE(tree->FindNode("M11P29"), nullptr);
}

TEST_F(FragmentEditorTest, LoadWithATemplateTicksOnlyTheFragmentsOwnParameters) {
  LoadFragment("2.105", {{404, "M04B04"}});
  EXPECT_EQ(form->View().tbDescriptionText, "Fragment 2.105");
  EXPECT_FALSE(form->Unsaved());
  EXPECT_EQ(Node("M04P04").Checked(), 1);
  EXPECT_EQ(Node("M04P04").Caption().rfind("M04P04: Reverse Enable", 0), 0U);
  EXPECT_EQ(Node("M04P01").Checked(), 0);
  EXPECT_FLOAT_EQ(Node("M04P01").Value(), 0.0F);
  EXPECT_EQ(tree->FindNode("M11P30") != nullptr, true);
}

TEST_F(FragmentEditorTest, LoadWithoutATemplateKeysBitsByNumberAndAddsTheVersionSlot) {
  LoadFragment("", {{307, "M03B07"}, {308, "M03B07"}});
  EXPECT_EQ(Node("M03P07").Caption().rfind("M03B07: ", 0), 0U);
  EXPECT_EQ(Node("M03P08").Caption().rfind("M03B07: ", 0), 0U);
  EXPECT_EQ(Node("M03P00").PrintableValue(), "         ");
  EXPECT_EQ(Node("M11P29").Caption(), "M11P29: (Software Version)");
  EXPECT_TRUE(Node("M11P29").Enabled());

  // A bit parameter with value names is committed through its list.
  tree->SetSelected(&Node("M03P07"));
  form->pTree_DblClick();
  ASSERT_TRUE(tree->EditorOpen());
  tree->EditListChanged(0);
  tree->CommitEdit();
  EXPECT_EQ(form->Set().Value(307), "0");
  EXPECT_NE(form->View().lbPreview.front().Text.find("M03B07: Slot 307 <- Off"), std::string::npos);
}

TEST_F(FragmentEditorTest, AnUnsetQuickSetupSlotLeavesM00P00Alone) {
  LoadFragment("2.105", {{3, "M00P03"}});
  Commit("M00P03", "5");
  EXPECT_EQ(form->Set().Value(3), "5");
  EXPECT_EQ(form->Set().Value(0), "0");
}

// The fragment mirrors a slot's edit into the parameter it points at when it holds that parameter.
TEST_F(FragmentEditorTest, ASlotPointingAtAReadOnlyParameterTakesNoEdit) {
  form->bNewFragment_Click();
  Commit("M12P01", "10.03");
  const std::string target = form->Set().Value(1003);
  Commit("M00P01", "999");
  EXPECT_EQ(form->Set().Value(1003), target);
  EXPECT_NE(form->Set().Value(1), "999");
}

TEST_F(FragmentEditorTest, TickingAMenuTicksItsParametersOnce) {
  form->bNewFragment_Click();
  for (int round = 0; round < 2; ++round) Tick("M04P00", 1);
  EXPECT_EQ(PreviewTags(), (std::vector<std::int32_t>{1129, 401, 402, 403, 404, 405, 400}));
  EXPECT_EQ(Node("M04P03").Checked(), 1);
  Tick("M04P00", 0);
  EXPECT_EQ(PreviewTags(), std::vector<std::int32_t>{1129});
  EXPECT_FALSE(form->Set().WorkFlag(403));
}

TEST_F(FragmentEditorTest, SaveWritesTheTicksAndReloadShowsThemAgain) {
  form->bNewFragment_Click();
  Tick("M02P00", 1);
  Tick("M02P03", 0);
  ui.AnswerFileDialog(path);
  ASSERT_TRUE(form->bSaveFile_Click());
  EXPECT_EQ(Config().Value("LastPramFile", "Files"), path);
  KVBFile saved;
  ASSERT_TRUE(saved.LoadKVBFile(path));
  std::vector<std::int32_t> present;
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) {
    if (!saved.Identifier(n).empty()) present.push_back(n);
  }
  EXPECT_EQ(present, (std::vector<std::int32_t>{200, 201, 202, 204, 1129}));
  ui.AnswerFileDialog(path);
  form->bBrowse_Click();
  for (const char* key : {"M02P01", "M02P02", "M02P04", "M11P29"}) EXPECT_EQ(Node(key).Checked(), 1) << key;
  EXPECT_EQ(Node("M02P03").Checked(), 0);
}

TEST_F(FragmentEditorTest, TypedValuesNoRegisterHoldsAreRefused) {
  form->bNewFragment_Click();
  Tick("M03P00", 1);
  for (const char* typed : {"70000", "-32769", "12,5", "0x10", "1.2.3"}) {
    SCOPED_TRACE(typed);
    const std::size_t boxes = ui.Questions().size();
    ui.AnswerMsgBox(vbOK);
    Commit("M03P03", typed);
    EXPECT_EQ(form->Set().Value(303), "0");
    EXPECT_FLOAT_EQ(Node("M03P03").Value(), 0.0F);
    ASSERT_EQ(ui.Questions().size(), boxes + 1);
    EXPECT_EQ(ui.Prompts().back(), "Value out of range - not written");
    EXPECT_EQ(ui.Titles().back(), "Build/Edit Fragment File");
  }
  ui.AnswerMsgBox(vbOK);
  Commit("M03P01", "6553.6");  // one decimal: the raw 65536
  EXPECT_EQ(form->Set().Value(301), "0");
  Commit("M03P03", "40000");
  EXPECT_EQ(form->Set().Value(303), "40000");
  EXPECT_EQ(PreviewLineOf(303), "M03P03: Rated Speed <- 40000");
}

struct BuildCase {
  const char* Name;
  std::function<void(FragmentEditorTest&)> Build;
};

// A fragment built from a template and saved carries the values its rows and preview show, and a
// download puts every one of them into the drive; one value the download has to skip makes it fail.
class BuiltFragmentDownloadTest : public FragmentEditorTest, public ::testing::WithParamInterface<BuildCase> {};

TEST_P(BuiltFragmentDownloadTest, EveryTickedValueReachesTheDrive) {
  TransferRig rig;
  for (const auto& [n, value] : {std::pair{201, 999}, {202, 999}, {203, 2}, {204, 77}}) rig.Sim().SetValue(n, value);
  GetParam().Build(*this);
  Tick("M02P00", 1);
  Commit("M02P02", "7.5");
  EXPECT_EQ(PreviewLineOf(203), "M02P03: Ramp Mode <- Linear");
  EXPECT_EQ(PreviewLineOf(204), "M02P04: S-Curve Time <- 0.00");
  ui.AnswerFileDialog(path);
  ASSERT_TRUE(form->bSaveFile_Click());

  KVBFile saved;
  ASSERT_TRUE(saved.LoadKVBFile(path));
  std::vector<std::string> feedback;
  const auto download = [&] {
    feedback.clear();
    return saved.DownloadToDrive(rig.Context(), true, rig.Progress(), 0,
                                 [&feedback](const std::string& text) { feedback.push_back(text); });
  };
  ASSERT_TRUE(download());
  EXPECT_TRUE(feedback.empty());
  EXPECT_EQ(rig.Sim().Value(201), static_cast<int>(std::lround(10 * Node("M02P01").Value())));
  EXPECT_EQ(rig.Sim().Value(202), 75);
  EXPECT_EQ(rig.Sim().Value(203), 0);
  EXPECT_EQ(rig.Sim().Value(204), 0);

  saved.SetValue(204, "");
  EXPECT_FALSE(download());
  EXPECT_EQ(feedback, std::vector<std::string>{"Skipped M02P04: its value is no number"});
}

INSTANTIATE_TEST_SUITE_P(
    Builds, BuiltFragmentDownloadTest,
    ::testing::Values(BuildCase{"Create", [](FragmentEditorTest& t) { t.form->bNewFragment_Click(); }},
                      BuildCase{"ApplyTemplate",
                                [](FragmentEditorTest& t) {
                                  t.LoadFragment("2.1", {{201, "M02P01"}});
                                  t.ui.AnswerOptOutBox(vbYes);
                                  t.Commit("M11P29", "2.105");
                                }}),
    [](const auto& info) { return std::string(info.param.Name); });

// Every slot showing a parameter and the parameter itself are one value on the drive: an edit through a
// slot reaches every row holding it, the preview lists it in the parameter's scale, and a download of
// the saved fragment sets the parameter to it.
class FragmentSlotEditTest : public FragmentEditorTest, public ::testing::WithParamInterface<BuildCase> {};

TEST_P(FragmentSlotEditTest, AnEditThroughASlotIsTheParametersValueEverywhere) {
  TransferRig rig;
  GetParam().Build(*this);
  Commit("M00P01", "7.5");
  for (const char* row : {"M00P01", "M00P02", "M02P01"}) {
    EXPECT_EQ(Node(row).FormattedValue(), "7.5") << row;
    EXPECT_EQ(form->Set().Value(Node(row).Tag()), "7.5") << row;
  }
  EXPECT_EQ(PreviewLineOf(1), "M00P01: Max Frequency <- 7.5");
  EXPECT_EQ(PreviewLineOf(2), "M00P02: Accel Time <- 7.5");
  ui.AnswerFileDialog(path);
  ASSERT_TRUE(form->bSaveFile_Click());
  KVBFile saved;
  ASSERT_TRUE(saved.LoadKVBFile(path));
  ASSERT_TRUE(saved.DownloadToDrive(rig.Context(), true, rig.Progress(), 0, {}));
  EXPECT_EQ(rig.Sim().Value(201), 75);
}

INSTANTIATE_TEST_SUITE_P(
    Builds, FragmentSlotEditTest,
    ::testing::Values(BuildCase{"PointedInTheEditor",
                                [](FragmentEditorTest& t) {
                                  t.form->bNewFragment_Click();
                                  for (const char* key : {"M00P01", "M00P02", "M12P01", "M12P02"}) t.Tick(key, 1);
                                  t.Commit("M12P01", "2.01");
                                  t.Commit("M12P02", "2.01");
                                }},
                      BuildCase{"Loaded", [](FragmentEditorTest& t) {
                                  const KVBFile fragment = DriveFragment(
                                      {{1129, "2.105"}, {1201, "2.01"}, {1202, "2.01"}, {1, "3.5"}, {2, "3.5"}});
                                  ASSERT_TRUE(fragment.SaveKVBFile(t.path, false));
                                  t.ui.AnswerFileDialog(t.path);
                                  t.form->bBrowse_Click();
                                }}),
    [](const auto& info) { return std::string(info.param.Name); });

// A slot showing a bit toggles like the bit, and a toggle of either reaches both rows.
TEST_F(FragmentEditorTest, ASlotShowingABitTogglesWithIt) {
  form->bNewFragment_Click();
  Commit("M12P01", "4.05");  // M00P01 shows Auto Restart
  for (const auto& [key, value] : {std::pair{"M00P01", 1.0F}, {"M04P05", 0.0F}}) {
    tree->SetSelected(&Node(key));
    form->pTree_DblClick();
    for (const char* row : {"M00P01", "M04P05"}) EXPECT_FLOAT_EQ(Node(row).Value(), value) << key << " " << row;
  }
}

struct VersionCase {
  const char* Name;
  int Answer;
  const char* Kept;     // the set's version afterwards
  bool Applied;         // the template's names came in
  const char* Preview;  // how the version's preview line ends
};

class VersionQuestionTest : public FragmentEditorTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionQuestionTest, DecidesTheNewVersion) {
  const VersionCase& c = GetParam();
  LoadFragment("2.1", {{201, "M02P01"}});
  Tick("M11P29", 1);
  ui.AnswerOptOutBox(c.Answer);
  Commit("M11P29", "2.105");
  EXPECT_EQ(form->Set().Value(1129), c.Kept);
  EXPECT_FLOAT_EQ(Node("M11P29").Value(), static_cast<float>(std::stod(c.Kept)));
  EXPECT_EQ(tree->FindNode("M04P01") != nullptr, c.Applied);
  for (const auto& line : form->View().lbPreview) {
    if (line.ItemData != 1129) continue;
    EXPECT_EQ(line.Text.substr(line.Text.size() - 5), c.Preview) << line.Text;
  }
  // The same version again asks nothing.
  Commit("M11P29", c.Kept);
}

INSTANTIATE_TEST_SUITE_P(Answers, VersionQuestionTest,
                         ::testing::Values(VersionCase{"Yes", vbYes, "2.105", true, "2.105"},
                                           VersionCase{"No", vbNo, "2.105", false, "2.105"},
                                           VersionCase{"Cancel", vbCancel, "2.1", false, "2.100"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FragmentEditorTest, UnsavedWorkIsAskedAboutBeforeLoadCreateAndClose) {
  form->bNewFragment_Click();
  ui.AnswerOptOutBox(vbYes);
  ui.AnswerFileDialog(folder.File("missing/f.KVB"));
  ui.AnswerMsgBox(vbOK);
  form->bBrowse_Click();  // the failed save stops the load before its dialog
  EXPECT_TRUE(form->Unsaved());
  EXPECT_EQ(ui.Titles().back(), "File save error");
  EXPECT_EQ(ui.Prompts().back(), folder.File("missing/f.KVB") + " could not be saved: the folder " +
                                     folder.File("missing") + " does not exist.");
  ui.AnswerOptOutBox(vbCancel);
  form->bNewFragment_Click();
  EXPECT_EQ(PreviewTags(), std::vector<std::int32_t>{1129});
  form->tbDescription_Change("Mine");
  ui.AnswerOptOutBox(vbCancel);
  EXPECT_FALSE(form->Form_QueryUnload());
}

}  // namespace
}  // namespace quendrel
