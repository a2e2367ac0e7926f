// The context's policy: how often it sends, when it switches to legacy codes, what failsoft changes.
#include <gtest/gtest.h>

#include "comms/server/GIOContext.h"
#include "comms/server/GIOError.h"
#include "comms/server/GIOServer.h"
#include "comms/support/FakeModule.h"
#include "foundation/settings/Config.h"
#include "platform/FakeClock.h"

namespace quendrel {
namespace {

// A ReadValue reply for M00P00: value 7, no decimals, no name.
std::string ValueReply(bool legacy = false) { return Pdu(legacy ? 0x03 : 0x43, {7, 0, 0, 0, 7, 0, 0, 0}); }

class GIOContextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetConfig();
    module_ =
        static_cast<FakeModule*>(&server_.RegisterModule(std::make_unique<FakeModule>("Fake", &clock_)));
    server_.SelectModule("Fake");
    context_ = server_.OpenContext(1, -1);
  }

  void SetRetries(int retries) { Config().SetValue("Retries", "General", std::to_string(retries)); }

  // Queues answers: "ok", "ok-legacy", "47", "46", "x1" (exception 1) ...
  void Answer(std::initializer_list<std::string> answers) {
    for (const std::string& answer : answers) {
      if (answer == "ok") {
        module_->AnswerPdu(ValueReply());
      } else if (answer == "ok-legacy") {
        module_->AnswerPdu(ValueReply(true));
      } else if (answer[0] == 'x') {
        module_->AnswerException(std::stoi(answer.substr(1)));
      } else {
        module_->AnswerError(std::stoi(answer));
      }
    }
  }

  FakeClock clock_;
  GIOServer server_{clock_};
  FakeModule* module_ = nullptr;
  std::shared_ptr<GIOContext> context_;
};

struct RetryCase {
  const char* name;
  int retries;
  std::initializer_list<std::string> answers;
  std::size_t expectedSends;
  int expectedError;  // 0: success
  bool switchesToLegacy;
};

TEST_F(GIOContextTest, ResendsOnlyInvalidPacketsAndSwitchesToLegacyOnceOnInvalidFunction) {
  const RetryCase cases[] = {
      {"retries 0 still sends once", 0, {"47", "ok"}, 1, gioInvalidPacket, false},
      {"retries 1 sends once", 1, {"47", "ok"}, 1, gioInvalidPacket, false},
      {"retries 3 recovers on the third", 3, {"47", "47", "ok"}, 3, 0, false},
      {"retries 3 gives up after three", 3, {"47", "47", "47", "ok"}, 3, gioInvalidPacket, false},
      {"a timeout is not resent by the context", 3, {"46", "ok"}, 1, gioTimeout, false},
      {"a lost port is not resent", 3, {"11", "ok"}, 1, gioSlaveNotResponding, false},
      {"a drive exception is final", 3, {"x2", "ok"}, 1, gioInvalidDataAddress, false},
      // The switch to legacy codes always resends once, whatever the retry count.
      {"legacy, retries 0", 0, {"x1", "ok-legacy"}, 2, 0, true},
      {"legacy, retries 1", 1, {"x1", "ok-legacy"}, 2, 0, true},
      {"the switch counts as an attempt", 2, {"x1", "47", "ok-legacy"}, 2, gioInvalidPacket, true},
      {"attempts left after the switch", 3, {"x1", "47", "ok-legacy"}, 3, 0, true},
      {"a drive that refuses both code sets", 3, {"x1", "x1"}, 2, gioInvalidFunction, true},
  };
  for (const RetryCase& c : cases) {
    SCOPED_TRACE(c.name);
    module_->sent.clear();
    module_->answers.clear();
    context_->SetLegacy(false);
    SetRetries(c.retries);
    Answer(c.answers);
    const udtDriveResponse response = context_->ReadValue(0, 0);
    ASSERT_EQ(module_->sent.size(), c.expectedSends);
    EXPECT_FALSE(module_->sent[0].request.legacy);
    EXPECT_EQ(module_->sent.back().request.legacy, c.switchesToLegacy);
    EXPECT_EQ(context_->Legacy(), c.switchesToLegacy);
    EXPECT_EQ(response.Error, c.expectedError != 0);
    if (c.expectedError != 0) {
      EXPECT_EQ(response.intData, c.expectedError);
    }
  }
}

