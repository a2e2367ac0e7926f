#include "foundation/settings/INIFile.h"

#include "platform/ScriptedUi.h"
#include "support/CurrentFolder.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace quendrel {
namespace {

namespace fs = std::filesystem;

struct ParseCase {
  const char* what;
  std::string text;
  std::string section;
  std::string key;
  std::string expected;
};

TEST(INIFileTest, ReadsValuesFromText) {
  const ParseCase cases[] = {
      {"CR LF lines", "[General]\r\nRetries=3\r\nUseIcons=False\r\n", "General", "UseIcons", "False"},
      {"CR lines", "[General]\rRetries=3\rUseIcons=False", "General", "UseIcons", "False"},
      {"blanks around key and value", "[General]\n  Retries =  5 \t\n", "General", "Retries", "5"},
      {"equals sign in the value", "[Graph/Log]\nTitle=a=b=c\n", "Graph/Log", "Title", "a=b=c"},
      {"quoted value keeps its blanks", "[Graph/Log]\nTitle=\"  padded  \"\n", "Graph/Log", "Title",
       "  padded  "},
      {"Latin-1 bytes pass through", "[Graph/Log]\nTitle=\xE9t\xE9 \xB0" "C\n", "Graph/Log", "Title",
       "\xE9t\xE9 \xB0" "C"},
      {"comment lines ignored", "[General]\n;Retries=9\n  ; Retries=8\nRetries=3\n", "General",
       "Retries", "3"},
      {"later line wins", "[General]\nRetries=3\nRetries=4\n", "General", "Retries", "4"},
      {"reopened section adds", "[A]\nx=1\n[B]\ny=2\n[A]\nz=3\n", "A", "z", "3"},
      {"line without equals ignored", "[General]\nRetries\nRetries=2\n", "General", "Retries", "2"},
      {"keys are case-sensitive", "[General]\nRetries=3\n", "General", "retries", ""},
      {"key before any section", "Loose=1\n[General]\n", "", "Loose", "1"},
      {"byte-order mark before the first header", "\xEF\xBB\xBF[General]\nRetries=5\n", "General", "Retries",
       "5"},
  };
  for (const auto& c : cases) {
    INIFile ini;
    ini.LoadText(c.text);
    EXPECT_EQ(ini.Value(c.key, c.section), c.expected) << c.what;
  }
  INIFile nameless;
  nameless.LoadText("[General]\n=7\n  =8\n");
  EXPECT_TRUE(nameless.Keys("General").empty()) << "a line without a key name holds no setting";
}

TEST(INIFileTest, MissingKeysFallThroughTheDelegateChain) {
  INIFile builtIn;
  builtIn.LoadText("[General]\nRetries=3\nUseIcons=True\nIconSet=functional\n");
  INIFile site(&builtIn);
  site.LoadText("[General]\nUseIcons=False\n");
  INIFile user(&site);
  user.LoadText("[General]\nIconSet=cards\n");

  EXPECT_EQ(user.Value("IconSet", "General"), "cards");
  EXPECT_EQ(user.Value("UseIcons", "General"), "False");
  EXPECT_EQ(user.Value("Retries", "General"), "3");
  EXPECT_EQ(user.Value("Nothing", "General"), "");
  EXPECT_FALSE(user.HasKey("Retries", "General"));

  user.SetValue("Retries", "General", "7");
  EXPECT_EQ(user.Value("Retries", "General"), "7");
  EXPECT_EQ(builtIn.Value("Retries", "General"), "3") << "writing must never touch the defaults";

  user.RemoveKey("Retries", "General");
  EXPECT_EQ(user.Value("Retries", "General"), "3");
}

TEST(INIFileTest, TextLeavesOutValuesEqualToTheDefaults) {
  INIFile defaults;
  defaults.LoadText("[General]\nRetries=3\nUseIcons=True\n[Files]\nSCPPath=Quendrel.SCP\n");
  INIFile user(&defaults);
  user.SetValue("Retries", "General", "3");
  user.SetValue("UseIcons", "General", false);
  user.SetValue("SCPPath", "Files", "Quendrel.SCP");
  user.SetValue("ShowAverage", "Graph/Log", true);
  // A string literal must stay text, not turn into the Boolean "True".
  user.SetValue("UnsavedData", "Warning Messages", "Yes");

  EXPECT_EQ(user.Text(false),
            "[General]\nUseIcons=False\n\n[Graph/Log]\nShowAverage=True\n\n"
            "[Warning Messages]\nUnsavedData=Yes\n");
  EXPECT_EQ(user.Text(true),
            "[General]\nRetries=3\nUseIcons=False\n\n[Files]\nSCPPath=Quendrel.SCP\n\n"
            "[Graph/Log]\nShowAverage=True\n\n[Warning Messages]\nUnsavedData=Yes\n");
}

TEST(INIFileTest, TextRoundTripsAwkwardValues) {
  const std::vector<std::string> values = {
      "", "plain", " leading", "trailing ", "\"quoted\"", "\"", "a=b", "; not a comment",
      "[not a section]", "\xE9\xFF\x80", "Verdana 16, Bold"};
  INIFile written;
  for (std::size_t i = 0; i < values.size(); ++i) {
    written.SetValue("Key" + std::to_string(i), "Section", values[i]);
  }
  written.SetValue("Loose", "", "1");  // keys without a section must be written before any header
  written.SetValue("Title", "Graph/Log", "one\r\ntwo\nInjected=1");
  INIFile read;
  read.LoadText(written.Text(true));
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(read.Value("Key" + std::to_string(i), "Section"), values[i]) << "value " << i;
  }
  EXPECT_EQ(read.Value("Loose", ""), "1");
  // A line break inside a value must not smuggle a key of its own into the file.
  EXPECT_EQ(read.Keys("Graph/Log"), std::vector<std::string>{"Title"});
}

