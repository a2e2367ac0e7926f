// The quick setup wizard's core offline, against a template compiled in the test: the lists, the
// picker, the options page, the preview, saving and the page machine.
#include <gtest/gtest.h>

#include <algorithm>

#include "editors/QuickSetupKeypad.h"
#include "editors/frmConfigureQuickSetup.h"
#include "params/compatibility/FS2Compiler.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/transfer/ParameterDownload.h"
#include "platform/ScriptedUi.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

// Slots 1, 3 and 4 (no M00P00 row, no slot 2); slot 4 has neither name nor scale; menu 07 has no header
// and M03P05 is security level 3.
constexpr const char* kSource = R"(SoftwareVersion 11.29
Template 3.001
Binding 00.01 | 12.01 | 12.11 | 12.21
Binding 00.03 | 12.03 | 12.13 | -
Binding 00.04 | 12.04 | - | -
Parameter 00.00 | Quick Setup | 0000000000000000 |
Parameter 00.01 | QS One      | 0000000000010000 |
Parameter 00.03 | QS Three    | 0000000000010000 |
Parameter 00.04 | QS Four     | 0000000000010000 |
Parameter 01.00 | Speed       | 0000000000000000 |
Parameter 01.01 | Max Freq    | 0000000000010001 |
Parameter 02.02 | Mode        | 0000000000010000 | Off;On
Parameter 03.05 | Secret      | 0000000001110000 |
Parameter 07.03 | AO1 Gain    | 0000000000010010 |
Parameter 12.01 | QS1 Pointer | 0000000000010010 |
Parameter 12.03 | QS3 Pointer | 0000000000010010 |
Parameter 12.04 | QS4 Pointer | 0000000000010010 |
Parameter 12.11 | QS1 Name    | 0000000000010000 |
Parameter 12.13 | QS3 Name    | 0000000000010000 |
Parameter 12.21 | QS1 Scale   | 0000000000010011 |
End
)";

class QuickSetupWizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FS2Compiler compiler;
    ASSERT_TRUE(compiler.Compile(kSource));
    FirmwareCompatibility() = compiler.Result();
    form.Form_Load();
  }
  void TearDown() override { FirmwareCompatibility() = FirmwareCompatibilityFile{}; }
  void Generate() {
    form.tbFirmwareVersion_Change("3.001");
    form.bGenerate_Click();
    ASSERT_TRUE(form.View().Reachable[3]);
  }
  std::vector<std::string> SlotTexts() {
    std::vector<std::string> texts;
    for (const auto& entry : form.View().lbM00) texts.push_back(entry.Text);
    return texts;
  }
  void ToPage(int page) {
    while (form.View().Page < page) form.bNext_Click();
  }

  ScriptedUi ui;
  TempFolder folder;
  frmConfigureQuickSetup form{{}};
};

TEST_F(QuickSetupWizardTest, PagesAndButtonsFollowTheSource) {
  const auto& view = form.View();
  EXPECT_EQ(view.Page, 0);
  EXPECT_FALSE(view.bBackEnabled || view.bNextEnabled || view.bSaveEnabled || view.bApplyEnabled);
  form.tbFirmwareVersion_Change("9.999");
  ui.AnswerMsgBox(vbOK);
  form.bGenerate_Click();
  EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"Can't find firmware template for the chosen version."});
  EXPECT_TRUE(view.SourceEnabled);

  Generate();
  EXPECT_FALSE(view.SourceEnabled);
  EXPECT_TRUE(view.bNextEnabled && view.bSaveEnabled && view.bApplyEnabled && view.lblReadyToGoVisible);
  ToPage(3);
  EXPECT_TRUE(view.bBackEnabled && view.bNextEnabled);
  EXPECT_EQ(view.bNextCaption, "Finish");
  ui.AnswerFileDialog("");  // Finish offline saves; cancelling keeps the wizard open with its work
  EXPECT_FALSE(form.bNext_Click());
  EXPECT_TRUE(form.Set().Description().empty());
  form.bBack_Click();
  EXPECT_EQ(view.bNextCaption, "&Next >>");
}

