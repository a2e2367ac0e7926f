// The firmware compatibility file: templates found by version, its defaults, its file format, and the
// simulated drive's file that the build compiles.
#include "params/compatibility/FirmwareCompatibilityFile.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "drivesim/DefaultParameterTable.h"
#include "foundation/text/BitText.h"
#include "params/compatibility/FC2Codec.h"
#include "params/compatibility/FS2Compiler.h"
#include "params/support/ParamImages.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

FirmwareCompatibilityFile Compiled(const std::string& source) {
  FS2Compiler compiler;
  EXPECT_TRUE(compiler.Compile(source)) << (compiler.Errors().empty() ? "" : compiler.Errors().front());
  return compiler.Result();
}

const char* const kTwoVersions =
    "SoftwareVersion 11.29\n"
    "AccessCode 11.30\n"
    "Template 2.105\n"
    "ModelNumber 11.28\n"
    "AccessCode 11.31\n"
    "FirmwareUpload 11.38\n"
    "Binding 00.01 | 12.01 | 12.11 | 12.21\n"
    "Binding 00.02 | 12.02\n"
    "Parameter 01.01 | Max Frequency | 0000000000010010 |\n"
    "Parameter 01.02 | Min Frequency | 0000000000010010 | low;high\n"
    "Parameter 11.23 | Serial Address | 0000000000010000 |\n"
    "Hole 05.04\n"
    "NeverDownload 11.23\n"
    "ModelDependent 01.01\n"
    "Depends 01.02 | 01.01\n"
    "End\n"
    "Template 1.9\n"
    "FirmwareUpload 00.00\n"
    "End\n";

TEST(FirmwareCompatibilityFileTest, AnEmptyFileFallsBackToTheSimulatedDrivesParameters) {
  const FirmwareCompatibilityFile file;
  EXPECT_EQ(file.SoftwareVersion(), 1129);
  EXPECT_EQ(file.DefaultAccessCode(), 1130);
  EXPECT_EQ(file.AccessCode(2.105), 1130);
  EXPECT_EQ(file.FirmwareUpload(2.105), 1139);
  EXPECT_EQ(file.ModelNumber(2.105), -1);
  EXPECT_FALSE(file.HasFIT(2.105));
  EXPECT_EQ(file.FitData(2.105), nullptr);
  EXPECT_TRUE(file.VersionList().empty());
}

TEST(FirmwareCompatibilityFileTest, SystemParametersComeFromTheVersionsTemplate) {
  const FirmwareCompatibilityFile file = Compiled(kTwoVersions);
  EXPECT_EQ(file.ModelNumber(2.105), 1128);
  EXPECT_EQ(file.AccessCode(2.105), 1131);
  EXPECT_EQ(file.FirmwareUpload(2.105), 1138);
  EXPECT_EQ(file.ModelNumber(1.9), -1);
  EXPECT_EQ(file.AccessCode(1.9), 1130) << "no access code in the template: the file's";
  EXPECT_EQ(file.FirmwareUpload(1.9), 1139) << "M00P00 is never the firmware-upload parameter";
  EXPECT_EQ(file.FirmwareUpload(3.0), 1139) << "no template at all";
  EXPECT_EQ(file.VersionList(), (std::vector<std::string>{"1.9", "2.105"}));
}

struct VersionCase {
  double version;
  bool found;
};