TEST(INIFileTest, SaveReplacesTheFileItWasLoadedFrom) {
  TempFolder folder;
  const std::string path = folder.File("Quendrel.INI");
  WriteTestFile(path, "; hand-made\r\n[General]\r\nDriveAddress=2\r\n[Serial Port]\r\nBaudRate=9600\r\n");
  ::chmod(path.c_str(), 0640);

  INIFile defaults;
  defaults.LoadText("[General]\nDriveAddress=1\n[Serial Port]\nBaudRate=19200\n");
  INIFile user(&defaults);
  ASSERT_TRUE(user.Load(path));
  EXPECT_EQ(user.Value("BaudRate", "Serial Port"), "9600");
  user.SetValue("DriveAddress", "General", "1");
  ASSERT_TRUE(user.Save());
  EXPECT_EQ(ReadTestFile(path), "; hand-made\r\n[General]\r\n[Serial Port]\r\nBaudRate=9600\r\n")
      << "a value changed back to the default is left out, the comment stays";
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640U) << "the replacement keeps the old file's mode";
}

// A technician's file: comments, blank lines, a line the reader ignores, hand spacing, CR LF breaks,
// a byte-order mark and no break after the last line.
const std::string kHandWritten =
    "\xEF\xBB\xBF; Quendrel settings for pump 3\r\n"
    "[General]\r\n"
    "  DriveAddress = 5\r\n"
    "Retries=3\r\n"
    "this line means nothing to the reader\r\n"
    "\r\n"
    "; serial line to the pump\r\n"
    "[Serial Port]\r\n"
    "BaudRate=9600\r\n"
    "BaudRate=4800";

struct EditCase {
  const char* what;
  void (*edit)(INIFile&);
  std::string expected;
};

