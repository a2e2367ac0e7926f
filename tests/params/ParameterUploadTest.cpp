// Uploads from the simulated drive over a pseudo-terminal: by template and without one, with retries,
// drive exceptions, cancel and stop, and a drive lost half way.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "comms/server/GIOError.h"
#include "drivesim/DefaultParameterTable.h"
#include "foundation/settings/Config.h"
#include "foundation/text/BitText.h"
#include "foundation/text/ParameterId.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/files/KVBFile.h"
#include "params/support/TransferRig.h"
#include "params/transfer/DriveTransfer.h"
#include "params/transfer/KVDUploadTypes.h"
#include "platform/ScriptedUi.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

constexpr std::uint8_t kReadValue = 0x43;
constexpr std::uint8_t kReadNameOrDVD = 0x44;

// The display text of a raw value, worked out apart from the code under test.
std::string Scaled(std::int16_t raw, std::uint16_t pad) {
  const int places = pad & 3;
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", places, raw / std::pow(10.0, places));
  return text;
}

std::map<std::int32_t, int> RequestsPerParameter(DriveSimProcess& sim, std::uint8_t function) {
  std::map<std::int32_t, int> counts;
  for (const SentRequest& r : RequestsOf(sim.ReceivedBytes(), function)) ++counts[r.Parameter];
  return counts;
}

class UploadTest : public testing::Test {
 protected:
  std::shared_ptr<const FirmwareInformationTemplate> Fit() const { return FirmwareCompatibility().FitData(2.105); }

  // Entries the template lists as parameters, and the value names among them.
  std::size_t TemplateParameters() const {
    std::size_t count = 0;
    for (const std::int32_t n : Fit()->EntryNumbers()) count += Fit()->Template(n).isHole ? 0 : 1;
    return count;
  }
  long TemplateValueNames() const {
    long count = 0;
    for (const std::int32_t n : Fit()->EntryNumbers()) count += Fit()->Template(n).iNumDVDs;
    return count;
  }

  bool TemplateUpload() {
    file.BuildFromTemplate(2.105);
    float version = 2.105F;
    return file.UploadTemplateWithRetries(rig.Context(), rig.Progress(), version);
  }

  // Every parameter of the drive's table in the set, as the drive holds it.
  void ExpectDriveTable() {
    const ParameterTable table = DefaultParameterTable();
    for (const auto& [n, parameter] : table.Parameters()) {
      SCOPED_TRACE(n);
      EXPECT_EQ(file.Identifier(n), ParameterIdText(n));
      EXPECT_EQ(file.Value(n), Scaled(parameter.value, parameter.pad));
      EXPECT_EQ(file.Name(n), parameter.name);
      EXPECT_EQ(file.PAD(n), LongToBinaryString(parameter.pad, false));
      const std::size_t names = parameter.valueNames.size();
      ASSERT_EQ(file.NumDVDs(n), static_cast<std::int32_t>(names));
      for (std::size_t i = 0; i < names; ++i) {
        EXPECT_EQ(file.DVD(n, static_cast<std::int32_t>(i)), parameter.valueNames[i]);
        EXPECT_EQ(file.DVDNumber(n, static_cast<std::int32_t>(i)), static_cast<std::int32_t>(i));
      }
      if (parameter.value >= 0 && static_cast<std::size_t>(parameter.value) < names) {
        EXPECT_EQ(file.ValueName(n), parameter.valueNames[static_cast<std::size_t>(parameter.value)]);
      }
    }
  }

  TransferRig rig;
  KVBFile file;
};

TEST_F(UploadTest, TemplateUploadReadsEveryValueOnceAndEveryValueName) {
  ASSERT_TRUE(TemplateUpload());
  ExpectDriveTable();
  EXPECT_EQ(file.Value(1129), "2.105");
  EXPECT_EQ(file.Value(104), "-25.0");
  EXPECT_EQ(file.Value(1905), "-32768");
  EXPECT_EQ(file.DVD(1702, 2), "Fran\xE7" "ais");
  EXPECT_TRUE(file.Identifier(504).empty());

  // The floor: one value read per parameter and one read per value name, nothing repeated.
  EXPECT_EQ(rig.Sim().RequestCount(kReadValue), static_cast<long>(TemplateParameters()));
  EXPECT_EQ(rig.Sim().RequestCount(kReadNameOrDVD), TemplateValueNames());
  EXPECT_EQ(rig.Sim().RequestCount(), static_cast<long>(TemplateParameters()) + TemplateValueNames());
}

