// Downloads into the simulated drive over a pseudo-terminal: dependency order, every skip rule, the
// series and template checks, error lines, a lost drive, cancel, and a download then upload round trip.
#include "params/transfer/ParameterDownload.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "drivesim/DefaultParameterTable.h"
#include "foundation/text/ParameterId.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/files/KVBFile.h"
#include "params/support/ParamImages.h"
#include "params/support/TransferRig.h"
#include "platform/ScriptedUi.h"

namespace quendrel {
namespace {

constexpr std::uint8_t kWriteValue = 0x46;
const std::set<std::int32_t> kNeverDownload = {1123, 1124, 1130, 1139};
const std::set<std::int32_t> kModelDependent = {4, 301, 302, 801, 901};

struct RawCase {
  const char* Text;
  const char* Pad;
  std::optional<std::int16_t> Raw;
};

TEST(ParameterDownloadRawValueTest, ScalesByThePadDropsThePointAndKeepsTheLowWord) {
  const RawCase cases[] = {
      {"12.34", "0000000000010010", 1234},
      {"-25.0", "0000000000010001", -250},
      {"0.850", "0000000000010011", 850},
      {"1.2345", "10", 123},
      {"1.235", "10", 124},  // half away from zero, as the display rounds
      {"-1.235", "10", -124},
      {"12", "0000000000010010", 1200},
      {"40000", "", -25536},
      {"65535", "0", -1},
      {"-32768", "", -32768},
      {"0.5", "", 1},
      {" 7", "", 7},
      {"7 rpm", "", 7},
      {"&H10", "", 16},
      {"abc", "", std::nullopt},
      {"", "0000000000010010", std::nullopt},
      {"-", "", std::nullopt},
      {"1E10", "", std::nullopt},  // its low word would be an unrelated number
      {"21474836.48", "10", std::nullopt},
      {"21474836.47", "10", -1},
      {"-21474836.48", "10", 0},
      {"1E400", "", std::nullopt},
  };
  for (const RawCase& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(ParameterDownload::RawValue(c.Text, c.Pad), c.Raw);
  }
}

TEST(ParameterDownloadRawValueTest, TheNumericEntryRefusesWhatNoWordStandsFor) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double Value;
    int Decimals;
    std::optional<std::int16_t> Raw;
  } cases[] = {
      {12.5, 2, 1250}, {40000, 0, -25536}, {2.675, 2, 268}, {-0.5, 0, -1}, {0.85, 3, 850},
      {nan, 0, std::nullopt}, {inf, 1, std::nullopt}, {-inf, 0, std::nullopt}, {1e10, 0, std::nullopt},
      {2147483647, 0, -1}, {2147483648.0, 0, std::nullopt}, {-2147483648.0, 0, 0}, {-2147483649.0, 0, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParameterDownload::RawValue(c.Value, c.Decimals), c.Raw) << c.Value;
}

// What a user types for a parameter: the integer after scaling must be one a 16-bit register holds,
// signed or unsigned; inside that range the low word goes out as before.
TEST(ParameterDownloadRawValueTest, ATypedValueBeyondEveryRegisterIsRefused) {
  const struct {
    double Value;
    int Decimals;
    std::optional<std::int16_t> Raw;
  } cases[] = {
      {70000, 0, std::nullopt}, {-32769, 0, std::nullopt}, {65536, 0, std::nullopt}, {700.0, 2, std::nullopt},
      {655.36, 2, std::nullopt}, {-327.69, 2, std::nullopt}, {1e10, 0, std::nullopt},
      {65535, 0, -1},           {40000, 0, static_cast<std::int16_t>(0x9C40)},       {-32768, 0, -32768},
      {655.35, 2, -1},          {-327.68, 2, -32768},       {12.5, 2, 1250},         {65535.4, 0, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParameterDownload::TypedRawValue(c.Value, c.Decimals), c.Raw) << c.Value << " with " << c.Decimals;
  }
}

class DownloadTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(file.UploadFromDrive(rig.Context(), rig.Progress(), false));
    rig.Sim().ResetStats();
    rig.Sim().ReceivedBytes();
  }

  bool Download(bool sameModel = true) {
    return file.DownloadToDrive(rig.Context(), sameModel, rig.Progress(), 0,
                                [this](const std::string& line) { feedback.push_back(line); });
  }

  // The parameters written, in order.
  std::vector<SentRequest> Writes() { return RequestsOf(rig.Sim().ReceivedBytes(), kWriteValue); }
  static bool Wrote(const std::vector<SentRequest>& writes, std::int32_t n) {
    return std::any_of(writes.begin(), writes.end(), [n](const SentRequest& w) { return w.Parameter == n; });
  }

  TransferRig rig;
  KVBFile file;
  std::vector<std::string> feedback;
};

