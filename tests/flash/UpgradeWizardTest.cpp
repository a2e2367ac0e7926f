// The firmware upgrade wizard's pages up to the run: the connection and its test, the drive's version,
// the package choice with its series checks and the older-firmware question, against the simulated
// drive on a pseudo-terminal or a module that answers from a queue.
#include <gtest/gtest.h>

#include "comms/server/GIOServer.h"
#include "comms/support/FakeModule.h"
#include "comms/support/SerialRig.h"
#include "flash/scripts/FUPFile.h"
#include "flash/scripts/IFlashCommandFile.h"
#include "flash/support/PackageWriter.h"
#include "flash/support/WizardRig.h"
#include "foundation/settings/Config.h"
#include "foundation/settings/OptOutMsgBox.h"
#include "foundation/values/RuntimeError.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

constexpr int kSoftwareVersion = 1129;  // the simulated drive's M11P29, 2.105

class UpgradeWizardPages : public ::testing::Test {
 protected:
  explicit UpgradeWizardPages(std::vector<std::string> simulatorArguments = {}) : line(std::move(simulatorArguments)) {}

  std::string Package(const std::string& version, std::uint32_t flags = 0) {
    return WriteUpgradePackage(folder, version, "main.fl2", "a = 1;", flags, "v" + version + ".fup");
  }
  UpgradeWizard& wizard() { return rig.Wizard(); }

  SerialRig line;
  ScriptedUi ui;
  TempFolder folder;
  WizardRig rig{line.Server(), &line.Module(), ui};
};

// The designed bar texts go; the file transfer's controls wait until a transfer shows them.
TEST_F(UpgradeWizardPages, OpenWithTheProgressControlsEmptied) {
  EXPECT_EQ(rig.tpbProgress->text + rig.tpbSubProgress->text, "");
  EXPECT_FALSE(rig.tpbSubProgress->visible || rig.lblSubProgress->visible);
  EXPECT_EQ(rig.View().bConfigureGIOCaption, "&Configure Serial Port...");
}

TEST_F(UpgradeWizardPages, NextAndPrevWalkThePagesAndPrevIsRefusedWhereItIsNeverOn) {
  EXPECT_THROW(
      {
        try {
          wizard().bPrev_Click();
        } catch (const RuntimeError& error) {
          EXPECT_EQ(error.Source(), "bPrev");
          EXPECT_EQ(error.Description(), "Shouldn't be able to get here.");
          throw;
        }
      },
      RuntimeError);
  rig.ChoosePackage(Package("2.105"));
  EXPECT_EQ(rig.View().Page, UpgradeWizard::LoadUpgradeFile);
  EXPECT_EQ(rig.View().lblOldFirmwareVersion, "2.105");
  EXPECT_EQ(rig.View().lblNewFirmwareVersion, "2.105");
  EXPECT_TRUE(rig.View().bPrevEnabled);
  wizard().bNextFinish_Click();
  ASSERT_EQ(rig.View().Page, UpgradeWizard::PerformUpgrade);
  ASSERT_NE(wizard().Script(), nullptr);
  EXPECT_EQ(wizard().Script()->ProgramLength(), 1);
  EXPECT_TRUE(rig.View().bPrevEnabled);
  wizard().bPrev_Click();
  EXPECT_EQ(rig.View().Page, UpgradeWizard::LoadUpgradeFile);
  EXPECT_TRUE(rig.View().bPrevEnabled);
  wizard().bPrev_Click();
  EXPECT_EQ(rig.View().Page, UpgradeWizard::SelectDrive);
  EXPECT_FALSE(rig.View().bPrevEnabled);
  EXPECT_EQ(ui.Questions().size(), 1U);  // the file dialog
}

// The box's address is the drive's: 300 reaches the drive at 44.
TEST_F(UpgradeWizardPages, TheVersionIsReadFromTheDriveAtTheBoxsAddress) {
  line.Sim().SetAddress(44);
  wizard().tbAddress_Change("300");
  line.Sim().SetValue(kSoftwareVersion, 3007);
  wizard().bNextFinish_Click();
  EXPECT_EQ(rig.View().Page, UpgradeWizard::LoadUpgradeFile);
  EXPECT_EQ(rig.View().lblOldFirmwareVersion, "3.007");
}

