// The online editor against the simulated drive on a pseudo-terminal: connecting, commits, the
// timers' ticks, handlers run from inside another handler's yields, addresses and saving.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "drivesim/DefaultParameterTable.h"
#include "editors/frmEditOnline.h"
#include "foundation/settings/Config.h"
#include "params/compatibility/FirmwareInformationTemplate.h"
#include "params/support/TransferRig.h"
#include "platform/ScriptedUi.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

class OnlineEditorTest : public ::testing::Test {
 public:
  void Start(std::vector<std::string> simulatorArguments = {}) {
    ui.OnPump({});
    form.reset();
    rig.reset();  // before the next rig loads the program's compatibility file again
    tree = std::make_shared<ParameterTree>();
    rig = std::make_unique<TransferRig>(std::move(simulatorArguments));
    frmEditOnline::Services services;
    services.Server = &rig->Server();
    services.MainStatus = [this](const std::string& text) { mainStatus.push_back(text); };
    services.WebSite = "https://quendrel.example/";
    form = std::make_shared<frmEditOnline>(tree, services);
    form->OnClose([this] {
      ++closes;
      if (form->Form_QueryUnload()) form->Form_Unload();
    });
    form->Form_Load();
  }
  // A copy of the built-in table with one line replaced, as the simulator's table file.
  std::vector<std::string> Table(const std::string& from, const std::string& to, const std::string& extra = "") {
    std::string text = DefaultParameterTableText();
    text.replace(text.find(from), from.size(), to);
    WriteTestFile(folder.File("table.txt"), text + extra);
    return {"--table", folder.File("table.txt")};
  }
  void Connect() {
    form->bConnect_Click();
    ASSERT_EQ(form->View().ConnectionState, frmEditOnline::StateConnected) << form->View().lblStatusCaption;
  }
  // The drive falls silent during an update tick.
  void LoseDrive() {
    rig->Sim().SetFault("stop");
    form->TimerUpdate_Timer();
  }
  ParameterTreeNode& Node(const std::string& key) { return tree->Node(key); }
  int DriveValue(int n) { return rig->Sim().Value(n); }
  // Plays the user typing a value into the selected node and pressing Enter.
  void Commit(const std::string& key, const std::string& typed) {
    tree->SetSelected(&Node(key));
    tree->EditCurrentValue();
    tree->EditTextChanged(typed);
    tree->CommitEdit();
  }
  // Runs action at the chosen pump of the next handler.
  void AtPump(int pump, std::function<void()> action) {
    auto count = std::make_shared<int>(0);
    ui.OnPump([count, pump, action] {
      if (++*count == pump) action();
    });
  }

  TempFolder folder;
  ScriptedUi ui;
  std::shared_ptr<ParameterTree> tree = std::make_shared<ParameterTree>();
  std::unique_ptr<TransferRig> rig;
  std::shared_ptr<frmEditOnline> form;
  std::vector<std::string> mainStatus;
  int closes = 0;
};

TEST_F(OnlineEditorTest, ConnectUnlocksUploadsAndMapsTheSet) {
  Start();
  Connect();
  EXPECT_EQ(DriveValue(1130), -17323);  // 48213 as the drive's signed word
  const auto& view = form->View();
  EXPECT_EQ(view.lblConnectedCaption, "Connection Established to Drive 1");
  EXPECT_EQ(view.tpbProgressText, "Connection Established");
  EXPECT_TRUE(view.TimerUpdateEnabled && view.bSaveFileEnabled && tree->Enabled());
  EXPECT_FALSE(view.TimerReconnectEnabled);
  struct Row {
    const char* key;
    const char* caption;
    float value;
    bool enabled, greyed;
    const char* icon;
  };
  for (const Row& row : {Row{"M01P00", "M01P00: Speed Reference", 0, false, false, "menu"},
                         Row{"M01P04", "M01P04: Preset Speed 2", -25.0f, true, false, "pram"},
                         Row{"M10P03", "M10P03: DC Bus Voltage", 565, false, true, "readonly"},
                         Row{"M08P02", "M08P02: Stall Prevention", 1, true, false, "bitpram1"},
                         Row{"M05P05", "M05P05: DI1 State", 0, false, true, "readonlybit0"},
                         Row{"M00P02", "M00P02: Accel Time", 5.0f, true, false, "pram"}}) {
    const ParameterTreeNode& node = Node(row.key);
    EXPECT_EQ(node.Caption(), row.caption);
    EXPECT_FLOAT_EQ(node.Value(), row.value) << row.key;
    EXPECT_EQ(node.Enabled(), row.enabled) << row.key;
    EXPECT_EQ(node.Greyed(), row.greyed) << row.key;
    EXPECT_EQ(node.Icon(), row.icon) << row.key;
  }
  EXPECT_EQ(Node("M00P02").Tag(), 201);  // the slot shows M02P01
  EXPECT_EQ(Node("M02P03").DVD(2), "Fast Stop");
  EXPECT_EQ(tree->FindNode("M11P39"), nullptr);  // security level 3
}