TEST_F(DownloadTest, WritesEveryWritableParameterOnceInDependencyOrder) {
  ASSERT_TRUE(Download());
  EXPECT_TRUE(feedback.empty());
  std::vector<std::int32_t> written;
  for (const SentRequest& w : Writes()) written.push_back(w.Parameter);

  std::set<std::int32_t> expected;
  const ParameterTable table = DefaultParameterTable();
  for (const auto& [n, parameter] : table.Parameters()) {
    if (!parameter.readOnly && n % 100 != 0 && kNeverDownload.count(n) == 0) expected.insert(n);
  }
  EXPECT_EQ(std::set<std::int32_t>(written.begin(), written.end()), expected);
  EXPECT_EQ(written.size(), expected.size());

  std::map<std::int32_t, std::size_t> position;
  for (std::size_t i = 0; i < written.size(); ++i) position[written[i]] = i;
  const auto fit = FirmwareCompatibility().FitData(2.105);
  std::set<std::int32_t> linked;
  for (const std::int32_t n : written) {
    for (const std::int32_t d : fit->Template(n).Dependencies) {
      EXPECT_LT(position.at(d), position.at(n)) << ParameterIdText(d) << " before " << ParameterIdText(n);
      linked.insert(n);
      linked.insert(d);
    }
  }
  // Parameters no dependency touches keep ascending order.
  std::vector<std::int32_t> free;
  std::copy_if(written.begin(), written.end(), std::back_inserter(free), [&](std::int32_t n) { return !linked.count(n); });
  EXPECT_TRUE(std::is_sorted(free.begin(), free.end()));
  EXPECT_LT(position.at(1201), position.at(1));
}

TEST_F(DownloadTest, ADownloadThenUploadReproducesTheFilesValues) {
  // A bound slot and the parameter it shows are one value on the drive, so they change together.
  std::map<std::int32_t, std::string> changed = {
      {1, "55.55"},  {101, "55.55"}, {102, "-1.50"}, {104, "-12.3"}, {304, "0.999"}, {203, "2"},
      {1211, "1"},   {1221, "0.750"}, {1905, "-32768"}, {1906, "32767"}, {2, "99.9"}, {201, "99.9"},
      {401, "1"},    {1702, "2"},   {1302, "3.14"},  {1903, "-0.5"},  {601, "1.250"}};
  for (const auto& [n, value] : changed) file.SetValue(n, value);
  ASSERT_TRUE(Download());

  KVBFile uploaded;
  ASSERT_TRUE(uploaded.UploadFromDrive(rig.Context(), rig.Progress(), false));
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) {
    if (file.Identifier(n).empty()) continue;
    SCOPED_TRACE(ParameterIdText(n));
    EXPECT_EQ(uploaded.Value(n), file.Value(n));
  }
  EXPECT_EQ(uploaded.ValueName(1702), "Fran\xE7" "ais");
  EXPECT_EQ(rig.Sim().Value(104), -123);
  EXPECT_EQ(rig.Sim().Value(201), 999);
}

TEST_F(DownloadTest, SkipsWhatMustNotOrCannotBeWritten) {
  file.SetIdentifier(202, "");           // absent
  file.SetValue(202, "9.9");
  file.SetValue(100, "5");               // a menu header, even one the file calls writable
  file.SetPAD(100, "0000000000010000");
  file.SetPAD(203, "0000000000000000");  // read-only in the file
  file.SetValue(203, "2");
  file.SetPAD(1003, "0000000000010000"); // read-only in the template
  file.SetValue(1003, "600");
  file.SetValue(1123, "5");              // never downloaded: it would re-address the drive
  file.SetValue(1139, "1");
  file.SetValue(301, "20.0");            // model-dependent
  file.SetIdentifier(706, "M07P06");     // not in the template
  file.SetValue(706, "3");
  file.SetPAD(706, "0000000000010000");
  file.SetIdentifier(504, "M05P04");     // a hole
  file.SetValue(504, "3");
  file.SetPAD(504, "0000000000010000");
  file.SetValue(102, "fast");            // no number
  file.SetValue(1905, "1E10");           // beyond any word

  // The values the file meant for M01P02 and M19P05 never reached the drive.
  ASSERT_FALSE(Download(false));
  const auto writes = Writes();
  for (const std::int32_t n : {202, 100, 203, 1003, 1123, 1139, 301, 302, 4, 801, 901, 706, 504, 102, 1905, 1129}) {
    EXPECT_FALSE(Wrote(writes, n)) << ParameterIdText(n);
  }
  EXPECT_TRUE(Wrote(writes, 101));
  EXPECT_EQ(feedback, (std::vector<std::string>{"Skipped M01P02: its value is no number",
                                                "Skipped M19P05: its value is out of range"}));
  EXPECT_EQ(rig.Sim().Value(1123), 1);
  EXPECT_EQ(rig.Sim().Value(301), 124);
  EXPECT_FALSE(rig.Context().ReadValue(0, 0).Error);  // still at its address
}

