// The flash loader is fed byte by byte, which Modbus/TCP cannot carry: over it the upgrade wizard
// says so before anything reaches the simulated drive, and every loader built-in of a script refuses
// at once, so the drive is never sent into a loader nothing could reach.
#include <gtest/gtest.h>

#include "comms/support/EthernetRig.h"
#include "flash/scripts/FL2File.h"
#include "flash/support/LoaderFileText.h"
#include "flash/support/WizardRig.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"
#include "platform/ScriptedUi.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

constexpr int kWriteValue = 0x46;
constexpr int kFirmwareUploadParameter = 1139;

struct TransportCase {
  std::string name;
  int protocol;
  std::vector<std::string> boxes;
  int page;
};

class UpgradeTransport : public ::testing::TestWithParam<TransportCase> {};

TEST_P(UpgradeTransport, TheWizardGoesOnOnlyWhereTheLoaderCanBeFed) {
  EthernetRig line(EthernetRig::OnProtocol(GetParam().protocol));
  ScriptedUi ui;
  WizardRig rig(line.Server(), nullptr, ui);
  for (std::size_t i = 0; i < GetParam().boxes.size(); ++i) ui.AnswerMsgBox(vbOK);
  rig.Wizard().bNextFinish_Click();
  EXPECT_EQ(ui.Titles(), GetParam().boxes);
  EXPECT_EQ(rig.View().Page, GetParam().page);
  EXPECT_EQ(line.Sim().RequestCount(), GetParam().boxes.empty() ? 1 : 0) << "the version read alone";
  EXPECT_EQ(line.Sim().Value(kFirmwareUploadParameter), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Ethernet, UpgradeTransport,
    ::testing::Values(TransportCase{"ModbusTcp", EthernetModule::kModbusTcp, {"Unsuitable Connection"},
                                    UpgradeWizard::SelectDrive},
                      TransportCase{"SerialFramesOverTcp", EthernetModule::kRtuOverTcp, {},
                                    UpgradeWizard::LoadUpgradeFile}),
    [](const auto& info) { return info.param.name; });

TEST(LoaderOverModbusTcp, EveryLoaderBuiltInRefusesAndTheDriveKeepsItsFirmware) {
  EthernetRig line(EthernetRig::OnProtocol(EthernetModule::kModbusTcp));
  ScriptedUi ui;
  TempFolder folder;
  folder.Write("image.hex", ProgramImageText(0x2000, HexWords(4, 1)));
  folder.Write("data.txt", DataFileText({{0x1000, HexWords(4, 2)}}));
  ScriptEnvironment environment{&ui, &SystemClockInstance(), &WizardRig::Parser(), {}, &line.Server(), nullptr,
                                &line.Module(), &Config()};
  environment.loaderWaitSeconds = 1.0;
  FL2File script(environment);
  ASSERT_TRUE(script.LoadText("forcedriveflash(); initializebaudrate(); initializewriteprogram(\"image.hex\");"
                              "initializewritedata(\"data.txt\");"));
  script.SetWorkingFolder(folder.Path().string());
  script.SetContext(line.OpenContext());
  script.Reset();
  for (int statement = 1; statement <= 4; ++statement) {
    EXPECT_EQ(script.singleStep(), dfResponseGeneralError) << "statement " << statement;
  }
  EXPECT_EQ(line.Sim().RequestCount(kWriteValue), 0);
  EXPECT_EQ(line.Sim().Value(kFirmwareUploadParameter), 0);
}

}  // namespace
}  // namespace quendrel