struct BrowseCase {
  std::string name;
  std::string version;
  std::uint32_t flags;
  std::string shown;  // empty: refused
};

class UpgradeWizardBrowse : public UpgradeWizardPages, public ::testing::WithParamInterface<BrowseCase> {};

// Against the drive's 2.105: only the series counts, unless the package says to ignore it.
TEST_P(UpgradeWizardBrowse, KeepsOnlyAPackageOfTheDrivesSeries) {
  if (GetParam().shown.empty()) ui.AnswerMsgBox(vbOK);
  rig.ChoosePackage(Package(GetParam().version, GetParam().flags));
  EXPECT_EQ(rig.View().lblNewFirmwareVersion, GetParam().shown);
  if (GetParam().shown.empty()) {
    EXPECT_EQ(wizard().Package(), nullptr);
    ASSERT_EQ(ui.Questions().size(), 2U);
    const UiQuestion& box = ui.Questions()[1];
    EXPECT_EQ(box.Prompt, "Must choose a update file containing a compatible version of the firmware.");
    EXPECT_EQ(box.Title, "Incompatible FUP file");
    EXPECT_EQ(box.Style & vbIconMask, vbExclamation);
  } else {
    EXPECT_NE(wizard().Package(), nullptr);
    EXPECT_EQ(ui.Questions().size(), 1U);  // the file dialog only
  }
}

INSTANTIATE_TEST_SUITE_P(Series, UpgradeWizardBrowse,
                         ::testing::Values(BrowseCase{"SameSeriesNewer", "2.999", 0, "2.999"},
                                           BrowseCase{"SameSeriesOlder", "2.000", 0, "2.000"},
                                           BrowseCase{"NextSeries", "3.000", 0, ""},
                                           BrowseCase{"EarlierSeries", "1.999", 0, ""},
                                           BrowseCase{"NextSeriesIgnoringVersions", "3.000", FUPIgnoreVersions, "3.000"},
                                           BrowseCase{"OtherFlagsDoNotIgnore", "3.000", 2, ""}),
                         [](const auto& info) { return info.param.name; });

// A file that is no package says nothing about versions: the box tells what is wrong with it, and the
// package chosen before stays chosen and shown.
TEST_F(UpgradeWizardPages, ADamagedPickKeepsThePackageChosenBefore) {
  rig.ChoosePackage(Package("2.105"));
  const FUPFile* chosen = wizard().Package();
  PackageSpec spec{"2.999", 0, "main.fl2", {{"main.fl2", "a = 1;"}, {"boot.hex", ":00000001FF\n"}}};
  for (const MalformedPackage& file : MalformedPackages(spec)) {
    SCOPED_TRACE(file.what);
    const std::string path = folder.Write("повреждённый.fup", file.image);
    ui.AnswerMsgBox(vbOK);
    rig.Browse(path);
    EXPECT_EQ(ui.Titles().back(), "Damaged FUP file");
    EXPECT_EQ(ui.Prompts().back().rfind("\"" + path + "\" is damaged and cannot be used: it ", 0), 0U);
    EXPECT_EQ(wizard().Package(), chosen);
    EXPECT_EQ(rig.View().lblNewFirmwareVersion, "2.105");
  }
  ui.AnswerMsgBox(vbOK);
  rig.Browse(folder.Path().string());
  EXPECT_EQ(ui.Prompts().back(), "\"" + folder.Path().string() + "\" cannot be read: it is a folder.");
  EXPECT_EQ(wizard().Package(), chosen);
}

TEST_F(UpgradeWizardPages, NextWithoutAPackageAsksForOne) {
  wizard().bNextFinish_Click();
  ui.AnswerMsgBox(vbOK);
  wizard().bNextFinish_Click();
  EXPECT_EQ(rig.View().Page, UpgradeWizard::LoadUpgradeFile);
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"No FUP selected"});
  EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"Please select a firmware update file before proceeding."});
}

