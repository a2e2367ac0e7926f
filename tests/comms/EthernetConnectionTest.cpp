// What becomes of the TCP connection: a timeout ends it, the byte channel never opens one, and a
// host name is looked up within the exchange's timeout.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>

#include "comms/server/GIOError.h"
#include "comms/support/EthernetRig.h"

namespace quendrel {
namespace {

class EthernetConnectionTest : public ::testing::TestWithParam<int> {
 protected:
  EthernetRig rig_{EthernetRig::OnProtocol(GetParam())};
  GIOContext& drive_ = rig_.Context();
};

TEST_P(EthernetConnectionTest, ATimeoutClosesTheConnectionAndTheNextExchangeFindsTheDrive) {
  ASSERT_FALSE(drive_.ReadValue(11, 29).Error);
  rig_.Sim().SetFault("stop");
  EXPECT_EQ(drive_.ReadValue(11, 29).intData, gioTimeout);
  EXPECT_FALSE(rig_.Module().IsConnected());
  rig_.Sim().ClearFaults();
  const udtDriveResponse first = drive_.ReadValue(11, 28);
  ASSERT_FALSE(first.Error) << first.intData;
  EXPECT_EQ(first.strData, "QD-4007");
  // A send that waits for nothing has not timed out.
  EXPECT_FALSE(rig_.OpenContext(0.0F)->WriteValue(1, 3, 120).Error);
  EXPECT_TRUE(rig_.Module().IsConnected());
}

INSTANTIATE_TEST_SUITE_P(Protocols, EthernetConnectionTest,
                         ::testing::Values(EthernetModule::kModbusTcp, EthernetModule::kRtuOverTcp),
                         [](const auto& info) { return info.param == 0 ? "ModbusTcp" : "RtuOverTcp"; });

TEST(EthernetByteChannelTest, TakingAByteWithoutAConnectionOpensNone) {
  EthernetRig rig(EthernetRig::OnProtocol(EthernetModule::kRtuOverTcp));
  std::uint8_t byte = 0;
  EXPECT_FALSE(rig.Module().TakeByte(byte, 1.0));
  // The drive accepts every connection, so an attempt would have left one open.
  EXPECT_FALSE(rig.Module().IsConnected());
  ASSERT_TRUE(rig.Module().WriteByte(0x55, false));
  EXPECT_TRUE(rig.Module().IsConnected());
}

// A name server that answers only when the test lets it; the lookup thread may outlive the test.
struct HeldNameServer {
  std::shared_ptr<std::promise<void>> release = std::make_shared<std::promise<void>>();
  std::shared_ptr<std::atomic<int>> asked = std::make_shared<std::atomic<int>>(0);

  HostLookup::Resolver Resolver() const {
    return [answer = release->get_future().share(), asked = asked](const std::string& host, int port) {
      ++*asked;
      answer.wait();
      return HostLookup::SystemResolve(host == "drive.test" ? "127.0.0.1" : host, port);
    };
  }
};

TEST(HostLookupTest, ANameServerThatDoesNotAnswerCostsOnlyTheTimeout) {
  EthernetRig rig(EthernetRig::OnProtocol(EthernetModule::kModbusTcp));
  HeldNameServer nameServer;
  rig.Module().SetResolver(nameServer.Resolver());
  rig.Module().SetHost("drive.test");
  const udtDriveResponse held = rig.Context().ReadValue(11, 29);
  EXPECT_EQ(held.intData, gioSlaveNotResponding);
  EXPECT_EQ(held.extraData, gioConnectFailed);
  EXPECT_EQ(*nameServer.asked, 1);
  // The lookup was left behind still waiting; once the name server answers it ends on its own.
  nameServer.release->set_value();
  const udtDriveResponse answered = rig.Context().ReadValue(11, 29);
  ASSERT_FALSE(answered.Error) << answered.intData;
  EXPECT_EQ(answered.intData, 2105);
}

TEST(HostLookupTest, NumericAddressesAreNotLookedUpAndLocalNamesAre) {
  EthernetRig rig(EthernetRig::OnProtocol(EthernetModule::kModbusTcp));
  HeldNameServer nameServer;
  nameServer.release->set_value();
  rig.Module().SetResolver(nameServer.Resolver());
  for (const char* host : {"127.0.0.1", "localhost"}) {
    SCOPED_TRACE(host);
    rig.Module().SetHost(host);
    EXPECT_FALSE(rig.Context().ReadValue(11, 29).Error);
  }
  EXPECT_EQ(*nameServer.asked, 1);
}

}  // namespace
}  // namespace quendrel
