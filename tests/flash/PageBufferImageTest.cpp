// A page-buffer image cut at a line end, or holding no data, never reaches the simulated drive on a
// pseudo-terminal: the upgrade wizard and the drive flash window end in their failure texts before
// the first frame.
#include <gtest/gtest.h>

#include "comms/functions/FunctionTemplates.h"
#include "comms/support/SerialRig.h"
#include "flash/runner/DriveFlash.h"
#include "flash/support/LoaderFileText.h"
#include "flash/support/PackageWriter.h"
#include "flash/support/WizardRig.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"
#include "platform/ScriptedUi.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

constexpr int kWriteFileToBuffer = 39;
const char* const kRoot = "WriteFileToBuffer(\"app.hex\");";

// The first 20 records of 40, every line whole: only the missing end record shows the cut.
std::string CutImage() {
  const std::string text = IntelHexText(HexRecords(20, 16, 0x0100));
  return text.substr(0, text.rfind(':'));
}

struct ImageCase {
  std::string name;
  std::string image;
};

class PageBufferImage : public ::testing::TestWithParam<ImageCase> {
 protected:
  PageBufferImage() { EXPECT_TRUE(LoadFunctionTemplates()); }

  SerialRig line;
  ScriptedUi ui;
  TempFolder folder;
};

TEST_P(PageBufferImage, NeitherWindowSendsAFrameAndBothSayTheyFailed) {
  PackageSpec spec;
  spec.versionText = "2.105";
  spec.rootName = "main.fl2";
  spec.members = {{"main.fl2", kRoot}, {"app.hex", GetParam().image}};
  WizardRig wizard(line.Server(), &line.Module(), ui);
  wizard.ChoosePackage(folder.Write("release.fup", PackageImage(spec)));
  wizard.Wizard().bNextFinish_Click();
  ui.AnswerMsgBox(vbOK);
  wizard.Wizard().bNextFinish_Click();
  EXPECT_EQ(ui.Titles().back(), "Fatal Error");
  EXPECT_EQ(wizard.View().Page, UpgradeWizard::PerformUpgrade);
  EXPECT_EQ(wizard.lblFlashStatus->caption.rfind("Failed to upgrade firmware!\r\n", 0), 0U);

  folder.Write("app.hex", GetParam().image);
  DriveFlashLinks links;
  links.Environment = {&ui, &SystemClockInstance(), &WizardRig::Parser(), {}, &line.Server(), &line.Module(),
                       nullptr, &Config()};
  DriveFlash window(links);
  window.Form_Load();
  window.tbFileName_Change(folder.Write("main.fl2", kRoot));
  ui.AnswerMsgBox(vbOK);
  window.bStartFlash_Click();
  EXPECT_EQ(ui.Prompts().back(), "Unspecified error while executing Drive Flash script.");
  EXPECT_EQ(window.View().lblStatus, "Script Execution Error");
  EXPECT_EQ(line.Sim().RequestCount(kWriteFileToBuffer), 0);
}

INSTANTIATE_TEST_SUITE_P(Images, PageBufferImage,
                         ::testing::Values(ImageCase{"CutAtALineEnd", CutImage()},
                                           ImageCase{"EndRecordOnly", IntelHexText({})},
                                           ImageCase{"NothingAtAll", ""}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace quendrel
