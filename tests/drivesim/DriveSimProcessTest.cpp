// The simulator as a child process: a hand-written frame over its pseudo-terminal, the control
// channel, and the port vanishing and coming back at the same path.

#include "drivesim/DriveSimProcess.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <csignal>
#include <sys/stat.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <string>

#include "support/TempFolder.h"

namespace quendrel {
namespace {

using namespace std::string_literals;

// A bare client on the slave side or a loopback socket: whole writes, reads bounded by a deadline.
class RawPort {
 public:
  explicit RawPort(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    if (fd_ < 0) return;
    termios settings{};
    ::tcgetattr(fd_, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(fd_, TCSANOW, &settings);
  }
  explicit RawPort(int tcpPort) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(tcpPort));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~RawPort() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool IsOpen() const { return fd_ >= 0; }

  void Write(const std::string& bytes) { ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size())); }

  // Reads until count bytes came, the line hung up, or timeoutMs passed.
  std::string Read(std::size_t count, int timeoutMs = 3000) {
    std::string bytes;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (bytes.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      pollfd fd{fd_, POLLIN, 0};
      if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
      char chunk[256];
      const ssize_t got = ::read(fd_, chunk, sizeof chunk);
      if (got <= 0) {
        hungUp_ = true;
        break;
      }
      bytes.append(chunk, static_cast<std::size_t>(got));
    }
    return bytes;
  }
  bool HungUp() const { return hungUp_; }

 private:
  int fd_;
  bool hungUp_ = false;
};

// ReadValue of M11P29 at address 1, CRC worked out by hand (low byte first).
const std::string kReadSoftwareVersion = "\x01\x43\x0B\x1D\x37\x35"s;
// Its reply: count 7, M11P29, value 2105 (0x0839), PAD 0x8203, empty value name, CRC.
const std::string kSoftwareVersionReply = "\x01\x43\x07\x0B\x1D\x08\x39\x82\x03\x00\xB1\xDF"s;

TEST(DriveSimProcessTest, AnswersAHandWrittenFrameOverThePseudoTerminal) {
  DriveSimProcess sim;
  RawPort port(sim.DevicePath());
  ASSERT_TRUE(port.IsOpen());
  port.Write(kReadSoftwareVersion);
  EXPECT_EQ(port.Read(kSoftwareVersionReply.size()), kSoftwareVersionReply);
  EXPECT_EQ(sim.RequestCount(), 1);
  EXPECT_EQ(sim.RequestCount(0x43), 1);
  EXPECT_EQ(sim.RequestCount(0x46), 0);
}

TEST(DriveSimProcessTest, ControlChannelChangesWhatTheDriveReports) {
  DriveSimProcess sim;
  EXPECT_EQ(sim.Value(1129), 2105);
  sim.SetValue(1129, 2106);
  EXPECT_EQ(sim.Command("get M11P29"), "2106");
  EXPECT_EQ(sim.ValueNames(1128), "QD-2004;QD-2007;QD-4007;QD-4015;QD-4022");
  EXPECT_EQ(sim.Command("frobnicate").rfind("error", 0), 0U);
  EXPECT_THROW(sim.SetFault("explode always"), std::runtime_error);
}

TEST(DriveSimProcessTest, FaultDropsExactlyTheNextReplyAndCountsIt) {
  DriveSimProcess sim;
  RawPort port(sim.DevicePath());
  sim.SetFault("drop next 1");
  port.Write(kReadSoftwareVersion);
  EXPECT_EQ(port.Read(1, 300), "");
  port.Write(kReadSoftwareVersion);
  EXPECT_EQ(port.Read(kSoftwareVersionReply.size()), kSoftwareVersionReply);
  EXPECT_EQ(sim.RequestCount(), 2);
}

TEST(DriveSimProcessTest, EchoModeReturnsRawBytesAndRecordsThem) {
  DriveSimProcess sim;
  RawPort port(sim.DevicePath());
  sim.SetMode("echo");
  port.Write("\r\xAA\x00"s);
  EXPECT_EQ(port.Read(3), "\r\xAA\x00"s);
  EXPECT_EQ(sim.ReceivedBytes(), "\r\xAA\x00"s);
  sim.SendBytes("\xAA\x06"s);
  EXPECT_EQ(port.Read(2), "\xAA\x06"s);
}

TEST(DriveSimProcessTest, ClosedPortVanishesAndReopensAtTheSamePath) {
  DriveSimProcess sim;
  {
    RawPort port(sim.DevicePath());
    ASSERT_TRUE(port.IsOpen());
    sim.ClosePort();
    port.Read(1, 2000);
    EXPECT_TRUE(port.HungUp());
  }
  EXPECT_FALSE(RawPort(sim.DevicePath()).IsOpen());
  sim.ReopenPort();
  RawPort port(sim.DevicePath());
  ASSERT_TRUE(port.IsOpen());
  port.Write(kReadSoftwareVersion);
  EXPECT_EQ(port.Read(kSoftwareVersionReply.size()), kSoftwareVersionReply);
}

