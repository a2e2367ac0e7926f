// The offline parameter file editor on files written by the parameter file itself: the tree it
// builds, quick setup slots mirrored both ways, bit toggles, refused edits and the unsaved-changes
// question on load, browse and close.
#include <gtest/gtest.h>

#include <functional>

#include "editors/frmEditOffline.h"
#include "foundation/settings/Config.h"
#include "foundation/settings/OptOutMsgBox.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/support/TransferRig.h"
#include "platform/ScriptedUi.h"
#include "platform/UiServices.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

class OfflineEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2));
    ASSERT_TRUE(file.BuildFromTemplate(2.105));
    file.SetValue(1129, "2.105");
    file.SetValue(1201, "4.05");   // M00P01 shows the bit M04P05
    file.SetValue(1202, "2.03");   // M00P02 shows M02P03 and its value names
    file.SetValue(1203, "0.00");   // M00P03 is not set
    file.SetValue(1204, "25.50");  // M00P04 names nothing
    file.SetValue(1205, "7.03");   // M00P05 (no decimals) shows M07P03 (two)
    file.SetValue(703, "12.5");
    file.SetValue(405, "1");
    file.SetValue(0, "0");
    file.SetIdentifier(405, "M04B05");
    file.SetPAD(800, "0000000001100000");  // a level-3 header hides only itself
    file.SetIdentifier(909, "M09P01");     // a damaged file naming M09P01 twice
    file.SetIdentifier(1999, "X");         // and a slot by no name at all
    file.SetDescription("Pump station");
    ASSERT_TRUE(file.SaveKVBFile(path, false));
    form->Form_Load();
  }
  void TearDown() override {
    FirmwareCompatibility() = FirmwareCompatibilityFile{};
    Config().SetValue("UnsavedData", OptOutSection, "");
  }
  void Load() {
    form->tbFileName_Change(path);
    form->bLoadFile_Click();
  }
  ParameterTreeNode& Node(const std::string& key) { return tree->Node(key); }
  void Commit(const std::string& key, const std::string& typed) {
    tree->SetSelected(&Node(key));
    tree->EditCurrentValue();
    ASSERT_TRUE(tree->EditorOpen()) << key;
    tree->EditTextChanged(typed);
    tree->CommitEdit();
  }
  void DoubleClick(const std::string& key) {
    tree->SetSelected(&Node(key));
    form->pTree_DblClick();
  }
  // Loads the file and leaves one edit unsaved.
  void LoadAndEdit() {
    Load();
    Commit("M01P03", "42.5");
    ASSERT_TRUE(form->Unsaved());
  }

  TempFolder folder;
  std::string path = folder.File("set.KVB");
  ScriptedUi ui;
  KVBFile file;
  std::shared_ptr<ParameterTree> tree = std::make_shared<ParameterTree>();
  std::shared_ptr<frmEditOffline> form = std::make_shared<frmEditOffline>(tree, nullptr);
};

TEST_F(OfflineEditorTest, BuildsTheTreeFromTheFile) {
  Load();
  EXPECT_EQ(form->View().tbDescriptionText, "Pump station");
  EXPECT_FALSE(form->Unsaved());
  // A bit parameter is keyed as a plain one but captioned as the file names it.
  EXPECT_EQ(Node("M04P05").Caption().rfind("M04B05: ", 0), 0U);
  EXPECT_EQ(Node("M04P05").Tag(), 405);
  EXPECT_EQ(Node("M04P05").parent(), &Node("M04P00"));
  // The skipped header's parameters go to the top level.
  EXPECT_EQ(tree->FindNode("M08P00"), nullptr);
  EXPECT_EQ(Node("M08P01").parent(), &tree->Root());
  EXPECT_EQ(Node("M09P01").Tag(), 901);
  EXPECT_EQ(Node("X").parent(), &tree->Root());
  EXPECT_FALSE(Node("M01P00").Enabled());
  EXPECT_TRUE(Node("M10P03").Greyed());
}

