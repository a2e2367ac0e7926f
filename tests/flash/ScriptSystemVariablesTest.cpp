// The system variables that reach the communication modules and the settings file: what a script
// reads, what an assignment changes, and which values leave a setting as it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "comms/modules/EthernetModule.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOError.h"
#include "comms/server/GIOServer.h"
#include "comms/support/SerialRig.h"
#include "flash/support/ScriptRig.h"
#include "foundation/settings/Config.h"
#include "platform/FakeClock.h"
#include "support/CaseName.h"

namespace quendrel {
namespace {

// A registry with the real serial and Ethernet modules, every setting away from its default, and a
// script that reaches them with a drive context of its own.
class CommVariables {
 public:
  CommVariables() {
    ResetConfig();
    Config().SetValue("PortNames", "Serial Port",
                      "/nonexistent/Q0;/nonexistent/Q1;/nonexistent/Q2;/nonexistent/Q3");
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

  std::vector<dfResponseCodes> Run(const std::string& script) {
    EXPECT_TRUE(rig.Load(script)) << script;
    context = server.OpenContext(1, -1);
    rig.Script().SetContext(context);
    return rig.Run();
  }

  // Every setting the variables reach, and the script's x, as " key=value " pairs.
  std::string Settings() {
    auto retries = [](const char* section) { return Config().Value("Retries", section); };
    return " mode=" + server.SelectedModule() + "/" + Config().Value("GIOTarget", "General") +
           " baud=" + std::to_string(serial->BaudRate()) + " com=" + std::to_string(serial->ComPort()) + ":" +
           serial->DevicePath() + " parity=" + std::to_string(serial->Parity()) +
           " frame=" + serial->DataBits() + "/" + std::to_string(serial->StopBits()) +
           " host=" + ethernet->Host() + " port=" + std::to_string(ethernet->Port()) +
           " protocol=" + std::to_string(ethernet->Protocol()) +
           " login=" + (ethernet->Encrypted() ? "on/" : "off/") + ethernet->CryptKey() +
           " retries=" + retries("General") + "/" + retries("Serial Port") + "/" + retries("Ethernet") +
           " address=" + std::to_string(rig.Script().Address()) + "/" + std::to_string(context->Address()) +
           " x=" + rig.Var("x") + " ";
  }

  FakeClock clock;
  GIOServer server{clock};
  // After the registry, so the script's context goes first.
  ScriptRig rig;
  SerialModule* serial = nullptr;
  EthernetModule* ethernet = nullptr;
  std::shared_ptr<GIOContext> context;
};

struct VariableCase {
  std::string script;
  std::string setting;  // one " key=value " pair of Settings()
  bool fails = false;
};

class ScriptCommVariable : public testing::TestWithParam<VariableCase> {};

TEST_P(ScriptCommVariable, ReadsOrChangesTheLiveSettingOrFailsLeavingIt) {
  CommVariables comms;
  const auto codes = comms.Run(GetParam().script);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), dfResponseGeneralError), GetParam().fails ? 1 : 0);
  EXPECT_NE(comms.Settings().find(" " + GetParam().setting + " "), std::string::npos) << comms.Settings();
}