TEST_F(UploadTest, TemplateUploadReportsEachParameterAndPumpsOncePerParameter) {
  ScriptedUi ui;
  std::vector<std::int32_t> seen;
  ui.OnPump([&] { seen.push_back(rig.Progress().Progress()); });
  ASSERT_TRUE(TemplateUpload());
  EXPECT_EQ(seen.size(), TemplateParameters());
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(seen.back(), 1906);
  ASSERT_FALSE(rig.DetailTexts().empty());
  EXPECT_EQ(rig.DetailTexts().back(), "Reading M19P06");
}

TEST_F(UploadTest, AShorterListOnTheDriveEndsTheValueNameReads) {
  auto fit = rig.OwnTemplate();
  udtUploadTemplateData entry = fit->Template(203);
  entry.sDVD = {"Linear", "S-Curve", "Fast Stop", "Spare A", "Spare B"};
  entry.iNumDVDs = 5;
  fit->SetTemplate(203, entry);
  ASSERT_TRUE(TemplateUpload());
  EXPECT_EQ(RequestsPerParameter(rig.Sim(), kReadNameOrDVD)[203], 4);  // 0..2 and the one that ends the list
  EXPECT_EQ(file.DVD(203, 3), "Spare A");                          // the template's, left as it was
}

TEST_F(UploadTest, ADriveExceptionIsNotRepeatedAndLeavesTheTemplatesData) {
  auto fit = rig.OwnTemplate();
  udtUploadTemplateData extra;
  extra.Exists = true;
  extra.sName = "Not On This Drive";
  extra.iPad = 0x10;
  fit->SetTemplate(706, extra);
  rig.SetRetries(3);
  ASSERT_TRUE(TemplateUpload());
  EXPECT_EQ(file.Identifier(706), "M07P06");
  EXPECT_EQ(file.Name(706), "Not On This Drive");
  EXPECT_EQ(file.Value(706), "");
  EXPECT_EQ(RequestsPerParameter(rig.Sim(), kReadValue)[706], 1);
}

TEST_F(UploadTest, LostRepliesAreReadAgainUpToTheRetries) {
  rig.SetRetries(3);
  rig.Sim().SetFault("drop every 40");
  ASSERT_TRUE(TemplateUpload());
  EXPECT_EQ(file.Value(1129), "2.105");
  EXPECT_EQ(file.Value(1906), "32767");
  EXPECT_GT(rig.Sim().RequestCount(kReadValue), static_cast<long>(TemplateParameters()));
}

TEST_F(UploadTest, AGarbledReplyThatStaysGarbledIsSkipped) {
  rig.Sim().SetFault("crc next 1");
  ASSERT_TRUE(TemplateUpload());
  EXPECT_EQ(file.Value(0), "");
  EXPECT_EQ(file.Value(1), "60.00");
}

TEST_F(UploadTest, AHandEditedRetriesBeyondTheDialogsLimitGivesTheDefaultNumberOfReads) {
  Config().SetValue("Retries", "General", "2147483647");
  rig.Sim().SetFault("crc");
  DriveTransfer transfer(rig.Context(), rig.Progress());
  EXPECT_EQ(transfer.Attempts(), 3);
  EXPECT_EQ(transfer.ReadSoftwareVersion().intData, gioInvalidPacket);
  // Three calls by the transfer, each sent three times by the context.
  EXPECT_EQ(rig.Sim().RequestCount(kReadValue), 9);
}

struct LostDriveCase {
  bool Full;
  int Retries;
  const char* Fault;
  long Requests;
};

TEST_F(UploadTest, ALostDriveEndsTheUploadAfterItsRetries) {
  const LostDriveCase cases[] = {{false, 0, "drop every 9", 9}, {false, 2, "stop after 20", 22}, {true, 2, "stop after 30", 32}};
  for (const LostDriveCase& c : cases) {
    SCOPED_TRACE(c.Fault);
    rig.SetRetries(c.Retries);
    rig.Sim().ClearFaults();
    rig.Sim().SetFault(c.Fault);
    rig.Sim().ResetStats();
    EXPECT_FALSE(c.Full ? file.FullUpload(rig.Context(), kvdUploadAll, rig.Progress(), false) : TemplateUpload());
    EXPECT_EQ(rig.Sim().RequestCount(), c.Requests);
  }
}

