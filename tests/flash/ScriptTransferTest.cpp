// Parameter-file uploads and downloads run by scripts, and drive functions called by name, against
// the simulated drive with its compatibility file.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "comms/functions/FunctionTemplates.h"
#include "drivesim/DefaultParameterTable.h"
#include "flash/scripts/ScriptArchive.h"
#include "flash/support/MemoryArchive.h"
#include "flash/support/ScriptDriveRig.h"
#include "flash/support/ScriptRig.h"
#include "foundation/files/qovStringStream.h"
#include "foundation/progress/ProgressServer.h"
#include "foundation/settings/Config.h"
#include "foundation/support/ProgressFakes.h"
#include "params/files/KVBFile.h"
#include "support/CaseName.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

namespace fs = std::filesystem;

constexpr int kRampMode = 203;      // writable whatever the model
constexpr int kRatedCurrent = 301;  // the power stage's rating: written only to a drive of the file's model
constexpr int kModelNumber = 1128;

using testing::MemoryArchive;

// A progress label that keeps every caption it was given.
class RecordingLabel final : public ProgressLabelSink {
 public:
  void SetVisible(bool) override {}
  void Refresh() override {}
  void SetCaption(const std::string& caption) override { Captions.push_back(caption); }
  std::vector<std::string> Captions;
};

// The first failure a run reported, dfResponseOK when every statement succeeded.
dfResponseCodes Outcome(const std::vector<dfResponseCodes>& codes) {
  for (const dfResponseCodes code : codes) {
    if (code != dfResponseOK && code != dfResponseEOF) return code;
  }
  return dfResponseOK;
}

// A script on the simulated drive, its files in a folder of its own, its progress channel shown on
// recording controls and the window's file-transfer controls played by a hook that records each call.
class TransferBench {
 public:
  explicit TransferBench(std::vector<std::string> simulatorArguments = {}) : drive(std::move(simulatorArguments)) {
    script.UseComms(drive.Server(), nullptr, nullptr, Config());
    progress.SetupPrimary(nullptr, nullptr, nullptr, status, nullptr, detail, nullptr, 0, 100, 0);
    progress.SetupSecondary(bar, nullptr, nullptr, status, nullptr, detail, nullptr, 0, 100, 0);
  }

  // Every code the run reported, EOF included.
  std::vector<dfResponseCodes> Run(const std::string& text) {
    EXPECT_TRUE(script.Load(text));
    FL2File& file = script.Script();
    file.SetWorkingFolder(folder.Path().string());
    file.SetTimeout(ScriptDriveRig::kTimeout);
    file.SetProgress(&progress);
    file.SetSubProgressHook([this](bool visible) { subProgress.push_back(visible); });
    if (archive) file.SetArchive(archive);
    return script.Run();
  }

  // Uploads the drive into the file, then moves the two parameters a download should bring back.
  void UploadAndChangeDrive(const std::string& name) {
    ASSERT_EQ(Outcome(Run("r = uploadfile(\"" + name + "\");")), dfResponseOK);
    ASSERT_EQ(script.Var("r"), "True");
    drive.Sim().SetValue(kRampMode, 2);
    drive.Sim().SetValue(kRatedCurrent, 200);
  }

  bool Shown(const std::string& caption, const RecordingLabel& label) const {
    return std::find(label.Captions.begin(), label.Captions.end(), caption) != label.Captions.end();
  }
  bool DetailShown(const std::string& caption) const { return Shown(caption, *detail); }
  bool StatusShown(const std::string& caption) const { return Shown(caption, *status); }

  // The channel is back on its primary controls and the window's transfer controls are hidden.
  void ExpectProgressRestored() const {
    EXPECT_FALSE(progress.Swapped());
    EXPECT_FALSE(bar->visible);
    if (!subProgress.empty()) {
      EXPECT_FALSE(subProgress.back());
    }
  }

