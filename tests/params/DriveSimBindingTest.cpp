// The simulated drive's bound quick setup slots and refused parameters, seen by a client over a
// pseudo-terminal: what the online editor and the transfers rely on.
#include <gtest/gtest.h>

#include <string>

#include "drivesim/DefaultParameterTable.h"
#include "params/support/TransferRig.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

class DriveSimBindingTest : public testing::Test {
 protected:
  static std::string TableFile(const TempFolder& folder) {
    const std::string path = folder.File("refusing.txt");
    WriteTestFile(path, DefaultParameterTableText() + "10.04 | exception 2\n02.02 | exception 4\n");
    return path;
  }

  TempFolder folder;
  TransferRig rig{{"--table", TableFile(folder)}};
};

TEST_F(DriveSimBindingTest, ABoundSlotReadsAndWritesTheParameterItsPointerNames) {
  rig.Sim().SetValue(1202, 203);  // slot 2 shows M02P03, a list
  rig.Sim().SetValue(203, 2);
  const udtDriveResponse value = rig.Context().ReadValue(0, 2);
  ASSERT_FALSE(value.Error);
  EXPECT_EQ(value.intData, 2);
  EXPECT_EQ(value.strData, "Fast Stop");
  EXPECT_EQ(rig.Context().ReadName(0, 2).strData, "Ramp Mode");
  EXPECT_EQ(rig.Context().ReadDVD(0, 2, 1).strData, "S-Curve");

  ASSERT_FALSE(rig.Context().WriteValue(0, 1, 1234).Error);  // slot 1 shows M01P01
  EXPECT_EQ(rig.Sim().Value(101), 1234);
  EXPECT_EQ(rig.Sim().Value(1), 6000);
}

TEST_F(DriveSimBindingTest, AnUnsetSlotAnswersFromItsOwnRow) {
  rig.Sim().SetValue(202, 77);
  std::int16_t written = 60;
  for (const int pointer : {0, -101, 2100}) {
    rig.Sim().SetValue(1203, pointer);
    ASSERT_FALSE(rig.Context().WriteValue(0, 3, ++written).Error) << pointer;
    EXPECT_EQ(rig.Sim().Value(3), written);
    EXPECT_EQ(rig.Context().ReadValue(0, 3).intData, written);
  }
  EXPECT_EQ(rig.Sim().Value(202), 77);
}

TEST_F(DriveSimBindingTest, ARefusedParameterAnswersItsExceptionExceptToThePadRead) {
  const struct {
    const char* Request;
    udtDriveResponse Response;
    int Code;
  } cases[] = {
      {"value", rig.Context().ReadValue(10, 4), 2},
      {"name", rig.Context().ReadName(10, 4), 2},
      {"value name", rig.Context().ReadDVD(10, 4, 0), 2},
      {"write", rig.Context().WriteValue(10, 4, 1), 2},
      {"slot showing it", rig.Context().ReadValue(0, 3), 4},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(c.Response.Error) << c.Request;
    EXPECT_EQ(c.Response.intData, c.Code) << c.Request;
  }
  EXPECT_FALSE(rig.Context().ReadPAD(10, 4).Error);
  EXPECT_FALSE(rig.Context().ReadValue(10, 3).Error);
}

}  // namespace
}  // namespace quendrel
