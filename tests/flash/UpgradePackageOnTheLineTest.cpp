// A firmware upgrade package run from its root script, as the upgrade windows run one, against the
// simulated drive over a pseudo-terminal in real time: every file the script names comes from the
// package, and the drive must end up holding exactly what those members hold.

#include <gtest/gtest.h>

#include <memory>

#include "flash/scripts/FL2File.h"
#include "flash/scripts/FLAFile.h"
#include "flash/scripts/FUPFile.h"
#include "flash/support/LoaderFileText.h"
#include "flash/support/LoaderLineRig.h"
#include "flash/support/PackageWriter.h"
#include "foundation/progress/ProgressServer.h"
#include "foundation/values/Crc16.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

constexpr int kDriveAddress = 1;
constexpr int kWriteFileToBuffer = 39;
constexpr int kWriteValue = 0x46;
constexpr int kFirmwareUploadParameter = 1139;

// The version-2 root: into the loader, synchronise, program image, data, then the page buffer work
// and the restart.
const char* const kFl2Root =
    "flash = forcedriveflash();\r\n"
    "sync = initializebaudrate();\r\n"
    "initializewriteprogram(\"boot.hex\");\r\n"
    "sent = initializewritedata(\"init.dat\");\r\n"
    "EraseFlash(0);\r\n"
    "WriteFileToBuffer(\"app.hex\");\r\n"
    "ProgramBufferToPage(0);\r\n"
    "ProcessorReset();\r\n";

// A version-1 script has no way to reach the loader built-ins; it runs the drive functions on a
// loader already running.
const char* const kFlaRoot =
    "SetDriveTimeout;2\r\n"
    "func1\r\n"
    "func37;0  // erase bank 0\r\n"
    "func38;0\r\n"
    "func39;app.hex\r\n"
    "func45;0\r\n"
    "func52\r\n"
    "***** end of data *****\r\n";

// The request frame that carries one record into the drive's page buffer.
std::string BufferFrame(const HexRecord& record) {
  std::string frame{static_cast<char>(kDriveAddress), static_cast<char>(kWriteFileToBuffer),
                    static_cast<char>(record.address >> 8), static_cast<char>(record.address & 0xFF),
                    static_cast<char>(record.data.size())};
  frame += record.data;
  AppendCrc16(frame);
  return frame;
}

// True when every frame is among the bytes, in order.
bool CarriesInOrder(const std::string& bytes, const std::vector<HexRecord>& records) {
  std::size_t at = 0;
  for (const auto& record : records) {
    at = bytes.find(BufferFrame(record), at);
    if (at == std::string::npos) return false;
  }
  return true;
}

class UpgradePackage : public testing::Test {
 protected:
  explicit UpgradePackage(std::vector<std::string> simulatorArguments = {})
      : rig_(std::move(simulatorArguments)),
        program_(HexWords(260, 5)),
        sections_{{0x1000, HexWords(230, 6)}, {0x6000, HexWords(7, 7)}},
        records_(HexRecords(6, 16, 0x0100)) {}

  // Writes the package with the given root to disk and opens it as the windows do.
  std::shared_ptr<FUPFile> OpenPackage(const std::string& rootName, const std::string& rootText) {
    PackageSpec spec;
    spec.rootName = rootName;
    spec.members = {{FUPFile::LookupKey(rootName), rootText},
                    {"boot.hex", ProgramImageText(0x2000, program_)},
                    {"init.dat", DataFileText(sections_)},
                    {"app.hex", IntelHexText(records_)}};
    const std::string path = (folder_.Path() / "upgrade.fup").string();
    EXPECT_TRUE(WritePackageFile(path, PackageImage(spec)));
    auto package = std::make_shared<FUPFile>();
    EXPECT_TRUE(package->Load(path));
    return package;
  }