// Cancel (-1), stop (2) and a context closed meanwhile (0: state untouched).
TEST_F(UploadTest, CancelStopAndAClosedContextEndTheUploadBeforeTheNextRequest) {
  for (const std::int16_t state : {std::int16_t{-1}, std::int16_t{2}, std::int16_t{0}}) {
    SCOPED_TRACE(state);
    rig.Progress().SetState(0);
    rig.Sim().ReceivedBytes();
    ScriptedUi ui;
    ui.OnPump([&] {
      if (rig.Progress().Progress() < 500) return;
      if (state == 0) rig.Context().CloseContext();
      rig.Progress().SetState(state);
    });
    EXPECT_FALSE(TemplateUpload());
    const auto sent = SplitRequests(rig.Sim().ReceivedBytes());
    ASSERT_FALSE(sent.empty());
    for (const SentRequest& r : sent) EXPECT_LT(r.Parameter, 500);
    EXPECT_EQ(sent.back().Parameter / 100, 4);
  }
}

TEST_F(UploadTest, WithoutATemplateForTheGivenVersionTheDrivesVersionIsRead) {
  float version = 0.0F;
  ASSERT_TRUE(file.UploadTemplateWithRetries(rig.Context(), rig.Progress(), version));
  EXPECT_FLOAT_EQ(version, 2.105F);
  EXPECT_EQ(file.Value(101), "60.00");
  EXPECT_EQ(file.Name(101), "Max Frequency");

  rig.Sim().SetValue(1129, 3000);
  version = 0.0F;
  EXPECT_FALSE(file.UploadTemplateWithRetries(rig.Context(), rig.Progress(), version));
  EXPECT_FLOAT_EQ(version, 3.0F);
}

TEST_F(UploadTest, FullUploadFindsEveryParameterTheDriveHas) {
  file.SetDescription("kept");
  file.SetIdentifier(707, "M07P07");
  ASSERT_TRUE(file.FullUpload(rig.Context(), kvdUploadAll, rig.Progress(), false));
  ExpectDriveTable();
  std::int32_t present = 0;
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) present += file.Identifier(n).empty() ? 0 : 1;
  EXPECT_EQ(present, static_cast<std::int32_t>(DefaultParameterTable().Size()));
  EXPECT_EQ(file.Description(), "kept");
  EXPECT_TRUE(file.Identifier(707).empty());
  EXPECT_TRUE(file.Identifier(504).empty());
  EXPECT_FALSE(file.ReadOnly(101));
  EXPECT_TRUE(file.ReadOnly(1003));
  // Menus 0-19, parameters 0-98, and nothing else.
  std::set<std::int32_t> asked;
  for (const SentRequest& r : SplitRequests(rig.Sim().ReceivedBytes())) asked.insert(r.Parameter);
  EXPECT_EQ(asked.size(), 20U * 99U);
  EXPECT_EQ(asked.count(99), 0U);
  EXPECT_EQ(*asked.rbegin(), 1998);
}

TEST_F(UploadTest, FullUploadReadsOnlyTheAskedParts) {
  ASSERT_TRUE(file.FullUpload(rig.Context(), kvdUploadName | kvdUploadPAD, rig.Progress(), false));
  EXPECT_EQ(file.Name(203), "Ramp Mode");
  EXPECT_EQ(file.PAD(203), "0000000000010000");
  EXPECT_EQ(file.Value(203), "");
  EXPECT_EQ(file.NumDVDs(203), 0);
  EXPECT_EQ(rig.Sim().RequestCount(kReadValue), 0);

  ASSERT_TRUE(file.FullUpload(rig.Context(), kvdUploadValue, rig.Progress(), false));
  EXPECT_EQ(file.Name(203), "");
  EXPECT_EQ(file.PAD(203), "");
  EXPECT_EQ(file.Value(304), "0.850");  // scaled by the PAD the drive sent with the value
  EXPECT_EQ(file.ValueName(203), "Linear");
}

TEST_F(UploadTest, TheUserLevelFilterDropsServiceParameters) {
  ASSERT_TRUE(file.FullUpload(rig.Context(), kvdUploadValue, rig.Progress(), true));
  EXPECT_FALSE(file.Identifier(1801).empty());
  EXPECT_FALSE(file.Identifier(1802).empty());
  EXPECT_TRUE(file.Identifier(1803).empty());
  EXPECT_TRUE(file.Identifier(1139).empty());
  EXPECT_EQ(file.Value(1802), "0.0");
  EXPECT_EQ(file.PAD(1802), "");  // read for the filter, not kept
  const auto values = RequestsPerParameter(rig.Sim(), kReadValue);
  EXPECT_EQ(values.count(1803), 0U);
  EXPECT_EQ(values.count(1139), 0U);
}

