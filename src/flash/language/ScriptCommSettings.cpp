#include "flash/language/ScriptCommSettings.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <utility>

#include "comms/modules/EthernetModule.h"
#include "comms/modules/SerialModule.h"
#include "comms/server/GIOServer.h"
#include "comms/server/SettingsChecks.h"
#include "flash/language/ScriptOperators.h"
#include "foundation/settings/INIFile.h"
#include "foundation/text/BaudRate.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/TextChecks.h"
#include "foundation/values/RuntimeError.h"

namespace quendrel {

namespace {

using Reader = std::function<Variant(const ScriptEnvironment&)>;
using Writer = std::function<void(const ScriptEnvironment&, const Variant&)>;

struct Accessor {
  Reader read;
  Writer write;
};

// Binds a variable to the module or store it lives in; where the environment has none, the
// variable reads as empty and assignments change nothing.
template <class Target>
Accessor On(Target* ScriptEnvironment::*member, std::function<Variant(const Target&)> read,
            std::function<void(Target&, const Variant&)> write) {
  return {[member, read](const ScriptEnvironment& environment) {
            const Target* target = environment.*member;
            return target != nullptr ? read(*target) : Variant();
          },
          [member, write](const ScriptEnvironment& environment, const Variant& value) {
            if (Target* target = environment.*member) write(*target, value);
          }};
}

Variant Int16(int value) { return Variant(static_cast<std::int16_t>(value)); }

[[noreturn]] void Refuse(const std::string& problem) {
  throw RuntimeError(errInvalidProcedureCall, "ScriptVariables", problem);
}

std::int16_t Whole16(const Variant& value) {
  return ToInt16Checked(ScriptOperators::Number(ScriptOperators::Operand(value)));
}

// The same checks the settings dialogs make: a value they would refuse never reaches a module.
int Accepted(int value, std::string (*problem)(int)) {
  if (const std::string why = problem(value); !why.empty()) Refuse(why);
  return value;
}

bool Truth(const Variant& value) { return ScriptOperators::IsNonZero(ScriptOperators::Operand(value)); }

std::string GioModeName(const std::string& selected) {
  return selected == "Serial" || selected == "Ethernet" ? selected : "None";
}

// Only the exact texts select a module: the named constants give them, while a string literal
// still carries its quotes and selects none.
void SelectGioMode(GIOServer& server, const Variant& value) {
  const std::string text = value.AsText();
  server.SelectModule(text == "Serial" || text == "Ethernet" ? text : "None");
}

// A rate text such as "9600" or "19.2kbps"; one that names no rate gives the default.
void SetBaudRate(SerialModule& serial, const Variant& value) {
  serial.SetBaudRate(BaudRateIndex(value.AsText()));
  serial.Reset();
}

void SetComPort(SerialModule& serial, const Variant& value) {
  serial.SetComPort(Accepted(Whole16(value), ComPortProblem));
  serial.Reset();
}

void SetParity(SerialModule& serial, const Variant& value) {
  const Variant operand = ScriptOperators::Operand(value);
  if (operand.Type() == Variant::Kind::Double) {
    const double code = operand.AsDouble();
    if (code == 0 || code == 1 || code == 2) serial.SetParity(static_cast<int>(code));
  }
  serial.Reset();
}

Variant ReadPort(const EthernetModule& ethernet) {
  const int port = ethernet.Port();
  if (port <= std::numeric_limits<std::int16_t>::max()) return Int16(port);
  // A port the settings file names beyond the 16-bit range still reads as itself.
  return Variant(static_cast<std::int32_t>(port));
}

// Scripts take the port as a 16-bit integer; a higher one can only come from the settings dialog.
void SetPort(EthernetModule& ethernet, const Variant& value) {
  const int port = Whole16(value);
  if (const std::string why = TcpPortProblem(std::to_string(port)); !why.empty()) Refuse(why);
  ethernet.SetPort(port);
}

void SetProtocol(EthernetModule& ethernet, const Variant& value) {
  ethernet.SetProtocol(Accepted(Whole16(value), ProtocolProblem));
}

void SetHost(EthernetModule& ethernet, const Variant& value) {
  const std::string host = TrimmedText(StripQuotes(value.AsText()));
  if (const std::string why = HostProblem(host); !why.empty()) Refuse(why);
  ethernet.SetHost(host);
}

Accessor OnSerial(std::function<Variant(const SerialModule&)> read,
                  std::function<void(SerialModule&, const Variant&)> write) {
  return On<SerialModule>(&ScriptEnvironment::serial, std::move(read), std::move(write));
}

Accessor OnEthernet(std::function<Variant(const EthernetModule&)> read,
                    std::function<void(EthernetModule&, const Variant&)> write) {
  return On<EthernetModule>(&ScriptEnvironment::ethernet, std::move(read), std::move(write));
}

void ReadOnly(SerialModule&, const Variant&) {}

Accessor Retries(const std::string& section) {
  return On<INIFile>(
      &ScriptEnvironment::settings,
      [section](const INIFile& settings) { return Variant(settings.Value("Retries", section)); },
      [section](INIFile& settings, const Variant& value) {
        const std::string count = ScriptOperators::Operand(value).AsText();
        if (const std::string why = RetriesProblem(count); !why.empty()) Refuse(why);
        settings.SetValue("Retries", section, StoredNumberText(count));
      });
}

const std::map<std::string, Accessor>& Accessors() {
  using Serial = const SerialModule&;
  using Ethernet = const EthernetModule&;
  static const std::map<std::string, Accessor> accessors = {
      {"giomode", On<GIOServer>(
                      &ScriptEnvironment::commServer,
                      [](const GIOServer& server) { return Variant(GioModeName(server.SelectedModule())); },
                      SelectGioMode)},
      {"baudrate",
       OnSerial([](Serial serial) { return Variant(BaudRateFromIndex(serial.BaudRate())); }, SetBaudRate)},
      // Reads as the COM number, is set as the index: assigning what was read selects the next port.
      {"comport", OnSerial([](Serial serial) { return Int16(serial.ComPort() + 1); }, SetComPort)},
      {"parity", OnSerial(
                     [](Serial serial) {
                       return ParityProblem(serial.Parity()).empty() ? Int16(serial.Parity()) : Variant();
                     },
                     SetParity)},
      {"databits", OnSerial([](Serial serial) { return Variant(serial.DataBits()); }, ReadOnly)},
      {"stopbits", OnSerial([](Serial serial) { return Int16(serial.StopBits()); }, ReadOnly)},
      {"host", OnEthernet([](Ethernet ethernet) { return Variant("\"" + ethernet.Host() + "\""); }, SetHost)},
      {"port", OnEthernet(ReadPort, SetPort)},
      {"protocol", OnEthernet([](Ethernet ethernet) { return Int16(ethernet.Protocol()); }, SetProtocol)},
      {"authenticate", OnEthernet([](Ethernet ethernet) { return Variant(ethernet.Encrypted()); },
                                  [](EthernetModule& ethernet, const Variant& value) {
                                    ethernet.SetEncrypted(Truth(value));
                                  })},
      // The password is the value's text as it is, so a string literal's quotes become part of it.
      {"authpassword", OnEthernet([](Ethernet ethernet) { return Variant(ethernet.CryptKey()); },
                                  [](EthernetModule& ethernet, const Variant& value) {
                                    ethernet.SetCryptKey(value.AsText());
                                  })},
      {"general_retries", Retries("General")},
      {"serial_retries", Retries("Serial Port")},
      {"ethernet_retries", Retries("Ethernet")},
  };
  return accessors;
}

const Accessor* Find(const std::string& lower) {
  const auto& accessors = Accessors();
  const auto found = accessors.find(lower);
  return found == accessors.end() ? nullptr : &found->second;
}

}  // namespace

std::optional<Variant> ScriptCommSettings::Read(const ScriptEnvironment& environment,
                                                const std::string& lower) {
  const Accessor* accessor = Find(lower);
  if (accessor == nullptr) return std::nullopt;
  return accessor->read(environment);
}

bool ScriptCommSettings::Write(const ScriptEnvironment& environment, const std::string& lower,
                               const Variant& value) {
  const Accessor* accessor = Find(lower);
  if (accessor == nullptr) return false;
  accessor->write(environment, value);
  return true;
}

}  // namespace quendrel