INSTANTIATE_TEST_SUITE_P(
    Variables, ScriptCommVariable,
    testing::Values(
        VariableCase{"x = giomode;", "x=Ethernet"}, VariableCase{"x = BaudRate;", "x=9600"},
        VariableCase{"x = comport;", "x=3"}, VariableCase{"x = parity;", "x=1"},
        VariableCase{"x = databits . stopbits;", "x=\"80\""}, VariableCase{"x = HOST;", "x=\"drive7.plant\""},
        VariableCase{"x = port == 5020;", "x=1"}, VariableCase{"x = protocol;", "x=1"},
        VariableCase{"x = !authenticate;", "x=0"}, VariableCase{"x = authpassword;", "x=s3cret"},
        VariableCase{"x = general_retries . serial_retries . ethernet_retries;", "x=\"456\""},
        VariableCase{"vsiotimeout = 3; x = vsiotimeout;", "x=vsiotimeout"},
        // Read as the COM number, set as the index.
        VariableCase{"ComPort = com1;", "com=0:/nonexistent/Q0"},
        VariableCase{"comport = comport;", "com=3:/nonexistent/Q3"},
        VariableCase{"comport = 256;", "com=2:/nonexistent/Q2", true},
        VariableCase{"comport = comx;", "com=2:/nonexistent/Q2", true},
        VariableCase{"giomode = serialport;", "mode=Serial/Serial"},
        VariableCase{"giomode = \"Serial\";", "mode=None/None"},
        VariableCase{"giomode = \"serial\" + \"\";", "mode=None/None"},
        VariableCase{"baudrate = 115200;", "baud=9"}, VariableCase{"baudrate = \"9600\";", "baud=6"},
        VariableCase{"parity = evenparity;", "parity=2"}, VariableCase{"parity = 5;", "parity=1"},
        VariableCase{"databits = 7; stopbits = 2; x = databits;", "frame=8/0"},
        VariableCase{"x = host; host = \"other\"; host = x;", "host=drive7.plant"},
        VariableCase{"host = \" \";", "host=drive7.plant", true}, VariableCase{"port = 1502;", "port=1502"},
        VariableCase{"port = 40000;", "port=5020", true}, VariableCase{"port = 0;", "port=5020", true},
        VariableCase{"protocol = modbustcp;", "protocol=0"},
        VariableCase{"protocol = 2;", "protocol=1", true},
        VariableCase{"authenticate = false;", "login=off/s3cret"},
        VariableCase{"authenticate = \"yes\";", "login=on/s3cret", true},
        VariableCase{"authpassword = \"pw\";", "login=on/\"pw\""},
        VariableCase{"x = \"pw\" + \"\"; authpassword = x;", "login=on/pw"},
        VariableCase{"general_retries = 0; serial_retries = 100; ethernet_retries = 2;", "retries=0/100/2"},
        VariableCase{"serial_retries = \" 7.0\";", "retries=4/7/6"},
        VariableCase{"serial_retries = 101;", "retries=4/5/6", true},
        VariableCase{"ethernet_retries = 2.5;", "retries=4/5/6", true},
        VariableCase{"address = 7; address = 256;", "address=7/7", true}),
    NameByField<&VariableCase::script>());

TEST(ScriptCommVariables, AssignmentsMakeNoScriptVariableAndOnlyRetriesReachTheSettingsFile) {
  CommVariables comms;
  comms.Run(
      "giomode = serialport; baudrate = 1; comport = 1; parity = 1; databits = 1; host = 1; port = 1; "
      "protocol = 1; authenticate = 1; authpassword = 1; general_retries = 1; serial_retries = 1; "
      "ethernet_retries = 1;");
  for (const char* name : {"giomode", "baudrate", "comport", "parity", "databits", "host", "port", "protocol",
                           "authenticate", "authpassword", "general_retries", "ethernet_retries"}) {
    EXPECT_FALSE(comms.rig.Script().VarExists(name)) << name;
  }
  for (const char* key :
       {"BaudRate", "ComPort", "Parity", "Host", "Port", "Protocol", "Authenticate", "Password"}) {
    EXPECT_FALSE(Config().HasKey(key, "Serial Port") || Config().HasKey(key, "Ethernet")) << key;
  }
  EXPECT_EQ(Config().Value("Retries", "Serial Port"), "1");
}

TEST(ScriptCommVariables, WithoutModulesReadEmptyAndAssignNothing) {
  ScriptRig rig;
  ASSERT_TRUE(
      rig.Load("baudrate = 9600; x = baudrate; y = giomode; general_retries = 2; z = general_retries;"));
  EXPECT_EQ(rig.Run().back(), dfResponseEOF);
  EXPECT_EQ(rig.Vars("x y z baudrate"), "x= y= z= baudrate=");
}

// On a real line: an assignment that resets the port reopens it, even one that changes nothing, and
// the drive context talks through the port the script chose.
TEST(ScriptCommVariablesOnALine, SerialAssignmentsResetThePortTheContextUses) {
  SerialRig line;
  ScriptRig rig;
  rig.UseComms(line.Server(), &line.Module(), nullptr, Config());
  ASSERT_FALSE(line.Module().IsOpen());
  ASSERT_TRUE(rig.Load("parity = 5;"));
  rig.Run();
  EXPECT_TRUE(line.Module().IsOpen());
  EXPECT_EQ(line.Context().ReadValue(11, 29).intData, 2105);
  ASSERT_TRUE(rig.Load("comport = comport;"));
  rig.Run();
  EXPECT_EQ(line.Context().ReadValue(11, 29).extraData, gioPortOpenFailed) << "COM2 names no device here";
}

}  // namespace
}  // namespace quendrel
