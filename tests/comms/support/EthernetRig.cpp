#include "comms/support/EthernetRig.h"

#include "foundation/Config.h"
#include "foundation/NumberText.h"
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

EthernetRig::EthernetRig(Options options)
    : sim_(std::make_unique<DriveSimProcess>(SimulatorArguments(options))), server_(SystemClockInstance()) {
  ResetConfig();
  Config().SetValue("Host", "Ethernet", "127.0.0.1");
  Config().SetValue("Timeout", "Ethernet", DoubleToText(kTimeout));
  Config().SetValue("Authenticate", "Ethernet", options.password.has_value());
  Config().SetValue("Password", "Ethernet", EthernetModule::StoredPassword(options.password.value_or("")));
  SetEthernetRetries(0);
  SetGeneralRetries(0);
  module_ = static_cast<EthernetModule*>(
      &server_.RegisterModule(std::make_unique<EthernetModule>(SystemClockInstance())));
  server_.Startup();
  server_.SelectModule("Ethernet");
  UseProtocol(options.protocol);
  context_ = server_.OpenContext(1, -1);
}

EthernetRig::~EthernetRig() {
  context_.reset();
  server_.Shutdown();
}

void EthernetRig::UseProtocol(int protocol) {
  module_->SetProtocol(protocol);
  module_->SetPort(protocol == EthernetModule::kModbusTcp ? sim_->TcpPort() : sim_->RtuTcpPort());
}

void EthernetRig::SetEthernetRetries(int retries) {
  Config().SetValue("Retries", "Ethernet", std::to_string(retries));
}

void EthernetRig::SetGeneralRetries(int retries) {
  Config().SetValue("Retries", "General", std::to_string(retries));
}

}  // namespace quendrel
