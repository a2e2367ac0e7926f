// The online parameter editor without its widgets: connects to one drive, uploads its whole set into
// a tree, writes every committed edit at once and keeps the visible rows fresh on a timer; the window
// binds its controls to the fields below and its two timers to the tick handlers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "foundation/progress/ProgressServer.h"
#include "params/files/KVBFile.h"
#include "tree/ParameterTree.h"
#include "tree/ParameterTreeEvents.h"

namespace quendrel {

class GIOContext;
class GIOServer;
class ImageList;

class frmEditOnline : public ParameterTreeEvents, public std::enable_shared_from_this<frmEditOnline> {
 public:
  // What the window lends the core when it is made. Any sink may be null.
  struct Services {
    GIOServer* Server = nullptr;
    std::function<void(const std::string&)> MainStatus;  // the main window's status bar
    const ImageList* Icons = nullptr;                    // the tree icons, used when UseIcons()
    std::string WebSite;                                 // named in the unknown-firmware question
    std::shared_ptr<ProgressBarSink> pbProgress;
    std::shared_ptr<ProgressTextBarSink> tpbProgress;
    std::shared_ptr<ProgressLabelSink> lblStatus;
  };

  // The state of the window's other controls, which the window shows after every OnChanged.
  struct Controls {
    std::string tbDriveAddrText;
    bool tbDriveAddrEnabled = true;
    bool bConnectEnabled = true;
    std::string lblConnectedCaption = "Not Connected";
    std::string lblStatusCaption = "Not Connected";
    std::uint32_t lblStatusForeColor = 0;
    std::uint32_t lblStatusBackColor = 0;
    std::uint32_t lblIndicatorColor = ProgressServer::IndicatorRed;
    std::string tpbProgressText;
    std::uint32_t lblDescriptionTagForeColor = 0;
    std::string tbDescriptionText;
    bool tbDescriptionEnabled = false;
    bool bSaveFileEnabled = false;
    bool TimerUpdateEnabled = false;
    bool TimerReconnectEnabled = false;
    int ConnectionState = 0;
  };

  static constexpr int StateIdle = 0;
  static constexpr int StateBusy = 1;
  static constexpr int StateConnected = 2;
  static constexpr int StateLost = 3;
  static constexpr int TimerInterval = 5000;  // ms, both timers

  // The core becomes the tree's event handler.
  frmEditOnline(std::shared_ptr<ParameterTree> tree, Services services);
  ~frmEditOnline() override;
  frmEditOnline(const frmEditOnline&) = delete;
  frmEditOnline& operator=(const frmEditOnline&) = delete;

  // Called after the control fields changed; the window repaints them at once.
  void OnChanged(std::function<void()> handler) { onChanged_ = std::move(handler); }
  // Called when a close the core deferred is due: the window closes itself, or lets the exit that asked
  // go on.
  void OnClose(std::function<void()> handler) { onClose_ = std::move(handler); }

  const Controls& View() const { return controls_; }
  const KVBFile& Set() const { return set_; }
  ParameterTree& Tree() const { return *tree_; }
  ProgressServer& Progress() { return progress_; }
  bool Busy() const { return busy_; }

  // --- Window handlers ---
  void Form_Load();
  // True when the window may close now; a close asked for while a handler is running is carried
  // out when the outermost one ends.
  bool Form_QueryUnload();
  // The window is going: both timers stop and no handler touches it again.
  void Form_Unload();
  void bConnect_Click();
  void bSaveFile_Click();
  void tbDriveAddr_Change(const std::string& text);
  void tbDescription_Change(const std::string& text);
  void TimerUpdate_Timer();
  void TimerReconnect_Timer();

  // --- Tree events ---
  void pTree_SelectionChanged(ParameterTreeNode* node);
  void pTree_ExpandChanged(ParameterTreeNode& node);
  void pTree_DblClick();
  void pTree_KeyUp(int KeyCode, int Shift);
  void pTree_ValueCommit(ParameterTreeNode& node);
  void pTree_ValueRefused(ParameterTreeNode& node);

