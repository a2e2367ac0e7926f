// The drive test window's exchanges against the simulated drive on a pseudo-terminal: the reports of
// Single Command and of the two buttons, the fields and addresses that send nothing, the address and
// period rules, and one exchange at a time while a file transfer pumps the window's events.
#include <gtest/gtest.h>

#include <array>

#include "comms/functions/FunctionTemplates.h"
#include "comms/support/SerialRig.h"
#include "comms/support/StringFeedback.h"
#include "flash/drivetest/DriveTestConsole.h"
#include "foundation/settings/Config.h"
#include "platform/ScriptedUi.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

class DriveTestConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LoadFunctionTemplates());
    console_.Load();
  }

  void Choose(const std::string& name, std::vector<std::string> cells = {}) {
    const auto& commands = console_.CommandList();
    const auto found = std::find(commands.begin(), commands.end(), FindFunctionTemplate(name)->Description());
    console_.ChooseCommand(static_cast<int>(found - commands.begin()));
    for (std::size_t i = 0; i < cells.size(); ++i) console_.Grid().SetValue(static_cast<int>(i) + 1, cells[i]);
  }

  SerialRig rig_;
  std::shared_ptr<StringFeedback> report_ = std::make_shared<StringFeedback>();
  DriveTestConsole console_{rig_.Server(), report_};
};

TEST_F(DriveTestConsoleTest, AddressAndPeriodBoxesRewriteTheirText) {
  EXPECT_EQ(console_.AddressText(), "1");
  struct BoxCase {
    const char* typed;
    const char* address;
    const char* period;
    int interval;
  };
  for (const BoxCase& c : {BoxCase{"300", "44", "300", 300}, BoxCase{"", "0", "0", 0}, BoxCase{"abc", "0", "0", 0},
                           BoxCase{"-250", "-250", "250", 250}, BoxCase{"1.5", "2", "1.5", 2},
                           BoxCase{"2147483647", "255", "2147483647", 2147483647},
                           BoxCase{"4294967296", "0", "0", 0}}) {
    EXPECT_EQ(console_.SetAddressText(c.typed), c.address) << c.typed;
    EXPECT_EQ(console_.SetPeriodText(c.typed), c.period) << c.typed;
    EXPECT_EQ(console_.PollInterval(), c.interval) << c.typed;
  }
  console_.SetPolling(true);
  EXPECT_FALSE(console_.TimerRuns());
}

TEST_F(DriveTestConsoleTest, SingleCommandReportsInEachMode) {
  struct ModeCase {
    bool showRequest;
    bool showRaw;
    std::string report;
  };
  const ModeCase cases[] = {
      {false, false, Lines({"Request", "=======", "Reply", "=====", "Parameter: M01P04", "Raw Value: 77"})},
      {true, false,
       Lines({"Request", "=======", "Parameter: 104", "Raw Value: 77", "", "Reply", "=====", "Parameter: M01P04",
              "Raw Value: 77"})},
      {true, true,
       Lines({"Request", "=======", "Drive 1", "Function 70", "   [0x01] ' '", "   [0x04] ' '", "   [0x00] ' '",
              "   [0x4D] 'M'", "", "Reply", "=====", "Parameter: M01P04", "Raw Value: 77"})},
  };
  for (const ModeCase& c : cases) {
    Choose("WriteValue", {"1", "4", "77"});
    console_.SetShowRequest(c.showRequest);
    console_.SetShowRaw(c.showRaw);
    console_.ExecuteSelectedFunction();
    EXPECT_EQ(report_->Text(), c.report);
    EXPECT_EQ(rig_.Sim().Value(104), 77);
  }
}

TEST_F(DriveTestConsoleTest, FieldsWithoutNumbersAndNegativeAddressesSendNothing) {
  struct RefusalCase {
    const char* address;
    const char* command;
    std::vector<std::string> cells;
    std::string report;
  };
  const RefusalCase cases[] = {
      {"1", "ReadValue", {"", "4"}, Lines({"Request", "=======", "Menu: not a valid number - nothing sent"})},
      {"1", "WriteValue", {"1", "4", "abc"},
       Lines({"Request", "=======", "Raw Value: not a valid number - nothing sent"})},
      {"-5", "ReadValue", {"1", "4"}, "Invalid drive address."},
  };
  rig_.Sim().ResetStats();
  for (const RefusalCase& c : cases) {
    console_.SetAddressText(c.address);
    Choose(c.command, c.cells);
    console_.ExecuteSelectedFunction();
    EXPECT_EQ(report_->Text(), c.report) << c.command;
  }
  console_.UnlockDrive();
  EXPECT_EQ(report_->Text(), "Invalid drive address.");
  EXPECT_EQ(rig_.Sim().RequestCount(), 0);
}

TEST_F(DriveTestConsoleTest, ANumberTheFieldCannotCarrySendsNothing) {
  rig_.Sim().ResetStats();
  for (const char* typed : {"70000", "-32769", "12,5", "0x10", "1.2.3"}) {
    Choose("WriteValue", {"1", "4", typed});
    console_.ExecuteSelectedFunction();
    EXPECT_EQ(report_->Text(), Lines({"Request", "=======", "Raw Value: not a valid number - nothing sent"})) << typed;
  }
  EXPECT_EQ(rig_.Sim().RequestCount(), 0);
  Choose("WriteValue", {"1", "4", "40000"});
  console_.ExecuteSelectedFunction();
  EXPECT_EQ(rig_.Sim().Value(104), -25536);  // 0x9C40, as an unsigned parameter needs it
}

