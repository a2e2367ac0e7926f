// The system variables that reach the communication modules and the settings file: what a script
// reads, what an assignment changes, and which values leave a setting as it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "comms/EthernetModule.h"
#include "comms/GIOContext.h"
#include "comms/GIOError.h"
#include "comms/GIOServer.h"
#include "comms/SerialModule.h"
#include "comms/support/SerialRig.h"
#include "flash/support/ScriptRig.h"
#include "foundation/Config.h"
#include "platform/FakeClock.h"
#include "support/CaseName.h"

namespace quendrel {
namespace {

constexpr const char* kPortNames =
    "/nonexistent/ttyQ0;/nonexistent/ttyQ1;/nonexistent/ttyQ2;/nonexistent/ttyQ3";

// A registry with the real serial and Ethernet modules, every setting away from its default, and a
// script that reaches them with a drive context of its own.
class CommVariables {
 public:
  CommVariables() {
    ResetConfig();
    Config().SetValue("PortNames", "Serial Port", kPortNames);
    Config().SetValue("Retries", "General", "4");
    Config().SetValue("Retries", "Serial Port", "5");
    Config().SetValue("Retries", "Ethernet", "6");
    serial = static_cast<SerialModule*>(&server.RegisterModule(std::make_unique<SerialModule>(clock)));
    ethernet = static_cast<EthernetModule*>(&server.RegisterModule(std::make_unique<EthernetModule>(clock)));
    server.Startup();
    server.SelectModule("Ethernet");
    serial->SetBaudRate(5);
    serial->SetComPort(2);
    serial->SetParity(1);
    ethernet->SetHost("drive7.plant");
    ethernet->SetPort(5020);
    ethernet->SetProtocol(EthernetModule::kRtuOverTcp);
    ethernet->SetEncrypted(true);
    ethernet->SetCryptKey("s3cret");
    rig.UseComms(server, serial, ethernet, Config());
  }
  ~CommVariables() { ResetConfig(); }

  // Loads and runs the script with a context on the registry; the codes of its steps.
  std::vector<dfResponseCodes> Run(const std::string& script) {
    EXPECT_TRUE(rig.Load(script)) << script;
    rig.Script().SetContext(server.OpenContext(1, -1));
    return rig.Run();
  }

  FakeClock clock;
  GIOServer server{clock};
  // After the registry, so the script's context goes first.
  ScriptRig rig;
  SerialModule* serial = nullptr;
  EthernetModule* ethernet = nullptr;
};

struct ReadCase {
  const char* name;
  const char* expected;
};

TEST(ScriptCommVariables, ReadTheLiveModulesAndTheSettingsFile) {
  CommVariables comms;
  const ReadCase cases[] = {
      {"giomode", "Ethernet"},
      {"BaudRate", "9600"},
      {"comport", "3"},
      {"parity", "1"},
      {"databits", "8"},
      {"stopbits", "0"},
      {"HOST", "\"drive7.plant\""},
      {"port", "5020"},
      {"protocol", "1"},
      {"authenticate", "True"},
      {"authpassword", "s3cret"},
      {"general_retries", "4"},
      {"serial_retries", "5"},
      {"ethernet_retries", "6"},
  };
  for (const ReadCase& c : cases) {
    comms.Run(std::string("x = ") + c.name + ";");
    EXPECT_EQ(comms.rig.Var("x"), c.expected) << c.name;
  }
  comms.server.SelectModule("None");
  comms.Run("x = giomode;");
  EXPECT_EQ(comms.rig.Var("x"), "None");
}

TEST(ScriptCommVariables, ArithmeticAndComparisonTakeWhatTheyRead) {
  CommVariables comms;
  comms.Run("a = comport - 1; b = general_retries + 1; c = port == 5020; d = !authenticate;");
  EXPECT_EQ(comms.rig.Vars("a b c d"), "a=2 b=5 c=1 d=0");
}

struct AssignCase {
  std::string name;
  std::string script;
  // The variable the script's last statement assigns.
  std::string variable;
  std::function<std::string(CommVariables&)> setting;
  std::string expected;
  bool fails = false;
};

std::string SerialPortIndex(CommVariables& c) {
  return std::to_string(c.serial->ComPort()) + " " + c.serial->DevicePath();
}
std::string GioMode(CommVariables& c) {
  return c.server.SelectedModule() + " " + Config().Value("GIOTarget", "General");
}
std::string BaudCode(CommVariables& c) { return std::to_string(c.serial->BaudRate()); }
std::string Parity(CommVariables& c) { return std::to_string(c.serial->Parity()); }
std::string SerialFrame(CommVariables& c) {
  return c.serial->DataBits() + " " + std::to_string(c.serial->StopBits());
}
std::string Host(CommVariables& c) { return c.ethernet->Host(); }
std::string TcpPort(CommVariables& c) { return std::to_string(c.ethernet->Port()); }
std::string Protocol(CommVariables& c) { return std::to_string(c.ethernet->Protocol()); }
std::string Login(CommVariables& c) {
  return std::string(c.ethernet->Encrypted() ? "on " : "off ") + c.ethernet->CryptKey();
}
std::string Retries(CommVariables&) {
  return Config().Value("Retries", "General") + " " + Config().Value("Retries", "Serial Port") + " " +
         Config().Value("Retries", "Ethernet");
}

class ScriptCommAssignment : public testing::TestWithParam<AssignCase> {};

TEST_P(ScriptCommAssignment, ChangesTheSettingOrLeavesItAndFails) {
  CommVariables comms;
  const AssignCase& c = GetParam();
  const auto codes = comms.Run(c.script);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), dfResponseGeneralError), c.fails ? 1 : 0);
  EXPECT_EQ(codes.back(), dfResponseEOF);
  EXPECT_EQ(c.setting(comms), c.expected);
  EXPECT_FALSE(comms.rig.Script().VarExists(c.variable)) << "an assignment to it makes no script variable";
}

