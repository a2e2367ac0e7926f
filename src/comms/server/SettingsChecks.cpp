#include "comms/server/SettingsChecks.h"

#include <cmath>

#include "foundation/text/NumberText.h"

namespace quendrel {

namespace {

constexpr int kMaximumRetries = 100;

}  // namespace

bool IsWholeNumberText(const std::string& text) {
  if (!IsNumericText(text)) return false;
  const double value = LeadingNumber(text);
  return value == std::floor(value);
}

std::string TimeoutProblem(const std::string& seconds) {
  if (!IsNumericText(seconds) || LeadingNumber(seconds) <= 0.0) {
    return "The timeout must be a number of seconds above 0.";
  }
  if (LeadingNumber(seconds) > kMaximumTimeoutSeconds) {
    return "The timeout must be at most " + DoubleToText(kMaximumTimeoutSeconds) + " seconds (one hour).";
  }
  return "";
}

std::string RetriesProblem(const std::string& retries) {
  if (IsWholeNumberText(retries) && LeadingNumber(retries) >= 0 &&
      LeadingNumber(retries) <= kMaximumRetries) {
    return "";
  }
  return "Retries must be a whole number from 0 to " + std::to_string(kMaximumRetries) + ".";
}

std::string ComPortProblem(int index) {
  if (index >= 0 && index < kComPortCount) return "";
  return "Please choose a communication port.";
}

std::string ParityProblem(int code) { return code >= 0 && code <= 2 ? "" : "Please choose a parity."; }

std::string DataBitsProblem(int bits) { return bits >= 5 && bits <= 8 ? "" : "Please choose 5 to 8 data bits."; }

std::string StopBitsProblem(int code) { return code >= 0 && code <= 2 ? "" : "Please choose the stop bits."; }

std::string HostProblem(const std::string& host) {
  if (!TrimmedText(host).empty()) return "";
  return "Please enter the host name or address of the drive.";
}

std::string TcpPortProblem(const std::string& port) {
  if (IsWholeNumberText(port) && LeadingNumber(port) >= 1 && LeadingNumber(port) <= 65535) return "";
  return "The port must be a whole number from 1 to 65535.";
}

std::string ProtocolProblem(int protocol) { return protocol >= 0 && protocol <= 1 ? "" : "Please choose a protocol."; }

std::string StoredNumberText(const std::string& text) { return DoubleToText(LeadingNumber(text)); }

std::string TrimmedText(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace quendrel