TEST_F(DriveTestConsoleTest, ButtonReports) {
  struct ButtonCase {
    bool legacy;
    bool showRequest;
    bool showRaw;
    void (DriveTestConsole::*press)();
    std::string report;
  };
  const ButtonCase cases[] = {
      {false, false, false, &DriveTestConsole::UnlockDrive, Lines({"Request", "=======", "Reply", "=====", "Success"})},
      {false, true, false, &DriveTestConsole::UnlockDrive,
       Lines({"Request", "=======", "Unlock Drive 1", "", "Reply", "=====", "Success"})},
      {false, true, true, &DriveTestConsole::UnlockDrive, Lines({"Request", "=======", "Drive 1", "Function 70",
       "   [0x0B] ' '", "   [0x1E] ' '", "   [0xBC] '\xBC'", "   [0x55] 'U'", "", "Reply", "=====", "Success"})},
      {true, true, true, &DriveTestConsole::UnlockDrive, Lines({"Request", "=======", "Drive 1", "Function 6",
       "   [0x0B] ' '", "   [0x1E] ' '", "   [0xBC] '\xBC'", "   [0x55] 'U'", "", "Reply", "=====", "Success"})},
      // The drive restarts into its flash loader without answering the write.
      {false, true, true, &DriveTestConsole::ForceFlashMode, Lines({"Request", "=======", "Drive 1", "Function 70",
       "   [0x0B] ' '", "   [0x27] '''", "   [0x00] ' '", "   [0x01] ' '", "", "Reply", "=====", "Error 46"})},
  };
  for (const ButtonCase& c : cases) {
    rig_.Sim().SetLegacy(c.legacy);
    console_.SetShowRequest(c.showRequest);
    console_.SetShowRaw(c.showRaw);
    (console_.*c.press)();
    EXPECT_EQ(report_->Text(), c.report);
  }
  rig_.Sim().SetMode("drive");
  rig_.Sim().SetValue(1139, 0);
  rig_.Sim().SetFault("drop next 1");
  console_.SetShowRequest(false);
  console_.ForceFlashMode();
  EXPECT_EQ(report_->Text(), Lines({"Request", "=======", "Reply", "=====", "Error 46"}));
  EXPECT_EQ(rig_.Sim().Value(1139), 0);
}

// The request carries the parameter as a menu byte and a parameter byte (number div 100, mod 100):
// a cell they cannot carry as typed would land on another parameter.
TEST_F(DriveTestConsoleTest, MenuAndParameterCellsTheRequestCannotCarrySendNothing) {
  rig_.Sim().ResetStats();
  for (const auto& [menu, parameter, refused] : std::initializer_list<std::array<const char*, 3>>{
           {"258", "2", "Menu"}, {"256", "4", "Menu"}, {"-1", "5", "Menu"}, {"255.5", "0", "Menu"},
           {"0", "-5", "Parameter"}, {"1", "-1", "Parameter"}, {"1", "150", "Parameter"}}) {
    Choose("WriteValue", {menu, parameter, "77"});
    console_.ExecuteSelectedFunction();
    const std::string refusal = std::string(refused) + ": not a valid number - nothing sent";
    EXPECT_EQ(report_->Text(), Lines({"Request", "=======", refusal.c_str()})) << menu << " / " << parameter;
  }
  EXPECT_EQ(rig_.Sim().RequestCount(), 0);
  Choose("ReadValue", {"255", "99"});  // the highest number the two bytes carry
  console_.ExecuteSelectedFunction();
  EXPECT_EQ(rig_.Sim().RequestCount(0x43), 1);
}

// Only a transfer lets the window's events run while it runs; the window is told it is busy before
// the transfer's first request, and never for a read, which ends before the window could show it.
TEST_F(DriveTestConsoleTest, OnlyATransferTellsTheWindowOfTheBusyState) {
  std::vector<bool> told;
  console_.OnBusyChanged([&] { told.push_back(console_.Busy()); });
  Choose("ReadValue", {"11", "29"});
  console_.ExecuteSelectedFunction();
  EXPECT_TRUE(told.empty());
  EXPECT_NE(report_->Text().find("Parameter: M11P29\r\n"), std::string::npos);

  const TempFolder folder;
  const std::string path = folder.Write("busy.hex", ":0401000001020304F1\r\n:00000001FF\r\n");
  Choose("WriteFileToBuffer");
  console_.Panel().SetFilename(path);
  ScriptedUi ui;
  std::size_t toldAtPump = 0;
  ui.OnPump([&] { toldAtPump = told.size(); });
  console_.ExecuteSelectedFunction();
  EXPECT_EQ(toldAtPump, 1U);
  EXPECT_EQ(told, (std::vector<bool>{true, false}));
}

TEST_F(DriveTestConsoleTest, OneExchangeAtATimeAndAClosedBoxEndsTheTransfer) {
  const TempFolder folder;
  const std::string path =
      folder.Write("test.hex", ":0401000001020304F1\r\n:03011000AABBCCBB\r\n:01012000FFDF\r\n:00000001FF\r\n");
  Choose("WriteFileToBuffer");
  console_.Panel().SetFilename(path);
  ScriptedUi ui;
  ui.OnPump([this] {
    EXPECT_TRUE(console_.Busy());
    console_.ExecuteSelectedFunction();  // a poll tick
    console_.UnlockDrive();
    console_.ForceFlashMode();
  });
  rig_.Sim().ResetStats();
  console_.ExecuteSelectedFunction();
  EXPECT_EQ(rig_.Sim().RequestCount(), 3);
  EXPECT_FALSE(console_.Busy());

  ui.OnPump([this] { report_.reset(); });
  rig_.Sim().ResetStats();
  console_.ExecuteSelectedFunction();
  EXPECT_EQ(rig_.Sim().RequestCount(), 1);
}

}  // namespace
}  // namespace quendrel
