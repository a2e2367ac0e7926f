#include "comms/support/EthernetRig.h"

#include "foundation/settings/Config.h"
#include "foundation/text/NumberText.h"
#include "platform/Clock.h"

namespace quendrel {

namespace {

std::vector<std::string> SimulatorArguments(const EthernetRig::Options& options) {
  std::vector<std::string> arguments{"--tcp", "0", "--rtu-tcp", "0"};
  if (options.password) {
    arguments.push_back("--password");
    arguments.push_back(*options.password);
  }
  arguments.insert(arguments.end(), options.simulatorArguments.begin(), options.simulatorArguments.end());
  return arguments;
}

}  // namespace

EthernetRig::EthernetRig(Options options) : DriveRig(SimulatorArguments(options)) {
  Config().SetValue("Host", "Ethernet", "127.0.0.1");
  SetTimeout(kTimeout);
  Config().SetValue("Authenticate", "Ethernet", options.password.has_value());
  Config().SetValue("Password", "Ethernet", EthernetModule::StoredPassword(options.password.value_or("")));
  SetEthernetRetries(0);
  module_ = static_cast<EthernetModule*>(&Install(std::make_unique<EthernetModule>(SystemClockInstance())));
  UseProtocol(options.protocol);
}

EthernetRig::Options EthernetRig::OnProtocol(int protocol) {
  Options options;
  options.protocol = protocol;
  return options;
}

void EthernetRig::UseProtocol(int protocol) {
  module_->SetProtocol(protocol);
  module_->SetPort(protocol == EthernetModule::kModbusTcp ? Sim().TcpPort() : Sim().RtuTcpPort());
}

void EthernetRig::SetEthernetRetries(int retries) {
  Config().SetValue("Retries", "Ethernet", std::to_string(retries));
}

void EthernetRig::SetTimeout(double seconds) { Config().SetValue("Timeout", "Ethernet", DoubleToText(seconds)); }

}  // namespace quendrel
