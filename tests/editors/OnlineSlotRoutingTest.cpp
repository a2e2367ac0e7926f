// The online editor against the simulated drive when quick setup pointers change behind its back:
// where edits and reads go, what a slot's row is called, what a refused write leaves on the row, and
// what a save says when the drive stops answering on the way.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>

#include "drivesim/DefaultParameterTable.h"
#include "editors/frmEditOnline.h"
#include "params/support/TransferRig.h"
#include "platform/KeyCodes.h"
#include "platform/ScriptedUi.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

constexpr std::uint8_t WriteValueCode = 0x46;

class OnlineSlotRoutingTest : public ::testing::Test {
 public:
  void Start(std::vector<std::string> simulatorArguments = {}) {
    form.reset();
    rig.reset();  // before the next rig loads the program's compatibility file again
    tree = std::make_shared<ParameterTree>();
    rig = std::make_unique<TransferRig>(std::move(simulatorArguments));
    frmEditOnline::Services services;
    services.Server = &rig->Server();
    form = std::make_shared<frmEditOnline>(tree, services);
    tree->Resize(tree->Width(), 20000);  // every row shown is visible
    form->Form_Load();
    form->bConnect_Click();
    ASSERT_EQ(form->View().ConnectionState, frmEditOnline::StateConnected) << form->View().lblStatusCaption;
  }
  // The built-in table with the pointer of slot n at another raw value, and lines added.
  std::vector<std::string> Table(int slot, int pointer, const std::string& extra = "") {
    std::string text = DefaultParameterTableText();
    const std::string from = "12.0" + std::to_string(slot) + " | QS" + std::to_string(slot) + " Pointer      | "
                             "0000000000010010 | ";
    const std::size_t at = text.find(from) + from.size();
    text.replace(at, text.find(' ', at) - at, std::to_string(pointer));
    WriteTestFile(folder.File("table.txt"), text + extra);
    return {"--table", folder.File("table.txt")};
  }
  ParameterTreeNode& Node(const std::string& key) { return tree->Node(key); }
  int DriveValue(int n) { return rig->Sim().Value(n); }
  void Commit(const std::string& key, const std::string& typed) {
    tree->SetSelected(&Node(key));  // which reads the row once
    Type(typed);
  }
  void Type(const std::string& typed) {
    tree->EditCurrentValue();
    ASSERT_TRUE(tree->EditorOpen()) << tree->Selected()->Caption();
    tree->EditTextChanged(typed);
    tree->CommitEdit();
  }
  void ShowMenus(std::initializer_list<const char*> headers) {
    for (const char* key : headers) Node(key).SetExpanded(true);
    tree->Refresh();
  }
  // The parameters the program wrote, in order.
  std::vector<std::int32_t> Written() {
    std::vector<std::int32_t> numbers;
    for (const SentRequest& r : RequestsOf(rig->Sim().ReceivedBytes(), WriteValueCode)) numbers.push_back(r.Parameter);
    return numbers;
  }

  TempFolder folder;
  ScriptedUi ui;
  std::shared_ptr<ParameterTree> tree;
  std::unique_ptr<TransferRig> rig;
  std::shared_ptr<frmEditOnline> form;
};

TEST_F(OnlineSlotRoutingTest, AnEditReachesTheParameterItsRowNames) {
  struct Case {
    const char* name;
    int slotThreePointer;  // set on the drive after the connect; 0 leaves it
    const char* key;
    const char* typed;
    std::vector<std::int32_t> written;
    int decelTime;  // M02P02 on the drive afterwards, raw
  };
  const Case cases[] = {
      {"pointer unchanged: through the slot", 0, "M02P02", "6.5", {3}, 65},
      {"pointer moved: the parameter itself", 301, "M02P02", "9.9", {202}, 99},
      {"the slot's own row, moved", 301, "M00P03", "7.7", {202}, 77},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start();
    if (c.slotThreePointer != 0) rig->Sim().SetValue(1203, c.slotThreePointer);
    rig->Sim().ReceivedBytes();
    Commit(c.key, c.typed);
    EXPECT_EQ(Written(), c.written);
    EXPECT_EQ(DriveValue(202), c.decelTime);
    EXPECT_EQ(DriveValue(301), 124);  // Rated Current untouched
    EXPECT_FLOAT_EQ(Node("M02P02").Value(), static_cast<float>(c.decelTime) / 10.0F);
  }
  // The moved slot's row now names and shows what the slot shows.
  EXPECT_EQ(Node("M00P03").Caption(), "M00P03: Rated Current");
  EXPECT_FLOAT_EQ(Node("M00P03").Value(), 12.4F);
  EXPECT_EQ(Node("M12P03").PrintableValue(), "3.01");
}

TEST_F(OnlineSlotRoutingTest, AnEditThroughASlotReadsTheVersionAndThePointerFirst) {
  Start();
  tree->SetSelected(&Node("M01P02"));  // shown by no slot
  rig->Sim().ResetStats();
  Type("12.5");
  EXPECT_EQ(rig->Sim().RequestCount(), 2);  // the write and the read-back
  tree->SetSelected(&Node("M02P01"));
  rig->Sim().ResetStats();
  Type("7.5");
  EXPECT_EQ(rig->Sim().RequestCount(), 4);
  EXPECT_EQ(DriveValue(201), 75);
}

