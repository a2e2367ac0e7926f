#include "widgets/EthernetSettings.h"

#include "comms/CommSettings.h"
#include "comms/EthernetModule.h"
#include "comms/GIOServer.h"
#include "foundation/Config.h"
#include "foundation/NumberText.h"
#include "widgets/SettingsChecks.h"

namespace quendrel {

namespace {

constexpr const char* kSection = "Ethernet";

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

EthernetSettings EthernetSettings::FromConfig() {
  EthernetSettings settings;
  settings.Host = CommSettings::Text("Host", kSection, "");
  settings.Port = CommSettings::Text("Port", kSection, "502");
  settings.Protocol = CommSettings::Integer("Protocol", kSection, 0);
  settings.Authenticate = CommSettings::Boolean("Authenticate", kSection, false);
  settings.Password = EthernetModule::PasswordFromStore(Config().Value("Password", kSection));
  settings.Timeout = CommSettings::Text("Timeout", kSection, "2");
  settings.Retries = CommSettings::Text("Retries", kSection, "0");
  return settings;
}

std::string EthernetSettings::Validate() const {
  if (Trimmed(Host).empty()) return "Please enter the host name or address of the drive.";
  if (!IsWholeNumberText(Port) || LeadingNumber(Port) < 1 || LeadingNumber(Port) > 65535) {
    return "The port must be a whole number from 1 to 65535.";
  }
  if (Protocol < 0 || Protocol > 1) return "Please choose a protocol.";
  if (std::string problem = TimeoutProblem(Timeout); !problem.empty()) return problem;
  return RetriesProblem(Retries);
}

void EthernetSettings::WriteToConfig() const {
  INIFile& config = Config();
  config.SetValue("Host", kSection, Trimmed(Host));
  config.SetValue("Port", kSection, StoredNumberText(Port));
  config.SetValue("Protocol", kSection, std::to_string(Protocol));
  config.SetValue("Authenticate", kSection, Authenticate);
  config.SetValue("Password", kSection, EthernetModule::StoredPassword(Password));
  config.SetValue("Timeout", kSection, StoredNumberText(Timeout));
  config.SetValue("Retries", kSection, StoredNumberText(Retries));
}

std::string ApplyEthernetSettings(const EthernetSettings& settings, GIOServer& server) {
  std::string problem = settings.Validate();
  if (!problem.empty()) return problem;
  settings.WriteToConfig();
  if (server.Module("Ethernet") == nullptr) {
    return "The settings are saved, but there is no Ethernet module to use them.";
  }
  server.SelectModule("Ethernet");
  return "";
}

}  // namespace quendrel