TEST(INIFileTest, SaveChangesOnlyWhatChangedInTheUsersFile) {
  const EditCase cases[] = {
      {"nothing changed", [](INIFile&) {}, kHandWritten},
      {"one value changed",
       [](INIFile& ini) { ini.SetValue("DriveAddress", "General", "7"); },
       "\xEF\xBB\xBF; Quendrel settings for pump 3\r\n[General]\r\n  DriveAddress = 7\r\nRetries=3\r\n"
       "this line means nothing to the reader\r\n\r\n; serial line to the pump\r\n[Serial Port]\r\n"
       "BaudRate=9600\r\nBaudRate=4800"},
      {"new keys and a new section",
       [](INIFile& ini) {
         ini.SetValue("IconSet", "General", "cards");
         ini.SetValue("Parity", "Serial Port", "Even");
         ini.SetValue("Legend", "Graph/Log", "Bottom");
         ini.SetValue("Loose", "", "1");
       },
       "\xEF\xBB\xBFLoose=1\r\n; Quendrel settings for pump 3\r\n[General]\r\n  DriveAddress = 5\r\nRetries=3\r\n"
       "this line means nothing to the reader\r\nIconSet=cards\r\n\r\n; serial line to the pump\r\n"
       "[Serial Port]\r\nBaudRate=9600\r\nBaudRate=4800\r\nParity=Even\r\n\r\n[Graph/Log]\r\nLegend=Bottom\r\n"},
      {"back to the default, and a duplicated key removed",
       [](INIFile& ini) {
         ini.SetValue("DriveAddress", "General", "1");
         ini.RemoveKey("BaudRate", "Serial Port");
       },
       "\xEF\xBB\xBF; Quendrel settings for pump 3\r\n[General]\r\nRetries=3\r\n"
       "this line means nothing to the reader\r\n\r\n; serial line to the pump\r\n[Serial Port]\r\n"},
  };
  INIFile defaults;
  defaults.LoadText("[General]\nDriveAddress=1\nRetries=3\n[Serial Port]\nBaudRate=19200\n");
  for (const auto& c : cases) {
    TempFolder folder;
    const std::string path = folder.File("Quendrel.INI");
    WriteTestFile(path, kHandWritten);
    struct stat before {};
    ::stat(path.c_str(), &before);
    INIFile user(&defaults);
    ASSERT_TRUE(user.Load(path)) << c.what;
    EXPECT_EQ(user.Value("BaudRate", "Serial Port"), "4800") << "the later line wins";
    c.edit(user);
    ASSERT_TRUE(user.Save()) << c.what;
    EXPECT_EQ(ReadTestFile(path), c.expected) << c.what;
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_EQ(before.st_ino == after.st_ino, c.expected == kHandWritten) << c.what << ": rewritten only on change";
  }
}

TEST(INIFileTest, PreserveINIKeepsValuesEqualToTheDefaults) {
  TempFolder folder;
  const std::string path = folder.File("Quendrel.INI");
  INIFile defaults;
  defaults.LoadText("[General]\nRetries=3\nPreserveINI=False\n");
  INIFile user(&defaults);
  user.SetValue("Stale", "General", "1");
  ASSERT_TRUE(user.Load(path)) << "a missing file is a first run, not an error";
  EXPECT_TRUE(user.Sections().empty()) << "loading replaces what the store held";
  user.SetValue("Retries", "General", "3");

  ASSERT_TRUE(user.Save());
  EXPECT_EQ(ReadTestFile(path), "");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"Quendrel.INI"}) << "no temporary file left";

  user.SetValue("PreserveINI", "General", true);
  ASSERT_TRUE(user.Save());
  EXPECT_EQ(ReadTestFile(path), "[General]\nRetries=3\nPreserveINI=True\n");
}

TEST(INIFileTest, SaveLandsWhereTheFileWasReadAfterTheDirectoryChanged) {
  TempFolder start;
  TempFolder elsewhere;
  const CurrentFolder current(start.Path());

  INIFile ini;
  ASSERT_TRUE(ini.Load("Quendrel.INI"));
  ini.SetValue("IconSet", "General", "cards");
  fs::current_path(elsewhere.File(""));
  ASSERT_TRUE(ini.Save());

  EXPECT_EQ(ReadTestFile(start.File("Quendrel.INI")), "[General]\nIconSet=cards\n");
  EXPECT_TRUE(elsewhere.Names().empty());
}

void ExpectOneIniError(const ScriptedUi& ui, const std::string& path) {
  ASSERT_EQ(ui.Questions().size(), 1U);
  const UiQuestion& question = ui.Questions().back();
  EXPECT_EQ(question.Title, "INI File Error");
  EXPECT_NE(question.Prompt.find(path), std::string::npos) << question.Prompt;
  EXPECT_EQ(question.Style & vbButtonSetMask, vbOKOnly);
}