// The drive can change between the choice and Next: the series is checked again against the version
// read last.
TEST_F(UpgradeWizardPages, NextChecksTheSeriesOfTheDriveReadAgain) {
  const std::string package = Package("2.500");
  const std::string ignoring = Package("2.400", FUPIgnoreVersions);
  rig.ChoosePackage(package);
  wizard().bPrev_Click();
  line.Sim().SetValue(kSoftwareVersion, 3100);
  wizard().bNextFinish_Click();
  ASSERT_EQ(rig.View().lblOldFirmwareVersion, "3.100");
  ui.AnswerMsgBox(vbOK);
  wizard().bNextFinish_Click();
  EXPECT_EQ(rig.View().Page, UpgradeWizard::LoadUpgradeFile);
  EXPECT_EQ(ui.Titles().back(), "FUP Error");
  EXPECT_EQ(ui.Prompts().back(), "This firmware update file contains a firmware version incompatible with your drive.");
  EXPECT_EQ(ui.Questions().back().Style & vbIconMask, vbCritical);
  EXPECT_EQ(wizard().Script(), nullptr);

  rig.Browse(ignoring);
  wizard().bNextFinish_Click();
  EXPECT_EQ(rig.View().Page, UpgradeWizard::PerformUpgrade);
}

struct OldPackageCase {
  std::string name;
  int driveVersion;  // raw, three decimals
  std::string packageVersion;
  std::uint32_t flags;
  bool asked;
};

class UpgradeWizardOldPackage : public UpgradeWizardPages, public ::testing::WithParamInterface<OldPackageCase> {};

TEST_P(UpgradeWizardOldPackage, AsksOnlyForAnOlderPackageOfTheSameSeries) {
  line.Sim().SetValue(kSoftwareVersion, GetParam().driveVersion);
  rig.ChoosePackage(Package(GetParam().packageVersion, GetParam().flags));
  if (GetParam().asked) ui.AnswerOptOutBox(vbYes);
  wizard().bNextFinish_Click();
  EXPECT_EQ(rig.View().Page, UpgradeWizard::PerformUpgrade);
  const auto& asked = ui.Questions();
  ASSERT_EQ(asked.size(), GetParam().asked ? 2U : 1U);
  if (!GetParam().asked) return;
  EXPECT_EQ(asked[1].Kind, UiQuestionKind::OptOutBox);
  EXPECT_EQ(asked[1].Title, "Old FUP");
  EXPECT_EQ(asked[1].Prompt,
            "This firmware update file contains a firmware version older than your current firmware. Install it anyway?");
  EXPECT_EQ(asked[1].Style, vbYesNo | vbQuestion);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, UpgradeWizardOldPackage,
    ::testing::Values(OldPackageCase{"Older", 2105, "2.100", 0, true},
                      OldPackageCase{"Equal", 2105, "2.105", 0, false},
                      OldPackageCase{"Newer", 2100, "2.105", 0, false},
                      OldPackageCase{"OlderIgnoringVersions", 2105, "2.100", FUPIgnoreVersions, true},
                      // The series differ, so the package counts as no older one, whatever it says.
                      OldPackageCase{"OtherSeriesIgnoringVersions", 3000, "2.900", FUPIgnoreVersions, false}),
    [](const auto& info) { return info.param.name; });

TEST_F(UpgradeWizardPages, AnOlderPackageStaysUnlessTheAnswerIsYesAndATickedAnswerIsKept) {
  rig.ChoosePackage(Package("2.100"));
  ui.AnswerOptOutBox(vbNo);
  wizard().bNextFinish_Click();
  EXPECT_EQ(rig.View().Page, UpgradeWizard::LoadUpgradeFile);
  EXPECT_EQ(wizard().Script(), nullptr);

  ui.AnswerOptOutBox(vbYes, true);
  wizard().bNextFinish_Click();
  EXPECT_EQ(rig.View().Page, UpgradeWizard::PerformUpgrade);
  EXPECT_EQ(Config().Value("OldFUP", OptOutSection), "Yes");

  wizard().bPrev_Click();
  wizard().bNextFinish_Click();
  EXPECT_EQ(rig.View().Page, UpgradeWizard::PerformUpgrade);
  EXPECT_EQ(ui.Questions().size(), 3U);  // the file dialog and the two boxes

  Config().SetValue("OldFUP", OptOutSection, std::string("No"));
  wizard().bPrev_Click();
  wizard().bNextFinish_Click();
  EXPECT_EQ(rig.View().Page, UpgradeWizard::LoadUpgradeFile);
  EXPECT_EQ(ui.Questions().size(), 3U);
}

