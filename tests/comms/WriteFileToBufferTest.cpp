// Sending an Intel HEX file to the drive's page buffer, one packet per data record.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "comms/functions/FunctionTemplates.h"
#include "comms/functions/ScriptPackage.h"
#include "comms/support/TemplateRig.h"
#include "foundation/progress/ProgressServer.h"
#include "platform/ScriptedUi.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

class PackageFiles final : public ScriptPackage {
 public:
  std::optional<std::string> FileText(const std::string& path) const override {
    const auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second;
  }
  std::map<std::string, std::string> files;
};

// Three data records at 0x0100, 0x0110 and 0x0120, an extended address record and the end record.
const std::string kHex =
    ":020000040000FA\r\n"
    ":0401000001020304F1\r\n"
    ":03011000AABBCCBB\r\n"
    ":01012000FFDF\r\n"
    ":00000001FF\r\n"
    ":0401300001020304C1\r\n";

class WriteFileToBufferTest : public ::testing::Test {
 protected:
  udtTemplateCallInfo Send(const std::string& path, ProgressServer* progress = nullptr,
                           std::shared_ptr<const ScriptPackage> package = nullptr) {
    udtTemplateCallInfo call;
    call.talParameters.append(Variant(path));
    call.tbFeedback = rig_.FeedbackHolder();
    call.ffile = std::move(package);
    FindFunctionTemplate("WriteFileToBuffer")->RunCommand(call, rig_.Context(), progress);
    return call;
  }

  void AnswerPackets(int count) {
    for (int i = 0; i < count; ++i) rig_.Module().AnswerPdu(std::string("\x27\x00", 2));
  }

  std::vector<std::string> Packets() {
    std::vector<std::string> packets;
    for (const auto& sent : rig_.Module().sent) packets.push_back(sent.request.text);
    return packets;
  }

  ScriptedUi ui_;
  TemplateRig rig_;
  TempFolder folder_;
};

TEST_F(WriteFileToBufferTest, EachDataRecordIsOnePacketUpToTheEndRecord) {
  AnswerPackets(3);
  ProgressServer progress;
  // Scripts pass the path as a string literal, quotes included.
  const udtTemplateCallInfo call = Send("\"" + folder_.Write("boot 1.hex", kHex) + "\"", &progress);
  EXPECT_EQ(call.rcResponse, dfResponseOK);
  EXPECT_EQ(Packets(), (std::vector<std::string>{std::string("\x01\x00\x04\x01\x02\x03\x04", 7),
                                                 std::string("\x01\x10\x03\xAA\xBB\xCC", 6),
                                                 std::string("\x01\x20\x01\xFF", 4)}));
  EXPECT_EQ(rig_.LastFunction(), 39);
  EXPECT_EQ(ui_.Pumps(), 3);
  EXPECT_EQ(progress.Max(), 3);
  EXPECT_EQ(progress.Progress(), 3);
  const auto& shown = rig_.Feedback().shown;
  EXPECT_NE(std::find(shown.begin(), shown.end(), "Sending packet 2 of 3\r\n"), shown.end());
  EXPECT_EQ(rig_.Feedback().Text(), "Request\r\n=======\r\nReply\r\n=====\r\nSuccess\r\n");
}

TEST_F(WriteFileToBufferTest, TheFirstFailedPacketEndsTheTransfer) {
  AnswerPackets(1);
  rig_.Module().AnswerException(4);
  const udtTemplateCallInfo call = Send(folder_.Write("a.hex", kHex));
  EXPECT_EQ(Packets().size(), 2U);
  EXPECT_EQ(call.rcResponse, dfResponseProgramFailed);
  EXPECT_EQ(rig_.Feedback().Text(), "Request\r\n=======\r\nReply\r\n=====\r\nError 4\r\n");
}

TEST_F(WriteFileToBufferTest, AMalformedRecordStopsBeforeAnythingIsSent) {
  const std::pair<std::string, std::string> cases[] = {
      {":0401000001020304F1\n:03011000AABBCX29\n", "line 2: bad hexadecimal digit"},
      {":0401000001020304F2\n", "line 1: bad checksum"},
      {":0401000001020304F1\n:03011000AABB\n", "line 2: truncated record"},
      {":0401000001020304F\n", "line 1: truncated record"},
      {"0401000001020304F1\n", "line 1: a record must start with ':'"},
      {":00000009F7\n", "line 1: unknown record type 9"},
      {":020000040000FA\n:0401000001020304F1\n:020000040001F9\n", "line 3: data above 64 KiB"},
      {":020000021000EC\n:0401000001020304F1\n", "line 1: data above 64 KiB"},
      {":0100000400FB\n", "line 1: an extended address record must hold two bytes"},
      // Cut at a line end, every record left is well-formed.
      {":0401000001020304F1\n:03011000AABBCCBB\n", "no end-of-file record"},
      {"", "no end-of-file record"},
      {":00000001FF\n", "no data before the end-of-file record"},
      {":020000040000FA\n:00010000FF\n:00000001FF\n", "no data before the end-of-file record"},
  };
  for (const auto& [text, reason] : cases) {
    SCOPED_TRACE(reason);
    const std::string path = folder_.Write("bad.hex", text);
    const udtTemplateCallInfo call = Send(path);
    EXPECT_TRUE(rig_.Module().sent.empty());
    EXPECT_EQ(call.rcResponse, dfResponseGeneralError);
    EXPECT_EQ(rig_.Feedback().Text(),
              "Request\r\n=======\r\nInvalid hex file \"" + path + "\", " + reason + "\r\n");
  }
}

