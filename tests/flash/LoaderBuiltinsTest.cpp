// The loader built-ins of a script against a loader played in memory and a clock that never
// waits: synchronisation, the bytes of a program or data transfer and what each failure reports.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "comms/support/FakeModule.h"
#include "flash/loader/LoaderBuiltins.h"
#include "flash/scripts/ScriptArchive.h"
#include "flash/support/LoaderModule.h"
#include "flash/support/MemoryArchive.h"
#include "flash/support/ScriptRig.h"
#include "foundation/files/qovStringStream.h"
#include "foundation/progress/ProgressServer.h"
#include "foundation/settings/Config.h"
#include "support/CaseName.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

const std::string kImage = "0000" "0003" "1234" "0000" "1A2B" "0002" "0003" "Download completed";
// Address 0x1234 and count 2 go out low byte first, then each word low byte first.
const std::string kImageBytes("\x34\x12\x02\x00\x2B\x1A\x02\x00\x03\x00", 10);
const std::string kData = "0001" "0002" "0040" "0000" "1A2B" "3C4D";
const std::string kDataBytes("\x40\x00\x01\x00\x2B\x1A\x4D\x3C\x00\x00", 10);

using testing::MemoryArchive;

class Caption final : public ProgressLabelSink {
 public:
  void SetVisible(bool) override {}
  void Refresh() override {}
  void SetCaption(const std::string& caption) override {
    text = caption;
    history.push_back(caption);
  }
  std::string text;
  std::vector<std::string> history;
};

// A progress service whose status and detail lines can be read back.
struct WatchedProgress {
  WatchedProgress() { server.SetupPrimary(nullptr, nullptr, nullptr, status, nullptr, detail, nullptr, 0, 100, 0); }
  std::string Status() const { return status->text; }
  std::string Detail() const { return detail->text; }
  ProgressServer server;
  std::shared_ptr<Caption> status = std::make_shared<Caption>();
  std::shared_ptr<Caption> detail = std::make_shared<Caption>();
};

class LoaderBuiltinsTest : public ::testing::Test {
 protected:
  LoaderBuiltinsTest() {
    module_ = static_cast<LoaderModule*>(&server_.RegisterModule(std::make_unique<LoaderModule>()));
    server_.SelectModule("Loader");
    rig_.UseComms(server_, nullptr, nullptr, Config());
    folder_.Write("image.hex", kImage);
    folder_.Write("data.txt", kData);
  }

  // Runs the script; the codes of the steps that did not succeed.
  std::vector<dfResponseCodes> Run(const std::string& script,
                                   std::shared_ptr<const ScriptArchive> archive = nullptr) {
    EXPECT_TRUE(rig_.Load(script));
    rig_.Script().SetWorkingFolder(folder_.Path().string());
    rig_.Script().SetArchive(std::move(archive));
    rig_.Script().SetProgress(&progress_.server);
    auto codes = rig_.Run();
    EXPECT_EQ(codes.back(), dfResponseEOF);
    codes.pop_back();
    std::erase(codes, dfResponseOK);
    return codes;
  }

  ScriptRig rig_;
  GIOServer server_{rig_.clock};
  LoaderModule* module_ = nullptr;
  TempFolder folder_;
  WatchedProgress progress_;
};

using Codes = std::vector<dfResponseCodes>;

struct SyncCase {
  std::string name;
  int swallowed;
  std::optional<std::uint8_t> answer;
  std::string result;
  Codes codes;
  int carriageReturns;
};

class Synchronisation : public LoaderBuiltinsTest, public ::testing::WithParamInterface<SyncCase> {};

TEST_P(Synchronisation, CarriageReturnsEvery42MsUntilAnAnswerOrThirtySeconds) {
  module_->carriageReturnsSwallowed = GetParam().swallowed;
  module_->syncAnswer = GetParam().answer;
  EXPECT_EQ(Run("r = initializebaudrate();"), GetParam().codes);
  EXPECT_EQ(rig_.Var("r"), GetParam().result);
  EXPECT_EQ(module_->carriageReturns, GetParam().carriageReturns);
  EXPECT_EQ(module_->written, std::string(static_cast<std::size_t>(GetParam().carriageReturns), '\r'));
  const auto& sleeps = rig_.clock.Sleeps();
  EXPECT_TRUE(std::all_of(sleeps.begin(), sleeps.end(), [](double s) { return s == 0.042; }));
  EXPECT_EQ(sleeps.size(), static_cast<std::size_t>(GetParam().carriageReturns));
}

