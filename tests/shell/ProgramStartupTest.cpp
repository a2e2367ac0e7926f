// The real start-up steps in a program folder of their own: the user's settings come from the
// folder with the built-in ones behind them, and the services they name are set up from them.
#include "shell/ProgramServices.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "comms/functions/FunctionTemplates.h"
#include "comms/modules/SerialModule.h"
#include "comms/server/CommServer.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOError.h"
#include "drivesim/DriveSimProcess.h"
#include "foundation/settings/Config.h"
#include "graph/data/ScanList.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"
#include "shell/AppGlobals.h"
#include "shell/CommunicationsStatus.h"
#include "shell/Shutdown.h"
#include "shell/support/ShellTestSupport.h"
#include "support/FileText.h"
#include "support/TempFolder.h"
#include "widgets/TreeIcons.h"

namespace quendrel {
namespace {

class ProgramStartupTest : public ::testing::Test {
 protected:
  ProgramStartupTest() { ResetConfig(); }
  ~ProgramStartupTest() override {
    CommServer().Shutdown();
    ResetConfig();
  }

  StartupOutcome Start() { return Startup(ProgramStartupHooks(folder.Path().string()), ui, clock, 0.0); }

  TempFolder folder;
  ScriptedUi ui;
  FakeClock clock;
};

TEST_F(ProgramStartupTest, ReadsTheUsersSettingsFromTheProgramFolder) {
  folder.Write(SettingsFileName,
               "[General]\nGIOTarget=None\nUseIcons=False\n[Serial Port]\nBaudRate=9600\n");
  ASSERT_EQ(Start(), StartupOutcome::Running);
  EXPECT_EQ(AppFolder(), folder.Path().string() + "/");
  EXPECT_EQ(Config().Value("BaudRate", "Serial Port"), "9600");
  EXPECT_EQ(Config().Value("Timeout", "Serial Port"), "1");  // from the built-in defaults
  EXPECT_EQ(Config().Path().empty(), false);
  EXPECT_FALSE(UseIcons());
  EXPECT_EQ(CommServer().SelectedModule(), "None");
}

TEST_F(ProgramStartupTest, WithoutAUserFileTheDefaultsSelectTheSerialModule) {
  ASSERT_EQ(Start(), StartupOutcome::Running);
  EXPECT_TRUE(UseIcons());
  EXPECT_EQ(CommServer().SelectedModule(), "Serial");
  EXPECT_TRUE(ui.Questions().empty());
}

TEST_F(ProgramStartupTest, AnEmptyCompatibilitySettingInTheUsersFileEndsTheProgram) {
  folder.Write(SettingsFileName, "[Files]\nFC2Path=\n");
  ui.AnswerMsgBox(vbOK);
  EXPECT_EQ(Start(), StartupOutcome::Failed);
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"Critical Error"});
}

TEST_F(ProgramStartupTest, LoadsTheCompatibilityFileNamedInTheSettingsAndTheTemplates) {
  FirmwareCompatibilityFile written;
  written.SetSoftwareVersion(1234);
  ASSERT_TRUE(written.Save(folder.File("Plant.FC2")));
  folder.Write(SettingsFileName, "[Files]\nFC2Path=Plant.FC2\n");
  ASSERT_EQ(Start(), StartupOutcome::Running);
  EXPECT_EQ(FirmwareCompatibility().SoftwareVersion(), 1234);
  EXPECT_NE(FindFunctionTemplate("readvalue"), nullptr);
  EXPECT_GT(FunctionTemplates().Count(), 10);
}

TEST_F(ProgramStartupTest, AMissingCompatibilityFileLeavesItEmptyWithoutAQuestion) {
  folder.Write(SettingsFileName, "[Files]\nFC2Path=Missing.FC2\n");
  ASSERT_EQ(Start(), StartupOutcome::Running);
  EXPECT_TRUE(FirmwareCompatibility().VersionList().empty());
  EXPECT_EQ(FirmwareCompatibility().SoftwareVersion(), FirmwareCompatibilityFile::kDefaultSoftwareVersion);
  EXPECT_TRUE(ui.Questions().empty());
}

TEST_F(ProgramStartupTest, RelativePathsAreFoundInTheProgramFolder) {
  SetAppFolder(folder.Path().string());
  EXPECT_EQ(ResolveProgramPath("Quendrel.SCP"), folder.Path().string() + "/Quendrel.SCP");
  EXPECT_EQ(ResolveProgramPath("/var/lib/scan.SCP"), "/var/lib/scan.SCP");
  EXPECT_EQ(ResolveProgramPath(""), "");
}

TEST_F(ProgramStartupTest, TheScanListComesFromTheProgramFolderAndGoesBackThereAtExit) {
  folder.Write("Quendrel.SCP", "M01P02;True;False;#FF0000;0.5\r\n");
  ASSERT_EQ(Start(), StartupOutcome::Running);
  EXPECT_TRUE(ScanList().Parameter(102));
  EXPECT_EQ(ScanList().Gain(102), 0.5);
  ScanList().SetParameter(1205, true);
  ScanList().SetGain(1205, 2.5);
  ASSERT_TRUE(Shutdown(ProgramShutdownHooks(), ui));
  EXPECT_EQ(folder.Read("Quendrel.SCP"),
            "M01P02;True;False;#FF0000;0.5\r\nM12P05;False;False;#000000;2.5\r\n");
}