  ScriptDriveRig drive;
  ScriptRig script;
  TempFolder folder;
  ProgressServer progress;
  std::shared_ptr<RecordingLabel> status = std::make_shared<RecordingLabel>();
  std::shared_ptr<RecordingLabel> detail = std::make_shared<RecordingLabel>();
  std::shared_ptr<testing::FakeRangeControl<ProgressBarSink>> bar =
      std::make_shared<testing::FakeRangeControl<ProgressBarSink>>();
  std::shared_ptr<const ScriptArchive> archive;
  std::vector<bool> subProgress;
};

TEST(ScriptTransfer, UploadedFileDownloadsBackToTheDrive) {
  TransferBench bench;
  ASSERT_EQ(Outcome(bench.Run("r = uploadtemplate(\"drive.kvb\", normal, \"Bench drive\");")), dfResponseOK);
  EXPECT_EQ(bench.script.Var("r"), "True");
  EXPECT_EQ(bench.subProgress, (std::vector<bool>{true, false}));
  EXPECT_TRUE(bench.StatusShown("Upload Complete"));
  bench.ExpectProgressRestored();
  KVBFile saved;
  ASSERT_TRUE(saved.LoadKVBFile(bench.folder.File("drive.kvb")));
  EXPECT_EQ(saved.Description(), "Bench drive");
  EXPECT_EQ(saved.Value(kRatedCurrent), "12.4");

  bench.drive.Sim().SetValue(kRampMode, 2);
  bench.drive.Sim().SetValue(kRatedCurrent, 200);
  bench.subProgress.clear();
  ASSERT_EQ(Outcome(bench.Run("d = downloadfile(\"drive.kvb\");")), dfResponseOK);
  EXPECT_EQ(bench.script.Var("d"), "True");
  EXPECT_EQ(bench.drive.Sim().Value(kRampMode), 0);
  EXPECT_EQ(bench.drive.Sim().Value(kRatedCurrent), 124);
  EXPECT_EQ(bench.subProgress, (std::vector<bool>{true, false}));
  EXPECT_TRUE(bench.StatusShown("Download Complete"));
  bench.ExpectProgressRestored();
}

TEST(ScriptTransfer, UploadModesAndRefusals) {
  TransferBench bench;
  WriteTestFile(bench.folder.File("taken.kvb"), "keep me");
  bench.drive.Sim().ResetStats();
  const auto taken = bench.Run("r = uploadfile(\"taken.kvb\");");
  EXPECT_EQ(Outcome(taken), dfResponseFileAlreadyExists);
  EXPECT_EQ(bench.drive.Sim().RequestCount(), 0);
  EXPECT_EQ(ReadTestFile(bench.folder.File("taken.kvb")), "keep me");

  // A folder that does not exist leaves the file in the working folder; a mode outside 0-3 uploads
  // nothing and says which file failed.
  const auto codes = bench.Run(
      "a = uploadfile(\"no such folder/levels.kvb\", userprivileges); b = uploadfile(\"odd.kvb\", 4);"
      " c = uploadfile(\"half.kvb\", 1.5);");
  EXPECT_EQ(codes, (std::vector{dfResponseOK, dfResponseGeneralError, dfResponseGeneralError, dfResponseEOF}));
  EXPECT_EQ(bench.script.Vars("a=True b=False c=False"), "a=True b=False c=False");
  EXPECT_TRUE(bench.DetailShown("Error uploading data for file \"\"odd.kvb\"\"."));
  std::vector<std::string> names = bench.folder.Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"levels.kvb", "taken.kvb"}));
  KVBFile levels;
  ASSERT_TRUE(levels.LoadKVBFile(bench.folder.File("levels.kvb")));
  EXPECT_TRUE(levels.Identifier(1139).empty()) << "a security level 3 parameter was uploaded";
  EXPECT_FALSE(levels.Identifier(kRampMode).empty());
  bench.ExpectProgressRestored();
}

