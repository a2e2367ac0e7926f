#include "drivesim/ControlInterpreter.h"

#include <charconv>
#include <map>
#include <optional>
#include <sstream>

#include "drivesim/ControlHex.h"
#include "drivesim/LoaderCommands.h"

namespace quendrel {

namespace {

const std::string kOk = "ok";

std::string Error(const std::string& reason) { return "error " + reason; }

std::optional<long> Number(const std::string& text, int base = 10) {
  long value = 0;
  const auto* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value, base);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return value;
}

// The argument after the command as a number within [low, high].
std::optional<long> SoleNumber(const std::vector<std::string>& words, long low, long high) {
  const auto value = words.size() == 2 ? Number(words[1]) : std::nullopt;
  if (!value || *value < low || *value > high) return std::nullopt;
  return value;
}

// "1129" or "M11P29" (B for a bit parameter, any case).
std::optional<int> ParameterNumber(const std::string& text) {
  if (text.size() == 6 && (text[0] == 'M' || text[0] == 'm')) {
    const char letter = static_cast<char>(text[3] | 0x20);
    const auto menu = Number(text.substr(1, 2));
    const auto parameter = Number(text.substr(4, 2));
    if ((letter != 'p' && letter != 'b') || !menu || !parameter) return std::nullopt;
    return static_cast<int>(*menu * 100 + *parameter);
  }
  const auto number = Number(text);
  if (!number || *number < 0 || *number > 2099) return std::nullopt;
  return static_cast<int>(*number);
}

std::string Join(const std::vector<std::string>& texts) {
  std::string joined;
  for (std::size_t i = 0; i < texts.size(); ++i) joined += (i > 0 ? ";" : "") + texts[i];
  return joined;
}

}  // namespace

std::string ControlInterpreter::Execute(std::string_view line, SimTime now) {
  std::istringstream stream{std::string(line)};
  Words words;
  for (std::string word; stream >> word;) words.push_back(word);
  if (words.empty()) return Error("empty command");
  const std::string& command = words[0];
  if (command == "ping") return "pong";
  if (command == "stats") return Stats(words);
  if (command == "count") return Count(words);
  if (command == "broadcasts") return std::to_string(core_.BroadcastCount());
  if (command == "fault") return Fault(words, line);
  if (command == "seed") return Seed(words);
  if (command == "set" || command == "get" || command == "name" || command == "names") return Parameter(words);
  if (command == "legacy" || command == "echo" || command == "localecho") return Switch(words);
  if (command == "mode") return Mode(words);
  if (command == "loader") return LoaderCommands::Execute(core_.Loader(), words);
  if (command == "address") return Address(words);
  if (command == "baud") return Baud(words);
  if (command == "send") return Send(words, now);
  if (command == "received") return "received" + ControlHex(core_.TakeReceived());
  if (command == "close" || command == "reopen" || command == "quit") return Port(words);
  if (command == "disconnect") {
    port_.DisconnectClients();
    return kOk;
  }
  if (command == "ports") {
    const std::string ports = port_.Ports();
    return ports.empty() ? "ports" : "ports " + ports;
  }
  if (command == "logins") {
    return "logins " + std::to_string(core_.LoginsAccepted()) + " " + std::to_string(core_.LoginsRefused());
  }
  return Error("unknown command");
}

std::string ControlInterpreter::Stats(const Words& words) {
  if (words.size() == 2 && words[1] == "reset") {
    core_.ResetStats();
    return kOk;
  }
  if (words.size() != 1) return Error("stats [reset]");
  std::string answer = "requests " + std::to_string(core_.RequestCount());
  for (const auto& [function, count] : core_.RequestCounts()) {
    answer += " " + std::to_string(function) + ":" + std::to_string(count);
  }
  return answer;
}

std::string ControlInterpreter::Count(const Words& words) {
  const auto function = SoleNumber(words, 0, 255);
  if (!function) return Error("count needs a function code 0-255");
  return std::to_string(core_.RequestCount(static_cast<std::uint8_t>(*function)));
}

