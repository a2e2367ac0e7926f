// The parameter set's slots: what the editors and windows read from them and how they change.
#include "params/files/KVBFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "foundation/values/RuntimeError.h"
#include "params/compatibility/FS2Compiler.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"

namespace quendrel {
namespace {

TEST(KVBFileTest, EveryAccessorRefusesNumbersOutsideTheSlots) {
  KVBFile set;
  const std::function<void(std::int32_t)> accesses[] = {
      [&](std::int32_t n) { (void)set.Identifier(n); },   [&](std::int32_t n) { set.SetIdentifier(n, "M00P00"); },
      [&](std::int32_t n) { (void)set.Name(n); },         [&](std::int32_t n) { set.SetValue(n, "1"); },
      [&](std::int32_t n) { (void)set.PAD(n); },          [&](std::int32_t n) { (void)set.ReadOnly(n); },
      [&](std::int32_t n) { (void)set.SecurityLevel(n); }, [&](std::int32_t n) { (void)set.IconName(n); },
      [&](std::int32_t n) { (void)set.NumDVDs(n); },      [&](std::int32_t n) { set.AddDVD(n, 0, "x"); },
      [&](std::int32_t n) { set.SetWorkFlag(n, true); },  [&](std::int32_t n) { (void)set.DVD(n, 0); },
  };
  for (const std::int32_t n : {-1, 2100, 100000}) {
    for (const auto& access : accesses) {
      try {
        access(n);
        ADD_FAILURE() << "slot " << n << " was accepted";
      } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), errSubscriptOutOfRange);
        EXPECT_EQ(e.Source(), "KVBFile");
      }
    }
  }
  EXPECT_NO_THROW(set.SetName(2099, "last"));
  EXPECT_EQ(set.Name(2099), "last");
}

struct PadCase {
  std::int32_t slot;
  const char* pad;
  const char* value;
  bool readOnly;
  bool bitPram;
  std::int32_t securityLevel;
  const char* icon;
};

TEST(KVBFileTest, PadFlagsGiveAccessBitParameterSecurityAndIcon) {
  const PadCase cases[] = {
      {101, "0000000000010000", "5", false, false, 0, "pram"},
      {101, "0000000000000000", "5", true, false, 0, "readonly"},
      {404, "0000000000010100", "1", false, true, 0, "bitpram1"},
      {404, "0000000000010100", "0", false, true, 0, "bitpram0"},
      {505, "0000000000000100", "1", true, true, 0, "readonlybit1"},
      {505, "0000000000000100", "0.0", true, true, 0, "readonlybit0"},
      {1801, "0000000000110010", "1.00", false, false, 1, "pram"},
      {1802, "0000000001010001", "0", false, false, 2, "pram"},
      {1803, "0000000001110011", "1", false, false, 3, "pram"},
      {1129, "1000001000000011", "2.105", true, false, 0, "readonly"},
      // Short or empty PADs read their missing bits as 0.
      {1803, "", "1", true, false, 0, "readonly"},
      {404, "10100", "1", false, true, 0, "bitpram1"},
      // A menu header is a menu whatever its PAD says.
      {1100, "0000000000010100", "1", false, true, 0, "menu"},
      {0, "", "", true, false, 0, "menu"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pad) + " value " + c.value);
    KVBFile set;
    set.SetPAD(c.slot, c.pad);
    set.SetValue(c.slot, c.value);
    EXPECT_EQ(set.ReadOnly(c.slot), c.readOnly);
    EXPECT_EQ(set.BitPram(c.slot), c.bitPram);
    EXPECT_EQ(set.SecurityLevel(c.slot), c.securityLevel);
    EXPECT_EQ(set.IconName(c.slot), c.icon);
  }
}

TEST(KVBFileTest, ValueNamesKeepTheirNumbersAndAnEmptySpareEntry) {
  KVBFile set;
  set.AddDVD(203, 0, "Linear");
  set.AddDVD(203, 5, "Fast Stop");
  set.AddDVD(203, 2, "S-Curve");
  ASSERT_EQ(set.NumDVDs(203), 3);
  EXPECT_EQ(set.DVD(203, 0), "Linear");
  EXPECT_EQ(set.DVD(203, 1), "Fast Stop");
  EXPECT_EQ(set.DVDNumber(203, 1), 5);
  EXPECT_EQ(set.DVD(203, 2), "S-Curve");
  EXPECT_EQ(set.DVD(203, 3), "") << "the spare entry after the last one";

  set.AddDVD(203, 5, "Coast");
  EXPECT_EQ(set.NumDVDs(203), 3) << "a known number replaces its text";
  EXPECT_EQ(set.DVD(203, 1), "Coast");

  set.SetDVD(203, 2, "Smooth");
  EXPECT_EQ(set.DVD(203, 2), "Smooth");
  EXPECT_EQ(set.DVDNumber(203, 2), 2);
  EXPECT_EQ(set.NumDVDs(204), 0) << "lists belong to their slot";

  EXPECT_THROW((void)set.DVD(203, 4), RuntimeError);
  EXPECT_THROW((void)set.DVD(203, -1), RuntimeError);
  EXPECT_THROW(set.SetDVD(203, 3, "spare"), RuntimeError) << "the spare entry is not storage";
  EXPECT_THROW((void)set.DVDNumber(203, 3), RuntimeError);

  set.ClearDVDs(203);
  EXPECT_EQ(set.NumDVDs(203), 0);
  EXPECT_EQ(set.DVD(203, 0), "");
}