struct AddressCase {
  std::string typed;
  std::string shown;
};

class UpgradeWizardAddress : public ::testing::TestWithParam<AddressCase> {};

TEST_P(UpgradeWizardAddress, TheBoxHoldsAnAddressFrom1To255) {
  EXPECT_EQ(UpgradeWizard::AddressText(GetParam().typed), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Texts, UpgradeWizardAddress,
                         ::testing::Values(AddressCase{"0", "1"}, AddressCase{"256", "1"}, AddressCase{"300", "44"},
                                           AddressCase{"255", "255"}, AddressCase{"", "1"}, AddressCase{"abc", "1"},
                                           AddressCase{"12abc", "12"}, AddressCase{"2.5", "2"},
                                           AddressCase{"7.5", "8"}, AddressCase{"&H102", "2"},
                                           AddressCase{"2147483647", "255"}, AddressCase{"4294967297", "1"},
                                           AddressCase{"1E30", "1"}));

// The loader answers the flash-mode query but no parameter service.
class UpgradeWizardLoaderDrive : public UpgradeWizardPages {
 protected:
  UpgradeWizardLoaderDrive() : UpgradeWizardPages({"--loader"}) {}
};

TEST_F(UpgradeWizardLoaderDrive, TheCommunicationTestResetsADriveInItsLoader) {
  ui.AnswerMsgBox(vbOK);
  wizard().bTestCommunication_Click();
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"Communication Successful"});
  EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"Drive already in flash mode, resetting."});
  EXPECT_EQ(ui.Questions()[0].Style & vbIconMask, vbInformation);
  EXPECT_EQ(rig.View().lblCommTestStatus, "Connection OK");
  // The reset goes out without waiting for an answer; a drive takes its time to restart, and the
  // simulated one takes the frame once the line has been quiet for a while.
  long resets = 0;
  for (int asked = 0; asked < 100000 && resets == 0; ++asked) resets = line.Sim().RequestCount(52);
  EXPECT_EQ(resets, 1);
  // The drive runs its firmware again.
  wizard().bNextFinish_Click();
  EXPECT_EQ(rig.View().Page, UpgradeWizard::LoadUpgradeFile);
  EXPECT_EQ(rig.View().lblOldFirmwareVersion, "2.105");
}

TEST_F(UpgradeWizardPages, TheCommunicationTestReadsTheFirstParameterName) {
  wizard().obCommMode_Click(0);
  EXPECT_EQ(rig.View().lblCommTestStatus, "");
  ui.AnswerMsgBox(vbOK);
  wizard().bTestCommunication_Click();
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"Communication Successful"});
  EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"Successfully communicated with Drive."});
  EXPECT_EQ(rig.View().lblCommTestStatus, "Connection OK");
  EXPECT_EQ(line.Sim().RequestCount(1), 0);
}

// Two transports that answer from queues and count their starts.
class UpgradeWizardModules : public ::testing::Test {
 protected:
  UpgradeWizardModules() {
    ResetConfig();
    Config().SetValue("Retries", "General", "0");
    serial = static_cast<FakeModule*>(&server.RegisterModule(std::make_unique<FakeModule>("Serial")));
    ethernet = static_cast<FakeModule*>(&server.RegisterModule(std::make_unique<FakeModule>("Ethernet")));
  }
  ~UpgradeWizardModules() override { ResetConfig(); }

  std::unique_ptr<WizardRig> Open() { return std::make_unique<WizardRig>(server, nullptr, ui); }

  FakeClock clock;
  GIOServer server{clock};
  FakeModule* serial = nullptr;
  FakeModule* ethernet = nullptr;
  ScriptedUi ui;
};