// The row of a slot unset at Connect is the slot itself; set on the drive since, it writes the
// parameter its pointer names, in that parameter's scale.
TEST_F(OnlineSlotRoutingTest, AnUnsetSlotsRowWritesInTheScaleOfWhatItsPointerNamesNow) {
  Start(Table(4, 0));
  rig->Sim().SetValue(1204, 204);  // S-Curve Time, two decimals where the slot has one
  Commit("M00P04", "0.75");
  EXPECT_EQ(DriveValue(204), 75);
  EXPECT_EQ(DriveValue(4), 124);
}

TEST_F(OnlineSlotRoutingTest, ASlotsRowIsNamedAfterWhatItShows) {
  Start(Table(3, 204));  // S-Curve Time
  EXPECT_EQ(Node("M00P03").Caption(), "M00P03: S-Curve Time");
  EXPECT_EQ(Node("M00P03").PrintableValue(), "0.25");
  Commit("M00P03", "0.75");
  EXPECT_EQ(DriveValue(204), 75);
  EXPECT_EQ(DriveValue(202), 50);

  // Moved on the keypad: the next tick renames the row.
  ShowMenus({"M00P00"});
  rig->Sim().SetValue(1203, 202);
  form->TimerUpdate_Timer();
  EXPECT_EQ(Node("M00P03").Caption(), "M00P03: Decel Time");
  EXPECT_EQ(Node("M00P03").PrintableValue(), "5.0");

  // Moved in the editor itself: at once.
  Commit("M12P03", "3.01");
  EXPECT_EQ(DriveValue(1203), 301);
  EXPECT_EQ(Node("M00P03").Caption(), "M00P03: Rated Current");
  EXPECT_EQ(Node("M00P03").PrintableValue(), "12.4");
}

TEST_F(OnlineSlotRoutingTest, TickReadsEachSlotsPointerOnceAndItsParameterOnce) {
  Start();
  ShowMenus({"M00P00", "M01P00", "M02P00"});
  rig->Sim().SetValue(1202, 202);  // slot 2 now shows Decel Time too
  rig->Sim().SetValue(202, 61);
  rig->Sim().ResetStats();
  const auto visible = tree->VisibleNodes();
  form->TimerUpdate_Timer();
  // The legacy check, the version, five pointers, and every row but M01P01, M02P02: the other sides
  // of slots 1 and 2 (slot 3 was read after slot 2 had refreshed M02P02).
  EXPECT_EQ(rig->Sim().RequestCount(), static_cast<long>(visible.size()) + 1 + 1 + 5 - 2);
  EXPECT_EQ(Node("M00P02").Caption(), "M00P02: Decel Time");
  for (const char* key : {"M00P02", "M00P03", "M02P02"}) EXPECT_EQ(Node(key).PrintableValue(), "6.1") << key;
  EXPECT_EQ(Node("M02P01").PrintableValue(), "5.0");
  EXPECT_EQ(Node("M12P02").PrintableValue(), "2.02");
  EXPECT_EQ(form->View().lblStatusCaption, "");
}

TEST_F(OnlineSlotRoutingTest, SaveAfterAMoveHoldsEveryParametersOwnValue) {
  Start();
  rig->Sim().SetValue(1203, 301);
  rig->Sim().SetValue(301, 150);
  ui.AnswerFileDialog(folder.File("moved.kvb"));
  form->bSaveFile_Click();
  KVBFile saved;
  ASSERT_TRUE(saved.LoadKVBFile(folder.File("moved.kvb")));
  EXPECT_EQ(saved.Value(202), "5");
  EXPECT_EQ(saved.Value(301), "15");
  EXPECT_EQ(saved.Value(3), "15");
  EXPECT_EQ(saved.Value(1203), "3.01");
  EXPECT_EQ(form->View().lblStatusCaption, "");
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"Save As..."});
}

