// Address 0 reaches every drive on a line and none answers it. The drive test window and the drive
// flash window refuse a box that comes to 0, a script that turns to address 0 itself gets nothing onto
// the line either, and the simulated drive sees no frame at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "comms/functions/FunctionTemplates.h"
#include "comms/support/SerialRig.h"
#include "comms/support/StringFeedback.h"
#include "flash/drivetest/DriveTestConsole.h"
#include "flash/language/ParseEngine.h"
#include "flash/runner/DriveFlash.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"
#include "platform/ScriptedUi.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

constexpr const char* kRefused = "Invalid drive address.";

TEST(BroadcastAddress, NoWindowOrScriptSendsToAddressZero) {
  ASSERT_TRUE(LoadFunctionTemplates());
  SerialRig line;
  ScriptedUi ui;
  TempFolder folder;
  const auto report = std::make_shared<StringFeedback>();
  DriveTestConsole console(line.Server(), report);
  console.Load();
  const auto& commands = console.CommandList();
  const auto writeValue = std::find(commands.begin(), commands.end(), FindFunctionTemplate("WriteValue")->Description());
  console.ChooseCommand(static_cast<int>(writeValue - commands.begin()));
  console.Grid().SetValue(1, "2");  // M02P01 := 77
  console.Grid().SetValue(2, "1");
  console.Grid().SetValue(3, "77");
  const auto press = [&](const char* address, void (DriveTestConsole::*button)()) {
    console.SetAddressText(address);
    (console.*button)();
    return report->Text();
  };
  ParseEngine parser;
  DriveFlashLinks links;
  links.Environment = {&ui, &SystemClockInstance(), &parser, {}, &line.Server(), &line.Module(), nullptr, &Config()};
  DriveFlash flash(links);
  flash.Form_Load();
  const auto start = [&](const char* address, const char* script) {
    flash.tbDriveAddress_Change(address);
    flash.tbFileName_Change(folder.Write("run.fl2", script));
    ui.AnswerMsgBox(vbOK);
    flash.bStartFlash_Click();
    return ui.Prompts().back();
  };
  const struct {
    const char* name;
    std::function<std::string()> run;
    std::string said;
  } cases[] = {
      {"Single Command, box cleared", [&] { return press("", &DriveTestConsole::ExecuteSelectedFunction); }, kRefused},
      {"Unlock Drive, 256", [&] { return press("256", &DriveTestConsole::UnlockDrive); }, kRefused},
      {"Force DriveFlash Mode, 0", [&] { return press("0", &DriveTestConsole::ForceFlashMode); }, kRefused},
      {"Start Flash, 256", [&] { return start("256", "WriteValue(201, 77);"); }, kRefused},
      {"Start Flash, no number", [&] { return start("abc", "WriteValue(201, 77);"); }, kRefused},
      {"a script's own address", [&] { return start("1", "address = 0;\nWriteValue(201, 77);"); },
       "Unspecified error while executing Drive Flash script."},
  };
  const int before = line.Sim().Value(201);
  line.Sim().ResetStats();
  for (const auto& c : cases) EXPECT_EQ(c.run(), c.said) << c.name;
  EXPECT_EQ(line.Sim().BroadcastCount(), 0);
  EXPECT_EQ(line.Sim().RequestCount(), 0);
  EXPECT_EQ(line.Sim().Value(201), before);
}

}  // namespace
}  // namespace quendrel
