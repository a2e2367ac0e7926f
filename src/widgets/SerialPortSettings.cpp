#include "widgets/SerialPortSettings.h"

#include "comms/CommSettings.h"
#include "comms/GIOServer.h"
#include "foundation/BaudRate.h"
#include "foundation/Config.h"
#include "widgets/SettingsChecks.h"

namespace quendrel {

std::string ComPortName(int index) { return "COM" + std::to_string(index + 1); }

namespace {

constexpr const char* kSection = "Serial Port";

}  // namespace

SerialPortSettings SerialPortSettings::FromConfig() {
  SerialPortSettings settings;
  settings.ComPort = CommSettings::Integer("ComPort", kSection, 0);
  settings.BaudRate = BaudRateFromIndex(BaudRateIndex(CommSettings::Text("BaudRate", kSection, "19200")));
  settings.Parity = CommSettings::Integer("Parity", kSection, 0);
  settings.DataBits = CommSettings::Integer("DataBits", kSection, 8);
  settings.StopBits = CommSettings::Integer("StopBits", kSection, 0);
  settings.Timeout = CommSettings::Text("Timeout", kSection, "1");
  settings.Retries = CommSettings::Text("Retries", kSection, "0");
  settings.LocalEcho = CommSettings::Boolean("LocalEcho", kSection, false);
  return settings;
}

std::string SerialPortSettings::Validate() const {
  if (ComPort < 0) return "Please choose a communication port.";
  if (BaudRateFromIndex(BaudRateIndex(std::to_string(BaudRate))) != BaudRate) {
    return "Please choose one of the listed baud rates.";
  }
  if (Parity < 0 || Parity > 2) return "Please choose a parity.";
  if (DataBits < 5 || DataBits > 8) return "Please choose 5 to 8 data bits.";
  if (StopBits < 0 || StopBits > 2) return "Please choose the stop bits.";
  if (std::string problem = TimeoutProblem(Timeout); !problem.empty()) return problem;
  return RetriesProblem(Retries);
}

void SerialPortSettings::WriteToConfig() const {
  INIFile& config = Config();
  config.SetValue("ComPort", kSection, std::to_string(ComPort));
  config.SetValue("BaudRate", kSection, std::to_string(BaudRate));
  config.SetValue("Parity", kSection, std::to_string(Parity));
  config.SetValue("DataBits", kSection, std::to_string(DataBits));
  config.SetValue("StopBits", kSection, std::to_string(StopBits));
  config.SetValue("Timeout", kSection, StoredNumberText(Timeout));
  config.SetValue("Retries", kSection, StoredNumberText(Retries));
  config.SetValue("LocalEcho", kSection, LocalEcho);
}

std::string ApplySerialPortSettings(const SerialPortSettings& settings, GIOServer& server) {
  std::string problem = settings.Validate();
  if (!problem.empty()) return problem;
  settings.WriteToConfig();
  server.SelectModule("Serial");
  return "";
}

}  // namespace quendrel
