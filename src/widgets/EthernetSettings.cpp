#include "widgets/EthernetSettings.h"

#include "comms/modules/EthernetModule.h"
#include "comms/server/CommSettings.h"
#include "comms/server/GIOServer.h"
#include "comms/server/SettingsChecks.h"
#include "foundation/settings/Config.h"

namespace quendrel {

namespace {

constexpr const char* kSection = "Ethernet";

}  // namespace

EthernetSettings EthernetSettings::FromConfig() {
  EthernetSettings settings;
  settings.Host = CommSettings::CheckedText("Host", kSection, EthernetModule::kDefaultHost, HostProblem);
  settings.Port = CommSettings::CheckedText("Port", kSection, settings.Port, TcpPortProblem);
  settings.Protocol = CommSettings::CheckedInteger("Protocol", kSection, settings.Protocol, ProtocolProblem);
  settings.Authenticate = CommSettings::Boolean("Authenticate", kSection, false);
  settings.Password = EthernetModule::PasswordFromStore(Config().Value("Password", kSection));
  settings.Timeout = CommSettings::CheckedText("Timeout", kSection, settings.Timeout, TimeoutProblem);
  settings.Retries = CommSettings::CheckedText("Retries", kSection, settings.Retries, RetriesProblem);
  return settings;
}

std::string EthernetSettings::Validate() const {
  for (const std::string& problem : {HostProblem(Host), TcpPortProblem(Port), ProtocolProblem(Protocol),
                                     TimeoutProblem(Timeout), RetriesProblem(Retries)}) {
    if (!problem.empty()) return problem;
  }
  return "";
}

void EthernetSettings::WriteToConfig() const {
  INIFile& config = Config();
  config.SetValue("Host", kSection, TrimmedText(Host));
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