TEST(KVBFileTest, ClearIdentifiersKeepsTheDataAndResetForgetsEverything) {
  KVBFile set;
  set.SetDescription("d");
  set.SetIdentifier(2099, "M20P99");
  set.SetName(2099, "Last");
  set.SetWorkFlag(5, true);
  set.AddDVD(5, 1, "x");
  set.ClearIdentifiers();
  EXPECT_EQ(set.Identifier(2099), "");
  EXPECT_EQ(set.Name(2099), "Last");
  set.Reset();
  EXPECT_EQ(set.Description(), "");
  EXPECT_EQ(set.Name(2099), "");
  EXPECT_FALSE(set.WorkFlag(5));
  EXPECT_EQ(set.NumDVDs(5), 0);
}

TEST(KVBFileTest, ASetMovedFromIsANewSetAgain) {
  KVBFile set;
  set.SetIdentifier(12, "M00P12");
  KVBFile taken = std::move(set);
  EXPECT_EQ(taken.Identifier(12), "M00P12");
  EXPECT_EQ(set.Identifier(12), "");  // NOLINT(bugprone-use-after-move): the point of the test
  set.SetName(2099, "again");
  EXPECT_EQ(set.Name(2099), "again");
}

TEST(KVBFileTest, LoadingAnAsciiFileReadsNothing) {
  KVBFile set;
  set.SetIdentifier(1, "M00P01");
  EXPECT_FALSE(set.LoadKVDFile("/nonexistent/file.KVD"));
  EXPECT_EQ(set.Identifier(1), "M00P01");
}

// BuildFromTemplate reads the program's compatibility file; each test installs its own and puts an empty
// one back afterwards.
class KVBFileTemplateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FS2Compiler compiler;
    ASSERT_TRUE(compiler.Compile(
        "Template 3.1\n"
        "Parameter 00.00 | Quick Setup | 0000000000000000 |\n"
        "Parameter 02.03 | Ramp Mode | 0000000000010000 | Linear;S-Curve;;Fast Stop\n"
        "Parameter 04.04 | Reverse | 0000000000010100 |\n"
        "Hole 05.04\n"
        "End\n"))
        << compiler.Errors().front();
    FirmwareCompatibility() = compiler.Result();
  }
  void TearDown() override { FirmwareCompatibility() = FirmwareCompatibilityFile{}; }
};

TEST_F(KVBFileTemplateTest, BuildsOneSlotPerTemplateParameter) {
  KVBFile set;
  set.SetDescription("old");
  set.SetIdentifier(1, "M00P01");
  set.SetValue(203, "2");
  ASSERT_TRUE(set.BuildFromTemplate(3.1f));

  EXPECT_EQ(set.Description(), "") << "the set is reset first";
  EXPECT_EQ(set.Identifier(1), "");
  EXPECT_EQ(set.Identifier(0), "M00P00");
  EXPECT_EQ(set.Identifier(203), "M02P03");
  EXPECT_EQ(set.Name(203), "Ramp Mode");
  EXPECT_EQ(set.PAD(203), "0000000000010000");
  EXPECT_EQ(set.Value(203), "");
  ASSERT_EQ(set.NumDVDs(203), 4);
  EXPECT_EQ(set.DVDNumber(203, 3), 3);
  EXPECT_EQ(set.DVD(203, 2), "") << "an empty value name keeps its place";
  EXPECT_EQ(set.DVD(203, 3), "Fast Stop");
  EXPECT_TRUE(set.BitPram(404));
  EXPECT_EQ(set.Identifier(504), "") << "a hole gets no slot";
}

TEST_F(KVBFileTemplateTest, AnUnknownVersionChangesNothing) {
  KVBFile set;
  set.SetIdentifier(1, "M00P01");
  EXPECT_FALSE(set.BuildFromTemplate(3.2));
  EXPECT_EQ(set.Identifier(1), "M00P01");
}

}  // namespace
}  // namespace quendrel
