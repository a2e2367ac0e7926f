// Quick setup bindings: slot to shown parameter and back, from a parameter set and from a drive, with
// unset and out-of-range pointers; and unlocking a drive with its access code.
#include "params/transfer/ParameterBinding.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "comms/server/CommServer.h"
#include "foundation/settings/Config.h"
#include "params/compatibility/FS2Compiler.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/files/KVBFile.h"
#include "params/support/TransferRig.h"
#include "params/transfer/UnlockDrive.h"

namespace quendrel {
namespace {

class FileBindingTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2));
    ASSERT_TRUE(file.BuildFromTemplate(2.105));
    file.SetValue(1129, "2.105");
    file.SetValue(1201, "1.01");   // slot 1 shows M01P01
    file.SetValue(1202, "2.01");   // slot 2 shows M02P01
    file.SetValue(1203, "0.00");   // slot 3 is not set
    file.SetValue(1204, "25.50");  // slot 4 names no parameter
    file.SetValue(1205, "4.02");   // slot 5 shows M04P02
  }
  void TearDown() override { FirmwareCompatibility() = FirmwareCompatibilityFile{}; }

  KVBFile file;
};

struct BindingCase {
  std::int32_t Parameter;
  std::int32_t Bound;     // GetBoundParameter
  std::int32_t Slot;      // GetBindingSlotParameter
  std::int32_t Resolved;  // ResolveBoundParameter
};

TEST_F(FileBindingTest, MapsSlotsAndShownParametersBothWays) {
  const BindingCase cases[] = {
      {1, 101, 1, 101},     // a slot gives what it shows
      {101, 101, 1, 1},     // a shown parameter gives its slot
      {5, 402, 5, 402},     // a slot without name and scale parameters
      {402, 402, 5, 5},
      {3, 0, 3, 0},         // an unset slot resolves to 0, the "not set" entry
      {0, 0, 0, 0},         // M00P00 is nobody's slot, unset slots included
      {4, 4, 4, 4},         // 25.50 names nothing: no binding
      {2550, 2550, 2550, 2550},
      {301, 301, 301, 301},  // shown by no slot
      {1201, 1201, 1201, 1201},
  };
  for (const BindingCase& c : cases) {
    SCOPED_TRACE(c.Parameter);
    EXPECT_EQ(GetBoundParameter(file, c.Parameter), c.Bound);
    EXPECT_EQ(GetBindingSlotParameter(file, c.Parameter), c.Slot);
    EXPECT_EQ(ResolveBoundParameter(file, c.Parameter), c.Resolved);
  }
}

