// The quick setup wizard against the simulated drive on a pseudo-terminal: uploading, sending back,
// the version guard, controls that stay dead while an upload yields, address 0 and live preview values.
#include <gtest/gtest.h>

#include "editors/frmConfigureQuickSetup.h"
#include "params/support/TransferRig.h"
#include "platform/ScriptedUi.h"

namespace quendrel {
namespace {

constexpr int kWriteValue = 0x46;

class QuickSetupDriveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.SetRetries(0);
    form.Form_Load();
  }
  void Upload() {
    form.bConnect_Click();
    ASSERT_EQ(form.View().lblConnectStatus, "Upload Complete");
  }
  // Binds slot 1 to M07P03, names it with a 20-character text and scales it by 1.5.
  void Customise() {
    form.bNext_Click();
    form.lbM00_Click(0);
    form.treePramList_NodeClick("M07P03");
    form.bNext_Click();
    form.cbSpecialSelect_Click(0);
    form.cbNameSelect_Click(1);
    form.tbCustomName_Change("Output Gain Percent!");
    form.tbCustomName_LostFocus();
    form.tbScaleEdit_Change("1.5  ");
    form.bNext_Click();
  }

  ScriptedUi ui;
  TransferRig rig;
  frmConfigureQuickSetup form{{&rig.Server(), nullptr, nullptr, nullptr}};
};

TEST_F(QuickSetupDriveTest, UploadReadsTheBindingRows) {
  Upload();
  const KVBFile& set = form.Set();
  EXPECT_EQ(rig.Sim().Value(1130), -17323);  // the unlock's 48213 as a signed word
  EXPECT_EQ(set.Value(1201), "1.01");
  EXPECT_EQ(set.Value(1213), "1");
  ASSERT_EQ(set.NumDVDs(1211), 4);
  EXPECT_EQ(set.DVD(1211, 3), "Top Speed");
  EXPECT_EQ(set.Value(1224), "0.500");
  EXPECT_TRUE(form.View().Reachable[3] && form.View().chkPreviewShowData);
  EXPECT_EQ(form.View().lbM00.size(), 5u);
}

TEST_F(QuickSetupDriveTest, NoDriveChangesNothing) {
  rig.Sim().SetFault("stop");
  ui.AnswerMsgBox(vbOK);
  form.bConnect_Click();
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"Connection Error"});
  EXPECT_TRUE(form.View().SourceEnabled);
  EXPECT_FALSE(form.View().Reachable[1]);
}

TEST_F(QuickSetupDriveTest, AFailedValueNameReadEndsTheUpload) {
  // The binding rows are read after the template upload, whose progress the wizard resets: the first
  // row's pump is the first to see the progress fall back. Its pointer and name reads are answered,
  // then the drive falls silent for the first value name.
  int last = 0;
  ui.OnPump([&] {
    const int now = form.Progress().Progress();
    if (now < last) rig.Sim().SetFault("stop after 2");
    last = now;
  });
  ui.AnswerMsgBox(vbOK);
  form.bConnect_Click();
  EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"Error uploading name values"});
  EXPECT_EQ(form.View().lblConnectStatus, "Error in upload.");
  EXPECT_TRUE(form.View().SourceEnabled);
  EXPECT_FALSE(form.View().Reachable[1]);
}

TEST_F(QuickSetupDriveTest, AVersionWithoutTemplateReturnsToNoSource) {
  rig.Sim().SetValue(1129, 1000);
  ui.AnswerMsgBox(vbOK);
  form.bConnect_Click();
  EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"No quick setup template for firmware version 1.000."});
  EXPECT_TRUE(form.View().SourceEnabled);
  EXPECT_FALSE(form.View().Reachable[1]);
}

TEST_F(QuickSetupDriveTest, ClosingDuringTheUploadStopsIt) {
  ui.OnPump([&] { form.Form_Unload(); });
  form.bConnect_Click();
  EXPECT_EQ(ui.Pumps(), 1);
  EXPECT_FALSE(form.View().Reachable[1]);
}

TEST_F(QuickSetupDriveTest, SendWritesTheCustomisation) {
  Upload();
  Customise();
  EXPECT_TRUE(form.bNext_Click());  // Finish online closes after a successful send
  EXPECT_EQ(rig.Sim().Value(1201), 703);
  EXPECT_EQ(rig.Sim().Value(1211), 1);
  EXPECT_EQ(rig.Sim().Value(1221), 1500);
  EXPECT_EQ(rig.Sim().ValueNames(1211).substr(0, 30), "(Default);Output Gain Perc;Spe");
  const std::string& custom = rig.Sim().ValueNames(1212);
  EXPECT_EQ(custom, "(Default);(Custom)        ");  // value name 1 goes out as it stands, padded

  rig.Sim().SetFault("stop after 1");  // the version read is answered, the first write is not
  ui.AnswerMsgBox(vbOK);
  EXPECT_FALSE(form.bNext_Click());  // a failed write keeps the wizard open
  EXPECT_EQ(ui.Titles().back(), "Quick Setup Customization Wizard Error");
}