 private:
  enum class NodeRead { Read, Failed, Lost };
  class PumpingHandler;
  class DrivePass;

  void KeyUp(int& KeyCode, int& Shift) override { pTree_KeyUp(KeyCode, Shift); }
  void DblClick() override { pTree_DblClick(); }
  void SelectionChanged(ParameterTreeNode* node) override { pTree_SelectionChanged(node); }
  void ExpandChanged(ParameterTreeNode& node) override { pTree_ExpandChanged(node); }
  void ValueCommit(ParameterTreeNode& node) override { pTree_ValueCommit(node); }
  void ValueRefused(ParameterTreeNode& node) override { pTree_ValueRefused(node); }

  void SetStatus(const std::string& text, bool isError);
  void SetStatusCaption(const std::string& text);
  void SetIndicator(std::uint32_t colour);
  void SetConnectionState(int state);
  void SetProgressText(const std::string& text);
  void SetProgressBar(std::int32_t value);
  void SetTimerReconnect(bool enabled);
  void Changed() const;

  bool UploadFromDrive(GIOContext& ctx);
  bool FirmwareAccepted(float version);
  void ConnectSucceeded(const GIOContext& ctx);
  void ConnectFailed();
  void BuildTree();
  void AddParameterNode(std::int32_t n);
  void ShowParameter(ParameterTreeNode& node, std::int32_t n, std::int32_t t);
  // failureStatus False leaves the status line to the caller.
  NodeRead ReadNodeUpdate(ParameterTreeNode& node, DrivePass& pass, bool failureStatus = true);
  std::int32_t FollowSlotPointers(ParameterTreeNode& node, DrivePass& pass);
  void ShowMovedPointers(DrivePass& pass);
  void FollowSetPointers();
  void ApplyValueRead(ParameterTreeNode& node, ParameterTreeNode* second, std::int32_t t, std::int32_t b,
                      float value);
  void ShowBitIcon(ParameterTreeNode& node, std::int32_t t) const;
  void ShowLastValueRead(ParameterTreeNode& node);
  // The row whose read found the drive gone, null when every row was read.
  ParameterTreeNode* UpdateAllParameters(DrivePass& pass);
  // The first row, in walk order, whose value the pass did not read; null when it read them all.
  const ParameterTreeNode* FirstNotRefreshed(const DrivePass& pass) const;
  // lostAt: where the drive was found gone, null when it answered to the end.
  bool SaveMayGoOn(const ParameterTreeNode* lostAt, const ParameterTreeNode& firstStale, const DrivePass& pass);
  void ConnectionLost(bool retry);
  void ForgetShownSet();
  // False when nothing reached the drive.
  bool WriteNodeValue(ParameterTreeNode& node, DrivePass& pass);
  void CloseIfRequested();

  std::uint8_t Address() const;
  std::shared_ptr<GIOContext> OpenContext() const;
  // A context for a handler's reads and writes, in the code set the last update tick found.
  std::shared_ptr<GIOContext> OpenReadContext() const;

  std::shared_ptr<ParameterTree> tree_;
  Services services_;
  Controls controls_;
  KVBFile set_;
  ProgressServer progress_;
  std::function<void()> onChanged_;
  std::function<void()> onClose_;

  bool busy_ = false;
  bool closeRequested_ = false;
  bool unloaded_ = false;
  bool uploaded_ = false;
  bool legacy_ = false;
  bool changed_ = false;
  std::uint8_t connectedAddress_ = 0;
  // The parameters read since the set was uploaded; every other value is still the upload's.
  std::set<std::int32_t> readSinceUpload_;
  // Handlers running that yield to the message loop, outermost included.
  int pumping_ = 0;
  // Moves on at every connect, address change and lost connection, so a yielding loop can tell that
  // the set it was filling is no longer the one shown.
  std::uint64_t generation_ = 0;
};

}  // namespace quendrel