INSTANTIATE_TEST_SUITE_P(
    Loader, Synchronisation,
    ::testing::Values(SyncCase{"AtOnce", 0, 0xAA, "1", {}, 1},
                    SyncCase{"AfterFiveSwallowed", 5, 0xAA, "1", {}, 6},
                    SyncCase{"WrongByte", 2, 0x55, "0", {dfResponseGeneralError}, 3},
                    // 30 s / 42 ms: the 715th return is the first sent after the limit passed.
                    SyncCase{"Silence", 0, std::nullopt, "0", {dfResponseTimeout}, 715}),
    NameByField<&SyncCase::name>());

TEST_F(LoaderBuiltinsTest, SynchronisedStatus) {
  Run("initializebaudrate();");
  EXPECT_EQ(progress_.Status(), "Synchronized.");
}

struct ProgramCase {
  std::string name;
  std::string script;
  long failEchoAt;
  bool acknowledge;
  Codes codes;
  std::string written;
  std::size_t waits;
};

class ProgramTransfer : public LoaderBuiltinsTest, public ::testing::WithParamInterface<ProgramCase> {};

TEST_P(ProgramTransfer, SendsEchoedBytesThenWaitsForTheAcknowledgement) {
  folder_.Write("bad.hex", "0000" "0003" "1234" "0000" "1A2B" "0002" "00");
  module_->failEchoAt = GetParam().failEchoAt;
  module_->acknowledge = GetParam().acknowledge;
  EXPECT_EQ(Run("r = " + GetParam().script + ";"), GetParam().codes);
  EXPECT_EQ(rig_.Var("r"), "0");
  EXPECT_EQ(module_->written, GetParam().written);
  EXPECT_EQ(module_->echoTested, module_->written);
  EXPECT_EQ(module_->waits, std::vector<double>(GetParam().waits, 30.0));
  EXPECT_FALSE(progress_.server.Swapped());
  EXPECT_EQ(progress_.Status(), "Done Writing.");
}

INSTANTIATE_TEST_SUITE_P(
    Loader, ProgramTransfer,
    ::testing::Values(
        ProgramCase{"Sent", "initializewriteprogram(\"image.hex\")", -1, true, {}, kImageBytes, 1},
        ProgramCase{"NoAcknowledgement", "initializewriteprogram(\"image.hex\")", -1, false, {dfResponseTimeout},
                    kImageBytes, 1},
        ProgramCase{"NoWait", "initializewriteprogram(\"image.hex\", 1)", -1, false, {}, kImageBytes, 0},
        // The word whose first echo failed still goes whole; nothing goes after it.
        ProgramCase{"HeaderEchoFails", "initializewriteprogram(\"image.hex\")", 2, true, {dfResponseGeneralError},
                    kImageBytes.substr(0, 4), 0},
        ProgramCase{"DataEchoFails", "initializewriteprogram(\"image.hex\")", 7, true, {dfResponseGeneralError},
                    kImageBytes.substr(0, 8), 0},
        ProgramCase{"CorruptImageSendsNothing", "initializewriteprogram(\"bad.hex\")", -1, true,
                    {dfResponseGeneralError}, "", 0},
        ProgramCase{"Missing", "initializewriteprogram(\"none.hex\")", -1, true, {dfResponseFileNotFound}, "", 0}),
    NameByField<&ProgramCase::name>());

struct DataCase {
  std::string name;
  std::string file;
  long failEchoAt;
  bool acknowledge;
  std::string result;
  Codes codes;
  std::string written;
};

class DataTransfer : public LoaderBuiltinsTest, public ::testing::WithParamInterface<DataCase> {};

TEST_P(DataTransfer, ReportsTheSend) {
  folder_.Write("bad.txt", "0001" "0002" "0040" "0000" "1A2B" "3C4");
  module_->failEchoAt = GetParam().failEchoAt;
  module_->acknowledge = GetParam().acknowledge;
  EXPECT_EQ(Run("r = initializewritedata(\"" + GetParam().file + "\");"), GetParam().codes);
  EXPECT_EQ(rig_.Var("r"), GetParam().result);
  EXPECT_EQ(module_->written, GetParam().written);
  EXPECT_FALSE(progress_.server.Swapped());
}

INSTANTIATE_TEST_SUITE_P(
    Loader, DataTransfer,
    ::testing::Values(
        DataCase{"Sent", "data.txt", -1, true, "1", {}, kDataBytes},
        DataCase{"NoAcknowledgement", "data.txt", -1, false, "0", {dfResponseGeneralError}, kDataBytes.substr(0, 8)},
        DataCase{"DataEchoFails", "data.txt", 5, true, "0", {dfResponseGeneralError}, kDataBytes.substr(0, 6)},
        DataCase{"CorruptFileSendsNothing", "bad.txt", -1, true, "0", {dfResponseGeneralError}, ""},
        DataCase{"Missing", "none.txt", -1, true, "0", {dfResponseFileNotFound}, ""}),
    NameByField<&DataCase::name>());

