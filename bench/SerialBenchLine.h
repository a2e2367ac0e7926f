// A simulated drive on a pseudo-terminal behind a started serial module: what every benchmark that
// talks to a drive over a serial line sets up first. The module shuts down before the drive goes.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "comms/modules/SerialModule.h"
#include "comms/server/GIOServer.h"
#include "drivesim/DriveSimProcess.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"

namespace quendrel {

struct SerialBenchLine {
  explicit SerialBenchLine(const std::string& baudRate = "115200", std::vector<std::string> simArguments = {})
      : sim(std::move(simArguments)), server(SystemClockInstance()) {
    ResetConfig();
    Config().SetValue("PortNames", "Serial Port", sim.DevicePath());
    Config().SetValue("BaudRate", "Serial Port", baudRate);
    Config().SetValue("Timeout", "Serial Port", "2");
    server.RegisterModule(std::make_unique<SerialModule>(SystemClockInstance()));
    server.Startup();
    server.SelectModule("Serial");
  }
  ~SerialBenchLine() { server.Shutdown(); }
  SerialBenchLine(const SerialBenchLine&) = delete;
  SerialBenchLine& operator=(const SerialBenchLine&) = delete;

  DriveSimProcess sim;
  GIOServer server;
};

}  // namespace quendrel
