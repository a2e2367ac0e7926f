// The module registry: selection and its setting, the response-time average and the byte channel.
#include <gtest/gtest.h>

#include "comms/server/GIOContext.h"
#include "comms/server/GIOError.h"
#include "comms/server/GIOServer.h"
#include "comms/support/FakeModule.h"
#include "foundation/settings/Config.h"
#include "platform/FakeClock.h"

namespace quendrel {
namespace {

class GIOServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetConfig();
    module_ =
        static_cast<FakeModule*>(&server_.RegisterModule(std::make_unique<FakeModule>("Serial", &clock_)));
  }

  FakeClock clock_;
  GIOServer server_{clock_};
  FakeModule* module_ = nullptr;
};

TEST_F(GIOServerTest, SelectModuleStopsTheOldStartsTheNewAndRemembersIt) {
  EXPECT_EQ(server_.SelectedModule(), "None");
  server_.SelectModule("serial");
  EXPECT_EQ(server_.SelectedModule(), "Serial");
  EXPECT_EQ(module_->startups, 1);
  EXPECT_EQ(Config().Value("GIOTarget", "General"), "Serial");

  server_.SelectModule("None");
  EXPECT_EQ(module_->shutdowns, 1);
  EXPECT_EQ(Config().Value("GIOTarget", "General"), "None");

  server_.SelectModule("Carrier pigeon");
  EXPECT_EQ(server_.SelectedModule(), "None");
}

TEST_F(GIOServerTest, StartupStartsEveryModuleAndSelectsTheConfiguredOne) {
  auto* other = static_cast<FakeModule*>(&server_.RegisterModule(std::make_unique<FakeModule>("Ethernet")));
  Config().SetValue("GIOTarget", "General", "Ethernet");
  server_.Startup();
  EXPECT_EQ(server_.SelectedModule(), "Ethernet");
  EXPECT_GE(module_->startups, 1);
  EXPECT_GE(other->startups, 1);
  server_.Shutdown();
  EXPECT_GE(module_->shutdowns, 1);
  EXPECT_GE(other->shutdowns, 1);
}

TEST_F(GIOServerTest, AverageResponseTimeCoversTheLastSixteenAnsweredExchanges) {
  server_.SelectModule("Serial");
  auto context = server_.OpenContext(1, -1);
  EXPECT_DOUBLE_EQ(server_.AverageResponseTime(), 0.0);
  const std::string reply = Pdu(0x43, {7, 0, 0, 0, 7, 0, 0, 0});

  module_->secondsPerExchange = 0.010;
  module_->AnswerPdu(reply);
  context->ReadValue(0, 0);
  module_->secondsPerExchange = 0.030;
  module_->AnswerPdu(reply);
  context->ReadValue(0, 0);
  EXPECT_NEAR(server_.AverageResponseTime(), 0.020, 1e-9);

  // A timeout is no response time of the drive.
  module_->secondsPerExchange = 5.0;
  module_->AnswerError(gioTimeout);
  context->ReadValue(0, 0);
  EXPECT_NEAR(server_.AverageResponseTime(), 0.020, 1e-9);

  module_->secondsPerExchange = 0.002;
  for (int i = 0; i < 16; ++i) {
    module_->AnswerPdu(reply);
    context->ReadValue(0, 0);
  }
  EXPECT_NEAR(server_.AverageResponseTime(), 0.002, 1e-9);
}

TEST_F(GIOServerTest, WriteWordSendsTheLowSixteenBitsInTheChosenOrder) {
  server_.SelectModule("Serial");
  struct WordCase {
    std::int32_t word;
    bool reverse;
    std::string bytes;
  };
  const WordCase cases[] = {
      {0x1234, false, "\x12\x34"},
      {0x1234, true, "\x34\x12"},
      {0x7ABCD, false, std::string("\xAB\xCD")},
      {-1, false, std::string("\xFF\xFF")},
      {0x0100, true, std::string("\x00\x01", 2)},
  };
  for (const WordCase& c : cases) {
    module_->written.clear();
    EXPECT_TRUE(server_.WriteWord(c.word, true, c.reverse));
    EXPECT_EQ(module_->written, c.bytes);
  }
  EXPECT_EQ(module_->echoRequests.back(), true);
}

TEST_F(GIOServerTest, ByteReadsUseTheConfiguredTimeoutOnlyWhenNoneIsGiven) {
  server_.SelectModule("Serial");
  module_->configuredTimeout = 3.0;
  module_->incoming = {0xAA, 0x55};
  std::uint8_t byte = 0;
  EXPECT_EQ(server_.GetByte(byte), 1);
  EXPECT_EQ(byte, 0xAA);
  EXPECT_EQ(server_.WaitForByte(byte), 1);
  EXPECT_EQ(byte, 0x55);
  EXPECT_EQ(server_.WaitForByte(byte, 30.0), 0);
  EXPECT_EQ(module_->takeTimeouts, (std::vector<double>{0.0, 3.0, 30.0}));
}

TEST_F(GIOServerTest, ByteChannelWithoutAModuleTakesAndSendsNothing) {
  std::uint8_t byte = 0x11;
  EXPECT_FALSE(server_.WriteByte(0x0D));
  EXPECT_FALSE(server_.WriteWord(0x0D0D));
  EXPECT_EQ(server_.GetByte(byte), 0);
  EXPECT_EQ(server_.WaitForByte(byte, 0.0), 0);
  EXPECT_EQ(byte, 0x11);
}

}  // namespace
}  // namespace quendrel