TEST_F(OnlineSlotRoutingTest, ARefusedWriteLeavesTheLastValueReadAndItsError) {
  struct Case {
    const char* name;
    std::function<void(OnlineSlotRoutingTest&)> edit;
    const char* key;
    const char* shown;
    const char* icon;
  };
  // Slots 3 (Decel Time) and 4 (the bit Stall Prevention) refuse every read and write; the parameters
  // they show answer, so the rows hold a value read from the drive.
  const Case cases[] = {
      {"typed", [](OnlineSlotRoutingTest& t) { t.Commit("M00P03", "99"); }, "M00P03", "5.0", "pram"},
      {"bit toggled",
       [](OnlineSlotRoutingTest& t) {
         t.tree->SetSelected(&t.Node("M00P04"));
         t.form->pTree_DblClick();
       },
       "M00P04", "1", "bitpram1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(Table(4, 802, "00.03 | exception 4\n00.04 | exception 4\n"));
    c.edit(*this);
    EXPECT_EQ(Node(c.key).PrintableValue(), c.shown);
    EXPECT_EQ(Node(c.key).Icon(), c.icon);
    EXPECT_EQ(form->View().lblStatusCaption, "Error saving edited value to drive");
    EXPECT_EQ(form->View().ConnectionState, frmEditOnline::StateConnected);
  }
}

struct LostSaveCase {
  const char* name;
  int answer;
  bool written;
};

class LostSaveTest : public OnlineSlotRoutingTest, public ::testing::WithParamInterface<LostSaveCase> {};

TEST_P(LostSaveTest, SaysWhereTheRefreshStoppedBeforeWriting) {
  const LostSaveCase& c = GetParam();
  Start();
  ShowMenus({"M01P00"});
  form->TimerUpdate_Timer();  // M01P01 .. M01P05 and the menu headers are fresher than the connect
  // M00P00, the version, five pointers and slots (which refresh M01P01, M02P01 and M02P02 too),
  // M01P00, M01P02-05, M02P00: the next, M02P03, is not answered.
  rig->Sim().SetFault("stop after 18");
  const std::string path = folder.File("lost.kvb");
  ui.AnswerFileDialog(path);
  ui.AnswerMsgBox(c.answer);
  form->bSaveFile_Click();
  ASSERT_EQ(ui.Titles().size(), 2U);
  EXPECT_EQ(ui.Titles()[1], "Drive Not Answering");
  const std::string prompt = ui.Prompts()[1];
  EXPECT_NE(prompt.find("stopped answering at M02P03: Ramp Mode while"), std::string::npos) << prompt;
  std::smatch counts;
  ASSERT_TRUE(std::regex_search(prompt, counts, std::regex(R"(not fresh from the drive: (\d+), the last ones read \((\d+) of them at Connect\))")))
      << prompt;
  // Of the rows from M02P03 on, the tick had read the headers M03P00 .. M19P00.
  EXPECT_EQ(std::stoi(counts[1]) - std::stoi(counts[2]), 17);
  EXPECT_GT(std::stoi(counts[2]), 0);
  EXPECT_EQ(form->View().lblStatusCaption, "Error communicating with drive.");
  EXPECT_EQ(std::filesystem::exists(path), c.written);
  EXPECT_EQ(form->View().lblConnectedCaption, "Connection Lost");
}

INSTANTIATE_TEST_SUITE_P(Answers, LostSaveTest,
                         ::testing::Values(LostSaveCase{"Yes", vbYes, true}, LostSaveCase{"No", vbNo, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct GarbledSaveCase {
  const char* name;
  const char* extraTableLines;  // the drive's own refusals
  const char* fault;            // "" for none
  const char* firstStale;
  int stale;                    // -1: every row
};

class GarbledSaveTest : public OnlineSlotRoutingTest, public ::testing::WithParamInterface<GarbledSaveCase> {};

// Replies that fail their checks leave the rows as they were at Connect just as silence does, without
// stopping the refresh: the user is told before such values are saved.
TEST_P(GarbledSaveTest, CountsEveryRowWhoseReadFailed) {
  const GarbledSaveCase& c = GetParam();
  Start(Table(1, 101, c.extraTableLines));
  const std::string atConnect = form->Set().Value(302);
  rig->Sim().SetValue(302, 777);
  if (*c.fault != '\0') rig->Sim().SetFault(c.fault);
  const std::string path = folder.File("garbled.kvb");
  ui.AnswerFileDialog(path);
  ui.AnswerMsgBox(vbYes);
  form->bSaveFile_Click();
  ASSERT_EQ(ui.Titles().size(), 2U);
  EXPECT_EQ(ui.Titles()[1], "Drive Not Answering");
  const std::string prompt = ui.Prompts()[1];
  EXPECT_NE(prompt.find("Reading " + std::string(c.firstStale) + " from the drive failed while"), std::string::npos)
      << prompt;
  std::smatch counts;
  ASSERT_TRUE(std::regex_search(prompt, counts, std::regex(R"(not fresh from the drive: (\d+), the last ones read \((\d+) of them at Connect\))")))
      << prompt;
  if (c.stale >= 0) {
    EXPECT_EQ(std::stoi(counts[1]), c.stale);
  }
  EXPECT_EQ(counts[1], counts[2]);
  EXPECT_EQ(form->View().lblStatusCaption, "Error communicating with drive.");
  EXPECT_EQ(form->View().lblConnectedCaption, "Connection Established to Drive 1");
  KVBFile saved;
  ASSERT_TRUE(saved.LoadKVBFile(path));
  EXPECT_EQ(saved.Value(302), c.stale < 0 ? atConnect : "777");
}

INSTANTIATE_TEST_SUITE_P(
    Replies, GarbledSaveTest,
    ::testing::Values(GarbledSaveCase{"BadCrc", "", "crc", "M00P00: Quick Setup", -1},
                      GarbledSaveCase{"WrongAddress", "", "address", "M00P00: Quick Setup", -1},
                      GarbledSaveCase{"Noise", "", "noise", "M00P00: Quick Setup", -1},
                      GarbledSaveCase{"Refused", "03.04 | exception 4\n", "", "M03P04: Power Factor", 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quendrel