TEST(ScriptTransfer, FailedSaveIsAFailedUpload) {
  TransferBench bench;
  const std::string tooLong(300, 'n');
  const auto codes = bench.Run("r = uploadfile(\"" + tooLong + ".kvb\");");
  EXPECT_EQ(Outcome(codes), dfResponseGeneralError);
  EXPECT_EQ(bench.script.Var("r"), "False");
  EXPECT_TRUE(bench.DetailShown("Error uploading data for file \"\"" + tooLong + ".kvb\"\"."));
  EXPECT_TRUE(bench.folder.Names().empty());
  bench.ExpectProgressRestored();
}

// A call that fails before it reaches the drive still hands the channel back.
TEST(ScriptTransfer, MissingPathLeavesTheProgressAsItWas) {
  TransferBench bench;
  const auto codes = bench.Run("uploadfile(); downloadfile(); x = 1;");
  EXPECT_EQ(codes, (std::vector{dfResponseGeneralError, dfResponseGeneralError, dfResponseEOF}));
  EXPECT_EQ(bench.script.Var("x"), "1");
  EXPECT_TRUE(bench.subProgress.empty());
  bench.ExpectProgressRestored();
}

TEST(ScriptTransfer, DialogChoiceLandsInThePathVariable) {
  TransferBench bench;
  fs::create_directories(bench.folder.File("chosen"));
  const std::string chosen = bench.folder.File("chosen/picked.kvb");
  bench.script.ui.AnswerFileDialog(chosen);
  bench.script.ui.AnswerFileDialog("");
  bench.script.ui.AnswerFileDialog(bench.folder.File("chosen/literal.kvb"));
  const auto codes = bench.Run("p = \"\"; r = uploadfile(p); q = \"\"; s = uploadfile(q); t = uploadfile(\"\");");
  EXPECT_EQ(codes, (std::vector{dfResponseOK, dfResponseOK, dfResponseOK, dfResponseFileNotFound, dfResponseEOF}));
  EXPECT_EQ(bench.script.Vars("r=True s=False t=True"), "r=True s=False t=True");
  EXPECT_EQ(bench.script.Var("p"), chosen);
  EXPECT_FALSE(bench.script.Script().VarExists("\"\""));
  EXPECT_TRUE(fs::exists(chosen));
  EXPECT_TRUE(fs::exists(bench.folder.File("chosen/literal.kvb")));
  EXPECT_EQ(bench.script.Script().WorkingFolder(), fs::path(bench.folder.File("chosen")).lexically_normal().string());
  const UiQuestion& dialog = bench.script.ui.Questions().front();
  EXPECT_TRUE(dialog.Save);
  EXPECT_EQ(dialog.Title, "Save uploaded parameter file as...");
  EXPECT_EQ(dialog.Prompt, "Parameter Files Only (*.KVB)|*.KVB|All Files (*.*)|*.*");
  EXPECT_EQ(dialog.FilterIndex, 1);
  EXPECT_EQ(bench.subProgress, (std::vector<bool>{true, false, true, false}));
  bench.ExpectProgressRestored();
}

struct ModelCase {
  std::string name;
  std::string tableLines;  // added to the simulated drive's table
  int modelValue = 2;      // the model number the drive reports after the upload
  std::string download;
  bool ratingWritten = false;
};

class ModelDependentDownload : public ::testing::TestWithParam<ModelCase> {};

// A parameter tied to the power stage may reach only a drive the download knows to be of the file's
// model; the script's override forces it.
TEST_P(ModelDependentDownload, WritesTheRatingOnlyToAKnownModel) {
  const ModelCase& c = GetParam();
  TempFolder tables;
  std::vector<std::string> arguments;
  if (!c.tableLines.empty()) {
    WriteTestFile(tables.File("table.txt"), DefaultParameterTableText() + c.tableLines);
    arguments = {"--table", tables.File("table.txt")};
  }
  TransferBench bench(arguments);
  bench.UploadAndChangeDrive("drive.kvb");
  bench.drive.Sim().SetValue(kModelNumber, c.modelValue);
  ASSERT_EQ(Outcome(bench.Run(c.download)), dfResponseOK);
  EXPECT_EQ(bench.script.Var("d"), "True");
  EXPECT_EQ(bench.drive.Sim().Value(kRampMode), 0);
  EXPECT_EQ(bench.drive.Sim().Value(kRatedCurrent), c.ratingWritten ? 124 : 200);
}

