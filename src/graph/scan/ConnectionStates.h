// What each connection state of the scan window enables, shows and runs, as tables indexed by the
// state: 0 not connected, 1 connecting, 2 connected, 3 disconnected (the drive was lost).
#pragma once

#include <array>

#include "graph/scan/GraphLogView.h"

namespace quendrel {

inline constexpr int kConnectionStateCount = 4;

struct ControlStateRow {
  GraphLogControl Control;
  std::array<bool, kConnectionStateCount> EnabledIn;
};

// The controls every state sets; the others keep their flags.
inline constexpr std::array<ControlStateRow, 11> kConnectionStateControls = {{
    //                                    0      1      2      3
    {GraphLogControl::bConnect,          {true, false, true, true}},
    {GraphLogControl::bAdvancedOptions,  {false, false, true, false}},
    {GraphLogControl::bRemoveAll,        {false, false, true, false}},
    {GraphLogControl::bSaveSnapshot,     {false, false, true, true}},
    {GraphLogControl::bPrintSnapshot,    {false, false, true, true}},
    {GraphLogControl::bStartGraph,       {false, false, true, false}},
    {GraphLogControl::tpScanPeriod,      {false, false, false, false}},
    {GraphLogControl::tpWindowLen,       {false, false, true, true}},
    {GraphLogControl::treePramList,      {false, false, true, false}},
    {GraphLogControl::slbSeries,         {false, false, true, false}},
    {GraphLogControl::chkContinuousScan, {false, false, false, false}},
}};

struct ConnectionStateEffects {
  const char* Status;
  bool Keepalive;          // TimerConnection runs; TimerScan is off after every state change
  bool ClearsAutoRestart;  // a reconnect after a loss no longer restarts the scan
};

inline constexpr std::array<ConnectionStateEffects, kConnectionStateCount> kConnectionStateEffects = {{
    {"Not Connected", false, true},
    {"Connecting...", false, true},
    {"Connected", true, false},
    {"Disconnected", true, false},
}};

}  // namespace quendrel
