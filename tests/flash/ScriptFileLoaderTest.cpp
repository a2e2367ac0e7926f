// Loading the script a window runs: from a file named as the user typed it, from a package's root,
// and every way a load fails, told to the user in the window's words; and the reservation that keeps
// other windows' frames out of a loader session.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "comms/GIOContext.h"
#include "comms/GIOError.h"
#include "comms/GIOServer.h"
#include "comms/support/FakeModule.h"
#include "flash/FUPFile.h"
#include "flash/ParseEngine.h"
#include "flash/runner/ScriptFileLoader.h"
#include "flash/runner/ScriptReservation.h"
#include "flash/support/PackageWriter.h"
#include "flash/support/TempFolder.h"
#include "foundation/Config.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"

namespace quendrel {
namespace {

namespace fs = std::filesystem;

// The process's current directory for one test, the way the user's relative names meet it.
class CurrentFolder {
 public:
  explicit CurrentFolder(const fs::path& folder) : saved_(fs::current_path()) { fs::current_path(folder); }
  ~CurrentFolder() { fs::current_path(saved_); }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  fs::path saved_;
};

ParseEngine& Parser() {
  static ParseEngine engine;
  return engine;
}

class ScriptFileLoaderTest : public ::testing::Test {
 protected:
  ScriptFileLoader Loader() { return ScriptFileLoader({&ui, &clock, &Parser(), {}}); }
  std::shared_ptr<FUPFile> Package(const std::string& root, std::vector<PackageMember> members) {
    PackageSpec spec;
    spec.rootName = root;
    spec.members = std::move(members);
    return ScriptFileLoader::LoadPackage(folder.Write("release.fup", PackageImage(spec)));
  }

  ScriptedUi ui;
  FakeClock clock;
  TempFolder folder;
};

TEST_F(ScriptFileLoaderTest, RelativeNamesAreTakenFromTheCurrentFolderAndTheScriptWorksFromItsOwn) {
  fs::create_directory(folder.Path() / "scripts");
  std::ofstream(folder.Path() / "scripts" / "Run.fl2") << "a = 1;\nb = fileexists(\"data.hex\");\n";
  std::ofstream(folder.Path() / "scripts" / "data.hex") << "x";
  std::ofstream(folder.Path() / "Old.FLA") << "wait;0\n";
  const CurrentFolder inFolder(folder.Path());

  auto script = Loader().LoadScript("scripts/Run.fl2");
  ASSERT_NE(script, nullptr);
  EXPECT_EQ(script->ProgramLength(), 2);
  EXPECT_EQ(fs::path(script->WorkingFolder()), folder.Path() / "scripts");
  const CurrentFolder elsewhere(fs::temp_directory_path());
  script->Reset();
  script->singleStep();
  script->singleStep();
  EXPECT_EQ(script->Variable("b").AsText(), "True") << "a relative name in the script is found beside it";

  auto version1 = Loader().LoadScript((folder.Path() / "Old.FLA").string());
  ASSERT_NE(version1, nullptr);
  EXPECT_EQ(version1->CommandString(1), "Wait(0)");
  EXPECT_TRUE(ui.Questions().empty());
}

TEST_F(ScriptFileLoaderTest, AFailedLoadIsToldOnceAndGivesNoScript) {
  const std::string missing = (folder.Path() / "Missing.FL2").string();
  ui.AnswerMsgBox(vbOK);
  EXPECT_EQ(Loader().LoadScript(missing), nullptr) << "a raised error counts as a failed load";
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"Error"});
  EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"File Not Found: " + missing});
  EXPECT_EQ(ui.Questions()[0].Style & vbIconMask, vbCritical);

  EXPECT_EQ(Loader().LoadScript(folder.Write("notes.txt", "a = 1;")), nullptr);
  EXPECT_EQ(ui.Questions().size(), 1U) << "a name of no script kind is no script, without a word";

  ui.AnswerMsgBox(vbOK);
  ui.AnswerMsgBox(vbOK);
  EXPECT_EQ(Loader().LoadScript(folder.Write("bad.fl2", "a = ;")), nullptr);
  const auto titles = ui.Titles();
  EXPECT_EQ(std::count(titles.begin(), titles.end(), "Error"), 1) << "a syntax error tells its own boxes only";
}