INSTANTIATE_TEST_SUITE_P(
    Assignments, ScriptCommAssignment,
    testing::Values(
        AssignCase{"ComportConstantIsTheIndex", "ComPort = com1;", "ComPort", SerialPortIndex,
                   "0 /nonexistent/ttyQ0"},
        AssignCase{"ComportReadBackSelectsTheNext", "comport = comport;", "comport", SerialPortIndex,
                   "3 /nonexistent/ttyQ3"},
        AssignCase{"ComportBeyondCom256", "comport = 256;", "comport", SerialPortIndex,
                   "2 /nonexistent/ttyQ2", true},
        AssignCase{"ComportNoDigitConstant", "comport = comx;", "comport", SerialPortIndex,
                   "2 /nonexistent/ttyQ2", true},
        AssignCase{"ComportText", "comport = \"two\";", "comport", SerialPortIndex, "2 /nonexistent/ttyQ2",
                   true},
        AssignCase{"GiomodeConstant", "giomode = serialport;", "giomode", GioMode, "Serial Serial"},
        AssignCase{"GiomodeLiteralKeepsQuotes", "giomode = \"Serial\";", "giomode", GioMode, "None None"},
        AssignCase{"GiomodePlainText", "giomode = \"Ser\" + \"ial\";", "giomode", GioMode, "Serial Serial"},
        AssignCase{"GiomodeIsCaseExact", "giomode = \"serial\" + \"\";", "giomode", GioMode, "None None"},
        AssignCase{"BaudrateNumber", "baudrate = 115200;", "baudrate", BaudCode, "9"},
        AssignCase{"BaudrateKbpsText", "r = 38.4; baudrate = \"\" + r . \"kbps\";", "baudrate", BaudCode,
                   "7"},
        AssignCase{"BaudrateLiteralKeepsQuotes", "baudrate = \"9600\";", "baudrate", BaudCode, "6"},
        AssignCase{"ParityConstant", "parity = evenparity;", "parity", Parity, "2"},
        AssignCase{"ParityOutOfRangeIgnored", "parity = 5;", "parity", Parity, "1"},
        AssignCase{"DatabitsReadOnly", "databits = 7;", "databits", SerialFrame, "8 0"},
        AssignCase{"StopbitsReadOnly", "stopbits = 2;", "stopbits", SerialFrame, "8 0"},
        AssignCase{"HostLosesItsQuotes", "host = \"plc.example\";", "host", Host, "plc.example"},
        AssignCase{"HostRoundTrip", "h = host; host = \"other\"; host = h;", "host", Host, "drive7.plant"},
        AssignCase{"HostBlank", "host = \" \";", "host", Host, "drive7.plant", true},
        AssignCase{"PortNumber", "port = 1502;", "port", TcpPort, "1502"},
        AssignCase{"PortBeyond16Bits", "port = 40000;", "port", TcpPort, "5020", true},
        AssignCase{"PortZero", "port = 0;", "port", TcpPort, "5020", true},
        AssignCase{"PortText", "port = \"http\";", "port", TcpPort, "5020", true},
        AssignCase{"ProtocolConstant", "protocol = modbustcp;", "protocol", Protocol, "0"},
        AssignCase{"ProtocolUnknown", "protocol = 2;", "protocol", Protocol, "1", true},
        AssignCase{"AuthenticateOff", "authenticate = false;", "authenticate", Login, "off s3cret"},
        AssignCase{"AuthenticateText", "authenticate = \"yes\";", "authenticate", Login, "on s3cret", true},
        AssignCase{"PasswordKeepsQuotes", "authpassword = \"pw\";", "authpassword", Login, "on \"pw\""},
        AssignCase{"PasswordFromVariable", "p = \"pw\" + \"\"; authpassword = p;", "authpassword", Login,
                   "on pw"},
        AssignCase{"RetriesEach", "general_retries = 0; serial_retries = 100; ethernet_retries = 2;",
                   "ethernet_retries", Retries, "0 100 2"},
        AssignCase{"RetriesStoredAsTheDialogDoes", "serial_retries = \" 7.0\";", "serial_retries", Retries,
                   "4 7 6"},
        AssignCase{"RetriesAbove100", "serial_retries = 101;", "serial_retries", Retries, "4 5 6", true},
        AssignCase{"RetriesFraction", "ethernet_retries = 2.5;", "ethernet_retries", Retries, "4 5 6", true},
        AssignCase{"RetriesNegative", "general_retries = -1;", "general_retries", Retries, "4 5 6", true}),
    NameByField<&AssignCase::name>());