TEST_F(OfflineEditorTest, ABoundSlotShowsAndMirrorsTheParameterItPoints_at) {
  Load();
  EXPECT_EQ(Node("M00P05").FormattedValue(), "12.50");
  EXPECT_EQ(Node("M00P02").PrintableValue(), Node("M02P03").PrintableValue());
  EXPECT_EQ(Node("M00P02").DVDCount(), 3);
  EXPECT_FALSE(form->Unsaved());

  Commit("M00P05", "3.25");
  EXPECT_EQ(form->Set().Value(5), "3.25");
  EXPECT_EQ(form->Set().Value(703), "3.25");
  EXPECT_FLOAT_EQ(Node("M07P03").Value(), 3.25F);
  Commit("M07P03", "8.5");
  EXPECT_EQ(form->Set().Value(5), "8.5");
  EXPECT_FLOAT_EQ(Node("M00P05").Value(), 8.5F);
}

TEST_F(OfflineEditorTest, UnsetAndUnnamedSlotsHoldOnlyTheirOwnValue) {
  Load();
  for (const char* key : {"M00P03", "M00P04"}) {
    SCOPED_TRACE(key);
    Commit(key, "7");
    EXPECT_EQ(form->Set().Value(Node(key).Tag()), "7");
    EXPECT_EQ(form->Set().Value(0), "0");
    EXPECT_FLOAT_EQ(Node("M00P00").Value(), 0.0F);
  }
}

TEST_F(OfflineEditorTest, ABitToggleIsMirroredLikeAValue) {
  Load();
  DoubleClick("M04P05");
  EXPECT_EQ(form->Set().Value(405), "0");
  EXPECT_EQ(form->Set().Value(1), "0");
  EXPECT_EQ(Node("M04P05").Icon(), "bitpram0");
  EXPECT_EQ(Node("M00P01").Icon(), "bitpram0");
  EXPECT_FLOAT_EQ(Node("M00P01").Value(), 0.0F);
  DoubleClick("M04P05");
  EXPECT_EQ(Node("M04P05").Icon(), "bitpram1");
  EXPECT_TRUE(form->Unsaved());
}

TEST_F(OfflineEditorTest, ASlotShowingABitTogglesAndShowsItLikeTheBit) {
  Load();
  EXPECT_EQ(Node("M00P01").Caption(), "M00P01: Auto Restart");
  EXPECT_EQ(Node("M00P01").Icon(), "bitpram1");
  DoubleClick("M00P01");
  EXPECT_EQ(form->Set().Value(405), "0");
  for (const char* key : {"M00P01", "M04P05"}) EXPECT_EQ(Node(key).Icon(), "bitpram0") << key;
  Commit("M04P05", "1");
  for (const char* key : {"M00P01", "M04P05"}) EXPECT_EQ(Node(key).Icon(), "bitpram1") << key;
}

TEST_F(OfflineEditorTest, ASlotFollowsItsPointerWhenThePointerIsEdited) {
  Load();
  EXPECT_EQ(Node("M00P02").Caption(), "M00P02: Ramp Mode");
  Commit("M12P02", "2.01");
  const ParameterTreeNode& slot = Node("M00P02");
  EXPECT_EQ(slot.Caption(), "M00P02: Accel Time");
  EXPECT_EQ(slot.DVDCount(), 0);
  EXPECT_EQ(slot.PrintableValue(), Node("M02P01").PrintableValue());
  EXPECT_EQ(form->Set().Value(2), form->Set().Value(201));  // what a download writes through the slot
  Commit("M00P02", "7.5");
  EXPECT_EQ(form->Set().Value(201), "7.5");
  EXPECT_FLOAT_EQ(Node("M02P01").Value(), 7.5F);
  EXPECT_EQ(form->Set().Value(203), file.Value(203));  // Ramp Mode is no longer the slot's
}