TEST_F(DownloadTest, ModelDependentParametersGoOnlyToTheSameModel) {
  file.SetValue(4, "20.0");  // the slot showing M03P01
  file.SetValue(301, "20.0");
  ASSERT_TRUE(Download(true));
  const auto writes = Writes();
  for (const std::int32_t n : kModelDependent) EXPECT_TRUE(Wrote(writes, n)) << n;
  EXPECT_EQ(rig.Sim().Value(301), 200);
}

TEST_F(DownloadTest, WithoutAPadOrOfAnotherVersionOfTheSeriesTheDrivesTemplateScales) {
  file.SetPAD(101, "");
  for (const std::int32_t n : {1, 101}) file.SetValue(n, "12.34");  // M00P01 shows M01P01
  ASSERT_TRUE(Download());
  EXPECT_EQ(rig.Sim().Value(101), 1234);

  file.SetValue(1129, "2.9");
  for (const std::int32_t n : {1, 101}) file.SetValue(n, "50.00");
  ASSERT_TRUE(Download());
  EXPECT_EQ(rig.Sim().Value(101), 5000);
}

struct RefusalCase {
  const char* Feedback;
  std::function<void(KVBFile&, DriveSimProcess&)> Arrange;
};

TEST_F(DownloadTest, RefusesWithALineAndWritesNothing) {
  const RefusalCase cases[] = {
      {"File version 1.105 does not match drive version 2.105", [](KVBFile& f, DriveSimProcess&) { f.SetValue(1129, "1.105"); }},
      {"No software version in the file", [](KVBFile& f, DriveSimProcess&) { f.SetIdentifier(1129, ""); }},
      {"No firmware template for drive version 2.5", [](KVBFile&, DriveSimProcess& sim) { sim.SetValue(1129, 2500); }},
      {"Error 46 reading M11P29", [](KVBFile&, DriveSimProcess& sim) { sim.SetFault("stop next 1"); }},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.Feedback);
    KVBFile copy = file;
    c.Arrange(copy, rig.Sim());
    feedback.clear();
    EXPECT_FALSE(copy.DownloadToDrive(rig.Context(), true, rig.Progress(), 0,
                                      [this](const std::string& line) { feedback.push_back(line); }));
    EXPECT_EQ(feedback, std::vector<std::string>{c.Feedback});
    EXPECT_TRUE(Writes().empty());
    rig.Sim().SetValue(1129, 2105);
  }
}

TEST_F(DownloadTest, ARefusedWriteIsReportedAndTheRestStillWritten) {
  auto fit = rig.OwnTemplate();
  udtUploadTemplateData status = fit->Template(1003);
  status.iPad |= 0x10;  // the template thinks M10P03 writable; the drive does not
  fit->SetTemplate(1003, status);
  file.SetPAD(1003, "0000000000010000");
  file.SetValue(1906, "1234");

  EXPECT_FALSE(Download());
  EXPECT_EQ(feedback, std::vector<std::string>{"Error 3 writing M10P03"});
  EXPECT_TRUE(Wrote(Writes(), 1906));
  EXPECT_EQ(rig.Sim().Value(1906), 1234);
}

TEST_F(DownloadTest, ALostDriveStopsTheDownload) {
  rig.SetRetries(2);
  rig.Sim().SetFault("stop after 10");
  EXPECT_FALSE(Download());
  EXPECT_EQ(rig.Sim().RequestCount(), 12);
}