TEST(INIFileTest, UnreadableFileIsReportedAndNeverOverwritten) {
  TempFolder folder;
  const std::string path = folder.File("Quendrel.INI");
  fs::create_directory(path);
  ScriptedUi ui;
  ui.AnswerMsgBox(vbOK);
  INIFile ini;
  EXPECT_FALSE(ini.Load(path));
  ExpectOneIniError(ui, path);

  ui.AnswerMsgBox(vbOK);
  ini.SetValue("Retries", "General", "4");
  EXPECT_FALSE(ini.Save()) << "what could not be read must not be replaced";
  EXPECT_EQ(ui.Titles(), (std::vector<std::string>{"INI File Error", "INI File Error"}));
  EXPECT_TRUE(fs::is_directory(path));
}

TEST(INIFileTest, UnwritableTargetIsReportedAndLeavesNoTemporaryFile) {
  TempFolder folder;
  const std::string missingFolder = folder.File("missing/Quendrel.INI");
  const std::string directory = folder.File("Quendrel.INI");
  fs::create_directory(directory);
  INIFile ini;
  ini.SetValue("Retries", "General", "2");

  for (const std::string& path : {missingFolder, directory}) {
    ScriptedUi ui;
    ui.AnswerMsgBox(vbOK);
    EXPECT_FALSE(ini.SaveAs(path));
    ExpectOneIniError(ui, path);
    const std::string& prompt = ui.Questions().back().Prompt;
    EXPECT_TRUE(prompt.find("does not exist") != std::string::npos || prompt.find("is a folder") != std::string::npos)
        << "the reason is given: " << prompt;
  }
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"Quendrel.INI"});
  EXPECT_TRUE(fs::is_directory(directory));
}

// The program reads `read`, makes its change, then the user leaves `onDisk` (nothing: the file is
// deleted) before the program saves; the file as it reads afterwards.
std::string SavedAfterTheUsersEdit(const INIFile& defaults, const std::string& read, void (*change)(INIFile&),
                                   const std::string& onDisk) {
  TempFolder folder;
  const std::string path = folder.File("Quendrel.INI");
  WriteTestFile(path, read);
  INIFile user(&defaults);
  EXPECT_TRUE(user.Load(path));
  change(user);
  if (onDisk.empty()) {
    fs::remove(path);
  } else {
    WriteTestFile(path, onDisk);
  }
  EXPECT_TRUE(user.Save());
  return ReadTestFile(path);
}

struct WhileRunningCase {
  const char* what;
  // The user's edit of the file on disk after the program read it.
  std::string onDisk;
  void (*edit)(INIFile&);
  std::string expected;
};

TEST(INIFileTest, EditsMadeToTheFileWhileTheProgramRunsSurviveTheSave) {
  const std::string read = "; pump 3\n[General]\nDriveAddress=5\nRetries=3\n[Serial Port]\nBaudRate=9600\n";
  const WhileRunningCase cases[] = {
      {"a key the user changed, one the program changed",
       "; pump 3\n[General]\nDriveAddress=5\nRetries=7\n[Serial Port]\nBaudRate=9600\n",
       [](INIFile& ini) { ini.SetValue("BaudRate", "Serial Port", "4800"); },
       "; pump 3\n[General]\nDriveAddress=5\nRetries=7\n[Serial Port]\nBaudRate=4800\n"},
      {"both changed the same key: the program's value wins",
       "; pump 3\n[General]\nDriveAddress=6\nRetries=3\n[Serial Port]\nBaudRate=9600\n",
       [](INIFile& ini) { ini.SetValue("DriveAddress", "General", "9"); },
       "; pump 3\n[General]\nDriveAddress=9\nRetries=3\n[Serial Port]\nBaudRate=9600\n"},
      {"lines, comments and sections the user added or removed stay so",
       "; pump 4\n[General]\nDriveAddress=5\n; added by hand\nTimeout=2\n[Ethernet]\nHost=10.0.0.2\n",
       [](INIFile& ini) { ini.SetValue("IconSet", "General", "cards"); },
       "; pump 4\n[General]\nDriveAddress=5\n; added by hand\nTimeout=2\nIconSet=cards\n[Ethernet]\n"
       "Host=10.0.0.2\n"},
      {"a key the program removed goes, one it only read keeps the user's removal",
       "; pump 3\n[General]\nDriveAddress=8\n[Serial Port]\nBaudRate=9600\n",
       [](INIFile& ini) { ini.RemoveKey("DriveAddress", "General"); },
       "; pump 3\n[General]\n[Serial Port]\nBaudRate=9600\n"},
      {"a value set back to what was read is no change of the program's",
       "; pump 3\n[General]\nDriveAddress=5\nRetries=4\n[Serial Port]\nBaudRate=9600\n",
       [](INIFile& ini) {
         ini.SetValue("Retries", "General", "6");
         ini.SetValue("Retries", "General", "3");
       },
       "; pump 3\n[General]\nDriveAddress=5\nRetries=4\n[Serial Port]\nBaudRate=9600\n"},
      {"the file deleted meanwhile: only the program's changes are written", "",
       [](INIFile& ini) { ini.SetValue("Retries", "General", "2"); }, "[General]\nRetries=2\n"},
  };
  INIFile defaults;
  defaults.LoadText("[General]\nDriveAddress=1\nRetries=3\n");
  for (const auto& c : cases) EXPECT_EQ(SavedAfterTheUsersEdit(defaults, read, c.edit, c.onDisk), c.expected) << c.what;
}