// Every slot showing a parameter and the parameter itself are one value on the drive: an edit through
// any of their rows reaches all of them, and a download of the saved file leaves the drive so.
TEST_F(OfflineEditorTest, AnEditThroughOneSlotReachesEverySlotShowingItsParameter) {
  TransferRig rig;
  rig.Sim().SetValue(1201, 201);  // M00P01 and M00P02 both show Accel Time
  rig.Sim().SetValue(201, 35);
  ASSERT_TRUE(file.UploadFromDrive(rig.Context(), rig.Progress(), false));
  ASSERT_TRUE(file.SaveKVBFile(path, false));
  Load();
  const std::pair<const char*, const char*> edits[] = {{"M00P01", "7.5"}, {"M02P01", "8.5"}, {"M00P02", "9.5"}};
  for (const auto& [key, typed] : edits) {
    SCOPED_TRACE(key);
    Commit(key, typed);
    for (const char* row : {"M00P01", "M00P02", "M02P01"}) {
      EXPECT_EQ(Node(row).FormattedValue(), typed) << row;
      EXPECT_EQ(form->Set().Value(Node(row).Tag()), typed) << row;
    }
  }
  const std::string saved = folder.File("edited.KVB");
  ui.AnswerFileDialog(saved);
  ASSERT_TRUE(form->bSaveFile_Click());
  KVBFile edited;
  ASSERT_TRUE(edited.LoadKVBFile(saved));
  ASSERT_TRUE(edited.DownloadToDrive(rig.Context(), true, rig.Progress(), 0, {}));
  EXPECT_EQ(rig.Sim().Value(201), 95);
}

TEST_F(OfflineEditorTest, ASlotPointingOutsideTheFileShowsAndEditsItsOwnValue) {
  file.SetValue(1204, "13.77");  // no M13P77 in the file
  file.SetValue(4, "12.5");
  ASSERT_TRUE(file.SaveKVBFile(path, false));
  Load();
  EXPECT_EQ(Node("M00P04").Caption(), "M00P04: Rated Current");
  EXPECT_EQ(Node("M00P04").PrintableValue(), "12.5");
  Commit("M00P04", "13");
  EXPECT_EQ(form->Set().Value(4), "13");
  EXPECT_EQ(form->Set().Identifier(1377), "");
}

TEST_F(OfflineEditorTest, ReadOnlyAndHeaderNodesRefuseEdits) {
  Load();
  for (const char* key : {"M10P03", "M01P00"}) {
    SCOPED_TRACE(key);
    const std::string before = form->Set().Value(Node(key).Tag());
    DoubleClick(key);
    EXPECT_FALSE(tree->EditorOpen());
    Node(key).SetValue(99.0F);
    form->pTree_ValueCommit(Node(key));
    EXPECT_EQ(form->Set().Value(Node(key).Tag()), before);
  }
  EXPECT_FALSE(form->Unsaved());
}

// An edit through a slot lands on the parameter it shows, so a read-only target makes the slot's row
// read-only too, whether the file pointed there at load or the pointer was edited since.
TEST_F(OfflineEditorTest, ASlotShowingAReadOnlyParameterTakesNoEdit) {
  struct Case {
    const char* name;
    const char* pointerInFile;
    const char* pointerTyped;  // "" for none
  };
  for (const Case& c : {Case{"in the file", "10.03", ""}, Case{"typed", "4.05", "10.03"}}) {
    SCOPED_TRACE(c.name);
    file.SetValue(1201, c.pointerInFile);
    ASSERT_TRUE(file.SaveKVBFile(path, false));
    form->Form_Load();
    Load();
    if (*c.pointerTyped != '\0') Commit("M12P01", c.pointerTyped);
    const std::string slotBefore = form->Set().Value(1);
    const std::string targetBefore = form->Set().Value(1003);
    ParameterTreeNode& slot = Node("M00P01");
    EXPECT_EQ(slot.Caption(), "M00P01: DC Bus Voltage");
    EXPECT_TRUE(slot.Greyed());
    DoubleClick("M00P01");
    EXPECT_FALSE(tree->EditorOpen());
    slot.SetValue(999.0F);
    form->pTree_ValueCommit(slot);
    EXPECT_EQ(form->Set().Value(1), slotBefore);
    EXPECT_EQ(form->Set().Value(1003), targetBefore);
    EXPECT_NE(targetBefore, "999");
  }
}