TEST_F(GIOContextTest, EveryParameterServiceFallsBackToLegacyCodes) {
  SetRetries(0);
  const auto services = {
      +[](GIOContext& c) { return c.ReadPAD(1, 2); },
      +[](GIOContext& c) { return c.ReadName(1, 2); },
      +[](GIOContext& c) { return c.ReadDVD(1, 2, 3); },
      +[](GIOContext& c) { return c.WriteDVD(1, 2, 3, "Text"); },
      +[](GIOContext& c) { return c.WriteValue(1, 2, 3); },
  };
  for (const auto& service : services) {
    module_->sent.clear();
    context_->SetLegacy(false);
    Answer({"x1", "46"});
    service(*context_);
    ASSERT_EQ(module_->sent.size(), 2U);
    EXPECT_FALSE(module_->sent[0].request.legacy);
    EXPECT_TRUE(module_->sent[1].request.legacy);
  }
}

TEST_F(GIOContextTest, LegacyContextSendsLegacyCodesAndDoesNotSwitchBack) {
  SetRetries(3);
  context_->SetLegacy(true);
  Answer({"x1"});
  const udtDriveResponse response = context_->ReadValue(0, 0);
  ASSERT_EQ(module_->sent.size(), 1U);
  EXPECT_TRUE(module_->sent[0].request.legacy);
  EXPECT_EQ(response.intData, gioInvalidFunction);
  EXPECT_TRUE(context_->Legacy());
}

TEST_F(GIOContextTest, FailsoftSendsExactlyOnceAndAsksTheModuleNotToResend) {
  SetRetries(5);
  context_->SetFailsoft(true);
  context_->SetTimeout(4.0F);
  Answer({"47", "ok"});
  EXPECT_EQ(context_->WriteValue(1, 2, 3).intData, gioInvalidPacket);
  ASSERT_EQ(module_->sent.size(), 1U);
  EXPECT_TRUE(module_->sent[0].singleSend);
  // The context's own timeout stays: erase commands need their full wait.
  EXPECT_DOUBLE_EQ(module_->sent[0].timeout, 4.0);

  module_->sent.clear();
  module_->answers.clear();
  Answer({"x1", "ok-legacy"});
  const udtDriveResponse response = context_->ReadValue(0, 0);
  EXPECT_EQ(module_->sent.size(), 1U);
  EXPECT_TRUE(response.Error);
  EXPECT_EQ(response.intData, gioInvalidFunction);
  EXPECT_TRUE(context_->Legacy());
}

TEST_F(GIOContextTest, PingCountsAnyAnswerButAGatewaysAsTheDrive) {
  struct PingCase {
    const char* answer;
    bool error;
  };
  const PingCase cases[] = {
      {"ok", false}, {"x2", false}, {"x1", false}, {"x6", false}, {"x10", true},
      {"x11", true}, {"46", true},  {"47", true},  {"11", true},
  };
  SetRetries(3);
  for (const PingCase& c : cases) {
    SCOPED_TRACE(c.answer);
    module_->sent.clear();
    Answer({c.answer});
    const udtDriveResponse response = context_->Ping();
    EXPECT_EQ(response.Error, c.error);
    EXPECT_EQ(module_->sent.size(), 1U);
    if (!c.error) {
      EXPECT_EQ(response.driveID, 1);
    }
  }
  EXPECT_FALSE(context_->Legacy());
}

TEST_F(GIOContextTest, PingUsesTheCurrentCodeSet) {
  context_->SetLegacy(true);
  Answer({"ok-legacy"});
  EXPECT_FALSE(context_->Ping().Error);
  ASSERT_EQ(module_->sent.size(), 1U);
  EXPECT_TRUE(module_->sent[0].request.legacy);
  EXPECT_EQ(module_->sent[0].request.menu, 0);
  EXPECT_EQ(module_->sent[0].request.pram, 0);
}

TEST_F(GIOContextTest, CheckLegacyAsksInCurrentCodesAndSetsTheFlagFromTheAnswer) {
  struct LegacyCase {
    const char* answer;
    bool before;
    bool after;
  };
  const LegacyCase cases[] = {
      {"ok", true, false}, {"x1", false, true}, {"46", true, true}, {"46", false, false}, {"x2", true, true},
  };
  for (const LegacyCase& c : cases) {
    SCOPED_TRACE(c.answer);
    module_->sent.clear();
    context_->SetLegacy(c.before);
    Answer({c.answer});
    context_->CheckLegacy();
    EXPECT_EQ(context_->Legacy(), c.after);
    ASSERT_EQ(module_->sent.size(), 1U);
    EXPECT_FALSE(module_->sent[0].request.legacy);
  }
}