  // Loads the package's root into the script and runs it to the end from a folder holding nothing
  // else, so every file must come from the package.
  std::vector<dfResponseCodes> RunRoot(IFlashCommandFile& script, const std::shared_ptr<FUPFile>& package) {
    script.SetArchive(package);
    script.SetWorkingFolder(emptyFolder_.Path().string());
    script.SetProgress(&progress_);
    script.SetContext(rig_.Line().OpenContext(2.0F));
    EXPECT_TRUE(script.LoadFile(package->RootFile()));
    return rig_.Run(script);
  }

  void ExpectLoaderHoldsTheMembers() {
    EXPECT_EQ(rig_.Sim().LoaderImage(), "2000 " + program_);
    EXPECT_EQ(rig_.Sim().LoaderData(), ExpectedBlocks(sections_));
  }

  void ExpectPageBufferGotTheHexFileAndTheDriveRestarted() {
    EXPECT_EQ(rig_.Sim().RequestCount(kWriteFileToBuffer), static_cast<long>(records_.size()));
    EXPECT_TRUE(CarriesInOrder(rig_.Sim().ReceivedBytes(), records_));
    // The firmware answers parameter services again; the loader would refuse them.
    EXPECT_FALSE(rig_.Line().Context().ReadValue(11, 29).Error);
    EXPECT_EQ(rig_.Sim().Value(kFirmwareUploadParameter), 0);
  }

  LoaderLineRig rig_;
  TempFolder folder_;
  TempFolder emptyFolder_;
  ProgressServer progress_;
  std::string program_;
  std::vector<DataSection> sections_;
  std::vector<HexRecord> records_;
};

TEST_F(UpgradePackage, VersionTwoRootFeedsTheLoaderFromItsMembers) {
  FL2File script(rig_.Environment());
  EXPECT_TRUE(RunRoot(script, OpenPackage("Upgrade.FL2", kFl2Root)).empty());
  EXPECT_EQ(script.Variable("flash").AsText(), "True");
  EXPECT_EQ(script.Variable("sync").AsText(), "1");
  EXPECT_EQ(script.Variable("sent").AsText(), "1");
  ExpectLoaderHoldsTheMembers();
  ExpectPageBufferGotTheHexFileAndTheDriveRestarted();
}

TEST_F(UpgradePackage, VersionTwoRootWithTheClosingWordUnechoed) {
  rig_.Sim().SetLoader("fault noclosingecho");
  FL2File script(rig_.Environment());
  EXPECT_TRUE(RunRoot(script, OpenPackage("Upgrade.FL2", kFl2Root)).empty());
  EXPECT_EQ(script.Variable("sent").AsText(), "1");
  ExpectLoaderHoldsTheMembers();
  ExpectPageBufferGotTheHexFileAndTheDriveRestarted();
}

TEST_F(UpgradePackage, VersionOneRootRunsTheLoadersFunctions) {
  rig_.Sim().SetMode("loader");
  FLAFile script(rig_.Environment());
  EXPECT_TRUE(RunRoot(script, OpenPackage("Upgrade.FLA", kFlaRoot)).empty());
  EXPECT_EQ(rig_.Sim().RequestCount(1), 1);
  EXPECT_EQ(rig_.Sim().RequestCount(37), 1);
  EXPECT_EQ(rig_.Sim().RequestCount(45), 1);
  ExpectPageBufferGotTheHexFileAndTheDriveRestarted();
}

class UpgradePackageOnARunningLoader : public UpgradePackage {
 protected:
  UpgradePackageOnARunningLoader() : UpgradePackage({"--loader"}) {}
};

TEST_F(UpgradePackageOnARunningLoader, SkipsTheRestartAndFeedsTheLoader) {
  FL2File script(rig_.Environment());
  EXPECT_TRUE(RunRoot(script, OpenPackage("Upgrade.FL2", kFl2Root)).empty());
  EXPECT_EQ(script.Variable("flash").AsText(), "True");
  EXPECT_EQ(rig_.Sim().RequestCount(kWriteValue), 0);
  ExpectLoaderHoldsTheMembers();
  ExpectPageBufferGotTheHexFileAndTheDriveRestarted();
}

}  // namespace
}  // namespace quendrel
