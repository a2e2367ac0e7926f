// The scan window in a main window's MDI area against the simulated drive in its own process, over
// a pseudo-terminal or over Modbus/TCP, with a fresh scan list and settings, a folder for the log and
// the compatibility file each test asks for.
#pragma once

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

#include <memory>
#include <string>
#include <vector>

#include "comms/server/GIOServer.h"
#include "drivesim/DriveSimProcess.h"
#include "graph/scan/qt/frmGraphLog.h"
#include "platform/ScriptedUi.h"
#include "platform/qt/QtImageList.h"
#include "support/TempFolder.h"

namespace quendrel::testing {

enum class DriveLink { PseudoTerminal, ModbusTcp };

const char* DriveLinkName(DriveLink link);

// What the program knows of the drive's firmware.
enum class Compatibility { DrivesOwn, None };

class ScanWindowRig {
 public:
  // Short, so a lost drive costs little, and long enough for a loaded machine.
  static constexpr double kTimeout = 0.4;

  ScanWindowRig(DriveLink link, std::vector<std::string> simulatorArguments = {},
                Compatibility compatibility = Compatibility::DrivesOwn);
  ~ScanWindowRig();
  ScanWindowRig(const ScanWindowRig&) = delete;
  ScanWindowRig& operator=(const ScanWindowRig&) = delete;

  // Compiles source as the program's only compatibility file; fails the test when it does not compile.
  static void UseCompatibilitySource(const std::string& source);

  // Opens the window in the area as the main window does.
  void Open();
  GraphLogSession& Core() const { return window->Core(); }
  // Clicks Connect; fails the test unless the window ends connected.
  void Connect();
  // The user selects the node and ticks or unticks its box with the space bar.
  void Tick(const std::string& key);
  ParameterTreeNode& Node(const std::string& key) const;
  std::shared_ptr<gdSeries> Series(const std::string& name) const;
  std::vector<std::string> SeriesNames() const;
  // Runs the message loop until the log has at least that many lines, or the simulator's patience
  // runs out (a failure, not a measurement).
  bool WaitForLogLines(std::size_t count);
  // The log's lines without their CR LF; a line not ended by CR LF fails the test.
  std::vector<std::string> LogLines() const;
  std::string LogPath() const { return folder.File("scan.log"); }

  QApplication& app;
  ScriptedUi ui;
  TempFolder folder;
  std::unique_ptr<DriveSimProcess> sim;
  GIOServer server;
  QtImageList icons;
  QMainWindow main;
  QMdiArea* area = nullptr;
  frmGraphLog* window = nullptr;
  std::vector<std::string> mainStatus;
};

}  // namespace quendrel::testing
