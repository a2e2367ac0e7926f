#include "drivesim/SimOptions.h"

#include <charconv>

#include "drivesim/FaultRule.h"

namespace quendrel {

namespace {

std::optional<long> Whole(const std::string& text) {
  long value = 0;
  const auto* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return value;
}

}  // namespace

const char* SimOptions::Usage() {
  return "usage: quendrel-drivesim [--address N] [--table FILE] [--legacy] [--local-echo] [--loader] [--baud RATE]\n"
         "                         [--seed N] [--fault RULE]... [--link PATH]\n"
         "                         [--tcp PORT] [--rtu-tcp PORT] [--password TEXT]\n"
         "Serves a simulated drive on a pseudo-terminal and prints its device path first,\n"
         "then \"tcp PORT\" and \"rtu-tcp PORT\" for the TCP ports it listens on (127.0.0.1).\n"
         "Control commands are read line by line on standard input (see README.md).\n";
}

std::optional<SimOptions> SimOptions::Parse(const std::vector<std::string>& arguments, std::string& error) {
  SimOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--help" || option == "-h") {
      options.help = true;
      continue;
    }
    if (option == "--legacy" || option == "--local-echo") {
      (option == "--legacy" ? options.legacy : options.localEcho) = true;
      continue;
    }
    if (option == "--loader") {
      options.loader = true;
      continue;
    }
    if (i + 1 >= arguments.size()) {
      error = option.rfind("--", 0) == 0 ? option + " needs a value" : "unknown option " + option;
      return std::nullopt;
    }
    const std::string& value = arguments[++i];
    const auto number = Whole(value);
    if (option == "--address" && number && *number >= 1 && *number <= 247) {
      options.address = static_cast<int>(*number);
    } else if (option == "--baud" && number && *number >= 0) {
      options.baudRate = *number;
    } else if (option == "--seed" && number && *number >= 0) {
      options.seed = static_cast<unsigned>(*number);
    } else if (option == "--table") {
      options.tableFile = value;
    } else if ((option == "--tcp" || option == "--rtu-tcp") && number && *number >= 0 && *number <= 65535) {
      (option == "--tcp" ? options.tcpPort : options.rtuTcpPort) = static_cast<int>(*number);
    } else if (option == "--password") {
      options.password = value;
    } else if (option == "--link") {
      options.linkPath = value;
    } else if (option == "--fault") {
      std::string reason;
      if (!FaultRule::Parse(value, reason)) {
        error = "--fault \"" + value + "\": " + reason;
        return std::nullopt;
      }
      options.faults.push_back(value);
    } else {
      error = "bad option " + option + " " + value;
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace quendrel