TEST(FirmwareCompatibilityFileTest, VersionsMatchWhenEqualToThreeDecimals) {
  const FirmwareCompatibilityFile file = Compiled(kTwoVersions);
  const VersionCase cases[] = {
      {2.105, true},  {static_cast<float>(2.105), true}, {2.1054, true}, {2.1046, true}, {2.1056, false},
      {2.104, false}, {1.900000001, true},  {-2.105, false}, {1e300, false},
      {std::numeric_limits<double>::quiet_NaN(), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(file.HasFIT(c.version), c.found) << c.version;
    EXPECT_EQ(file.FitData(c.version) != nullptr, c.found) << c.version;
  }
}

TEST(FirmwareCompatibilityFileTest, AddingASecondTemplateForAVersionIsRefused) {
  FirmwareCompatibilityFile file = Compiled(kTwoVersions);
  auto again = std::make_shared<FirmwareInformationTemplate>();
  again->SetVersionText("2.1050");
  EXPECT_FALSE(file.AddTemplate(again));
  auto wordy = std::make_shared<FirmwareInformationTemplate>();
  wordy->SetVersionText("version 3");
  EXPECT_FALSE(file.AddTemplate(wordy));
  EXPECT_EQ(file.FitData(2.105)->ModelNumber(), 1128);
}

TEST(FirmwareCompatibilityFileTest, TheFileSurvivesSaveAndLoad) {
  const FirmwareCompatibilityFile original = Compiled(kTwoVersions);
  TempFolder folder;
  const std::string path = folder.File("drives.FC2");
  ASSERT_TRUE(original.Save(path));
  FirmwareCompatibilityFile loaded;
  ASSERT_TRUE(loaded.Load(path)) << loaded.LoadError();
  EXPECT_EQ(loaded, original);
  EXPECT_EQ(loaded.FitData(2.105)->Template(102).Dependencies, std::vector<std::int32_t>{101});
}

TEST(FirmwareCompatibilityFileTest, TheImageFollowsTheDocumentedLayout) {
  const std::string image = FC2Codec::Encode(Compiled(kTwoVersions)).value();
  ASSERT_EQ(image.substr(0, 4), "FC2!");
  EXPECT_EQ(image.substr(4, 6), Be16(1129) + Be16(1130) + Be16(2));
  const Fc2Parts parts = OpenFc2(image);
  ASSERT_EQ(parts.Templates.size(), 2U);
  EXPECT_EQ(parts.Templates[0].first, "1.9");
  EXPECT_EQ(parts.Templates[0].second,
            Be16(0xFFFF) + Be16(0xFFFF) + Be16(0) + Be16(0) + Be16(0)) << "model, access, upload, no rows, no entries";
  EXPECT_EQ(SealFc2(parts), image);
}

// One entry: number, flags, name, PAD, value names, dependencies.
std::string Entry(std::uint32_t number, std::uint32_t flags, std::uint32_t dependency = 0xFFFFFFFF) {
  std::string entry = Be16(number) + static_cast<char>(flags) + Text8("n") + Be16(16) + Be16(1) + Text8("v");
  return entry + (dependency == 0xFFFFFFFF ? Be16(0) : Be16(1) + Be16(dependency));
}

std::string Block(const std::string& rows, std::uint32_t rowCount, const std::string& entries,
                  std::uint32_t entryCount, std::uint32_t upload = 1139) {
  return Be16(1128) + Be16(1130) + Be16(upload) + Be16(rowCount) + rows + Be16(entryCount) + entries;
}

std::string Row(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
  return Be16(static_cast<std::uint16_t>(a)) + Be16(static_cast<std::uint16_t>(b)) +
         Be16(static_cast<std::uint16_t>(c)) + Be16(static_cast<std::uint16_t>(d));
}

std::string Image(const std::string& header, const std::vector<std::pair<std::string, std::string>>& templates) {
  return SealFc2(Fc2Parts{header, templates});
}

std::string GoodImage() {
  return Image(Be16(1129) + Be16(1130) + Be16(1),
               {{"2.105", Block(Row(1, 1201, 1211, -1), 1, Entry(101, 0) + Entry(102, 6, 101), 2)}});
}

struct BrokenCase {
  const char* what;
  std::string image;
};

std::vector<BrokenCase> BrokenImages() {
  const std::string header = Be16(1129) + Be16(1130) + Be16(1);
  const std::string rows = Row(1, 1201, 1211, -1);
  const std::string entries = Entry(101, 0) + Entry(102, 6, 101);
  std::string badCrc = GoodImage();
  badCrc[5] = static_cast<char>(badCrc[5] ^ 0x10);
  std::string extra = GoodImage();
  extra.insert(extra.size() - 2, "x");
  return {
      {"only the magic", "FC2!"},
      {"bad check sum", badCrc},
      {"bytes after the templates", Restamp(extra)},
      {"bytes after a block's entries", Image(header, {{"2.105", Block(rows, 1, entries + "x", 2)}})},
      {"template count beyond the templates", Image(Be16(1129) + Be16(1130) + Be16(2),
                                                    {{"2.105", Block(rows, 1, entries, 2)}})},
      {"entry count beyond the entries", Image(header, {{"2.105", Block(rows, 1, entries, 3)}})},
      {"row count beyond the rows", Image(header, {{"2.105", Block(rows, 2, entries, 2)}})},
      {"software version 2100", Image(Be16(2100) + Be16(1130) + Be16(1), {{"2.105", Block(rows, 1, entries, 2)}})},
      {"access code 65535", Image(Be16(1129) + Be16(0xFFFF) + Be16(0), {})},
      {"entry number 2100", Image(header, {{"2.105", Block(rows, 1, Entry(101, 0) + Entry(2100, 0), 2)}})},
      {"entries out of order", Image(header, {{"2.105", Block(rows, 1, Entry(102, 0) + Entry(101, 0), 2)}})},
      {"a duplicate entry", Image(header, {{"2.105", Block(rows, 1, Entry(101, 0) + Entry(101, 0), 2)}})},
      {"an unknown flag", Image(header, {{"2.105", Block(rows, 1, Entry(101, 0) + Entry(102, 8), 2)}})},
      {"a dependency beyond the slots", Image(header, {{"2.105", Block(rows, 1, Entry(101, 0, 4000), 1)}})},
      {"a binding field below -1", Image(header, {{"2.105", Block(Row(1, -2, -1, -1), 1, entries, 2)}})},
      {"a binding field beyond the slots", Image(header, {{"2.105", Block(Row(1, 2100, -1, -1), 1, entries, 2)}})},
      {"a firmware upload beyond the slots", Image(header, {{"2.105", Block(rows, 1, entries, 2, 3000)}})},
      {"a version that is no number", Image(header, {{"two", Block(rows, 1, entries, 2)}})},
      {"an empty version", Image(header, {{"", Block(rows, 1, entries, 2)}})},
      {"the same version twice", Image(Be16(1129) + Be16(1130) + Be16(2),
                                       {{"2.105", Block(rows, 1, entries, 2)}, {"2.1050", Block(rows, 1, entries, 2)}})},
  };
}

FirmwareCompatibilityFile LoadedGoodFile() {
  FirmwareCompatibilityFile file;
  EXPECT_TRUE(file.LoadImage(GoodImage())) << file.LoadError();
  return file;
}

TEST(FirmwareCompatibilityFileTest, TheDamageCasesAreOtherwiseWellFormed) {
  const FirmwareCompatibilityFile file = LoadedGoodFile();
  const auto fit = file.FitData(2.105);
  ASSERT_NE(fit, nullptr);
  EXPECT_EQ(fit->Template(102).Dependencies, std::vector<std::int32_t>{101});
  EXPECT_TRUE(fit->Template(102).NeverDownload);
  EXPECT_TRUE(fit->Template(102).ModelDependent);
  EXPECT_EQ(fit->Binding(1).pNameBound, 1211);
}

TEST(FirmwareCompatibilityFileTest, ADamagedFileLeavesAnEmptyFileWithDefaults) {
  for (const auto& c : BrokenImages()) {
    SCOPED_TRACE(c.what);
    FirmwareCompatibilityFile file = LoadedGoodFile();
    file.SetSoftwareVersion(1500);
    EXPECT_FALSE(file.LoadImage(c.image));
    EXPECT_EQ(file.LoadError(), "Firmware compatibility file is corrupted.");
    EXPECT_EQ(file, FirmwareCompatibilityFile{});
  }
}

TEST(FirmwareCompatibilityFileTest, AFileCutShortAtAnyLengthIsRefused) {
  const std::string image = FC2Codec::Encode(Compiled(kTwoVersions)).value();
  for (std::size_t length = 0; length < image.size(); ++length) {
    FirmwareCompatibilityFile file;
    ASSERT_FALSE(file.LoadImage(std::string_view(image).substr(0, length))) << length;
  }
}

TEST(FirmwareCompatibilityFileTest, MissingAndForeignFilesAreRefused) {
  FirmwareCompatibilityFile file = LoadedGoodFile();
  EXPECT_FALSE(file.Load("/nonexistent/Quendrel.FC2"));
  EXPECT_EQ(file.LoadError(), "Unable to open /nonexistent/Quendrel.FC2: it does not exist.");
  EXPECT_FALSE(file.HasFIT(2.105));

  file = LoadedGoodFile();
  EXPECT_FALSE(file.LoadImage("KVB1 is not a compatibility file"));
  EXPECT_EQ(file.LoadError(), "Not a firmware compatibility file.");
  EXPECT_EQ(file, FirmwareCompatibilityFile{});
}

TEST(FirmwareCompatibilityFileTest, AFailedSaveKeepsTheOldFile) {
  TempFolder folder;
  const std::string path = folder.File("old.FC2");
  WriteTestFile(path, "old contents");
  FirmwareCompatibilityFile file = Compiled(kTwoVersions);
  file.SetSoftwareVersion(-1);  // no place for it in the layout
  EXPECT_FALSE(file.Save(path));
  EXPECT_EQ(ReadTestFile(path), "old contents");
}

// The simulated drive's compatibility file, compiled by the build, against the simulator's own table.
class DriveSimFc2Test : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(file_.Load(QUENDREL_DRIVESIM_FC2)) << file_.LoadError(); }

  FirmwareCompatibilityFile file_;
};

