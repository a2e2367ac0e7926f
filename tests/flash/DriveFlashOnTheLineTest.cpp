// The drive flash window running a firmware package against the simulated drive on a
// pseudo-terminal, logging as it goes: the loader must hold exactly what the package's files hold,
// and no other window's frame may reach the line while the script owns it. A script kept after a
// failure never goes on to a drive the address box no longer names.
#include <gtest/gtest.h>

#include <string>

#include "comms/functions/FunctionTemplates.h"
#include "comms/server/GIOError.h"
#include "comms/support/SerialRig.h"
#include "flash/runner/DriveFlash.h"
#include "flash/support/LineFlashLinks.h"
#include "flash/support/LoaderFileText.h"
#include "flash/support/PackageWriter.h"
#include "platform/ScriptedUi.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

// Three data records for the drive's page buffer, then the end record.
const std::string kBootHex =
    ":0401000001020304F1\r\n"
    ":03011000AABBCCBB\r\n"
    ":01012000FFDF\r\n"
    ":00000001FF\r\n";

const char* kRootScript =
    "flash = forcedriveflash();\n"
    "sync = initializebaudrate();\n"
    "initializewriteprogram(\"image.hex\");\n"
    "sent = initializewritedata(\"data.txt\");\n"
    "WriteFileToBuffer(\"boot.hex\");\n"
    "// The drive restarts into its firmware without answering.\n"
    "timeout = 0;\n"
    "ProcessorReset();\n";

TEST(DriveFlashOnTheLine, RunsAPackageIntoTheLoaderWithTheLogOnAndNoForeignFrame) {
  ASSERT_TRUE(LoadFunctionTemplates());
  SerialRig line;
  ScriptedUi ui;
  TempFolder folder;
  const std::string program = HexWords(300, 1);
  const std::string blockWords = HexWords(120, 2);
  PackageSpec spec;
  spec.rootName = "Main.FL2";
  spec.members = {{"main.fl2", kRootScript},
                  {"image.hex", "0000" + Hex4(300) + "2000" "0000\r\n" + program + "\r\nDownload completed"},
                  {"data.txt", "0001\r\n" + Hex4(120) + "4000" "0000\r\n" + blockWords + "\r\nDownload completed"},
                  {"boot.hex", kBootHex}};
  const std::string package = folder.Write("release.fup", PackageImage(spec));

  DriveFlashLinks links = LineFlashLinks(ui, line);
  links.Environment.loaderWaitSeconds = 5.0;
  DriveFlash window(links);
  window.Form_Load();
  window.tbFileName_Change(package);
  window.chkLogOutput_Click(true);
  window.tbLogFile_Change("flash.log");

  const auto foreign = line.Server().OpenContext(1, 0.4F);
  int refusedUnsent = 0;
  ui.OnPump([&] {
    const long before = line.Sim().RequestCount();
    const udtDriveResponse reply = foreign->ReadValue(11, 29);
    if (reply.Error && reply.intData == gioSlaveDeviceBusy && line.Sim().RequestCount() == before) ++refusedUnsent;
  });
  ui.AnswerMsgBox(vbOK);
  window.bStartFlash_Click();
  ui.OnPump(nullptr);

  EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"Drive Flash was successful."});
  EXPECT_EQ(window.View().lblStatus, "Finished");
  EXPECT_EQ(line.Sim().LoaderImage(), "2000 " + program);
  EXPECT_EQ(line.Sim().LoaderData(), "4000:" + blockWords);
  EXPECT_EQ(line.Sim().RequestCount(39), 3) << "one packet per data record of the member";
  EXPECT_EQ(line.Sim().RequestCount(52), 1);
  EXPECT_GE(refusedUnsent, 7) << "every pump of the run";

  EXPECT_FALSE(foreign->ReadValue(11, 29).Error) << "the drive runs its firmware again and the line is free";

  const std::string log = ReadTestFile(folder.File("flash.log"));
  EXPECT_EQ(log.rfind("File Loaded: \"" + package + "\" at ", 0), 0U) << log;
  EXPECT_NE(log.find("\r\n(Parsed in "), std::string::npos) << log;
  EXPECT_NE(log.find("\r\nFile Closed at "), std::string::npos) << log;
}

// The addresses of the WriteValue requests (eight bytes each) the simulator received.
std::vector<int> WriteValueAddresses(const std::string& bytes) {
  std::vector<int> addresses;
  for (std::size_t at = 0; at + 8 <= bytes.size(); at += 8) addresses.push_back(static_cast<unsigned char>(bytes[at]));
  EXPECT_EQ(bytes.size() % 8, 0U) << "only whole WriteValue requests";
  return addresses;
}

// A mistyped address, Retry in the timeout's box, then the right address typed: Start loads the file
// anew for the drive now shown, and not one more request goes to the old address.
TEST(DriveFlashOnTheLine, AScriptKeptAfterARetryIsLoadedAnewForTheAddressTypedAfterIt) {
  ASSERT_TRUE(LoadFunctionTemplates());
  SerialRig line;
  ScriptedUi ui;
  TempFolder folder;
  DriveFlashLinks links = LineFlashLinks(ui, line);
  DriveFlash window(links);
  window.Form_Load();
  window.tbFileName_Change(folder.Write("set.fl2", "timeout = 0.2;\nWriteValue(201, 11);\nWriteValue(202, 22);\n"));
  window.tbDriveAddress_Change("7");  // no drive answers there

  ui.AnswerMsgBox(vbRetry);
  window.bStartFlash_Click();
  ASSERT_EQ(ui.Prompts(), std::vector<std::string>{"No response from Drive -- timed out."});
  ASSERT_NE(window.Script(), nullptr) << "kept for the retry";
  EXPECT_EQ(WriteValueAddresses(line.Sim().ReceivedBytes()), std::vector<int>{7});

  const auto other = line.Server().OpenContext(1, 0.2F);
  ASSERT_TRUE(line.Server().IsReservedFor(other.get())) << "held for the kept script";
  window.tbDriveAddress_Change("1");
  EXPECT_EQ(window.Script(), nullptr);
  EXPECT_FALSE(line.Server().IsReservedFor(other.get())) << "and let go with it";
  ui.AnswerMsgBox(vbOK);
  window.bStartFlash_Click();
  EXPECT_EQ(ui.Prompts().back(), "Drive Flash was successful.");
  EXPECT_EQ(WriteValueAddresses(line.Sim().ReceivedBytes()), (std::vector<int>{1, 1})) << "nothing more to drive 7";
  EXPECT_EQ(line.Sim().Value(201), 11);
  EXPECT_EQ(line.Sim().Value(202), 22);
}

}  // namespace
}  // namespace quendrel