TEST_F(ScriptFileLoaderTest, APackageRootRunsFromThePackageBesideTheFilesOnDisk) {
  auto package = Package("Main.FL2", {{"main.fl2", "a = fileexists(\"boot.hex\");\nb = fileexists(\"beside.txt\");\n"},
                                      {"boot.hex", ":00000001FF\n"}});
  folder.Write("beside.txt", "on disk");
  const CurrentFolder elsewhere(fs::temp_directory_path());
  auto script = Loader().LoadPackageRoot(package, folder.Path().string());
  ASSERT_NE(script, nullptr);
  EXPECT_EQ(script->Archive(), package);
  script->Reset();
  script->singleStep();
  script->singleStep();
  EXPECT_EQ(script->Variable("a").AsText(), "True");
  EXPECT_EQ(script->Variable("b").AsText(), "True");
  EXPECT_TRUE(ui.Questions().empty());
}

TEST_F(ScriptFileLoaderTest, APackageWhoseRootCannotRunIsRefusedWithItsReason) {
  const std::string unknown = "This firmware update file contains a rootscript in an unknown format.";
  const std::string unloaded = "Unable to load the rootscript from the FUP.";
  struct Case {
    const char* what;
    std::string root;
    std::vector<PackageMember> members;
    std::string prompt;
  };
  const Case cases[] = {
      {"a root of another kind", "readme.txt", {{"readme.txt", "a = 1;"}}, unknown},
      {"a file that is no package", "", {}, unknown},
      {"a root the package lacks", "main.fla", {}, unloaded},
      {"a member stored under capitals", "MAIN.FL2", {{"MAIN.FL2", "a = 1;"}}, unloaded},
  };
  for (const Case& c : cases) {
    const std::size_t asked = ui.Questions().size();
    ui.AnswerMsgBox(vbOK);
    auto package = c.root.empty() ? ScriptFileLoader::LoadPackage(folder.Write("junk.fup", "not a package"))
                                  : Package(c.root, c.members);
    EXPECT_EQ(Loader().LoadPackageRoot(package, folder.Path().string()), nullptr) << c.what;
    ASSERT_EQ(ui.Questions().size(), asked + 1) << c.what;
    EXPECT_EQ(ui.Questions().back().Prompt, c.prompt) << c.what;
    EXPECT_EQ(ui.Questions().back().Title, "FUP Error") << c.what;
  }
}

TEST(ScriptReservation, HoldsTheModuleForOneContextUntilLetGo) {
  ResetConfig();
  FakeClock clock;
  GIOServer server(clock);
  auto* module = static_cast<FakeModule*>(&server.RegisterModule(std::make_unique<FakeModule>("Fake", &clock)));
  server.SelectModule("Fake");
  auto foreign = server.OpenContext(1, -1);
  auto first = server.OpenContext(1, -1);
  auto second = server.OpenContext(1, -1);
  {
    ScriptReservation reservation(server);
    ASSERT_TRUE(reservation.Hold(first));
    EXPECT_EQ(foreign->ReadValue(0, 0).intData, gioSlaveDeviceBusy);
    EXPECT_TRUE(module->sent.empty());

    ASSERT_TRUE(reservation.Hold(second)) << "a fresh context takes over from the one held before";
    EXPECT_TRUE(server.IsReservedFor(first.get()));
    EXPECT_FALSE(server.IsReservedFor(second.get()));

    ScriptReservation other(server);
    EXPECT_FALSE(other.Hold(first)) << "a second holder is refused while the first holds";
    other.Release();
    EXPECT_TRUE(server.IsReservedFor(foreign.get())) << "a refused holder frees nothing";

    reservation.Release();
    EXPECT_FALSE(server.IsReservedFor(foreign.get()));
    EXPECT_FALSE(second->IsClosed()) << "the script goes on with its context";
    ASSERT_TRUE(reservation.Hold(first));
  }
  EXPECT_FALSE(server.IsReservedFor(foreign.get())) << "its end lets go";
}

}  // namespace
}  // namespace quendrel
