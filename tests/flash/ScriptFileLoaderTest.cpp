// The loading step and the reservation every window that runs scripts shares: a package's root
// script beside the files on disk, each way a root is refused in the windows' words, and the module
// held for one context at a time. The drive flash window's tests load plain scripts through it.
#include <gtest/gtest.h>

#include <filesystem>

#include "comms/server/GIOContext.h"
#include "comms/server/GIOError.h"
#include "comms/server/GIOServer.h"
#include "comms/support/FakeModule.h"
#include "flash/language/ParseEngine.h"
#include "flash/runner/ScriptFileLoader.h"
#include "flash/runner/ScriptReservation.h"
#include "flash/scripts/FUPFile.h"
#include "flash/support/PackageWriter.h"
#include "foundation/settings/Config.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"
#include "support/CurrentFolder.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

namespace fs = std::filesystem;

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

TEST_F(ScriptFileLoaderTest, APackageRootRunsFromThePackageBesideTheFilesOnDisk) {
  auto package = Package("Main.FL2", {{"main.fl2", "a = fileexists(\"boot.hex\");\nb = fileexists(\"beside.txt\");\n"},
                                      {"boot.hex", ":00000001FF\n"}});
  folder.Write("beside.txt", "on disk");
  const TempFolder other;
  const CurrentFolder elsewhere(other.Path());
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
