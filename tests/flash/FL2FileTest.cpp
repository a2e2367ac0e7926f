// The script object: stepping and the program counter, the log, temporary files and where the
// files a script names are found.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <sys/stat.h>

#include "comms/functions/ScriptPackage.h"
#include "flash/scripts/ScriptArchive.h"
#include "flash/support/MemoryArchive.h"
#include "flash/support/ScriptRig.h"
#include "foundation/files/qovStringStream.h"
#include "foundation/values/RuntimeError.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

namespace fs = std::filesystem;

using testing::MemoryArchive;

TEST(FL2File, StepsReportCodesAndMoveThePC) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load("a = 1; b = 2; c = 3;"));
  FL2File& script = rig.Script();
  script.Reset();
  std::vector<std::pair<dfResponseCodes, std::int32_t>> trace;
  for (int step = 0; step < 3; ++step) {
    const dfResponseCodes code = script.singleStep();
    trace.emplace_back(code, script.PC());
  }
  const std::vector<std::pair<dfResponseCodes, std::int32_t>> expected = {
      {dfResponseOK, 2}, {dfResponseOK, 3}, {dfResponseEOF, 3}};
  EXPECT_EQ(trace, expected);
  for (const std::int32_t ignored : {0, 5, -1}) {
    script.SetPC(ignored);
    EXPECT_EQ(script.PC(), 3) << ignored;
  }
  script.SetPC(4);
  EXPECT_EQ(script.PC(), 4) << "one past the end means ended";
  EXPECT_EQ(script.CommandString(-1), "");
  EXPECT_EQ(script.singleStep(), dfResponseEOF);
  EXPECT_EQ(script.Label("nowhere"), -1);
}

TEST(FL2File, FailedLastStatementIsReportedBeforeTheEnd) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load("x = 1; goto nowhere"));
  const auto codes = rig.Run();
  EXPECT_EQ(codes, (std::vector{dfResponseOK, dfResponseGeneralError, dfResponseEOF}));
  EXPECT_EQ(rig.Script().PC(), 3);
  EXPECT_EQ(rig.Script().LastExecuted(), 2);
}

TEST(FL2File, LastExecutedIsTheStatementRunNotThePC) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load("if (0); a = 1; b = 2;"));
  FL2File& script = rig.Script();
  script.Reset();
  EXPECT_EQ(script.LastExecuted(), 0);
  EXPECT_EQ(script.singleStep(), dfResponseOK);
  EXPECT_EQ(script.PC(), 3);
  EXPECT_EQ(script.LastExecuted(), 1);
}

TEST(FL2File, CallArgumentsRunTwice) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load("wait(bell()); wait(2.5);"));
  rig.Run();
  EXPECT_EQ(rig.ui.Beeps(), 2) << "the values pass and the names pass";
  EXPECT_EQ(rig.clock.Sleeps(), (std::vector<double>{0.0, 2.5}));
}

TEST(FL2File, TemporaryFilesAndTheLog) {
  const TempFolder first;
  const TempFolder second;
  const fs::path& folder = first.Path();
  const fs::path& other = second.Path();
  first.Write("kept.txt", "mine");
  {
    ScriptRig rig;
    ASSERT_TRUE(rig.Load("x = 1;"));
    FL2File& script = rig.Script();
    script.SetWorkingFolder(folder.string());
    script.SetlogFile("script.log");
    script.AllocateTempFile("kept.txt");
    script.AllocateTempFile("made.txt");
    first.Write("made.txt", "temp");
    script.SetWorkingFolder(other.string());
    second.Write("made.txt", "not the script's");
    rig.Release();
  }
  EXPECT_TRUE(fs::exists(folder / "kept.txt"));
  EXPECT_FALSE(fs::exists(folder / "made.txt"));
  EXPECT_TRUE(fs::exists(other / "made.txt"));
  const std::string made = "\"" + (folder / "made.txt").string() + "\"";
  const std::string log = first.Read("script.log");
  EXPECT_NE(log.find("Allocating temporary file " + made + "...\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Deleting temporary file " + made + "...\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("File Closed at "), std::string::npos) << log;
}

TEST(FL2File, FilesComeFromTheWorkingFolderBeforeThePackage) {
  const TempFolder temp;
  const fs::path& folder = temp.Path();
  temp.Write("both.fl2", "x = \"disk\";");
  temp.Write("data.hex", "on disk");
  ScriptRig rig;
  FL2File& script = rig.Script();
  script.SetWorkingFolder(folder.string());
  script.SetArchive(std::make_shared<MemoryArchive>(std::map<std::string, std::string>{
      {"both.fl2", "x = \"package\";"}, {"only.fl2", "y = 1;"}, {"member.bin", "packed"}}));
  ASSERT_TRUE(script.LoadFile("both.fl2"));
  script.Reset();
  script.singleStep();
  EXPECT_EQ(script.Variable("x").AsText(), "\"disk\"");
  EXPECT_TRUE(script.LoadFile("only.fl2"));
  EXPECT_EQ(script.FileText("data.hex"), "on disk");
  EXPECT_EQ(script.FileText("member.bin"), "packed");
  EXPECT_EQ(script.FileText("neither"), std::nullopt);
  try {
    script.LoadFile("missing.fl2");
    ADD_FAILURE() << "a missing script must raise";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), -10427);
    EXPECT_EQ(error.Description(), "File Not Found: missing.fl2");
  }
  EXPECT_THROW(script.SetlogFile((folder / "no such folder" / "x.log").string()), RuntimeError);
}

// Scripts and the files they name are read from disk only when they are regular files of a script's
// size: a pipe nobody writes to is never waited for, a device never read without end.
TEST(FL2File, OnlyRegularFilesOfAScriptsSizeAreReadFromDisk) {
  const TempFolder temp;
  const fs::path& folder = temp.Path();
  ASSERT_EQ(::mkfifo((folder / "pipe.fl2").c_str(), 0644), 0);
  ASSERT_EQ(::mkfifo((folder / "pipe.hex").c_str(), 0644), 0);
  temp.Write("huge.fl2", "x = 1;");
  fs::resize_file(folder / "huge.fl2", kLargestScriptFile + 1);
  ScriptRig rig;
  FL2File& script = rig.Script();
  script.SetWorkingFolder(folder.string());
  script.SetArchive(std::make_shared<MemoryArchive>(std::map<std::string, std::string>{{"pipe.hex", "packed"}}));

  EXPECT_EQ(script.FileText("pipe.hex"), "packed") << "the package stands in for what the disk cannot give";
  EXPECT_EQ(script.FileText("/dev/zero"), std::nullopt);
  EXPECT_EQ(script.FileText("huge.fl2"), std::nullopt);
  EXPECT_THROW(script.LoadFile("pipe.fl2"), RuntimeError);
  try {
    script.LoadFile("huge.fl2");
    ADD_FAILURE() << "a file far beyond any script must raise";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Description(), "Path/File access error: " + (folder / "huge.fl2").string() +
                                       ": it is too large for this kind of file (16777217 bytes, at most 16777216)");
  }
}

}  // namespace
}  // namespace quendrel