TEST_F(QuickSetupWizardTest, OfflineSetHoldsOnlyTheFirmwaresParameters) {
  Generate();
  EXPECT_EQ(SlotTexts(), (std::vector<std::string>{"M00P01: <<<NOT SET>>>", "M00P03: <<<NOT SET>>>",
                                                   "M00P04: <<<NOT SET>>>"}));
  std::vector<std::string> keys;
  for (const auto& node : form.View().treePramList) keys.push_back(node.Key + (node.Assigns ? "" : "*"));
  EXPECT_EQ(keys, (std::vector<std::string>{"M00P00", "M01P00", "M01P01", "M02P00*", "M02P02", "M07P00*", "M07P03", "M12P00*",
                                            "M12P01", "M12P03", "M12P04", "M12P11", "M12P13", "M12P21"}));
  EXPECT_TRUE(form.Set().Identifier(1502).empty());
  EXPECT_EQ(form.Set().Value(1221), "1");

  form.lbM00_Click(0);
  EXPECT_EQ(form.View().treeSelectedKey, "M00P00");  // unset
  form.treePramList_NodeClick("M07P00");             // a group only
  EXPECT_EQ(form.Set().Value(1201), "0");
  form.treePramList_NodeClick("M07P03");
  EXPECT_EQ(form.Set().Value(1201), "7.03");
  EXPECT_EQ(SlotTexts()[0], "M00P01: AO1 Gain");
  form.lbM00_Click(1);
  form.lbM00_Click(0);
  EXPECT_EQ(form.View().treeSelectedKey, "M07P03");
  EXPECT_EQ(form.View().treeExpanded, std::set<std::string>{"M07P00"});
}

TEST_F(QuickSetupWizardTest, SlotNamesComeFromTheNameChoice) {
  Generate();
  KVBFile& set = form.Set();
  set.SetValue(1201, "7.03");
  set.AddDVD(1211, 2, "Top Speed");
  const struct {
    const char* NameValue;
    const char* Pointer;
    const char* Shown;
  } cases[] = {{"0", "7.03", "M00P01: AO1 Gain"},      {"2", "7.03", "M00P01: Top Speed"},
               {"9", "7.03", "M00P01: "},               {"0", "25.50", "M00P01: <<<NOT SET>>>"},
               {"0", "-1.01", "M00P01: <<<NOT SET>>>"}};
  for (const auto& c : cases) {
    set.SetValue(1211, c.NameValue);
    set.SetValue(1201, c.Pointer);
    form.bBack_Click();
    ToPage(1);
    EXPECT_EQ(SlotTexts()[0], c.Shown) << c.NameValue << " " << c.Pointer;
  }
  form.lbM00_Click(0);  // 25.50 and -1.01 name no node: nothing selected
  EXPECT_EQ(form.View().treeSelectedKey, "");
  ToPage(3);
  form.bPreviewUp_Click();  // slot 1 names nothing, 3 and 4 are unset
  EXPECT_EQ(form.View().PreviewPosition, 0);
}