TEST_F(GIOContextTest, RawQuerySendsItsFunctionAsGivenWithoutPolicy) {
  SetRetries(3);
  Answer({"x1", "ok"});
  const udtDriveResponse response = context_->RawQuery(1, "");
  EXPECT_EQ(response.intData, gioInvalidFunction);
  ASSERT_EQ(module_->sent.size(), 1U);
  EXPECT_EQ(module_->sent[0].request.rawFunction, 1);
  EXPECT_FALSE(context_->Legacy());
}

TEST_F(GIOContextTest, ClosedContextAnswers51AndSendsNothing) {
  context_->CloseContext();
  const udtDriveResponse response = context_->WriteValue(3, 4, 5);
  EXPECT_TRUE(response.Error);
  EXPECT_EQ(response.intData, gioNoModule);
  EXPECT_TRUE(module_->sent.empty());
  // A raw listing still has the frame's function byte.
  ASSERT_GE(response.rawreq.size(), 2U);
  EXPECT_EQ(static_cast<std::uint8_t>(response.rawreq[1]), 0x46);
  EXPECT_TRUE(context_->Ping().Error);
}

TEST_F(GIOContextTest, NoModuleSelectedAnswers51) {
  server_.SelectModule("None");
  const udtDriveResponse response = context_->ReadValue(1, 2);
  EXPECT_TRUE(response.Error);
  EXPECT_EQ(response.intData, gioNoModule);
  EXPECT_EQ(GIOErrorText(response.intData), "No communication module selected");
  EXPECT_EQ(static_cast<std::uint8_t>(response.rawreq[1]), 0x43);
}

TEST_F(GIOContextTest, TimeoutMinusOneIsResolvedAtEachRequest) {
  module_->configuredTimeout = 2.5;
  Answer({"ok", "ok", "ok"});
  context_->ReadValue(0, 0);
  module_->configuredTimeout = 0.75;
  context_->ReadValue(0, 0);
  context_->SetTimeout(0.0F);
  context_->ReadValue(0, 0);
  ASSERT_EQ(module_->sent.size(), 3U);
  EXPECT_DOUBLE_EQ(module_->sent[0].timeout, 2.5);
  EXPECT_DOUBLE_EQ(module_->sent[1].timeout, 0.75);
  EXPECT_DOUBLE_EQ(module_->sent[2].timeout, 0.0);
}

TEST_F(GIOContextTest, CallsGoToTheModuleSelectedAtTheTimeOfTheCall) {
  auto* other = static_cast<FakeModule*>(&server_.RegisterModule(std::make_unique<FakeModule>("Other")));
  Answer({"ok"});
  other->AnswerPdu(ValueReply());
  context_->ReadValue(0, 0);
  server_.SelectModule("Other");
  context_->ReadValue(0, 0);
  EXPECT_EQ(module_->sent.size(), 1U);
  EXPECT_EQ(other->sent.size(), 1U);
}

TEST_F(GIOContextTest, ReservedModuleRefusesOtherContextsWithBusy) {
  auto owner = server_.OpenContext(1, -1);
  ASSERT_TRUE(server_.Reserve(owner.get()));
  EXPECT_FALSE(server_.Reserve(context_.get()));
  const udtDriveResponse refused = context_->ReadValue(0, 0);
  EXPECT_TRUE(refused.Error);
  EXPECT_EQ(refused.intData, gioSlaveDeviceBusy);
  EXPECT_TRUE(module_->sent.empty());
  EXPECT_TRUE(context_->Ping().Error);

  Answer({"ok"});
  EXPECT_FALSE(owner->ReadValue(0, 0).Error);
  EXPECT_EQ(module_->sent.size(), 1U);

  // Letting go of the owner's last reference ends the reservation.
  owner.reset();
  Answer({"ok"});
  EXPECT_FALSE(context_->ReadValue(0, 0).Error);
}

}  // namespace
}  // namespace quendrel
