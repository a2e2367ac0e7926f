#include "drivesim/ControlInterpreter.h"

#include <charconv>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

namespace quendrel {

namespace {

using Words = std::vector<std::string>;

const std::string kOk = "ok";

std::string Error(const std::string& reason) { return "error " + reason; }

std::optional<long> Number(const std::string& text, int base = 10) {
  long value = 0;
  const auto* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value, base);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
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

std::optional<bool> OnOff(const Words& words) {
  if (words.size() != 2) return std::nullopt;
  if (words[1] == "on") return true;
  if (words[1] == "off") return false;
  return std::nullopt;
}

std::string Hex(std::string_view bytes) {
  std::string text;
  char digits[4];
  for (const char c : bytes) {
    std::snprintf(digits, sizeof digits, " %02X", static_cast<unsigned>(static_cast<std::uint8_t>(c)));
    text += digits;
  }
  return text;
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
  const std::size_t arguments = words.size() - 1;

  if (command == "ping") return "pong";
  if (command == "stats") {
    if (arguments == 1 && words[1] == "reset") {
      core_.ResetStats();
      return kOk;
    }
    std::string answer = "requests " + std::to_string(core_.RequestCount());
    for (const auto& [function, count] : core_.RequestCounts()) {
      answer += " " + std::to_string(function) + ":" + std::to_string(count);
    }
    return answer;
  }
  if (command == "count") {
    const auto function = arguments == 1 ? Number(words[1]) : std::nullopt;
    if (!function || *function < 0 || *function > 255) return Error("count needs a function code 0-255");
    return std::to_string(core_.RequestCount(static_cast<std::uint8_t>(*function)));
  }
  if (command == "fault") {
    if (arguments == 1 && words[1] == "none") {
      core_.Faults().Clear();
      return kOk;
    }
    std::string reason;
    auto rule = FaultRule::Parse(line.substr(line.find("fault") + 5), reason);
    if (!rule) return Error(reason);
    core_.Faults().Add(std::move(*rule));
    return kOk;
  }
  if (command == "seed") {
    const auto seed = arguments == 1 ? Number(words[1]) : std::nullopt;
    if (!seed || *seed < 0) return Error("seed needs a whole number");
    core_.Faults().Seed(static_cast<std::uint32_t>(*seed));
    return kOk;
  }
  if (command == "set" || command == "get" || command == "name" || command == "names") {
    const auto number = arguments >= 1 ? ParameterNumber(words[1]) : std::nullopt;
    if (!number) return Error("needs a parameter number or M##P##");
    SimParameter* parameter = core_.Table().Find(*number);
    if (parameter == nullptr) return Error("no such parameter");
    if (command == "get") return std::to_string(parameter->value);
    if (command == "name") return parameter->name;
    if (command == "names") return Join(parameter->valueNames);
    const auto value = arguments == 2 ? Number(words[2]) : std::nullopt;
    if (!value || *value < -32768 || *value > 65535) return Error("set needs a value -32768..65535");
    parameter->value = static_cast<std::int16_t>(*value);
    if (*number == 1123 && *value >= 1 && *value <= 247) core_.SetAddress(static_cast<std::uint8_t>(*value));
    return kOk;
  }
  if (command == "legacy") {
    const auto on = OnOff(words);
    if (!on) return Error("legacy on|off");
    core_.SetLegacy(*on);
    return kOk;
  }
  if (command == "echo") {
    const auto on = OnOff(words);
    if (!on) return Error("echo on|off");
    core_.SetMode(*on ? LineMode::Echo : LineMode::Drive);
    return kOk;
  }
  if (command == "mode") {
    static const std::map<std::string, LineMode> modes{
        {"drive", LineMode::Drive}, {"echo", LineMode::Echo}, {"record", LineMode::Record}};
    if (arguments != 1 || !modes.contains(words[1])) return Error("mode drive|echo|record");
    core_.SetMode(modes.at(words[1]));
    return kOk;
  }
  if (command == "address") {
    const auto address = arguments == 1 ? Number(words[1]) : std::nullopt;
    if (!address || *address < 1 || *address > 247) return Error("address needs 1-247");
    core_.SetAddress(static_cast<std::uint8_t>(*address));
    return kOk;
  }
  if (command == "baud") {
    const auto rate = arguments == 1 ? Number(words[1]) : std::nullopt;
    if (!rate || *rate < 0) return Error("baud needs a rate (0 = off)");
    core_.SetBaudRate(*rate);
    return kOk;
  }
  if (command == "send") {
    std::string bytes;
    for (std::size_t i = 1; i < words.size(); ++i) {
      const auto byte = Number(words[i], 16);
      if (!byte || *byte < 0 || *byte > 255) return Error("send takes hex bytes, e.g. send 41 0D");
      bytes.push_back(static_cast<char>(*byte));
    }
    core_.Inject(std::move(bytes), now);
    return kOk;
  }
  if (command == "received") return "received" + Hex(core_.TakeReceived());
  if (command == "close") {
    port_.ClosePort();
    return kOk;
  }
  if (command == "reopen") {
    const std::string path = port_.ReopenPort();
    return path.empty() ? Error("cannot open a pseudo-terminal") : kOk + " " + path;
  }
  if (command == "quit") {
    port_.Quit();
    return kOk;
  }
  return Error("unknown command");
}

}  // namespace quendrel