TEST_F(LoaderBuiltinsTest, PackageMemberFirstThenDisk) {
  const auto archive = std::make_shared<MemoryArchive>(std::map<std::string, std::string>{
      {"image.hex", "0000" "0001" "0000" "0000" "BEEF"}});
  Run("initializewriteprogram(\"image.hex\"); initializewritedata(\"data.txt\");", archive);
  EXPECT_EQ(module_->written, std::string("\x00\x00\x00\x00\xEF\xBE", 6) + kDataBytes);
}

// forcedriveflash: the context's reply settings come back whatever happened -------------------

struct ForceCase {
  std::string name;
  std::vector<std::string> answers;  // "x1" exception 1, "!46" error 46, "version", "access", "upload", "boot"
  std::string value;
  dfResponseCodes code;
  std::string detail;
};

// The drive's answers, one per exchange: the loader's text, the version, the echoes of the access
// code and of the upload write, "xN" exception N, "!N" error N.
void QueueAnswers(FakeModule& module, const std::vector<std::string>& answers) {
  for (const std::string& answer : answers) {
    if (answer == "boot") module.AnswerPdu(Pdu(1, {4}, "Boot"));
    if (answer == "version") module.AnswerPdu(Pdu(0x43, {7, 11, 29, 0x08, 0x39, 0x82, 0x03, 0}));
    if (answer == "access") module.AnswerPdu(Pdu(0x46, {11, 30, 0xBC, 0x55}));
    if (answer == "upload") module.AnswerPdu(Pdu(0x46, {11, 39, 0, 1}));
    if (answer[0] == 'x') module.AnswerException(std::stoi(answer.substr(1)));
    if (answer[0] == '!') module.AnswerError(std::stoi(answer.substr(1)));
  }
}

class ForceDriveFlash : public ::testing::TestWithParam<ForceCase> {};

TEST_P(ForceDriveFlash, RestoresTimeoutAndFailsoftOnEveryPath) {
  ScriptRig rig;
  GIOServer server{rig.clock};
  auto& module = static_cast<FakeModule&>(server.RegisterModule(std::make_unique<FakeModule>("Fake", &rig.clock)));
  server.SelectModule("Fake");
  rig.UseComms(server, nullptr, nullptr, Config());
  for (const bool failsoft : {false, true}) {
    QueueAnswers(module, GetParam().answers);
    const std::size_t sentBefore = module.sent.size();
    ASSERT_TRUE(rig.Load("x = 1;"));
    WatchedProgress progress;
    rig.Script().SetProgress(&progress.server);
    const auto context = server.OpenContext(1, 2.5F);
    context->SetFailsoft(failsoft);
    rig.Script().SetContext(context);
    dfResponseCodes code = dfResponseOK;
    EXPECT_EQ(LoaderBuiltins::ForceDriveFlash(rig.Script(), &progress.server, code).AsText(), GetParam().value);
    EXPECT_EQ(code, GetParam().code);
    const auto& details = progress.detail->history;
    const bool reported = std::find(details.begin(), details.end(), "Beginning Firmware Upload") == details.end() &&
                          (GetParam().detail.empty() ||
                           std::find(details.begin(), details.end(), GetParam().detail) != details.end());
    EXPECT_TRUE(reported) << ::testing::PrintToString(details);
    EXPECT_EQ(progress.status->history.front(), "Beginning Firmware Upload");
    EXPECT_EQ(context->Timeout(), 2.5F);
    EXPECT_EQ(context->Failsoft(), failsoft);
    EXPECT_EQ(module.sent.size() - sentBefore, GetParam().answers.size()) << "one exchange an answer, no more";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ForceDriveFlash,
    ::testing::Values(
        ForceCase{"AlreadyInTheLoader", {"boot"}, "True", dfResponseSkipLine, ""},
        ForceCase{"RestartsWithoutAnswer", {"x1", "version", "access", "version", "!46"}, "True", dfResponseOK,
                  "Success"},
        ForceCase{"WriteAnswered", {"x1", "version", "access", "version", "upload"}, "True", dfResponseOK, "Success"},
        ForceCase{"WriteFails", {"x1", "version", "access", "version", "!11"}, "False", dfResponseGeneralError,
                  "Error 11"},
        ForceCase{"VersionReadFails", {"x1", "version", "access", "!11"}, "False", dfResponseGeneralError, ""},
        ForceCase{"NoDrive", {"!46", "!46", "!46"}, "False", dfResponseGeneralError, ""}),
    NameByField<&ForceCase::name>());

}  // namespace
}  // namespace quendrel