TEST_F(ProgramStartupTest, AScanListThatCannotBeReplacedIsReportedAndKeptAtExit) {
  folder.Write("Quendrel.SCP", "M01P02;True;False;#FF0000;1\r\n");
  ::chmod(folder.File("Quendrel.SCP").c_str(), 0444);
  ASSERT_EQ(Start(), StartupOutcome::Running);
  ScanList().SetParameter(103, true);
  ui.AnswerMsgBox(vbOK);
  ASSERT_TRUE(Shutdown(ProgramShutdownHooks(), ui));
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"Scan List Error"});
  EXPECT_NE(ui.Prompts()[0].find("is read-only"), std::string::npos);
  EXPECT_EQ(folder.Read("Quendrel.SCP"), "M01P02;True;False;#FF0000;1\r\n");
}

// Two good entries and then enough comments to pass the scan list's size limit: too large to read,
// and holding entries the program never saw.
std::string OversizedScanList() {
  std::string text = "M01P02;True;False;#FF0000;0.5\r\nM12P05;False;True;#00FF00;2\r\n";
  const std::string comment = "; written by the plant's own tool, kept for the next technician\r\n";
  while (text.size() <= (16U << 20)) text += comment;
  return text;
}

TEST_F(ProgramStartupTest, AScanListThatCouldNotBeReadIsNeverWrittenOverAtExit) {
  const std::string text = OversizedScanList();
  // The file itself, and the file in another folder that the program folder's name links to.
  for (const bool throughLink : {false, true}) {
    TempFolder program;
    TempFolder elsewhere;
    const std::string file = throughLink ? elsewhere.Write("Plant.SCP", text) : program.Write("Quendrel.SCP", text);
    if (throughLink) std::filesystem::create_symlink(file, program.File("Quendrel.SCP"));
    ResetConfig();
    ScriptedUi seen;
    seen.AnswerMsgBox(vbOK);
    ASSERT_EQ(Startup(ProgramStartupHooks(program.Path().string()), seen, clock, 0.0), StartupOutcome::Running);
    ASSERT_EQ(seen.Titles(), std::vector<std::string>{"Scan List Error"}) << throughLink;
    const std::string prompt = seen.Prompts().front();
    EXPECT_EQ(prompt.rfind("Unable to load the scan list file \"Quendrel.SCP\":\n\n", 0), 0U) << prompt;
    EXPECT_NE(prompt.find("too large"), std::string::npos) << prompt;
    EXPECT_NE(prompt.find("\n\nThe file will not be written over when Quendrel exits."), std::string::npos) << prompt;

    ScanList().SetParameter(103, true);  // a pick of this session's, which the file cannot take
    ASSERT_TRUE(Shutdown(ProgramShutdownHooks(), seen)) << throughLink;
    EXPECT_EQ(seen.Questions().size(), 1U) << throughLink << ": the exit has nothing new to say";
    const std::string left = ReadTestFile(file);
    EXPECT_TRUE(left == text) << throughLink << ": " << left.size() << " bytes left";
    EXPECT_EQ(std::filesystem::is_symlink(program.File("Quendrel.SCP")), throughLink);
    CommServer().Shutdown();
  }
}

// A hand-edited setting the dialog would refuse: start-up uses the default instead and the file
// keeps what the user wrote.
struct RefusedSetting {
  const char* name;
  bool serial;  // else Ethernet
  const char* line;
};

class RefusedSettingTest : public ProgramStartupTest, public ::testing::WithParamInterface<RefusedSetting> {
 protected:
  std::string SettingsText(const DriveSimProcess& drive) const {
    const std::string refused = GetParam().line + std::string("\n");
    const bool serial = GetParam().serial;
    return std::string("[General]\nRetries=1\nGIOTarget=") + (serial ? "Serial" : "Ethernet") +
           "\n[Serial Port]\nPortNames=" + drive.DevicePath() + "\n" + (serial ? refused : "") +
           "[Ethernet]\nHost=127.0.0.1\nPort=" + std::to_string(drive.TcpPort()) + "\n" + (serial ? "" : refused);
  }
};

TEST_P(RefusedSettingTest, StartsWithTheDefaultAndKeepsTheFileAsWritten) {
  // Nothing answers: a read must wait out the timeout.
  DriveSimProcess drive({"--fault", "drop every 1", "--tcp", "0"});
  folder.Write(SettingsFileName, SettingsText(drive));
  ASSERT_EQ(Start(), StartupOutcome::Running);
  const bool serial = GetParam().serial;
  EXPECT_DOUBLE_EQ(CommServer().Module(CommServer().SelectedModule())->ConfiguredTimeout(), serial ? 1.0 : 2.0);
  const udtDriveResponse reply = CommServer().OpenContext(1, -1)->ReadValue(11, 29);
  EXPECT_TRUE(reply.Error);
  EXPECT_EQ(reply.intData, gioTimeout) << GIOErrorText(reply.intData);
  const std::string status = CommunicationsStatusText(SummariseCommunications(CommServer()));
  EXPECT_EQ(status.rfind(serial ? "Serial: COM1 (" : "Ethernet: ", 0), 0U) << status;
  ASSERT_TRUE(Config().Save());
  EXPECT_EQ(folder.Read(SettingsFileName), SettingsText(drive));
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedSettingTest,
                         ::testing::Values(RefusedSetting{"ZeroTimeout", true, "Timeout=0"},
                                           RefusedSetting{"NegativeTimeout", true, "Timeout=-1"},
                                           RefusedSetting{"HugeTimeout", true, "Timeout=1e300"},
                                           RefusedSetting{"LargestComPort", true, "ComPort=2147483647"},
                                           RefusedSetting{"ComPortBeyondCom256", true, "ComPort=30000000"},
                                           RefusedSetting{"EthernetZeroTimeout", false, "Timeout=0"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quendrel