TEST(DriveSimProcessTest, CloseFaultTakesThePortAwayMidExchange) {
  DriveSimProcess sim;
  RawPort port(sim.DevicePath());
  sim.SetFault("close next 1");
  port.Write(kReadSoftwareVersion);
  EXPECT_EQ(port.Read(1, 2000), "");
  EXPECT_TRUE(port.HungUp());
  EXPECT_EQ(sim.RequestCount(), 1);
}

// A technician's Ctrl+C, or a test harness's SIGTERM, must not leave the --link path pointing at
// whatever pseudo-terminal the next run gets.
TEST(DriveSimProcessTest, EndsAtOnceOnTermOrInterruptAndRemovesItsLink) {
  for (const int signal : {SIGTERM, SIGINT}) {
    DriveSimProcess sim;
    const std::string link = sim.DevicePath();
    ASSERT_EQ(::access(link.c_str(), F_OK), 0);
    EXPECT_TRUE(sim.EndBySignal(signal, 1.0)) << "signal " << signal;
    struct stat info {};
    EXPECT_NE(::lstat(link.c_str(), &info), 0) << "signal " << signal << " left " << link;
  }
}

TEST(DriveSimProcessTest, StartsWithOptionsAndRejectsBadOnes) {
  DriveSimProcess legacy({"--legacy", "--address", "7"});
  RawPort port(legacy.DevicePath());
  port.Write("\x07\x03\x0B\x1D\x36\x69"s);  // legacy ReadValue of M11P29 at address 7
  const std::string reply = port.Read(12);
  ASSERT_EQ(reply.size(), 12U);
  EXPECT_EQ(reply.substr(0, 2), "\x07\x03"s);
  EXPECT_THROW(DriveSimProcess({"--address", "0"}), std::runtime_error);
}

TEST(DriveSimProcessTest, ServesATableFromAFile) {
  const TempFolder folder;
  const std::string path = folder.Write(
      "table.txt", "00.00 | Only Menu | 0000000000000000 | 0 | ro |\n20.99 | Last | 0000000000000011 | -1 | rw |\n");
  DriveSimProcess sim({"--table", path});
  EXPECT_EQ(sim.Value(2099), -1);
  EXPECT_EQ(sim.Command("get 1129"), "error no such parameter");
}

TEST(DriveSimProcessTest, ServesModbusTcpAndRtuOverTcpOnSystemChosenPorts) {
  DriveSimProcess sim({"--tcp", "0", "--rtu-tcp", "0"});
  ASSERT_GT(sim.TcpPort(), 0);
  ASSERT_GT(sim.RtuTcpPort(), 0);
  EXPECT_EQ(sim.Command("ports"), "ports tcp " + std::to_string(sim.TcpPort()) + " rtu-tcp " +
                                      std::to_string(sim.RtuTcpPort()));

  RawPort modbus(sim.TcpPort());
  ASSERT_TRUE(modbus.IsOpen());
  modbus.Write("\x00\x05\x00\x00\x00\x04\x01\x43\x0B\x1D"s);
  EXPECT_EQ(modbus.Read(16), "\x00\x05\x00\x00\x00\x0A\x01\x43\x07\x0B\x1D\x08\x39\x82\x03\x00"s);

  RawPort rtu(sim.RtuTcpPort());
  ASSERT_TRUE(rtu.IsOpen());
  rtu.Write(kReadSoftwareVersion);
  EXPECT_EQ(rtu.Read(kSoftwareVersionReply.size()), kSoftwareVersionReply);
  EXPECT_EQ(sim.RequestCount(0x43), 2);

  sim.DisconnectClients();
  modbus.Read(1, 2000);
  EXPECT_TRUE(modbus.HungUp());
  RawPort again(sim.TcpPort());
  again.Write("\x00\x06\x00\x00\x00\x04\x01\x43\x0B\x1D"s);
  EXPECT_EQ(again.Read(16).size(), 16U);
}

TEST(DriveSimProcessTest, TcpLoginSendsAChallengeFirst) {
  DriveSimProcess sim({"--tcp", "0", "--password", "secret", "--fault", "refuse next 1"});
  RawPort client(sim.TcpPort());
  const std::string challenge = client.Read(8);
  ASSERT_EQ(challenge.size(), 8U);
  client.Write(std::string(8, 'x'));
  EXPECT_EQ(client.Read(2, 2000), "\x15"s);
  EXPECT_TRUE(client.HungUp());
  EXPECT_EQ(sim.Command("logins"), "logins 0 1");
}

}  // namespace
}  // namespace quendrel