TEST_F(QuickSetupDriveTest, FlaggedValueWithoutNumberStopsSendBeforeAnyWrite) {
  Upload();
  form.Set().SetValue(1202, "");
  rig.Sim().ResetStats();
  ui.AnswerMsgBox(vbOK);
  EXPECT_FALSE(form.bApply_Click());
  EXPECT_EQ(ui.Prompts().back(), "Error occured while writing the data back to the drive.");
  EXPECT_EQ(rig.Sim().RequestCount(kWriteValue), 0);
}

TEST_F(QuickSetupDriveTest, OfflineSettingsReachOnlyTheirVersion) {
  form.tbFirmwareVersion_Change("2.105");
  form.bGenerate_Click();
  rig.Sim().SetValue(1129, 2106);
  rig.Sim().ResetStats();
  ui.AnswerMsgBox(vbOK);
  EXPECT_FALSE(form.bApply_Click());
  EXPECT_EQ(ui.Prompts().back(),
            "The drive runs firmware version 2.106; these settings are for version 2.105. Nothing was sent.");
  EXPECT_EQ(rig.Sim().RequestCount(kWriteValue), 0);

  rig.Sim().SetValue(1129, 2105);
  EXPECT_TRUE(form.bApply_Click());
  EXPECT_EQ(rig.Sim().Value(1201), 0);
  EXPECT_EQ(rig.Sim().Value(1224), 1000);
}

TEST_F(QuickSetupDriveTest, SourceControlsAreDeadFromTheFirstRequestOfAnUpload) {
  // What the window was told, with the requests the drive had seen by then.
  std::vector<std::pair<bool, long>> told;
  form.OnChanged([&] { told.emplace_back(form.View().SourceEnabled, rig.Sim().RequestCount()); });
  long requests = -1;
  ui.OnPump([&] {
    if (requests >= 0) return;
    requests = rig.Sim().RequestCount();
    // A second click of a double-click, another address and a version typed while the upload runs.
    form.bConnect_Click();
    form.tbDriveID_Change("2");
    form.tbFirmwareVersion_Change("2.105");
    form.bGenerate_Click();
    form.bApply_Click();
    EXPECT_EQ(rig.Sim().RequestCount(), requests);
  });
  rig.Sim().ResetStats();
  Upload();
  ASSERT_FALSE(told.empty());
  EXPECT_EQ(told.front(), std::make_pair(false, 0L));
  EXPECT_TRUE(form.View().tbDriveIDText == "1" && form.View().tbFirmwareVersionText.empty());
  EXPECT_FALSE(form.Offline());

  ui.OnPump({});
  Customise();
  EXPECT_TRUE(form.bApply_Click());
  EXPECT_EQ(rig.Sim().Value(1201), 703);  // the drive uploaded from
}

TEST_F(QuickSetupDriveTest, AddressZeroSendsNothing) {
  rig.Sim().ReceivedBytes();
  form.tbDriveID_Change("256");
  ASSERT_EQ(form.View().tbDriveIDText, "0");
  ui.AnswerMsgBox(vbOK);
  form.bConnect_Click();
  EXPECT_TRUE(form.View().SourceEnabled);

  form.tbFirmwareVersion_Change("2.105");
  form.bGenerate_Click();
  form.Set().SetValue(1201, "1.01");
  form.chkPreviewShowData_Click(true);
  form.bPreviewUp_Click();  // a live value is read from the drive the settings are for
  EXPECT_EQ(form.View().PreviewPosition, 1);
  ui.AnswerMsgBox(vbOK);
  EXPECT_FALSE(form.bApply_Click());
  EXPECT_EQ(ui.Prompts(), (std::vector<std::string>{"Invalid drive address.", "Invalid drive address."}));
  EXPECT_EQ(rig.Sim().ReceivedBytes(), "");
}

TEST_F(QuickSetupDriveTest, OnlineSendRefusesADriveFlashedSinceTheUpload) {
  Upload();
  rig.Sim().SetValue(1129, 2106);
  rig.Sim().ResetStats();
  ui.AnswerMsgBox(vbOK);
  while (form.View().Page < 3) form.bNext_Click();
  EXPECT_FALSE(form.bNext_Click());  // Finish online sends, and the wizard stays open
  EXPECT_EQ(ui.Prompts().back(),
            "The drive runs firmware version 2.106; these settings are for version 2.105. Nothing was sent.");
  EXPECT_EQ(rig.Sim().RequestCount(kWriteValue), 0);
}

TEST_F(QuickSetupDriveTest, PreviewReadsLiveValues) {
  Upload();
  rig.Sim().SetValue(101, 5000);
  while (form.View().Page < 3) form.bNext_Click();
  form.bPreviewUp_Click();
  EXPECT_EQ(form.View().PreviewLine1, "Max Frequency   ");
  EXPECT_EQ(form.View().PreviewLine2, "M00P01    050.00");
  EXPECT_EQ(form.View().lblTooltip, " = M01P01 x 1.000 ");
}

}  // namespace
}  // namespace quendrel
