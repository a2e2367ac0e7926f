// Quick setup pointers read from the simulated drive into a parameter set just before a slot is used:
// a pointer moved behind the set's back, two slots showing one parameter, and drives that will not
// tell (another version, a refused pointer, no answer).
#include "params/transfer/DriveSlotPointers.h"

#include <gtest/gtest.h>

#include <functional>

#include "drivesim/DefaultParameterTable.h"
#include "params/files/KVBFile.h"
#include "params/support/TransferRig.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

class DriveSlotPointersTest : public testing::Test {
 protected:
  // The set as uploaded from the drive's built-in table.
  void SetUp() override {
    ASSERT_TRUE(set.BuildFromTemplate(2.105));
    set.SetValue(1129, "2.105");
    for (const auto& [pointer, value] : {std::pair{1201, "1.01"}, {1202, "2.01"}, {1203, "2.02"}, {1204, "3.01"},
                                         {1205, "4.02"}}) {
      set.SetValue(pointer, value);
    }
  }

  TransferRig rig;
  KVBFile set;
};

TEST_F(DriveSlotPointersTest, APointerMovedOnTheDriveMovesTheRoute) {
  rig.Sim().SetValue(1203, 301);
  DriveSlotPointers pointers(set, rig.Context());
  EXPECT_EQ(pointers.SlotFor(202), 202);  // slot 3 shows Rated Current now
  EXPECT_EQ(set.Value(1203), "3.01");
  EXPECT_EQ(pointers.TakeMoved(), std::vector<std::int32_t>{1203});
  EXPECT_EQ(pointers.Reads(), 2);  // the version and one pointer
  EXPECT_EQ(pointers.SlotFor(201), 2);
  EXPECT_EQ(pointers.SlotFor(201), 2);
  EXPECT_EQ(pointers.Reads(), 3);
  EXPECT_EQ(pointers.TakeMoved(), std::vector<std::int32_t>{});
  // Without a round trip: a slot only once its pointer was read.
  EXPECT_EQ(pointers.ReadSlotFor(301), 3);
  EXPECT_EQ(pointers.ReadSlotFor(402), 402);
  EXPECT_EQ(pointers.Shown(3), 301);
  EXPECT_EQ(pointers.Reads(), 3);
  EXPECT_EQ(rig.Sim().RequestCount(), 3);
}

TEST_F(DriveSlotPointersTest, ASlotTheSetNamesWronglyGivesWayToTheNextThatShowsTheParameter) {
  set.SetValue(1202, "2.02");  // the drive's slot 2 shows 2.01
  DriveSlotPointers pointers(set, rig.Context());
  EXPECT_EQ(pointers.SlotFor(202), 3);
  EXPECT_EQ(pointers.TakeMoved(), std::vector<std::int32_t>{1202});
  EXPECT_EQ(pointers.Shown(2), 201);
  EXPECT_EQ(pointers.Reads(), 3);
}

TEST(DriveSlotPointersSilentTest, ADriveThatWillNotTellIsReadAndWrittenDirectly) {
  TempFolder folder;
  WriteTestFile(folder.File("table.txt"), DefaultParameterTableText() + "12.03 | exception 2\n");
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    std::function<void(DriveSimProcess&)> arrange;
  };
  const Case cases[] = {
      {"another version", {}, [](DriveSimProcess& sim) { sim.SetValue(1129, 2999); }},
      {"no version", {}, [](DriveSimProcess& sim) { sim.SetFault("stop next 1"); }},
      {"a refused pointer", {"--table", folder.File("table.txt")}, [](DriveSimProcess&) {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TransferRig rig(c.arguments);
    KVBFile set;
    ASSERT_TRUE(set.BuildFromTemplate(2.105));
    set.SetValue(1129, "2.105");
    set.SetValue(1203, "2.02");
    c.arrange(rig.Sim());
    DriveSlotPointers pointers(set, rig.Context());
    EXPECT_EQ(pointers.SlotFor(202), 202);
    EXPECT_EQ(pointers.Shown(3), std::nullopt);
    EXPECT_EQ(set.Value(1203), "2.02");
  }
}

}  // namespace
}  // namespace quendrel