TEST_F(OnlineEditorTest, LevelThreeHeaderHidesItsWholeMenu) {
  Start();
  const auto fit = rig->OwnTemplate();
  udtUploadTemplateData header = fit->Template(1800);
  header.iPad |= 0x60;
  fit->SetTemplate(1800, header);
  Connect();
  EXPECT_EQ(tree->FindNode("M18P00"), nullptr);
  EXPECT_EQ(tree->FindNode("M18P01"), nullptr);  // level 1 itself
  EXPECT_NE(tree->FindNode("M19P01"), nullptr);
}

TEST_F(OnlineEditorTest, FailedConnectsEndIdle) {
  struct Case {
    const char* name;
    std::function<void(OnlineEditorTest&)> arrange;
    const char* status;
    const char* connected;
  };
  const Case cases[] = {
      {"no drive", [](OnlineEditorTest& t) { t.form->tbDriveAddr_Change("9"); t.ui.AnswerMsgBox(vbOK); },
       "Couldn't Find Drive", "Not Connected"},
      {"unknown firmware, cancelled",
       [](OnlineEditorTest& t) { t.rig->Sim().SetValue(1129, 2999); t.ui.AnswerOptOutBox(vbCancel); },
       "No Template - User Canceled", "Not Connected"},
      {"drive silent mid-upload", [](OnlineEditorTest& t) { t.rig->Sim().SetFault("stop after 40"); },
       "Upload Failed", "Connect Failed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start();
    c.arrange(*this);
    form->bConnect_Click();
    EXPECT_EQ(form->View().lblStatusCaption, c.status);
    EXPECT_EQ(form->View().lblConnectedCaption, c.connected);
    EXPECT_EQ(form->View().ConnectionState, frmEditOnline::StateIdle);
    EXPECT_FALSE(form->View().TimerUpdateEnabled);
  }
  EXPECT_EQ(ui.Titles(), (std::vector<std::string>{"Connection Error", "Firmware Not Supported"}));
  EXPECT_NE(ui.Prompts()[1].find("update at https://quendrel.example/ to achieve"), std::string::npos);
}

TEST_F(OnlineEditorTest, UnknownFirmwareAcceptedUploadsEverythingAndIsRemembered) {
  Start();
  rig->Sim().SetValue(1129, 2999);
  ui.AnswerOptOutBox(vbOK, true);
  Connect();
  EXPECT_NE(tree->FindNode("M19P06"), nullptr);
  form->bConnect_Click();  // the remembered answer asks nothing
  EXPECT_EQ(ui.Questions().size(), 1u);
}

TEST_F(OnlineEditorTest, CommitsReachTheDriveAsRawWords) {
  Start();
  Connect();
  struct Case {
    const char* key;
    const char* typed;
    int parameter;
    int raw;
  };
  for (const Case& c : {Case{"M01P02", "12.5", 102, 1250}, Case{"M03P03", "40000", 303, -25536},
                        Case{"M00P01", "55.5", 101, 5550}}) {
    Commit(c.key, c.typed);
    EXPECT_EQ(DriveValue(c.parameter), c.raw) << c.key;
  }
  // The slot and the parameter it shows both show the value written through the slot.
  EXPECT_FLOAT_EQ(Node("M01P01").Value(), 55.5f);
  EXPECT_FLOAT_EQ(Node("M00P01").Value(), 55.5f);

  rig->Sim().ResetStats();
  Commit("M03P03", "1e10");
  EXPECT_EQ(rig->Sim().RequestCount(0x46), 0);
  EXPECT_EQ(form->View().lblStatusCaption, "Value out of range - not written");
  EXPECT_FLOAT_EQ(Node("M03P03").Value(), 40000.0f - 65536.0f);  // read back from the drive
}

// Nothing the user did not mean reaches the drive: a value no 16-bit register holds under the row's
// decimals, or a text whose leading number is not what was typed. The row shows the drive's value.
TEST_F(OnlineEditorTest, TypedValuesNoRegisterHoldsReachNothing) {
  Start();
  Connect();
  struct RefusalCase {
    const char* key;
    const char* typed;
    float shown;
  };
  for (const RefusalCase& c : {RefusalCase{"M03P03", "70000", 1450.0f}, RefusalCase{"M03P03", "-32769", 1450.0f},
                               RefusalCase{"M01P02", "700", 0.0f}, RefusalCase{"M03P03", "12,5", 1450.0f},
                               RefusalCase{"M03P03", "0x10", 1450.0f}, RefusalCase{"M01P02", "1.2.3", 0.0f}}) {
    SCOPED_TRACE(std::string(c.key) + " \"" + c.typed + "\"");
    rig->Sim().ResetStats();
    mainStatus.clear();
    Commit(c.key, c.typed);
    EXPECT_EQ(rig->Sim().RequestCount(0x46), 0);
    EXPECT_EQ(mainStatus, std::vector<std::string>{"Value out of range - not written"});
    EXPECT_EQ(form->View().lblStatusCaption, "Value out of range - not written");
    EXPECT_FLOAT_EQ(Node(c.key).Value(), c.shown);
  }
  EXPECT_EQ(DriveValue(303), 1450);
  for (const auto& [typed, raw] : {std::pair{"65535", -1}, {"12 Hz", 12}, {"-32768", -32768}}) {
    Commit("M03P03", typed);
    EXPECT_EQ(DriveValue(303), raw) << typed;
  }
}

TEST_F(OnlineEditorTest, DoubleClickTogglesWritableBitsAndOpensLists) {
  Start();
  Connect();
  tree->SetSelected(&Node("M08P02"));
  form->pTree_DblClick();
  EXPECT_EQ(DriveValue(802), 0);
  EXPECT_EQ(Node("M08P02").Icon(), "bitpram0");

  rig->Sim().ResetStats();
  tree->SetSelected(&Node("M05P05"));
  form->pTree_DblClick();
  EXPECT_EQ(rig->Sim().RequestCount(0x46), 0);

  tree->SetSelected(&Node("M02P03"));
  form->pTree_KeyUp(vbKeyReturn, 0);
  tree->EditListChanged(2);
  tree->CommitEdit();
  EXPECT_EQ(DriveValue(203), 2);

  tree->SetSelected(nullptr);  // a double-click below the rows
  form->pTree_DblClick();
}

TEST_F(OnlineEditorTest, UpdateTickReadsOnlyTheVisibleRows) {
  Start();
  Connect();
  Node("M01P00").SetExpanded(true);
  tree->Refresh();
  rig->Sim().SetValue(102, 777);
  rig->Sim().ResetStats();
  const auto visible = tree->VisibleNodes();
  form->TimerUpdate_Timer();
  EXPECT_EQ(rig->Sim().RequestCount(), static_cast<long>(visible.size()) + 1);
  EXPECT_FLOAT_EQ(Node("M01P02").Value(), 7.77f);
  EXPECT_EQ(form->Set().Value(102), "7.77");
  EXPECT_EQ(form->View().lblStatusCaption, "");
}

TEST_F(OnlineEditorTest, LostDriveIsPingedUntilItAnswersThenEverythingIsReread) {
  Start();
  Connect();
  LoseDrive();
  EXPECT_EQ(form->View().lblConnectedCaption, "Connection Lost");
  EXPECT_EQ(form->View().lblStatusCaption, "Error communicating with drive.");
  EXPECT_FALSE(form->View().TimerUpdateEnabled);
  form->TimerReconnect_Timer();
  EXPECT_TRUE(form->View().TimerReconnectEnabled);

  rig->Sim().ClearFaults();
  rig->Sim().SetValue(1905, 123);
  form->TimerReconnect_Timer();
  EXPECT_EQ(form->View().lblConnectedCaption, "Connection Reestablished to Drive 1");
  EXPECT_TRUE(form->View().TimerUpdateEnabled);
  EXPECT_FALSE(form->View().TimerReconnectEnabled);
  EXPECT_FLOAT_EQ(Node("M19P05").Value(), 123.0f);  // far below the visible rows
}

TEST_F(OnlineEditorTest, ParameterTheDriveRefusesLeavesTheEditorConnected) {
  Start(Table("01.03 | Preset Speed 1", "01.03 | Preset Speed 1", "01.02 | exception 2\n"));
  Connect();
  Node("M01P00").SetExpanded(true);
  tree->Refresh();
  form->TimerUpdate_Timer();
  EXPECT_EQ(form->View().ConnectionState, frmEditOnline::StateConnected);
  EXPECT_EQ(form->View().lblStatusCaption, "Error while reading update for M01P02");
  EXPECT_FALSE(form->View().TimerReconnectEnabled);
}

TEST_F(OnlineEditorTest, CloseDuringAConnectATickOrAnExpandWaitsForItsEnd) {
  Start();
  AtPump(5, [this] { EXPECT_FALSE(form->Form_QueryUnload()); });
  form->bConnect_Click();
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(form->View().ConnectionState, frmEditOnline::StateConnected);

  Start();
  Connect();
  AtPump(2, [this] { EXPECT_FALSE(form->Form_QueryUnload()); });
  rig->Sim().ResetStats();
  form->TimerUpdate_Timer();
  EXPECT_EQ(closes, 2);
  EXPECT_EQ(rig->Sim().RequestCount(), 3);  // the legacy check and two rows
  EXPECT_FALSE(form->View().TimerUpdateEnabled);

  Start();
  Connect();
  AtPump(1, [this] { EXPECT_FALSE(form->Form_QueryUnload()); });
  rig->Sim().ResetStats();
  Node("M01P00").SetExpanded(true);
  form->pTree_ExpandChanged(Node("M01P00"));
  EXPECT_EQ(closes, 3);
  EXPECT_EQ(rig->Sim().RequestCount(), 1);  // the first child only
}

TEST_F(OnlineEditorTest, TickInterruptedByAConnectOrAnAddressChangeWritesNothingMore) {
  Start();
  Connect();
  const auto interrupt = [this](std::function<void()> action) {
    AtPump(1, [this, action] {
      action();
      rig->Sim().ResetStats();
    });
    form->TimerUpdate_Timer();
    EXPECT_EQ(rig->Sim().RequestCount(), 0);  // the old tick read nothing more
  };
  interrupt([this] { form->bConnect_Click(); });
  EXPECT_EQ(form->View().ConnectionState, frmEditOnline::StateConnected);
  EXPECT_TRUE(form->View().TimerUpdateEnabled);
  interrupt([this] { form->tbDriveAddr_Change("2"); });
  EXPECT_EQ(tree->First(), nullptr);
  EXPECT_EQ(form->View().lblConnectedCaption, "Not Connected");
}

TEST_F(OnlineEditorTest, ReconnectTickInsideAConnectDoesNothing) {
  Start();
  Connect();
  LoseDrive();
  ASSERT_TRUE(form->View().TimerReconnectEnabled);
  rig->Sim().ClearFaults();
  AtPump(3, [this] { form->TimerReconnect_Timer(); });
  form->bConnect_Click();
  EXPECT_FALSE(form->View().TimerReconnectEnabled);
  EXPECT_EQ(form->View().lblConnectedCaption, "Connection Established to Drive 1");
}

TEST_F(OnlineEditorTest, AddressRules) {
  Start();
  struct Case {
    const char* typed;
    const char* shown;
    bool connect;
  };
  for (const Case& c : {Case{"0", "0", false}, Case{"", "", false}, Case{"257", "1", true}, Case{"-1", "255", true},
                        Case{"1e300", "1e300", false}}) {
    form->tbDriveAddr_Change(c.typed);
    EXPECT_EQ(form->View().tbDriveAddrText, c.shown) << c.typed;
    EXPECT_EQ(form->View().bConnectEnabled, c.connect) << c.typed;
  }
  form->tbDriveAddr_Change("1");
  Connect();
  form->tbDriveAddr_Change("256");
  EXPECT_EQ(tree->First(), nullptr);
  rig->Sim().ResetStats();
  form->bConnect_Click();
  EXPECT_EQ(rig->Sim().RequestCount(), 0);
  EXPECT_EQ(form->View().lblStatusCaption, "Invalid drive address.");
  EXPECT_EQ(Config().Value("DriveAddress", "General"), "256");
}

TEST_F(OnlineEditorTest, SaveWritesTheBinaryFormatAndKeepsTheLastValuesOfALostDrive) {
  Start();
  Connect();
  form->tbDescription_Change("Line 3 pump");
  ui.AnswerFileDialog(folder.File("set.KVD"));
  form->bSaveFile_Click();
  KVBFile saved;
  ASSERT_TRUE(saved.LoadKVBFile(folder.File("set.KVD")));
  EXPECT_EQ(saved.Description(), "Line 3 pump");

  rig->Sim().SetFault("stop after 3");
  ui.AnswerFileDialog(folder.File("lost.kvb"));
  ui.AnswerMsgBox(vbYes);  // save what was read before
  form->bSaveFile_Click();
  EXPECT_EQ(form->View().lblConnectedCaption, "Connection Lost");
  ASSERT_TRUE(saved.LoadKVBFile(folder.File("lost.kvb")));
  EXPECT_EQ(saved.Value(1905), form->Set().Value(1905));

  rig->Sim().ClearFaults();
  ui.AnswerFileDialog(folder.File("missing/set.kvb"));
  ui.AnswerMsgBox(vbOK);
  form->bSaveFile_Click();
  EXPECT_EQ(ui.Titles().back(), "File save error");
  EXPECT_EQ(ui.Prompts().back(), folder.File("missing/set.kvb") + " could not be saved: the folder " +
                                     folder.File("missing") + " does not exist.");
}

}  // namespace
}  // namespace quendrel
