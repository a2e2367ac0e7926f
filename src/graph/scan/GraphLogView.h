// What the scan window's core asks of its window: the controls it enables and labels, the status
// line, the two timers and the tab page. The core keeps the same state itself (GraphLogSession's
// getters), so a window may also read it back at any time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quendrel {

// The window's controls whose Enabled flag the core sets.
enum class GraphLogControl : std::uint8_t {
  bConnect,
  tbDriveAddr,
  bAdvancedOptions,
  bRemoveAll,
  bSaveSnapshot,
  bPrintSnapshot,
  bStartGraph,
  tpScanPeriod,
  tpWindowLen,
  treePramList,
  slbSeries,
  chkContinuousScan,
  bLogBrowse,
  tbLogFile,
};
inline constexpr std::size_t kGraphLogControlCount = static_cast<std::size_t>(GraphLogControl::tbLogFile) + 1;

// The two pages of the window's tab control.
inline constexpr int kGraphLogSetupPage = 0;
inline constexpr int kGraphLogGraphPage = 1;

class GraphLogView {
 public:
  virtual ~GraphLogView() = default;

  // The tree, the series list and the two pickers are cores the window wraps; they are switched
  // through their cores as well, so their widgets may follow either.
  virtual void SetEnabled(GraphLogControl control, bool enabled) = 0;
  // The status label and the main window's status panel 2, the whole text in both, repainted at
  // once: a drive request may keep the message loop from running for a while.
  virtual void SetStatus(const std::string& text) = 0;
  // bStartGraph: "Start Scanning" or "Stop Scanning".
  virtual void SetStartCaption(const std::string& caption) = 0;
  // The core's rewrite of a text box or the continuous box; the window raises no Change for it.
  virtual void SetDriveAddressText(const std::string& text) = 0;
  virtual void SetLogFileText(const std::string& text) = 0;
  virtual void SetContinuousScan(bool checked) = 0;
  // TimerScan and TimerConnection, in milliseconds. An interval of 0 never fires, whatever the
  // running flag says; the window sets the interval before it starts the timer.
  virtual void SetScanTimer(bool running, std::int32_t intervalMs) = 0;
  virtual void SetKeepaliveTimer(bool running, std::int32_t intervalMs) = 0;
  // Shows the page (kGraphLogSetupPage or kGraphLogGraphPage) and lays it out.
  virtual void ShowTabPage(int page) = 0;
  // A sweep changed the series' values. True when the window has scheduled one repaint of the
  // series list for its next paint (the sweep then costs no drawing of its own); false, the
  // default, has the core repaint the list at once. The graph pane schedules its own repaint.
  virtual bool ScheduleSeriesListRefresh() { return false; }
  // A close the core held back while one of its handlers ran is due now: the window closes itself,
  // from its message loop rather than from inside this call.
  virtual void CloseNow() = 0;
};

}  // namespace quendrel