// The question before another file replaces unsaved edits names the file that holds them, not the one
// typed into the name box to load next.
TEST_F(OfflineEditorTest, TheUnsavedChangesQuestionNamesTheFileHoldingTheEdits) {
  struct Case {
    const char* name;
    std::function<void()> edit;
    const char* title;
  };
  const Case cases[] = {
      {"loaded", [this] { LoadAndEdit(); }, "Edit Parameter File (Offline) - set.KVB"},
      {"saved under another name",
       [this] {
         LoadAndEdit();
         ui.AnswerFileDialog(folder.File("onl1.KVB"));
         ASSERT_TRUE(form->bSaveFile_Click());
         form->tbDescription_Change("Edited again");
       },
       "Edit Parameter File (Offline) - onl1.KVB"},
      {"never loaded", [this] { form->tbDescription_Change("New"); }, "Edit Parameter File (Offline) - Untitled"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form->Form_Load();
    c.edit();
    const std::string held = form->View().tbFileNameText;
    form->tbFileName_Change(folder.File("qs1.KVB"));
    ui.AnswerOptOutBox(vbCancel);
    form->bLoadFile_Click();
    EXPECT_EQ(ui.Titles().back(), c.title);
    EXPECT_TRUE(form->Unsaved());
    form->tbFileName_Change(held);
  }
}

// A value no register holds under the decimals the node shows, or a text whose leading number is not
// what was typed, is stored nowhere: the node shows the file's value again and a box says why.
TEST_F(OfflineEditorTest, TypedValuesNoRegisterHoldsAreRefused) {
  Load();
  struct RefusalCase {
    const char* key;
    const char* typed;
  };
  // M00P05 has no decimals of its own but shows M07P03 with two: 700 is the raw 70000.
  for (const RefusalCase& c : {RefusalCase{"M03P03", "70000"}, RefusalCase{"M03P03", "-32769"},
                               RefusalCase{"M00P05", "700"}, RefusalCase{"M03P03", "12,5"},
                               RefusalCase{"M03P03", "0x10"}, RefusalCase{"M01P03", "1.2.3"}}) {
    SCOPED_TRACE(std::string(c.key) + " \"" + c.typed + "\"");
    const std::int32_t n = Node(c.key).Tag();
    const std::string before = form->Set().Value(n);
    const float shown = Node(c.key).Value();
    const std::size_t boxes = ui.Questions().size();
    ui.AnswerMsgBox(vbOK);
    Commit(c.key, c.typed);
    EXPECT_EQ(form->Set().Value(n), before);
    EXPECT_FLOAT_EQ(Node(c.key).Value(), shown);
    ASSERT_EQ(ui.Questions().size(), boxes + 1);
    EXPECT_EQ(ui.Prompts().back(), "Value out of range - not written");
    EXPECT_EQ(ui.Titles().back(), "Edit Parameter File (Offline)");
  }
  EXPECT_FLOAT_EQ(Node("M00P05").Value(), 12.5F);
  EXPECT_FALSE(form->Unsaved());

  Commit("M03P03", "65535");  // the low word of an unsigned register's largest value
  EXPECT_EQ(form->Set().Value(303), "65535");
  Commit("M03P03", "12 Hz");
  EXPECT_EQ(form->Set().Value(303), "12");
}

TEST_F(OfflineEditorTest, SaveAndReloadKeepTheEdits) {
  LoadAndEdit();
  tree->CancelEdit();
  form->tbDescription_Change("Edited");
  const std::string copy = folder.File("copy.KVB");
  ui.AnswerFileDialog(copy);
  EXPECT_TRUE(form->bSaveFile_Click());
  EXPECT_FALSE(form->Unsaved());
  EXPECT_EQ(form->View().tbFileNameText, copy);
  form->bLoadFile_Click();
  EXPECT_EQ(form->View().tbDescriptionText, "Edited");
  EXPECT_FLOAT_EQ(Node("M01P03").Value(), 42.5F);
}

// --- The unsaved-changes question ---

struct UnsavedCase {
  const char* Name;
  int Answer;              // 0: a remembered "No", no box
  const char* SavePath;    // Yes: the save dialog's answer; "" cancels it
  bool GoesOn;
};

class UnsavedQuestionTest : public OfflineEditorTest, public ::testing::WithParamInterface<UnsavedCase> {
 protected:
  void Answer(const UnsavedCase& c) {
    if (c.Answer == 0) {
      Config().SetValue("UnsavedData", OptOutSection, "No");
      return;
    }
    ui.AnswerOptOutBox(c.Answer);
    if (c.Answer != vbYes) return;
    ui.AnswerFileDialog(c.SavePath);
    if (std::string(c.SavePath).find("missing") != std::string::npos) ui.AnswerMsgBox(vbOK);
  }
};

TEST_P(UnsavedQuestionTest, StopsOrGoesOnOncePerClick) {
  const UnsavedCase& c = GetParam();
  const std::string missing = folder.File("missing/set.KVB");
  const char* savePath = std::string(c.SavePath) == "missing" ? missing.c_str() : c.SavePath;
  const UnsavedCase resolved{c.Name, c.Answer, savePath, c.GoesOn};
  const struct {
    const char* Action;
    std::function<bool()> Run;
  } actions[] = {
      {"load", [&] { form->bLoadFile_Click(); return !form->Unsaved(); }},
      {"browse",
       [&] {
         if (c.GoesOn) ui.AnswerFileDialog(path);  // a stopped browse never reaches its dialog
         form->bBrowse_Click();
         return !form->Unsaved();
       }},
      {"close", [&] { return form->Form_QueryUnload(); }},
  };
  for (const auto& action : actions) {
    SCOPED_TRACE(action.Action);
    form.reset();
    form = std::make_shared<frmEditOffline>(tree, nullptr);
    form->Form_Load();
    LoadAndEdit();
    Answer(resolved);
    EXPECT_EQ(action.Run(), c.GoesOn);
    EXPECT_EQ(ui.PendingAnswers(), 0U);
    if (!c.GoesOn) {
      EXPECT_EQ(form->View().tbFileNameText, path);
      EXPECT_FLOAT_EQ(Node("M01P03").Value(), 42.5F);
    }
    Config().SetValue("UnsavedData", OptOutSection, "");
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, UnsavedQuestionTest,
                         ::testing::Values(UnsavedCase{"YesCancelledSave", vbYes, "", false},
                                           UnsavedCase{"YesFailingSave", vbYes, "missing", false},
                                           UnsavedCase{"No", vbNo, "", true},
                                           UnsavedCase{"Cancel", vbCancel, "", false},
                                           UnsavedCase{"RememberedNo", 0, "", true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(OfflineEditorTest, ADescriptionEditAsksOnClose) {
  Load();
  form->tbDescription_Change("Changed");
  EXPECT_EQ(form->Set().Description(), "Changed");
  ui.AnswerOptOutBox(vbCancel);
  EXPECT_FALSE(form->Form_QueryUnload());
}

TEST_F(OfflineEditorTest, LoadWithoutANameBrowsesAndACancelledDialogLeavesAnEmptyTree) {
  ui.AnswerFileDialog("");
  form->bLoadFile_Click();
  EXPECT_EQ(tree->First(), nullptr);
  ui.AnswerFileDialog(path);
  form->bLoadFile_Click();
  EXPECT_EQ(form->View().tbFileNameText, path);
  EXPECT_NE(tree->FindNode("M00P05"), nullptr);
}

}  // namespace
}  // namespace quendrel
