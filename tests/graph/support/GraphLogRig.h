// The scan window's core with everything around it for its tests: a view that records what the
// core showed, a fake clock, the in-process drive on a registry of its own, the simulated drive's
// compatibility file as the program's, a fresh scan list and settings, and a folder for the log.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "comms/server/GIOServer.h"
#include "graph/scan/GraphLogSession.h"
#include "graph/support/InProcessDrive.h"
#include "params/compatibility/FirmwareInformationTemplate.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"
#include "support/TempFolder.h"

namespace quendrel::testing {

class RecordingGraphLogView : public GraphLogView {
 public:
  struct Timer {
    bool Running = false;
    std::int32_t Interval = 0;
    friend bool operator==(const Timer&, const Timer&) = default;
  };

  void SetEnabled(GraphLogControl control, bool on) override { enabled[control] = on; }
  void SetStatus(const std::string& text) override { statuses.push_back(text); }
  void SetStartCaption(const std::string& caption) override { startCaption = caption; }
  void SetDriveAddressText(const std::string& text) override { driveAddress = text; }
  void SetLogFileText(const std::string& text) override { logFile = text; }
  void SetContinuousScan(bool checked) override { continuous = checked; }
  void SetScanTimer(bool running, std::int32_t interval) override { scanTimer = {running, interval}; }
  void SetKeepaliveTimer(bool running, std::int32_t interval) override { keepalive = {running, interval}; }
  void ShowTabPage(int page) override { tabPage = page; }
  bool ScheduleSeriesListRefresh() override {
    ++listRefreshes;
    return scheduleListRefresh;
  }
  void CloseNow() override {
    ++closes;
    if (onClose) onClose();
  }

  std::map<GraphLogControl, bool> enabled;
  std::vector<std::string> statuses;
  std::string startCaption;
  std::string driveAddress;
  std::string logFile;
  bool continuous = false;
  Timer scanTimer;
  Timer keepalive;
  int tabPage = -1;
  int closes = 0;
  std::function<void()> onClose;
  bool scheduleListRefresh = false;
  int listRefreshes = 0;
};

class GraphLogRig {
 public:
  explicit GraphLogRig(const std::string& tableText = "", bool useIcons = true);
  ~GraphLogRig();
  GraphLogRig(const GraphLogRig&) = delete;
  GraphLogRig& operator=(const GraphLogRig&) = delete;

  // Form_Load; the window closes as a window does when the core says a close is due.
  void Load();
  // Connect at the address in the box; fails the test unless the window ends connected.
  void Connect();
  // The user ticks or unticks a node's box.
  void Tick(const std::string& key, bool ticked = true);
  ParameterTreeNode& Node(const std::string& key) const { return tree->Node(key); }
  std::shared_ptr<gdSeries> Series(const std::string& name) const { return session->gdcGraphData().Series(name); }
  std::vector<std::string> SeriesNames() const;
  // The drive falls silent during a keepalive tick.
  void LoseDrive();
  // Runs action at the chosen pump of what follows (an upload pumps once a parameter).
  void AtPump(int pump, std::function<void()> action);

  // A copy of the drive's 2.105 template, installed as the program's only one for the test to edit.
  std::shared_ptr<FirmwareInformationTemplate> OwnTemplate();

  std::string LogPath() const { return folder.File("scan.log"); }
  // The log's lines without their CR LF; a line not ended by CR LF fails the test.
  std::vector<std::string> LogLines() const;

  ScriptedUi ui;
  TempFolder folder;
  FakeClock clock;
  GIOServer server{clock};
  InProcessDrive* drive = nullptr;
  std::shared_ptr<ParameterTree> tree = std::make_shared<ParameterTree>();
  RecordingGraphLogView view;
  std::shared_ptr<GraphLogSession> session;
};

// The simulated drive's table with one text replaced.
std::string TableWith(const std::string& from, const std::string& to);

inline double FakeClockStart() { return FakeClock::DefaultStart; }

// "01-01-2024 00:00:0s.mmm" for the fake clock's start plus that many seconds.
std::string StampText(double secondsAfterStart, bool tabSeparated = false);

}  // namespace quendrel::testing