TEST_F(UpgradeWizardModules, OpeningSelectsSerialWhenNoModuleIsSelected) {
  const auto rig = Open();
  EXPECT_EQ(server.SelectedModule(), "Serial");
  EXPECT_EQ(serial->startups, 1);
  EXPECT_EQ(rig->communicationUpdates, 1);
}

// Selecting stops and starts a module, which would drop a connection just set up.
TEST_F(UpgradeWizardModules, OpeningAndChoosingTheSelectedModuleNeverRestartIt) {
  server.SelectModule("Ethernet");
  const auto rig = Open();
  EXPECT_EQ(rig->View().obCommMode, 1);
  EXPECT_EQ(rig->View().bConfigureGIOCaption, "&Configure Ethernet...");
  rig->Wizard().obCommMode_Click(1);
  EXPECT_EQ(ethernet->startups, 1);
  EXPECT_EQ(ethernet->shutdowns, 0);
  EXPECT_EQ(rig->communicationUpdates, 0);

  rig->Wizard().obCommMode_Click(0);
  EXPECT_EQ(server.SelectedModule(), "Serial");
  EXPECT_EQ(rig->View().bConfigureGIOCaption, "&Configure Serial Port...");
  EXPECT_EQ(ethernet->shutdowns, 1);
  EXPECT_EQ(rig->communicationUpdates, 1);
}

TEST_F(UpgradeWizardModules, ConfigureShowsTheSelectedModulesDialogAndOpensAContextAtTheBoxsAddress) {
  const auto rig = Open();
  rig->Wizard().tbAddress_Change("7");
  rig->Wizard().bConfigureGIO_Click();
  EXPECT_EQ(rig->serialDialogs, 1);
  rig->Wizard().obCommMode_Click(1);
  rig->Wizard().bConfigureGIO_Click();
  EXPECT_EQ(rig->ethernetDialogs, 1);
  EXPECT_EQ(rig->communicationUpdates, 4);  // the two selections and the two dialogs
  // The wizard's context talks to the box's drive with a one-second timeout.
  ethernet->AnswerPdu(Pdu(0x44, {7, 0, 0, 4}, "Name"));
  ui.AnswerMsgBox(vbOK);
  rig->Wizard().bTestCommunication_Click();
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"Communication Successful"});
  ASSERT_EQ(ethernet->sent.size(), 1U);
  EXPECT_EQ(ethernet->sent[0].request.address, 7);
  EXPECT_DOUBLE_EQ(ethernet->sent[0].timeout, 1.0);
}

TEST_F(UpgradeWizardModules, AFailedCommunicationTestNamesTheErrorOfTheFlashModeQuery) {
  const auto rig = Open();
  serial->AnswerError(46);
  serial->AnswerError(11);
  ui.AnswerMsgBox(vbOK);
  rig->Wizard().bTestCommunication_Click();
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"Connection Failed"});
  EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"Unable to connect to drive (Error 11)"});
  EXPECT_EQ(ui.Questions()[0].Style & vbIconMask, vbCritical);
  EXPECT_EQ(rig->View().lblCommTestStatus, "Connection Unavailable");
  ASSERT_EQ(serial->sent.size(), 2U);
  EXPECT_EQ(serial->sent[1].request.service, DriveService::Raw);
  EXPECT_EQ(serial->sent[1].request.rawFunction, 1);
}

TEST_F(UpgradeWizardModules, ADriveThatDoesNotAnswerKeepsTheFirstPage) {
  const auto rig = Open();
  serial->AnswerError(46);
  ui.AnswerMsgBox(vbOK);
  rig->Wizard().bNextFinish_Click();
  EXPECT_EQ(rig->View().Page, UpgradeWizard::SelectDrive);
  EXPECT_FALSE(rig->View().bPrevEnabled);
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"Cannot Access Drive"});
  EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"Unable to access drive. Please check your settings and try again."});
  EXPECT_EQ(ui.Questions()[0].Style & vbIconMask, vbExclamation);
}

}  // namespace
}  // namespace quendrel
