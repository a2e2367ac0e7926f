// The drive flash window loading what the user names: each kind of file, the ways a load fails and
// what the user is told (the file and the reason), the flash log, the address box and the settings
// the window keeps.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "comms/server/GIOContext.h"
#include "flash/support/DriveFlashRig.h"
#include "flash/support/PackageWriter.h"
#include "foundation/settings/Config.h"
#include "support/CurrentFolder.h"
#include "support/FileText.h"

namespace quendrel {
namespace {

namespace fs = std::filesystem;

const std::string kNotLoaded = "Unable to load Drive Flash file.";
const std::string kSuccess = "Drive Flash was successful.";

std::string Package(const std::string& root, std::vector<PackageMember> members) {
  PackageSpec spec;
  spec.rootName = root;
  spec.members = std::move(members);
  return PackageImage(spec);
}

struct KindCase {
  const char* what;
  std::string name;
  std::string contents;
  std::vector<std::string> calls;
};

TEST(DriveFlashLoading, RunsEachKindOfFileToItsEndAndShowsTheParseTime) {
  const KindCase cases[] = {
      {"version 2", "run.FL2", "a = 1; Poke(a, 2);", {"Poke(1,2)"}},
      {"version 1", "old.fla", "func37;0\nwait;0\n", {"EraseFlash(0)"}},
      {"package", "release.Fup", Package("Main.FL2", {{"main.fl2", "Poke(7);"}}), {"Poke(7)"}},
      {"a script of no statement", "empty.fl2", "// nothing yet\n", {}},
  };
  for (const KindCase& c : cases) {
    DriveFlashRig rig;
    rig.UseScript(c.name, c.contents);
    rig.ui.AnswerMsgBox(vbOK);
    rig.Start();
    EXPECT_EQ(rig.Calls(), c.calls) << c.what;
    EXPECT_EQ(rig.Prompts(), std::vector<std::string>{kSuccess}) << c.what;
    EXPECT_EQ(rig.View().lblStatus, "Finished") << c.what;
    EXPECT_EQ(rig.Script(), nullptr) << c.what;
    EXPECT_EQ(rig.mainStatus, std::vector<std::string>{"(Parsed in 0.125 seconds)"}) << c.what;
  }
}

TEST(DriveFlashLoading, ARelativeNameIsTakenFromTheCurrentFolderAndTheScriptWorksFromItsOwn) {
  DriveFlashRig rig;
  fs::create_directory(rig.folder.Path() / "release");
  std::ofstream(rig.folder.Path() / "release" / "go.fl2") << "ok = fileexists(\"boot.hex\"); Poke(ok);";
  std::ofstream(rig.folder.Path() / "release" / "boot.hex") << ":00000001FF\n";
  {
    const CurrentFolder inFolder(rig.folder.Path());
    rig.Window().tbFileName_Change("release/go.fl2");
    rig.Step();
  }
  ASSERT_NE(rig.Script(), nullptr);
  EXPECT_EQ(fs::path(rig.Script()->WorkingFolder()), rig.folder.Path() / "release");
  rig.ui.AnswerMsgBox(vbOK);
  rig.Start();
  EXPECT_EQ(rig.Calls(), std::vector<std::string>{"Poke(True)"}) << "found beside the script, wherever the process is";
}

TEST(DriveFlashLoading, ANameOfNoScriptKindIsRefusedInEachButtonsWords) {
  DriveFlashRig rig;
  rig.UseScript("notes.TXT", "Poke(1);");
  rig.ui.AnswerMsgBox(vbOK);
  rig.Start();
  ASSERT_EQ(rig.ui.Questions().size(), 1U);
  EXPECT_EQ(rig.ui.Questions()[0].Prompt, kNotLoaded);
  EXPECT_EQ(rig.ui.Questions()[0].Title, "Error");
  EXPECT_EQ(rig.ui.Questions()[0].Style & vbIconMask, vbCritical);
  EXPECT_EQ(rig.View().lblStatus, "Couldn't load Drive Flash script.");
  EXPECT_TRUE(rig.View().StartEnabled && rig.View().SourceEnabled && !rig.View().bPauseFlashEnabled);

  rig.Window().rbExecuteMode_Click(true);
  rig.ui.AnswerMsgBox(vbOK);
  rig.Step();
  ASSERT_EQ(rig.ui.Questions().size(), 2U);
  EXPECT_EQ(rig.ui.Questions()[1].Prompt, "Unable to load Flash file.");
  EXPECT_EQ(rig.ui.Questions()[1].Title, "Flash Error");
  EXPECT_EQ(rig.ui.Questions()[1].Style & vbIconMask, vbExclamation);
  EXPECT_EQ(rig.View().lblStatus, "");
  EXPECT_TRUE(rig.View().StartEnabled && rig.View().SourceEnabled);
  EXPECT_TRUE(rig.Calls().empty());
}

TEST(DriveFlashLoading, ALoadThatRaisesAnErrorIsAFailedLoad) {
  struct Case {
    const char* what;
    std::string name;
    std::string contents;  // nothing written when empty
    std::vector<std::string> prompts;
  };
  DriveFlashRig names;
  const std::string missing = (names.folder.Path() / "missing.fl2").string();
  const Case cases[] = {
      {"a mistyped path", "missing.fl2", "", {"File Not Found: " + missing, kNotLoaded}},
      {"a root stored under capitals", "caps.fup", Package("MAIN.FL2", {{"MAIN.FL2", "Poke(1);"}}),
       {"Unable to load the rootscript from the FUP.", kNotLoaded}},
  };
  for (const Case& c : cases) {
    DriveFlashRig rig;
    const std::string path = (names.folder.Path() / c.name).string();
    if (!c.contents.empty()) std::ofstream(path, std::ios::binary) << c.contents;
    rig.Window().tbFileName_Change(path);
    rig.ui.AnswerMsgBox(vbOK);
    rig.ui.AnswerMsgBox(vbOK);
    rig.Start();
    EXPECT_EQ(rig.Prompts(), c.prompts) << c.what;
    EXPECT_EQ(rig.View().lblStatus, "Couldn't load Drive Flash script.") << c.what;
    EXPECT_EQ(rig.Script(), nullptr) << c.what;
  }
}

TEST(DriveFlashLoading, AFailedPackageAfterAGoodOneRunsNothingOfTheOldOne) {
  DriveFlashRig rig;
  rig.UseScript("good.fup", Package("main.fl2", {{"main.fl2", "Poke(1);"}}));
  rig.ui.AnswerMsgBox(vbOK);
  rig.Start();
  ASSERT_EQ(rig.Calls().size(), 1U);

  rig.UseScript("bad.fup", "no package at all");
  rig.ui.AnswerMsgBox(vbOK);
  rig.ui.AnswerMsgBox(vbOK);
  rig.Start();
  const std::string bad = rig.folder.File("bad.fup");
  EXPECT_EQ(rig.Prompts(), (std::vector<std::string>{kSuccess,
                                                     "\"" + bad + "\" is damaged and cannot be used: it does not "
                                                     "begin as a firmware update file does.",
                                                     kNotLoaded}));
  EXPECT_EQ(rig.ui.Questions()[1].Title, "Damaged FUP file");
  EXPECT_EQ(rig.Calls().size(), 1U) << "the previous package's root script must not run";
}

TEST(DriveFlashLoading, LoggingWritesTheLoadLinesBesideTheScript) {
  DriveFlashRig rig;
  rig.Window().chkLogOutput_Click(true);
  rig.Window().tbLogFile_Change("run.log");
  rig.UseScript("run.fl2", "message(\"hello\"); Poke(1);");
  rig.ui.AnswerMsgBox(vbOK);
  rig.Start();
  ASSERT_EQ(rig.Script(), nullptr) << "ended, and the log closed with it";
  const std::string path = (rig.folder.Path() / "run.fl2").string();
  EXPECT_EQ(ReadTestFile(rig.folder.File("run.log")),
            "File Loaded: \"" + path + "\" at 01-01-2024 01:02:03\r\n(Parsed in 0.125 seconds)\r\nhello\r\n"
            "File Closed at 01-01-2024 01:02:03\r\n");
  EXPECT_TRUE(rig.mainStatus.empty()) << "the parse time goes to the log instead";
}

// A pipe is refused at once, whether anyone reads it or not; the box gives the reason after its words.
TEST(DriveFlashLoading, ALogThatCannotBeOpenedIsRefusedAsAnEmptyLogNameIs) {
  enum class Pipe { None, Unread, Read };
  struct Case {
    std::string log;  // relative names are taken from the script's folder
    std::string reason;
    Pipe pipe;
  };
  const Case cases[] = {{"", "", Pipe::None},
                        {"no such folder/run.log", "it does not exist", Pipe::None},
                        {".", "it is a folder", Pipe::None},
                        {"/dev/null", "it is a device, not a file", Pipe::None},
                        {"журнал.log", "it is a pipe, not a file", Pipe::Read},
                        {"журнал.log", "it is a pipe, not a file", Pipe::Unread}};
  for (const Case& c : cases) {
    DriveFlashRig rig;
    const std::string path = c.log.starts_with('/') ? c.log : rig.folder.File(c.log == "." ? "" : c.log);
    if (c.pipe != Pipe::None) {
      ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    }
    const int reader = c.pipe == Pipe::Read ? ::open(path.c_str(), O_RDONLY | O_NONBLOCK) : -1;
    std::string refusal = "Unable to load Drive Flash log file.";
    if (!c.log.empty()) refusal += "\n\nPath/File access error: " + path + ": " + c.reason;
    rig.Window().chkLogOutput_Click(true);
    rig.Window().tbLogFile_Change(c.log);
    rig.UseScript("run.fl2", "Poke(1);");
    rig.ui.AnswerMsgBox(vbOK);
    rig.ui.AnswerMsgBox(vbOK);
    rig.Start();
    if (reader >= 0) ::close(reader);
    EXPECT_EQ(rig.Prompts(), (std::vector<std::string>{refusal, kNotLoaded})) << c.log;
    EXPECT_EQ(rig.ui.Questions()[0].Title, "Error") << c.log;
    EXPECT_EQ(rig.Script(), nullptr) << c.log;
    EXPECT_TRUE(rig.Calls().empty()) << c.log;
    EXPECT_TRUE(rig.View().StartEnabled && rig.View().LogFileEnabled) << c.log;
  }
}

// Whatever its kind, a command file that cannot be read is named with the true reason first.
TEST(DriveFlashLoading, AFailedLoadNamesTheFileAndWhyItCannotBeRead) {
  enum class Made { Folder, Pipe, Nothing };
  struct Case {
    const char* what;
    std::string name;  // in the rig's folder unless absolute
    Made made;
    std::string reason;  // empty: not found
  };
  const Case cases[] = {
      {"a folder named as a script", "Скрипты.fl2", Made::Folder, "it is a folder"},
      {"a pipe named as a script", "pipe.FLA", Made::Pipe, "it is a pipe, not a file"},
      {"a pipe named as a package", "pipe.fup", Made::Pipe, "it is a pipe, not a file"},
      {"a device", "/dev/zero", Made::Nothing, "it is a device, not a file"},
      {"a missing package", "gone.fup", Made::Nothing, ""},
  };
  for (const Case& c : cases) {
    DriveFlashRig rig;
    const std::string path = c.name.starts_with('/') ? c.name : rig.folder.File(c.name);
    if (c.made == Made::Folder) fs::create_directory(path);
    if (c.made == Made::Pipe) {
      ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    }
    rig.Window().tbFileName_Change(path);
    rig.ui.AnswerMsgBox(vbOK);
    rig.ui.AnswerMsgBox(vbOK);
    rig.Start();
    const std::string refusal =
        c.reason.empty() ? "File Not Found: " + path : "Path/File access error: " + path + ": " + c.reason;
    EXPECT_EQ(rig.Prompts(), (std::vector<std::string>{refusal, kNotLoaded})) << c.what;
    EXPECT_EQ(rig.ui.Questions()[0].Title, "Error") << c.what;
    EXPECT_EQ(rig.View().lblStatus, "Couldn't load Drive Flash script.") << c.what;
  }
}

TEST(DriveFlashAddress, TheBoxKeepsWholeNumbersAndTheDriveGetsTheLowByte) {
  struct Case {
    const char* typed;
    const char* shown;
    int address;  // -1: refused
  };
  // A remainder of 0 would run the script on every drive of the line.
  const Case cases[] = {{"300", "300", 44}, {"12.7", "12", 12}, {"abc", "0", -1},  {"&H10", "16", 16},
                        {"-0.5", "-1", -1}, {"-3", "-3", -1},   {"4294967296", "4294967296", -1}};
  for (const Case& c : cases) {
    DriveFlashRig rig;
    rig.Window().tbDriveAddress_Change(c.typed);
    EXPECT_EQ(rig.View().tbDriveAddress, c.shown) << c.typed;
    rig.UseScript("run.fl2", "Poke(1);");
    rig.Window().rbExecuteMode_Click(true);
    if (c.address < 0) rig.ui.AnswerMsgBox(vbOK);
    rig.Step();
    if (c.address < 0) {
      EXPECT_EQ(rig.Prompts(), std::vector<std::string>{"Invalid drive address."}) << c.typed;
      EXPECT_EQ(rig.ui.Questions()[0].Title, "Error") << c.typed;
      EXPECT_EQ(rig.Script(), nullptr) << c.typed;
      EXPECT_TRUE(rig.View().SourceEnabled && rig.View().StartEnabled) << c.typed;
      continue;
    }
    ASSERT_NE(rig.Script(), nullptr) << c.typed;
    EXPECT_EQ(rig.Script()->Address(), c.address) << c.typed;
    EXPECT_EQ(rig.Script()->Context()->Address(), c.address) << c.typed;
  }
}

TEST(DriveFlashSettings, TheWindowOpensWithTheSettingsAndLeavesThemBehind) {
  DriveFlashRig rig;
  Config().SetValue("LastScriptFile", "Drive Flash", "/scripts/last.fl2");
  Config().SetValue("LogOutput", "Drive Flash", "true");
  Config().SetValue("LogFile", "Drive Flash", "/logs/flash.log");
  Config().SetValue("DriveAddress", "General", "7.9");
  rig.Window().Form_Load();
  EXPECT_EQ(rig.View().tbFileName, "/scripts/last.fl2");
  EXPECT_TRUE(rig.View().chkLogOutput);
  EXPECT_TRUE(rig.View().LogFileEnabled);
  EXPECT_EQ(rig.View().tbLogFile, "/logs/flash.log");
  EXPECT_EQ(rig.View().tbDriveAddress, "7");
  EXPECT_FALSE(rig.View().SingleStepMode);
  EXPECT_FALSE(rig.View().bPauseFlashEnabled);

  rig.Window().chkLogOutput_Click(false);
  EXPECT_EQ(Config().Value("LogOutput", "Drive Flash"), "False") << "written when clicked";
  EXPECT_FALSE(rig.View().LogFileEnabled);

  rig.ui.AnswerFileDialog("/picked/new.fup");
  rig.Window().bBrowse_Click();
  EXPECT_EQ(Config().Value("LastScriptFile", "Drive Flash"), "/picked/new.fup") << "written when picked";
  ASSERT_EQ(rig.ui.Questions().size(), 1U);
  EXPECT_EQ(rig.ui.Questions()[0].Title, "Select Flash File");
  EXPECT_EQ(rig.ui.Questions()[0].Prompt.substr(0, 45), "All Drive Flash Files (*.FLA, *.FL2, *.FUP)|*");

  rig.Window().tbDriveAddress_Change("12");
  rig.Window().tbLogFile_Change("ignored while the box is disabled");
  rig.Window().Form_Unload();
  EXPECT_EQ(Config().Value("DriveAddress", "General"), "12");
  EXPECT_EQ(Config().Value("LogFile", "Drive Flash"), "/logs/flash.log");
  EXPECT_EQ(Config().Value("LogOutput", "Drive Flash"), "False");
  EXPECT_EQ(Config().Value("LastScriptFile", "Drive Flash"), "/picked/new.fup");
}

}  // namespace
}  // namespace quendrel