INSTANTIATE_TEST_SUITE_P(
    ScriptTransfer, ModelDependentDownload,
    ::testing::Values(ModelCase{"SameModel", "", 2, "d = downloadfile(\"drive.kvb\");", true},
                    // Another model of the series: the file names it like the drive does, and it is
                    // still not the model the file was made from.
                    ModelCase{"OtherModelOfTheSeries", "", 3, "d = downloadfile(\"drive.kvb\");", false},
                    ModelCase{"OtherModelOverridden", "", 3, "d = downloadfile(\"drive.kvb\", true);", true},
                    ModelCase{"EmptyModelName", "", 9, "d = downloadfile(\"drive.kvb\");", false},
                    ModelCase{"EmptyModelNameOverridden", "", 9, "d = downloadfile(\"drive.kvb\", true);", true},
                    ModelCase{"FailedModelRead", "11.28 | exception 7\n", 2, "d = downloadfile(\"drive.kvb\");", false},
                    ModelCase{"FailedModelReadOverridden", "11.28 | exception 7\n", 2,
                              "d = downloadfile(\"drive.kvb\", \"1\");", true}),
    NameByField<&ModelCase::name>());

// The file names the models but does not say which one it came from: the rating stays as it is.
TEST(ScriptTransfer, FileWithoutAModelNumberWritesNoRating) {
  TransferBench bench;
  bench.UploadAndChangeDrive("drive.kvb");
  KVBFile file;
  ASSERT_TRUE(file.LoadKVBFile(bench.folder.File("drive.kvb")));
  ASSERT_GT(file.NumDVDs(kModelNumber), 2);
  file.SetValue(kModelNumber, "");
  ASSERT_TRUE(file.SaveKVBFile(bench.folder.File("drive.kvb"), false));
  ASSERT_EQ(Outcome(bench.Run("d = downloadfile(\"drive.kvb\");")), dfResponseOK);
  EXPECT_EQ(bench.drive.Sim().Value(kRampMode), 0);
  EXPECT_EQ(bench.drive.Sim().Value(kRatedCurrent), 200);
}

struct RefusedDownloadCase {
  std::string name;
  std::string file;      // the name the script asks for
  std::string contents;  // on disk; none when empty
  int messageBoxes = 0;  // the loader's own complaints
  dfResponseCodes code = dfResponseGeneralError;
  std::string detail;
};

class RefusedDownload : public ::testing::TestWithParam<RefusedDownloadCase> {};

// A file that cannot be read sends nothing to the drive and fails the statement.
TEST_P(RefusedDownload, SendsNothing) {
  const RefusedDownloadCase& c = GetParam();
  TransferBench bench;
  if (!c.contents.empty()) WriteTestFile(bench.folder.File(c.file), c.contents);
  for (int i = 0; i < c.messageBoxes; ++i) bench.script.ui.AnswerMsgBox(vbOK);
  bench.drive.Sim().ResetStats();
  EXPECT_EQ(Outcome(bench.Run("d = downloadfile(\"" + c.file + "\");")), c.code);
  EXPECT_EQ(bench.script.Var("d"), "False");
  EXPECT_TRUE(bench.DetailShown(c.detail)) << c.detail;
  EXPECT_EQ(bench.drive.Sim().RequestCount(), 0);
  EXPECT_FALSE(bench.StatusShown("Download Complete"));
  bench.ExpectProgressRestored();
}

