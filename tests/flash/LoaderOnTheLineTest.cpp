// A script that sends a drive into its flash loader and feeds it, over a pseudo-terminal against
// the simulated drive in real time: the loader must receive exactly what the files hold.

#include <gtest/gtest.h>

#include "flash/loader/LoaderBuiltins.h"
#include "flash/scripts/FL2File.h"
#include "flash/support/LoaderFileText.h"
#include "flash/support/LoaderLineRig.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

struct LineCase {
  std::string name;
  std::string loaderSetting;
  std::vector<DataSection> sections;
};

class LoaderScript : public testing::TestWithParam<LineCase> {
 protected:
  LoaderLineRig rig_;
  TempFolder folder_;
};

TEST_P(LoaderScript, ReachesTheEndAndTheLoaderHoldsTheFiles) {
  const std::string program = HexWords(300, 1);
  folder_.Write("image.hex", ProgramImageText(0x2000, program));
  folder_.Write("data.txt", DataFileText(GetParam().sections));
  if (!GetParam().loaderSetting.empty()) rig_.Sim().SetLoader(GetParam().loaderSetting);
  FL2File script(rig_.Environment());
  ASSERT_TRUE(script.LoadText("flash = forcedriveflash(); sync = initializebaudrate();"
                              "initializewriteprogram(\"image.hex\"); sent = initializewritedata(\"data.txt\");"));
  script.SetWorkingFolder(folder_.Path().string());
  EXPECT_TRUE(rig_.Run(script).empty());
  EXPECT_EQ(script.Variable("flash").AsText(), "True");
  EXPECT_EQ(script.Variable("sync").AsText(), "1");
  EXPECT_EQ(script.Variable("sent").AsText(), "1");
  EXPECT_EQ(rig_.Sim().LoaderImage(), "2000 " + program);
  EXPECT_EQ(rig_.Sim().LoaderData(), ExpectedBlocks(GetParam().sections));
}

INSTANTIATE_TEST_SUITE_P(
    Simulator, LoaderScript,
    testing::Values(LineCase{"Blocks", "", {{0x1000, HexWords(450, 2)}, {0x4000, HexWords(5, 3)}}},
                    LineCase{"ClosingWordUnechoed", "fault noclosingecho", {{0x1000, HexWords(120, 4)}}}),
    [](const auto& info) { return info.param.name; });

TEST(LoaderAlreadyRunning, ForceDriveFlashSkipsTheLineAndWritesNothing) {
  LoaderLineRig rig({"--loader"});
  FL2File script(rig.Environment());
  ASSERT_TRUE(script.LoadText("x = 1;"));
  dfResponseCodes code = dfResponseOK;
  EXPECT_EQ(LoaderBuiltins::ForceDriveFlash(script, nullptr, code).AsText(), "True");
  EXPECT_EQ(code, dfResponseSkipLine);
  EXPECT_EQ(rig.Sim().RequestCount(), 1);
  EXPECT_EQ(rig.Sim().LoaderState(), "frames");
}

}  // namespace
}  // namespace quendrel