TEST_F(FileBindingTest, PresentFormsKeepUnsetAndAbsentTargetsToTheSlotItself) {
  file.SetValue(1205, "13.77");  // the set has no M13P77
  const BindingCase cases[] = {
      {1, 101, 1, 101}, {101, 101, 1, 1}, {3, 3, 3, 3}, {4, 4, 4, 4}, {5, 5, 5, 5}, {0, 0, 0, 0},
  };
  for (const BindingCase& c : cases) {
    SCOPED_TRACE(c.Parameter);
    EXPECT_EQ(GetPresentBoundParameter(file, c.Parameter), c.Bound);
    EXPECT_EQ(ResolvePresentBoundParameter(file, c.Parameter), c.Resolved);
  }
  EXPECT_EQ(BindingSlots(file), (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
  file.SetValue(1129, "9.999");
  EXPECT_EQ(BindingSlots(file), std::vector<std::int32_t>{});
}

TEST_F(FileBindingTest, NegativeAndOverlongPointersNameNothing) {
  for (const char* pointer : {"-1.01", "21.00", "99.99", "100.01"}) {
    SCOPED_TRACE(pointer);
    file.SetValue(1201, pointer);
    EXPECT_EQ(GetBoundParameter(file, 1), 1);
    EXPECT_EQ(ResolveBoundParameter(file, 1), 1);
  }
  file.SetValue(1201, "20.99");
  EXPECT_EQ(GetBoundParameter(file, 1), 2099);
  EXPECT_EQ(GetBindingSlotParameter(file, 2099), 1);
}

TEST_F(FileBindingTest, TheFirstOfTwoSlotsShowingTheSameParameterWins) {
  file.SetValue(1205, "2.01");
  EXPECT_EQ(GetBindingSlotParameter(file, 201), 2);
  file.SetValue(1202, "3.01");
  EXPECT_EQ(GetBindingSlotParameter(file, 201), 5);
}

TEST_F(FileBindingTest, WithoutATemplateNothingIsBound) {
  for (const char* version : {"", "9.999", "abc"}) {
    SCOPED_TRACE(version);
    file.SetValue(1129, version);
    EXPECT_EQ(GetBoundParameter(file, 1), 1);
    EXPECT_EQ(GetBoundParameter(file, 3), 3);
    EXPECT_EQ(GetBindingSlotParameter(file, 101), 101);
    EXPECT_EQ(ResolveBoundParameter(file, 3), 3);
  }
}

TEST_F(FileBindingTest, ARowWhosePointerIsNoParameterIsIgnored) {
  auto fit = std::make_shared<FirmwareInformationTemplate>(*FirmwareCompatibility().FitData(2.105));
  fit->SetVersionText("3.000");
  fit->AddBinding({6, 2500, -1, -1});
  fit->AddBinding({7, 1201, -1, -1});
  ASSERT_TRUE(FirmwareCompatibility().AddTemplate(fit));
  file.SetValue(1129, "3.000");
  EXPECT_EQ(GetBoundParameter(file, 6), 6);
  EXPECT_EQ(GetBoundParameter(file, 7), 101);
  EXPECT_EQ(GetBindingSlotParameter(file, 101), 1);
}

class DriveBindingTest : public testing::Test {
 protected:
  TransferRig rig;
};

TEST_F(DriveBindingTest, ReadsThePointerFromTheDrive) {
  EXPECT_EQ(GetDriveBoundParameter(1, &rig.Context()), 101);
  EXPECT_EQ(GetDriveBoundParameter(5, &rig.Context()), 402);
  EXPECT_EQ(GetDriveBoundParameter(101, &rig.Context()), 101);
  rig.Sim().SetValue(1203, 0);
  EXPECT_EQ(GetDriveBoundParameter(3, &rig.Context()), 0);
  rig.Sim().SetValue(1204, 2550);
  EXPECT_EQ(GetDriveBoundParameter(4, &rig.Context()), 4);
  rig.Sim().SetValue(1204, 1999);
  EXPECT_EQ(GetDriveBoundParameter(4, &rig.Context()), 1999);
}

TEST_F(DriveBindingTest, AFailedReadLeavesTheParameterAlone) {
  rig.Sim().SetFault("stop next 1");
  EXPECT_EQ(GetDriveBoundParameter(1, &rig.Context()), 1);
  rig.Sim().SetFault("stop after 1");
  EXPECT_EQ(GetDriveBoundParameter(1, &rig.Context()), 1);
  EXPECT_FALSE(rig.Context().IsClosed());
}

TEST_F(DriveBindingTest, WithoutAContextOpensOneToDriveOneAndClosesIt) {
  DriveSimProcess other;
  Config().SetValue("PortNames", "Serial Port", other.DevicePath());
  CommServer().Startup();
  CommServer().SelectModule("Serial");
  EXPECT_EQ(GetDriveBoundParameter(2, nullptr), 201);
  EXPECT_EQ(other.RequestCount(), 2);
  // A context left open would hold nothing here, but a second call must find the module free.
  EXPECT_EQ(GetDriveBoundParameter(2, nullptr), 201);
  CommServer().Shutdown();
}

class UnlockDriveTest : public testing::Test {
 protected:
  static constexpr std::int16_t kCodeWord = static_cast<std::int16_t>(kDriveAccessCode - 65536);
  TransferRig rig;
};

TEST_F(UnlockDriveTest, WritesTheAccessCodeAsARawWord) {
  const udtDriveResponse response = UnlockDrive(rig.Context());
  EXPECT_FALSE(response.Error);
  EXPECT_EQ(response.intData, kCodeWord);
  EXPECT_EQ(rig.Sim().Value(1130), kCodeWord);
  EXPECT_EQ(rig.Sim().RequestCount(0x43), 1);
  EXPECT_EQ(rig.Sim().RequestCount(0x46), 1);
  EXPECT_FALSE(rig.Context().IsClosed());
}

TEST_F(UnlockDriveTest, AFailedVersionReadWritesNothingAndIsReturned) {
  rig.Sim().SetFault("stop next 1");
  const udtDriveResponse response = UnlockDrive(rig.Context());
  EXPECT_TRUE(response.Error);
  EXPECT_EQ(response.intData, 46);
  EXPECT_EQ(rig.Sim().RequestCount(0x46), 0);
  EXPECT_EQ(rig.Sim().Value(1130), 0);
}

TEST_F(UnlockDriveTest, ARefusedWriteIsTheResult) {
  rig.Sim().Command("set 1129 1000");  // version 1.000: no template, so the file's default M11P30
  rig.Sim().SetFault("stop after 1");
  const udtDriveResponse response = UnlockDrive(rig.Context());
  EXPECT_TRUE(response.Error);
  EXPECT_EQ(rig.Sim().RequestCount(0x46), 1);
}

TEST_F(UnlockDriveTest, UsesTheAccessCodeParameterOfTheVersionRead) {
  FS2Compiler compiler;
  ASSERT_TRUE(compiler.Compile("SoftwareVersion 11.29\nAccessCode 11.30\n"
                               "Template 2.105\nAccessCode 11.01\n"
                               "Parameter 11.01 | Drive Name | 0000000000010000 |\nEnd\n"));
  FirmwareCompatibility() = compiler.Result();
  UnlockDrive(rig.Context());
  EXPECT_EQ(rig.Sim().Value(1101), kCodeWord);
  EXPECT_EQ(rig.Sim().Value(1130), 0);

  rig.Sim().SetValue(1129, 2106);  // a version the file has no template for
  UnlockDrive(rig.Context());
  EXPECT_EQ(rig.Sim().Value(1130), kCodeWord);
}

}  // namespace
}  // namespace quendrel
