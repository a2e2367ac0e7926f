#include "widgets/SerialPortSettings.h"

#include "comms/server/CommSettings.h"
#include "comms/server/GIOServer.h"
#include "comms/server/SettingsChecks.h"
#include "foundation/settings/Config.h"
#include "foundation/text/BaudRate.h"

namespace quendrel {

// Scripts may set any index; the name must not overflow on the largest.
std::string ComPortName(int index) { return "COM" + std::to_string(static_cast<long long>(index) + 1); }

namespace {

constexpr const char* kSection = "Serial Port";

}  // namespace

SerialPortSettings SerialPortSettings::FromConfig() {
  SerialPortSettings settings;
  settings.ComPort = CommSettings::CheckedInteger("ComPort", kSection, settings.ComPort, ComPortProblem);
  settings.BaudRate = BaudRateFromIndex(BaudRateIndex(CommSettings::Text("BaudRate", kSection, "19200")));
  settings.Parity = CommSettings::CheckedInteger("Parity", kSection, settings.Parity, ParityProblem);
  settings.DataBits = CommSettings::CheckedInteger("DataBits", kSection, settings.DataBits, DataBitsProblem);
  settings.StopBits = CommSettings::CheckedInteger("StopBits", kSection, settings.StopBits, StopBitsProblem);
  settings.Timeout = CommSettings::CheckedText("Timeout", kSection, settings.Timeout, TimeoutProblem);
  settings.Retries = CommSettings::CheckedText("Retries", kSection, settings.Retries, RetriesProblem);
  settings.LocalEcho = CommSettings::Boolean("LocalEcho", kSection, false);
  return settings;
}

std::string SerialPortSettings::Validate() const {
  if (BaudRateFromIndex(BaudRateIndex(std::to_string(BaudRate))) != BaudRate) {
    return "Please choose one of the listed baud rates.";
  }
  for (const std::string& problem : {ComPortProblem(ComPort), ParityProblem(Parity), DataBitsProblem(DataBits),
                                     StopBitsProblem(StopBits), TimeoutProblem(Timeout), RetriesProblem(Retries)}) {
    if (!problem.empty()) return problem;
  }
  return "";
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
