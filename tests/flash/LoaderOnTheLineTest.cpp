// A script that sends a drive into its flash loader and feeds it, over a pseudo-terminal against
// the simulated drive in real time: the loader must receive exactly what the files hold.

#include <gtest/gtest.h>

#include <cstdio>

#include "comms/support/SerialRig.h"
#include "flash/FL2File.h"
#include "flash/LoaderBuiltins.h"
#include "flash/ParseEngine.h"
#include "flash/support/TempFolder.h"
#include "foundation/Config.h"
#include "platform/Clock.h"
#include "platform/ScriptedUi.h"

namespace quendrel {
namespace {

std::string Hex4(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
  return text;
}

// count words from a seed, as four hexadecimal digits each.
std::string Words(int count, int seed) {
  std::string text;
  for (int i = 0; i < count; ++i) text += Hex4(seed * 7919 + i * 104729);
  return text;
}

struct Section {
  int address;
  std::string words;  // hexadecimal digits
};

std::string DataFile(const std::vector<Section>& sections) {
  std::string text = Hex4(static_cast<int>(sections.size())) + "\r\n";
  for (const auto& section : sections) {
    const int length = static_cast<int>(section.words.size() / 4);
    text += Hex4(length) + Hex4(section.address) + "0000\r\n" + section.words + "\r\n";
  }
  return text + "Download completed";
}

// The blocks of at most 200 words the loader must have received, as the simulator lists them.
std::string ExpectedBlocks(const std::vector<Section>& sections) {
  std::string blocks;
  for (const auto& section : sections) {
    for (std::size_t first = 0; first < section.words.size(); first += 800) {
      blocks += (blocks.empty() ? "" : " ") + Hex4(section.address + static_cast<int>(first / 4)) + ":" +
                section.words.substr(first, 800);
    }
  }
  return blocks;
}

class LoaderOnTheLine : public testing::Test {
 protected:
  explicit LoaderOnTheLine(std::vector<std::string> arguments = {}) : line_(std::move(arguments)) {
    environment_ = {&ui_, &SystemClockInstance(), &Parser(), {}, &line_.Server(), &line_.Module(), nullptr, &Config()};
    environment_.loaderWaitSeconds = 5.0;
  }

  static ParseEngine& Parser() {
    static ParseEngine engine;
    return engine;
  }

  // Steps to the end; the codes of the steps that did not succeed, the final EOF left out.
  std::vector<dfResponseCodes> Run(FL2File& script) {
    std::vector<dfResponseCodes> failures;
    script.Reset();
    for (int step = 0; step < 50; ++step) {
      const dfResponseCodes code = script.singleStep();
      if (code == dfResponseEOF) return failures;
      if (code != dfResponseOK) failures.push_back(code);
    }
    ADD_FAILURE() << "the script did not end";
    return failures;
  }

  SerialRig line_;
  ScriptedUi ui_;
  ScriptEnvironment environment_;
  TempFolder folder_;
};

struct LineCase {
  std::string name;
  std::string loaderSetting;
  std::vector<Section> sections;
};

class LoaderScript : public LoaderOnTheLine, public testing::WithParamInterface<LineCase> {};

TEST_P(LoaderScript, ReachesTheEndAndTheLoaderHoldsTheFiles) {
  const std::string program = Words(300, 1);
  folder_.Write("image.hex", "0000" + Hex4(300) + "2000" "0000\r\n" + program + "\r\nDownload completed");
  folder_.Write("data.txt", DataFile(GetParam().sections));
  if (!GetParam().loaderSetting.empty()) line_.Sim().SetLoader(GetParam().loaderSetting);
  FL2File script(environment_);
  ASSERT_TRUE(script.LoadText("flash = forcedriveflash(); sync = initializebaudrate();"
                              "initializewriteprogram(\"image.hex\"); sent = initializewritedata(\"data.txt\");"));
  script.SetWorkingFolder(folder_.Path().string());
  EXPECT_TRUE(Run(script).empty());
  EXPECT_EQ(script.Variable("flash").AsText(), "True");
  EXPECT_EQ(script.Variable("sync").AsText(), "1");
  EXPECT_EQ(script.Variable("sent").AsText(), "1");
  EXPECT_EQ(line_.Sim().LoaderImage(), "2000 " + program);
  EXPECT_EQ(line_.Sim().LoaderData(), ExpectedBlocks(GetParam().sections));
}

INSTANTIATE_TEST_SUITE_P(
    Simulator, LoaderScript,
    testing::Values(LineCase{"Blocks", "", {{0x1000, Words(450, 2)}, {0x4000, Words(5, 3)}}},
                    LineCase{"ClosingWordUnechoed", "fault noclosingecho", {{0x1000, Words(120, 4)}}}),
    [](const auto& info) { return info.param.name; });

class LoaderAlreadyRunning : public LoaderOnTheLine {
 protected:
  LoaderAlreadyRunning() : LoaderOnTheLine({"--loader"}) {}
};

TEST_F(LoaderAlreadyRunning, ForceDriveFlashSkipsTheLineAndWritesNothing) {
  FL2File script(environment_);
  ASSERT_TRUE(script.LoadText("x = 1;"));
  dfResponseCodes code = dfResponseOK;
  EXPECT_EQ(LoaderBuiltins::ForceDriveFlash(script, nullptr, code).AsText(), "True");
  EXPECT_EQ(code, dfResponseSkipLine);
  EXPECT_EQ(line_.Sim().RequestCount(), 1);
  EXPECT_EQ(line_.Sim().LoaderState(), "frames");
}

}  // namespace
}  // namespace quendrel