TEST_F(WriteFileToBufferTest, AFileNeitherOnDiskNorInThePackageIsNotFound) {
  const udtTemplateCallInfo call = Send("\"missing.hex\"");
  EXPECT_EQ(call.rcResponse, dfResponseFileNotFound);
  EXPECT_TRUE(rig_.Module().sent.empty());
  EXPECT_EQ(rig_.Feedback().Text(), "Request\r\n=======\r\nCouldn't Find File \"missing.hex\"\r\n");
}

// A pipe nobody writes to, a device and a file far beyond any hex file are not read, and nothing waits.
TEST_F(WriteFileToBufferTest, WhatIsNoHexFileOnDiskIsNotFoundWithoutBeingRead) {
  const std::string pipe = folder_.Write("pipe.hex", "");
  std::filesystem::remove(pipe);
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  const std::string huge = folder_.Write("huge.hex", ":00000001FF\n");
  std::filesystem::resize_file(huge, kLargestScriptFile + 1);
  for (const std::string& path : {pipe, std::string("/dev/zero"), huge}) {
    SCOPED_TRACE(path);
    const udtTemplateCallInfo call = Send("\"" + path + "\"");
    EXPECT_EQ(call.rcResponse, dfResponseFileNotFound);
    EXPECT_TRUE(rig_.Module().sent.empty());
    EXPECT_EQ(rig_.Feedback().Text(), "Request\r\n=======\r\nCouldn't Find File \"" + path + "\"\r\n");
  }
}

TEST_F(WriteFileToBufferTest, TheRunningScriptsPackageIsSearchedWhenTheDiskHasNoSuchFile) {
  auto package = std::make_shared<PackageFiles>();
  package->files["boot.hex"] = ":01000000AA55\n:00000001FF\n";
  AnswerPackets(1);
  const udtTemplateCallInfo call = Send("\"boot.hex\"", nullptr, package);
  EXPECT_EQ(call.rcResponse, dfResponseOK);
  EXPECT_EQ(Packets(), std::vector<std::string>{std::string("\x00\x00\x01\xAA", 4)});
}

// A report box whose texts outlive it, so a test can see what reached it before its window closed.
class LoggedFeedback final : public TextFeedback {
 public:
  explicit LoggedFeedback(std::vector<std::string>& log) : log_(log) {}
  void SetText(const std::string& text) override { log_.push_back(text); }

 private:
  std::vector<std::string>& log_;
};

TEST_F(WriteFileToBufferTest, AWindowThatClosesEndsTheTransferWithoutWritingToIt) {
  AnswerPackets(3);
  std::vector<std::string> log;
  auto box = std::make_shared<LoggedFeedback>(log);
  udtTemplateCallInfo call;
  call.talParameters.append(Variant(folder_.Write("a.hex", kHex)));
  call.tbFeedback = box;
  ui_.OnPump([&box] { box.reset(); });
  FindFunctionTemplate("WriteFileToBuffer")->RunCommand(call, rig_.Context(), nullptr);
  EXPECT_EQ(Packets().size(), 1U);
  EXPECT_EQ(call.rcResponse, dfResponseGeneralError);
  EXPECT_EQ(log, (std::vector<std::string>{"", "Sending packet 1 of 3\r\n"}));
}

TEST_F(WriteFileToBufferTest, AStopRequestThroughTheProgressServiceAbortsIt) {
  AnswerPackets(3);
  ProgressServer progress;
  ui_.OnPump([&progress] { progress.SetState(2); });
  const udtTemplateCallInfo call = Send(folder_.Write("a.hex", kHex), &progress);
  EXPECT_EQ(Packets().size(), 1U);
  EXPECT_EQ(call.rcResponse, dfResponseAbort);
  EXPECT_EQ(rig_.Feedback().Text(), "Request\r\n=======\r\nTransfer stopped before packet 2 of 3\r\n");
}

}  // namespace
}  // namespace quendrel
