// quendrel-drivesim: a simulated drive on a pseudo-terminal, for tests, benchmarks and hands-on work.

#include <csignal>
#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>

#include "drivesim/DefaultParameterTable.h"
#include "drivesim/SimOptions.h"
#include "drivesim/SimulatorLoop.h"
#include "drivesim/StopSignals.h"

namespace {

std::optional<quendrel::ParameterTable> LoadTable(const std::string& path, std::string& error) {
  if (path.empty()) return quendrel::DefaultParameterTable();
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot read " + path;
    return std::nullopt;
  }
  std::ostringstream text;
  text << file.rdbuf();
  auto table = quendrel::ParameterTable::FromText(text.str(), error);
  if (!table) error = path + ": " + error;
  return table;
}

int Fail(const std::string& message) {
  std::cerr << "quendrel-drivesim: " << message << "\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = quendrel::SimOptions::Parse(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) return Fail(error + "\n" + quendrel::SimOptions::Usage());
  if (options->help) {
    std::cout << quendrel::SimOptions::Usage();
    return 0;
  }
  auto table = LoadTable(options->tableFile, error);
  if (!table) return Fail(error);

  quendrel::SimulatorCore core(std::move(*table), static_cast<std::uint8_t>(options->address));
  core.SetLegacy(options->legacy);
  core.SetLocalEcho(options->localEcho);
  if (options->loader) core.SetMode(quendrel::LineMode::Loader);
  core.SetBaudRate(options->baudRate);
  core.Faults().Seed(options->seed);
  core.SetPassword(options->password);
  for (const auto& rule : options->faults) {
    core.Faults().Add(*quendrel::FaultRule::Parse(rule, error));
  }

  // A client that closes the port must not take us down with it.
  std::signal(SIGPIPE, SIG_IGN);
  quendrel::StopSignals::Install();
  quendrel::SimulatorLoop loop(core, options->linkPath, STDIN_FILENO, STDOUT_FILENO);
  if (!loop.Start(error)) return Fail(error);
  std::string greeting = loop.DevicePath() + "\n";
  const std::pair<int, quendrel::Framing> listeners[] = {{options->tcpPort, quendrel::Framing::Mbap},
                                                         {options->rtuTcpPort, quendrel::Framing::Rtu}};
  for (const auto& [port, framing] : listeners) {
    if (port < 0) continue;
    const int chosen = loop.Listen(framing, port, error);
    if (chosen < 0) return Fail(error);
    greeting += (framing == quendrel::Framing::Mbap ? "tcp " : "rtu-tcp ") + std::to_string(chosen) + "\n";
  }
  if (::write(STDOUT_FILENO, greeting.data(), greeting.size()) != static_cast<ssize_t>(greeting.size())) return 1;
  loop.Run();
  return 0;
}