std::string ControlInterpreter::Fault(const Words& words, std::string_view line) {
  if (words.size() == 2 && words[1] == "none") {
    core_.Faults().Clear();
    return kOk;
  }
  std::string reason;
  auto rule = FaultRule::Parse(line.substr(line.find("fault") + 5), reason);
  if (!rule) return Error(reason);
  core_.Faults().Add(std::move(*rule));
  return kOk;
}

std::string ControlInterpreter::Seed(const Words& words) {
  const auto seed = SoleNumber(words, 0, 0xFFFFFFFFL);
  if (!seed) return Error("seed needs a whole number");
  core_.Faults().Seed(static_cast<std::uint32_t>(*seed));
  return kOk;
}

std::string ControlInterpreter::Parameter(const Words& words) {
  const std::string& command = words[0];
  const auto number = words.size() >= 2 ? ParameterNumber(words[1]) : std::nullopt;
  if (!number) return Error(command + " needs a parameter number or M##P##");
  SimParameter* parameter = core_.Table().Find(*number);
  if (parameter == nullptr) return Error("no such parameter");
  if (command == "get") return std::to_string(parameter->value);
  if (command == "name") return parameter->name;
  if (command == "names") return Join(parameter->valueNames);
  const auto value = words.size() == 3 ? Number(words[2]) : std::nullopt;
  if (!value || *value < -32768 || *value > 65535) return Error("set needs a value -32768..65535");
  // What the wire would do to M11P23 the control channel does too.
  if (*number == 1123 && *value >= 1 && *value <= 247) {
    core_.SetAddress(static_cast<std::uint8_t>(*value));
  } else {
    parameter->value = static_cast<std::int16_t>(*value);
  }
  return kOk;
}

std::string ControlInterpreter::Switch(const Words& words) {
  const bool on = words.size() == 2 && words[1] == "on";
  if (words.size() != 2 || (!on && words[1] != "off")) return Error(words[0] + " on|off");
  if (words[0] == "legacy") {
    core_.SetLegacy(on);
  } else if (words[0] == "localecho") {
    core_.SetLocalEcho(on);
  } else {
    core_.SetMode(on ? LineMode::Echo : LineMode::Drive);
  }
  return kOk;
}

std::string ControlInterpreter::Mode(const Words& words) {
  static const std::map<std::string, LineMode> modes{
      {"drive", LineMode::Drive}, {"echo", LineMode::Echo}, {"record", LineMode::Record}, {"loader", LineMode::Loader}};
  if (words.size() != 2 || !modes.contains(words[1])) return Error("mode drive|echo|record|loader");
  core_.SetMode(modes.at(words[1]));
  return kOk;
}

std::string ControlInterpreter::Address(const Words& words) {
  const auto address = SoleNumber(words, 1, 247);
  if (!address) return Error("address needs 1-247");
  core_.SetAddress(static_cast<std::uint8_t>(*address));
  return kOk;
}

std::string ControlInterpreter::Baud(const Words& words) {
  const auto rate = SoleNumber(words, 0, 10'000'000);
  if (!rate) return Error("baud needs a rate (0 = off)");
  core_.SetBaudRate(*rate);
  return kOk;
}

std::string ControlInterpreter::Send(const Words& words, SimTime now) {
  std::string bytes;
  for (std::size_t i = 1; i < words.size(); ++i) {
    const auto byte = Number(words[i], 16);
    if (!byte || *byte < 0 || *byte > 255) return Error("send takes hex bytes, e.g. send 41 0D");
    bytes.push_back(static_cast<char>(*byte));
  }
  core_.Inject(std::move(bytes), now);
  return kOk;
}

std::string ControlInterpreter::Port(const Words& words) {
  if (words.size() != 1) return Error(words[0] + " takes no arguments");
  if (words[0] == "close") {
    port_.ClosePort();
    return kOk;
  }
  if (words[0] == "quit") {
    port_.Quit();
    return kOk;
  }
  const std::string path = port_.ReopenPort();
  return path.empty() ? Error("cannot open a pseudo-terminal") : kOk + " " + path;
}

}  // namespace quendrel