TEST_F(DownloadTest, ALostReplyIsWrittenAgainWithRetries) {
  rig.SetRetries(2);
  rig.Sim().SetFault("drop every 25");
  file.SetValue(1906, "77");
  EXPECT_TRUE(Download());
  EXPECT_EQ(rig.Sim().Value(1906), 77);
}

TEST_F(DownloadTest, CancelEndsTheDownloadBeforeTheNextWrite) {
  ScriptedUi ui;
  ui.OnPump([&] {
    if (rig.Progress().Progress() >= 1000) rig.Progress().SetState(-1);
  });
  file.SetValue(1906, "77");
  EXPECT_FALSE(Download());
  const auto writes = Writes();
  ASSERT_FALSE(writes.empty());
  for (const SentRequest& w : writes) EXPECT_LT(w.Parameter, 1000);
  EXPECT_EQ(rig.Sim().Value(1906), 32767);
  EXPECT_EQ(static_cast<std::size_t>(ui.Pumps()), writes.size() + 1);
}

TEST_F(DownloadTest, AModuleTakenByAnotherWindowEndsTheDownloadAtTheNextWrite) {
  const auto flashWindow = rig.Server().OpenContext(1, -1);
  ScriptedUi ui;
  ui.OnPump([&] {
    if (rig.Progress().Progress() >= 1000) rig.Server().Reserve(flashWindow.get());
  });
  EXPECT_FALSE(Download());
  ASSERT_EQ(feedback.size(), 1U);
  EXPECT_EQ(feedback[0].substr(0, 17), "Error 6 writing M");
  const auto writes = Writes();
  for (const SentRequest& w : writes) EXPECT_LT(w.Parameter, 1000);
  EXPECT_EQ(static_cast<std::size_t>(ui.Pumps()), writes.size() + 1);
}

struct SlotCase {
  const char* Name;
  std::map<std::int32_t, std::string> Values;  // a fragment of them, or put over the drive's upload
  bool Fragment;
  bool SameModel;
  std::map<std::int32_t, int> Raw;  // on the drive afterwards
  std::vector<std::string> Feedback;
};

// A slot sets the parameter its pointer on the drive names: in that parameter's scale, with the value
// the file holds for it, and only where the parameter itself may be written. M00P01 and M00P02 both
// show Accel Time (one decimal; the slots have two of their own).
TEST(ParameterDownloadSlotTest, ASlotIsWrittenAsTheParameterItShows) {
  const SlotCase cases[] = {
      {"a fragment typed through a slot", {{1129, "2.105"}, {1201, "2.01"}, {1, "7.5"}}, true, true, {{201, 75}},
       {}},
      {"a fragment without the slot's pointer", {{1129, "2.105"}, {1, "7.5"}}, true, true, {{201, 75}}, {}},
      {"a stale slot", {{1, "7.5"}, {201, "7.5"}, {2, "3.5"}}, false, true, {{201, 75}}, {}},
      {"a slot showing a parameter never downloaded", {{1201, "11.23"}, {1, "5"}}, false, true, {{1123, 1}}, {}},
      {"a slot showing a rating of another model", {{1201, "3.01"}, {1, "20.0"}}, false, false, {{301, 124}}, {}},
      {"a pointer the download could not write", {{1201, "1E10"}, {1202, "1.02"}, {1, "7.5"}}, false, true,
       {{201, 50}}, {"Skipped M12P01: its value is out of range", "Skipped M00P01: its pointer on the drive names M02P01"}},
  };
  for (const SlotCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TransferRig rig;
    rig.Sim().SetValue(1201, 201);
    KVBFile file = DriveFragment(c.Values);
    if (!c.Fragment) {
      ASSERT_TRUE(file.UploadFromDrive(rig.Context(), rig.Progress(), false));
      for (const auto& [n, value] : c.Values) file.SetValue(n, value);
    }
    std::vector<std::string> feedback;
    const bool written = file.DownloadToDrive(rig.Context(), c.SameModel, rig.Progress(), 0,
                                              [&feedback](const std::string& line) { feedback.push_back(line); });
    EXPECT_EQ(written, c.Feedback.empty());
    EXPECT_EQ(feedback, c.Feedback);
    for (const auto& [n, raw] : c.Raw) EXPECT_EQ(rig.Sim().Value(n), raw) << ParameterIdText(n);
  }
}

}  // namespace
}  // namespace quendrel