TEST(ScriptCommVariables, ModuleSettingsStayLiveAndOnlyRetriesReachTheSettingsFile) {
  CommVariables comms;
  comms.Run(
      "baudrate = 9600; comport = com2; parity = 0; host = \"h\"; port = 1502; protocol = 0; "
      "authenticate = 0; authpassword = \"pw\"; serial_retries = 9;");
  for (const char* key : {"BaudRate", "ComPort", "Parity"}) {
    EXPECT_FALSE(Config().HasKey(key, "Serial Port")) << key;
  }
  for (const char* key : {"Host", "Port", "Protocol", "Authenticate", "Password"}) {
    EXPECT_FALSE(Config().HasKey(key, "Ethernet")) << key;
  }
  EXPECT_EQ(Config().Value("Retries", "Serial Port"), "9");
  EXPECT_EQ(comms.serial->BaudRate(), 5);
  EXPECT_EQ(comms.ethernet->Port(), 1502);
}

TEST(ScriptCommVariables, FailedAssignmentSetsNothingAndTheScriptGoesOn) {
  CommVariables comms;
  const auto codes = comms.Run("port = 1502; port = 70000; after = port;");
  EXPECT_EQ(codes, (std::vector{dfResponseOK, dfResponseGeneralError, dfResponseEOF}));
  EXPECT_EQ(comms.rig.Var("after"), "1502");
}

TEST(ScriptCommVariables, WithoutModulesReadEmptyAndAssignNothing) {
  ScriptRig rig;
  ASSERT_TRUE(
      rig.Load("baudrate = 9600; x = baudrate; y = giomode; general_retries = 2; z = general_retries;"));
  const auto codes = rig.Run();
  EXPECT_EQ(codes.back(), dfResponseEOF);
  EXPECT_EQ(rig.Vars("x y z"), "x= y= z=");
  EXPECT_FALSE(rig.Script().VarExists("baudrate"));
  EXPECT_FALSE(rig.Script().VarExists("general_retries"));
}

// The serial variables on a real line: each assignment that the Part says resets the port reopens
// it, and the drive context uses what the script chose.
TEST(ScriptCommVariablesOnALine, SerialAssignmentsResetThePortTheContextUses) {
  SerialRig line;
  SerialModule& serial = line.Module();
  ScriptRig rig;
  rig.UseComms(line.Server(), &serial, nullptr, Config());

  ASSERT_FALSE(serial.IsOpen());
  ASSERT_TRUE(rig.Load("parity = 5;"));
  rig.Run();
  EXPECT_TRUE(serial.IsOpen()) << "an ignored parity still resets the port";
  EXPECT_EQ(line.Context().ReadValue(11, 29).intData, 2105);

  serial.Shutdown();
  ASSERT_TRUE(rig.Load("baudrate = 19200; x = comport;"));
  rig.Run();
  EXPECT_TRUE(serial.IsOpen());
  EXPECT_EQ(rig.Var("x"), "1");
  EXPECT_EQ(line.Context().ReadValue(11, 29).intData, 2105);

  ASSERT_TRUE(rig.Load("comport = comport;"));
  rig.Run();
  EXPECT_FALSE(serial.IsOpen()) << "COM2 names no device here";
  EXPECT_EQ(line.Context().ReadValue(11, 29).extraData, gioPortOpenFailed);
}

}  // namespace
}  // namespace quendrel
