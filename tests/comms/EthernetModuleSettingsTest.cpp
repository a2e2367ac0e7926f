// The Ethernet module's properties and their settings in [Ethernet].
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <netinet/in.h>
#include <unistd.h>

#include "comms/modules/EthernetLogin.h"
#include "comms/modules/EthernetModule.h"
#include "comms/server/CommServer.h"
#include "foundation/files/FileCipher.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"

namespace quendrel {
namespace {

class EthernetModuleSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetConfig(); }
  void TearDown() override { ResetConfig(); }

  EthernetModule module_{SystemClockInstance()};
};

TEST_F(EthernetModuleSettingsTest, DefaultsComeFromTheBuiltInSettings) {
  module_.Startup();
  EXPECT_EQ(module_.Host(), "192.168.1.100");
  EXPECT_EQ(module_.Port(), 502);
  EXPECT_EQ(module_.Protocol(), EthernetModule::kModbusTcp);
  EXPECT_FALSE(module_.Encrypted());
  EXPECT_EQ(module_.CryptKey(), "");
  EXPECT_DOUBLE_EQ(module_.ConfiguredTimeout(), 2.0);
  EXPECT_FALSE(module_.IsConnected());
}

TEST_F(EthernetModuleSettingsTest, SettingsRoundTripAndThePasswordIsNeverStoredInClear) {
  module_.SetHost("drive-7.plant");
  module_.SetPort(5020);
  module_.SetProtocol(EthernetModule::kRtuOverTcp);
  module_.SetEncrypted(true);
  module_.SetCryptKey("Tr1cky;=pass");
  module_.SaveSettings();
  const std::string stored = Config().Value("Password", "Ethernet");
  EXPECT_EQ(stored.find("Tr1cky"), std::string::npos);
  EXPECT_EQ(stored.size(), 24U);
  EXPECT_EQ(stored.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  EXPECT_EQ(Config().Value("Authenticate", "Ethernet"), "True");

  EthernetModule reloaded(SystemClockInstance());
  reloaded.LoadSettings();
  EXPECT_EQ(reloaded.Host(), "drive-7.plant");
  EXPECT_EQ(reloaded.Port(), 5020);
  EXPECT_EQ(reloaded.Protocol(), EthernetModule::kRtuOverTcp);
  EXPECT_TRUE(reloaded.Encrypted());
  EXPECT_EQ(reloaded.CryptKey(), "Tr1cky;=pass");
}

TEST_F(EthernetModuleSettingsTest, StoredPasswordsThatAreNoHexGiveTheEmptyPassword) {
  EXPECT_EQ(EthernetModule::PasswordFromStore(EthernetModule::StoredPassword("\xE9t\xE9")), "\xE9t\xE9");
  EXPECT_EQ(EthernetModule::PasswordFromStore("ABC"), "");
  EXPECT_EQ(EthernetModule::PasswordFromStore("GG"), "");
  EXPECT_EQ(EthernetModule::PasswordFromStore(""), "");
}

TEST_F(EthernetModuleSettingsTest, LoginAnswerMixesChallengePasswordAndKeyStream) {
  const std::string challenge("\x10\x20\x30\x40\x50\x60\x70\x80", 8);
  const std::string keyStream = DecryptString(std::string(8, '\0'));
  // An empty password XORs nothing.
  std::string expected = challenge;
  for (std::size_t i = 0; i < 8; ++i) expected[i] = static_cast<char>(expected[i] ^ keyStream[i]);
  EXPECT_EQ(EthernetLogin::Answer(challenge, ""), expected);
  // A password shorter than the challenge repeats.
  const std::string answer = EthernetLogin::Answer(challenge, "ab");
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(static_cast<char>(answer[i] ^ expected[i]), i % 2 == 0 ? 'a' : 'b') << i;
  }
}

// A listening socket that accepts nothing, so a connection can be made and checked.
class Listener {
 public:
  Listener() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(fd_, 4);
    socklen_t length = sizeof address;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~Listener() { ::close(fd_); }
  int Port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

TEST_F(EthernetModuleSettingsTest, WritingHostPortOrPasswordClosesTheConnection) {
  Listener listener;
  const auto connect = [&] {
    module_.SetHost("127.0.0.1");
    module_.SetPort(listener.Port());
    DriveRequest request;
    request.service = DriveService::ReadValue;
    module_.Exchange(request, 0.0, true);
    return module_.IsConnected();
  };
  ASSERT_TRUE(connect());
  module_.SetHost("127.0.0.1");
  EXPECT_FALSE(module_.IsConnected());
  ASSERT_TRUE(connect());
  module_.SetPort(listener.Port());
  EXPECT_FALSE(module_.IsConnected());
  ASSERT_TRUE(connect());
  module_.SetCryptKey("x");
  EXPECT_FALSE(module_.IsConnected());
}

TEST_F(EthernetModuleSettingsTest, TheProgramRegistryOffersEthernet) {
  EXPECT_EQ(CommServer().Module("ethernet"), &GlobalEthernetModule());
  EXPECT_EQ(GlobalEthernetModule().Name(), "Ethernet");
}

}  // namespace
}  // namespace quendrel