struct RestatedCase {
  const char* what;
  void (*store)(INIFile&);
  // The file as the user left it while the program ran, and as it must read after the save.
  std::string onDisk;
  std::string expected;
};

// A window that closes stores every setting it shows, in the program's spelling, whether the user
// changed it or not; only a value that differs from what was read may go over the user's lines.
TEST(INIFileTest, SettingsStoredAsTheyWereReadLeaveTheUsersLinesAlone) {
  const std::string read = "[Graph/Log]\nTitle=Pump\nXRules=true\n";
  const RestatedCase cases[] = {
      {"a key absent at load, stored with its default",
       [](INIFile& ini) { ini.SetValue("ScanPeriod", "Graph/Log", "3"); },
       "[Graph/Log]\nTitle=Pump\nXRules=true\nScanPeriod=10\n",
       "[Graph/Log]\nTitle=Pump\nXRules=true\nScanPeriod=10\n"},
      {"a key absent at load, stored with its default in other letter case",
       [](INIFile& ini) { ini.SetValue("BackgroundColor", "Graph/Log", "#f4f4f4"); },
       "[Graph/Log]\nTitle=Pump\nXRules=true\nBackgroundColor=#000080\n",
       "[Graph/Log]\nTitle=Pump\nXRules=true\nBackgroundColor=#000080\n"},
      {"a value stored again in other letter case, the user's line left alone",
       [](INIFile& ini) { ini.SetValue("XRules", "Graph/Log", true); }, read, read},
      {"a value stored again in other letter case, the user's line changed",
       [](INIFile& ini) { ini.SetValue("XRules", "Graph/Log", true); }, "[Graph/Log]\nTitle=Pump\nXRules=false\n",
       "[Graph/Log]\nTitle=Pump\nXRules=false\n"},
      {"a value the program changed still wins",
       [](INIFile& ini) { ini.SetValue("ScanPeriod", "Graph/Log", "5"); },
       "[Graph/Log]\nTitle=Pump\nXRules=true\nScanPeriod=10\n",
       "[Graph/Log]\nTitle=Pump\nXRules=true\nScanPeriod=5\n"},
  };
  INIFile defaults;
  defaults.LoadText("[Graph/Log]\nScanPeriod=3\nTimespan=60\nBackgroundColor=#F4F4F4\nXRules=False\nTitle=Graph\n");
  for (const auto& c : cases) EXPECT_EQ(SavedAfterTheUsersEdit(defaults, read, c.store, c.onDisk), c.expected) << c.what;
}

TEST(INIFileTest, AFileThatBecameUnreadableWhileRunningIsNotOverwritten) {
  TempFolder folder;
  const std::string path = folder.File("Quendrel.INI");
  WriteTestFile(path, "[General]\nRetries=3\n");
  INIFile ini;
  ASSERT_TRUE(ini.Load(path));
  ini.SetValue("Retries", "General", "4");
  fs::remove(path);
  fs::create_directory(path);
  ScriptedUi ui;
  ui.AnswerMsgBox(vbOK);
  EXPECT_FALSE(ini.Save());
  ExpectOneIniError(ui, path);
  EXPECT_TRUE(fs::is_directory(path));
}

}  // namespace
}  // namespace quendrel