TEST_F(DriveSimFc2Test, ItHasTheSimulatedDrivesVersionAndSystemParameters) {
  EXPECT_EQ(file_.VersionList(), std::vector<std::string>{"2.105"});
  const float reported = 2105 / 1000.0f;  // the drive reports 2105 with three decimals as a single
  ASSERT_TRUE(file_.HasFIT(reported));
  EXPECT_EQ(file_.ModelNumber(reported), 1128);
  EXPECT_EQ(file_.AccessCode(reported), 1130);
  EXPECT_EQ(file_.FirmwareUpload(reported), 1139);
  const auto fit = file_.FitData(reported);
  EXPECT_TRUE(fit->Template(1123).NeverDownload) << "a download must never re-address the drive";
  EXPECT_TRUE(fit->Template(1139).NeverDownload) << "nor start a firmware upload";
  EXPECT_EQ(fit->Bindings(), 5);
}

TEST_F(DriveSimFc2Test, EveryTemplateParameterIsTheSimulatorsAndNoneIsMissing) {
  const auto fit = file_.FitData(2.105);
  ASSERT_NE(fit, nullptr);
  const ParameterTable table = DefaultParameterTable();
  std::size_t parameters = 0;
  for (const std::int32_t n : fit->EntryNumbers()) {
    const auto& entry = fit->Template(n);
    if (entry.isHole) {
      EXPECT_EQ(table.Find(n), nullptr) << n << " is a hole but the simulator has it";
      continue;
    }
    ++parameters;
    const SimParameter* sim = table.Find(n);
    ASSERT_NE(sim, nullptr) << n << " is in the template but not in the simulator";
    EXPECT_EQ(entry.sName, sim->name) << n;
    EXPECT_EQ(LongToBinaryString(entry.iPad, false), LongToBinaryString(sim->pad, false)) << n;
    EXPECT_EQ(entry.sDVD, sim->valueNames) << n;
  }
  EXPECT_EQ(parameters, table.Size());
}

}  // namespace
}  // namespace quendrel