TEST_F(QuickSetupWizardTest, OptionsEditNameAndScale) {
  Generate();
  for (const char* name : {"Speed Limit", "Top Speed", "Low Speed"}) {
    form.Set().AddDVD(1211, form.Set().NumDVDs(1211), name);
  }
  form.Set().SetValue(1201, "7.03");
  ToPage(2);
  const auto& view = form.View();
  ASSERT_EQ(view.cbSpecialSelect.size(), 2u);  // slot 4 has no options
  form.cbSpecialSelect_Click(0);
  EXPECT_EQ(view.lblScaleFormula, "M00P01 = M07P03 x ");
  EXPECT_EQ(view.cbNameSelectToolTip, "Select a name for M00P01 or type a custom name.");
  ASSERT_EQ(view.cbNameSelect.size(), 5u);
  EXPECT_EQ(view.cbNameSelect[0].Text, " (Default Text) ");
  EXPECT_EQ(view.cbNameSelect[1].Text, "  (Custom Name) ");
  EXPECT_EQ(view.cbNameSelect[4].Text, "Low Speed");
  EXPECT_EQ(view.tbScaleEditText, "1.000");

  form.cbNameSelect_Click(1);
  EXPECT_TRUE(view.tbCustomNameEnabled);
  form.tbCustomName_Change("ABCDEFGHIJKLMNOPQRST");
  form.tbCustomName_LostFocus();
  EXPECT_EQ(form.Set().DVD(1211, 1), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(view.cbNameSelect[1].Text, "ABCDEFGHIJKLMNOP (Custom)");
  EXPECT_EQ(form.Set().Value(1211), "1");

  // Each text is a whole edit, ended by leaving the box.
  for (const auto& [typed, kept] : {std::pair{"1.5", "1.5"}, {" .  ", "1.5"}, {"abc", "1.5"}, {"2.25 ", "2.25"}}) {
    form.tbScaleEdit_Change(typed);
    EXPECT_EQ(form.Set().Value(1221), kept) << typed;
    form.tbScaleEdit_LostFocus();
  }
  form.cbSpecialSelect_Click(1);  // slot 3: a name, no scale
  EXPECT_FALSE(view.tbScaleEditEnabled);
  EXPECT_TRUE(view.cbNameSelectEnabled);
}

TEST_F(QuickSetupWizardTest, ScaleBoxShowsTheWholeScaleAndWritesWhatItShows) {
  Generate();
  ToPage(2);
  KVBFile& set = form.Set();
  const auto& view = form.View();
  struct Shown {
    const char* pad;
    const char* value;
    const char* text;
    int decimals;
  };
  for (const Shown& c : {Shown{"0000000000010011", "12", "12.000", 3}, Shown{"0000000000010011", "-0.25", "-0.250", 3},
                         Shown{"0000000000010011", "-32.768", "-32.768", 3}, Shown{"0000000000010001", "-7.5", "-7.5", 1},
                         Shown{"0000000000010000", "300", "300", 0}}) {
    set.SetPAD(1221, c.pad);
    set.SetValue(1221, c.value);
    form.cbSpecialSelect_Click(0);
    EXPECT_EQ(view.tbScaleEditText, c.text) << c.value;
    EXPECT_EQ(view.tbScaleEditDecimals, c.decimals) << c.value;
  }

  set.SetPAD(1221, "0000000000010011");
  set.SetValue(1221, "-0.25");
  form.cbSpecialSelect_Click(0);
  struct Edit {
    const char* typed;
    std::int16_t raw;  // what a send writes
  };
  // The last digit edited; then texts the drive's word cannot hold exactly, which write nothing. Each
  // text is a whole edit, ended by leaving the box.
  for (const Edit& c : {Edit{"-0.251", -251}, Edit{"12.5", 12500}, Edit{"1.2345", 12500}, Edit{"40", 12500},
                        Edit{"-", 12500}, Edit{"32.767", 32767}}) {
    form.tbScaleEdit_Change(c.typed);
    EXPECT_EQ(ParameterDownload::RawValue(set.Value(1221), set.PAD(1221)), c.raw) << c.typed;
    form.tbScaleEdit_LostFocus();
  }
  form.tbScaleEdit_Change("1.2345");
  form.tbScaleEdit_LostFocus();
  EXPECT_EQ(view.tbScaleEditText, "32.767");
}

TEST_F(QuickSetupWizardTest, PreviewShowsHeaderScaledValuesAndValueNames) {
  Generate();
  KVBFile& set = form.Set();
  set.SetValue(1201, "1.01");
  set.SetValue(101, "8.3");
  set.SetValue(1221, "1.5");
  set.SetValue(1203, "2.02");
  set.SetValue(202, "1");
  set.SetValue(1213, "1");
  set.SetDVD(1213, 1, "My\\Mode");
  ToPage(3);
  const auto& view = form.View();
  EXPECT_EQ(view.PreviewLine1, "QUICK SETUP MENU");
  EXPECT_EQ(view.PreviewLine2, "M00P00          ");  // no M00P00 row
  form.bPreviewUp_Click();
  EXPECT_EQ(view.PreviewLine1, "Max Freq        ");
  EXPECT_EQ(view.PreviewLine2, "M00P01    0012.5");
  EXPECT_EQ(view.lblTooltip, " = M01P01 x 1.500 ");
  form.bPreviewUp_Click();
  EXPECT_EQ(view.PreviewLine1, std::string("My") + kKeypadYen + "Mode         ");
  EXPECT_EQ(view.PreviewLine2, "M00P03  On      ");
  form.bPreviewUp_Click();  // slot 4 is unset
  EXPECT_EQ(view.PreviewPosition, 0);
}

TEST_F(QuickSetupWizardTest, SaveWritesOnlyTheBindingParameters) {
  Generate();
  ui.AnswerFileDialog(folder.File("qs.kvb"));
  ASSERT_TRUE(form.bSave_Click());
  KVBFile saved;
  ASSERT_TRUE(saved.LoadKVBFile(folder.File("qs.kvb")));
  std::vector<int> present;
  for (int n = 0; n < KVBFile::kSlotCount; ++n) {
    if (!saved.Identifier(n).empty()) present.push_back(n);
  }
  EXPECT_EQ(present, (std::vector<int>{1201, 1203, 1204, 1211, 1213, 1221}));
  EXPECT_TRUE(saved.Description().starts_with("Quick Setup Menu Settings, Saved "));

  const std::string bad = folder.File("missing/qs.kvb");
  ui.AnswerFileDialog(bad);
  ui.AnswerMsgBox(vbOK);
  EXPECT_FALSE(form.bSave_Click());
  EXPECT_EQ(ui.Prompts().back(),
            bad + " could not be saved: the folder " + folder.File("missing") + " does not exist.");
  EXPECT_EQ(ui.Titles().back(), "File save error");
}

TEST_F(QuickSetupWizardTest, DriveAddressStaysAByte) {
  for (const auto& [typed, kept] : {std::pair{"300", "44"}, {"-1", "255"}, {"abc", "0"}, {"7", "7"}}) {
    form.tbDriveID_Change(typed);
    EXPECT_EQ(form.View().tbDriveIDText, kept) << typed;
  }
}

}  // namespace
}  // namespace quendrel