INSTANTIATE_TEST_SUITE_P(
    ScriptTransfer, RefusedDownload,
    ::testing::Values(
        RefusedDownloadCase{"Missing", "gone.kvb", "", 0, dfResponseFileNotFound, "Couldn't Find File \"gone.kvb\""},
        RefusedDownloadCase{"Corrupt", "bad.kvb", "not a parameter file", 1, dfResponseGeneralError,
                            "Couldn't load file \"bad.kvb\""},
        RefusedDownloadCase{"AsciiFile", "text.KvD", "M02P03=1", 0, dfResponseGeneralError,
                            "Couldn't load file \"text.KvD\""}),
    NameByField<&RefusedDownloadCase::name>());

// The package is asked first, and its member is a binary image whatever its name says.
TEST(ScriptTransfer, DownloadTakesThePackageMemberFirst) {
  TransferBench bench;
  bench.UploadAndChangeDrive("drive.kvb");
  bench.archive = std::make_shared<MemoryArchive>(
      std::map<std::string, std::string>{{"setup.kvd", ReadTestFile(bench.folder.File("drive.kvb"))}});
  WriteTestFile(bench.folder.File("setup.kvd"), "a disk file of that name is never read");
  EXPECT_EQ(Outcome(bench.Run("d = downloadfile(\"setup.kvd\");")), dfResponseOK);
  EXPECT_EQ(bench.script.Var("d"), "True");
  EXPECT_EQ(bench.drive.Sim().Value(kRampMode), 0);
}

class DriveFunctionCall : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadFunctionTemplates()); }
  void TearDown() override { FunctionTemplates().RemoveAll(); }
};

// Runs on the script's own context as well as on one opened for the call.
TEST_F(DriveFunctionCall, RunsTheTemplateOfTheName) {
  TransferBench bench;
  auto codes = bench.Run("r = writevalue(203, 2); v = ReadValue(2000);");
  EXPECT_EQ(codes, (std::vector{dfResponseOK, dfResponseGeneralError, dfResponseEOF}));
  EXPECT_EQ(bench.script.Vars("r=True v=False"), "r=True v=False");
  EXPECT_EQ(bench.drive.Sim().Value(kRampMode), 2);

  ASSERT_TRUE(bench.script.Load("r = WriteValue(203, 1);"));
  bench.script.Script().SetContext(bench.drive.Server().OpenContext(1, ScriptDriveRig::kTimeout));
  bench.script.Script().Reset();
  EXPECT_EQ(bench.script.Script().singleStep(), dfResponseEOF);
  EXPECT_EQ(bench.drive.Sim().Value(kRampMode), 1);
}

TEST_F(DriveFunctionCall, NoConnectionFailsTheCall) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load("r = WriteValue(203, 1);"));
  EXPECT_EQ(rig.Run(), (std::vector{dfResponseGeneralError, dfResponseEOF}));
  EXPECT_EQ(rig.Var("r"), "False");
}

TEST_F(DriveFunctionCall, UnknownNameAsksWhatToDo) {
  const std::pair<int, dfResponseCodes> answers[] = {
      {vbAbort, dfResponseAbort}, {vbRetry, dfResponseRetry}, {vbIgnore, dfResponseIgnore}};
  for (const auto& [button, code] : answers) {
    ScriptRig rig;
    rig.ui.AnswerMsgBox(button);
    ASSERT_TRUE(rig.Load("r = 1; r = VerifyPageVersusBuffer(1, \"x\");"));
    const auto codes = rig.Run();
    EXPECT_EQ(codes, (std::vector{dfResponseOK, code, dfResponseEOF}));
    EXPECT_EQ(rig.Var("r"), "") << "the call has no value";
    ASSERT_EQ(rig.ui.Questions().size(), 1U);
    EXPECT_EQ(rig.ui.Questions()[0].Prompt,
              "ERROR processing the following parameter48\n\nVerifyPageVersusBuffer\n\nSELECT WHAT YOU WISH TO DO ");
    EXPECT_EQ(rig.ui.Questions()[0].Title, "DRIVE FLASH");
    EXPECT_EQ(rig.ui.Questions()[0].Style, vbAbortRetryIgnore);
  }
}

}  // namespace
}  // namespace quendrel
