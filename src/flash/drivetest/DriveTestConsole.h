// The drive test window without its widgets: the command list, the grid and the special controls,
// the address and poll period rules, and every exchange the window starts, one at a time.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "flash/drivetest/DriveTestGrid.h"
#include "flash/drivetest/DriveTestPanel.h"

namespace quendrel {

class DriveFunctionTemplate;
class GIOServer;
class TextFeedback;

class DriveTestConsole {
 public:
  // The report box is held weakly: dropping it ends a file transfer before its next packet.
  DriveTestConsole(GIOServer& server, std::weak_ptr<TextFeedback> report);

  // The window's opening state: the command list, no command, the request shown, a 1000 ms period
  // and the address from [General] DriveAddress.
  void Load();

  const std::vector<std::string>& CommandList() const { return commands_; }
  // index into CommandList(); -1 for none.
  void ChooseCommand(int index);
  int ChosenCommand() const { return chosen_; }
  std::shared_ptr<DriveFunctionTemplate> ChosenTemplate() const;

  DriveTestGrid& Grid() { return grid_; }
  const DriveTestGrid& Grid() const { return grid_; }
  DriveTestPanel& Panel() { return panel_; }
  const DriveTestPanel& Panel() const { return panel_; }

  // Each returns the box's rewritten text.
  const std::string& SetAddressText(std::string_view text);
  const std::string& SetPeriodText(std::string_view text);
  const std::string& AddressText() const { return address_; }
  const std::string& PeriodText() const { return period_; }
  // Milliseconds; 0 means no ticks at all.
  int PollInterval() const { return interval_; }
  void SetPolling(bool on) { polling_ = on; }
  bool Polling() const { return polling_; }
  bool TimerRuns() const { return polling_ && interval_ > 0; }

  void SetShowRequest(bool on) { showRequest_ = on; }
  void SetShowRaw(bool on) { showRaw_ = on; }
  bool ShowRequest() const { return showRequest_; }
  bool ShowRaw() const { return showRaw_; }

  // True while an exchange runs; the file transfer pumps the window's events, and every exchange
  // started meanwhile would talk over it on the same line.
  bool Busy() const { return busy_; }
  // Called when Busy() changes, before the exchange's first request: the window shows the exchange
  // buttons disabled for as long as it runs. A Single Command other than the file transfer never
  // lets the window's events run, so the window could never show the change, and is not told.
  void OnBusyChanged(std::function<void()> handler) { onBusyChanged_ = std::move(handler); }

  // Single Command and each poll tick.
  void ExecuteSelectedFunction();
  void UnlockDrive();
  void ForceFlashMode();

 private:
  bool AddressByte(int& address);
  bool CollectArguments(const DriveFunctionTemplate& function, qovArrayList& arguments);
  void ShowReport(const std::string& text);
  template <typename Sequence>
  void RunButton(const std::string& label, Sequence sequence);

  GIOServer& server_;
  std::weak_ptr<TextFeedback> report_;
  std::vector<std::string> commands_;
  int chosen_ = -1;
  DriveTestGrid grid_;
  DriveTestPanel panel_;
  std::string address_ = "0";
  // The whole number address_ shows, -255..255.
  int addressValue_ = 0;
  std::string period_ = "0";
  int interval_ = 0;
  bool polling_ = false;
  bool showRequest_ = true;
  bool showRaw_ = false;
  bool busy_ = false;
  std::function<void()> onBusyChanged_;
};

}  // namespace quendrel