TEST_F(UploadTest, UploadFromDriveStartsAfreshFromTheTemplate) {
  file.SetIdentifier(706, "M07P06");
  file.SetDescription("old");
  ASSERT_TRUE(file.UploadFromDrive(rig.Context(), rig.Progress(), true));
  EXPECT_TRUE(file.Identifier(706).empty());
  EXPECT_EQ(file.Description(), "");
  EXPECT_EQ(file.Value(1129), "2.105");
  EXPECT_EQ(file.Value(1802), "0.0");
  EXPECT_TRUE(file.Identifier(1803).empty());
  EXPECT_TRUE(file.Identifier(1139).empty());
  EXPECT_EQ(RequestsPerParameter(rig.Sim(), kReadValue).count(1803), 0U);
  EXPECT_EQ(rig.Sim().RequestCount(kReadValue), static_cast<long>(TemplateParameters()) - 2 + 1);
}

TEST_F(UploadTest, UploadFromDriveFallsBackToAFullUploadWithoutATemplate) {
  rig.Sim().SetValue(1129, 3000);
  ASSERT_TRUE(file.UploadFromDrive(rig.Context(), rig.Progress(), false));
  ASSERT_FALSE(rig.StatusTexts().empty());
  EXPECT_EQ(rig.StatusTexts().front(), "No template available! Performing full upload.");
  EXPECT_EQ(file.Value(1129), "3.000");
  EXPECT_EQ(file.Name(1702), "Language");
  EXPECT_EQ(file.PAD(1139), "0000000001110000");
}

TEST_F(UploadTest, UploadFromDriveFailsAtOnceWhenNoDriveAnswers) {
  rig.Sim().SetFault("stop");
  EXPECT_FALSE(file.UploadFromDrive(rig.Context(), rig.Progress(), false));
  EXPECT_EQ(rig.Sim().RequestCount(), 1);
  EXPECT_TRUE(rig.StatusTexts().empty());
}

TEST_F(UploadTest, WhileAnotherWindowHoldsTheModuleNoUploadSendsOrSucceeds) {
  const auto flashWindow = rig.Server().OpenContext(1, -1);
  ASSERT_TRUE(rig.Server().Reserve(flashWindow.get()));
  EXPECT_FALSE(file.UploadFromDrive(rig.Context(), rig.Progress(), false));
  EXPECT_FALSE(file.FullUpload(rig.Context(), kvdUploadAll, rig.Progress(), false));
  EXPECT_FALSE(TemplateUpload());
  EXPECT_EQ(rig.Sim().RequestCount(), 0);
}

// A context still in the legacy codes facing a current drive: every read is refused with exception 1.
TEST_F(UploadTest, ADriveThatRefusesEveryReadCostsOneValueNameReadAParameterAndFailsTheUpload) {
  rig.Context().SetLegacy(true);
  ScriptedUi ui;
  ui.OnPump([&] {
    if (rig.Progress().Progress() >= 10) rig.Progress().SetState(-1);
  });
  EXPECT_FALSE(file.FullUpload(rig.Context(), kvdUploadDVD, rig.Progress(), false));
  EXPECT_EQ(rig.Sim().RequestCount(), 10);  // parameters 0..9

  rig.Progress().SetState(0);
  ui.OnPump([] {});
  EXPECT_FALSE(file.FullUpload(rig.Context(), kvdUploadPAD, rig.Progress(), false));
  EXPECT_FALSE(TemplateUpload());
}

// A drive that answers every PAD read but refuses every value read (and so the software version): its
// set would hold PADs and no value, and saved it would replace a good file.
TEST(RefusedValuesUploadTest, AnUploadThatReadNoValueFails) {
  const TempFolder folder;
  std::string table = DefaultParameterTableText();
  const ParameterTable drive = DefaultParameterTable();
  for (const auto& entry : drive.Parameters()) {
    char line[32];
    std::snprintf(line, sizeof line, "%02d.%02d | exception 4\n", entry.first / 100, entry.first % 100);
    table += line;
  }
  const std::string path = folder.File("refusing.txt");
  WriteTestFile(path, table);
  TransferRig rig({"--table", path});
  KVBFile file;
  EXPECT_FALSE(file.UploadFromDrive(rig.Context(), rig.Progress(), false));
  EXPECT_EQ(file.PAD(1129), LongToBinaryString(0x8203, false));
  EXPECT_EQ(file.Value(1129), "");
  EXPECT_GT(rig.Sim().RequestCount(kReadValue), 100);

  file.BuildFromTemplate(2.105);
  float version = 2.105F;
  EXPECT_FALSE(file.UploadTemplateWithRetries(rig.Context(), rig.Progress(), version));
  // An upload that asks for no values (the quick setup wizard's names and PADs) has still read something.
  EXPECT_TRUE(file.FullUpload(rig.Context(), kvdUploadName + kvdUploadPAD, rig.Progress(), false));
}

}  // namespace
}  // namespace quendrel
