// The quick setup menu wizard without its widgets: loads a drive's quick setup configuration (uploaded,
// or built offline from a firmware template), lets the user bind, name and scale each keypad slot,
// previews the keypad and writes the result to the drive or to a parameter file. The dialog renders
// View() after every handler, and at once whenever OnChanged fires inside a handler that yields to the
// message loop; it forwards only what the user did.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "foundation/progress/ProgressServer.h"
#include "params/compatibility/FirmwareInformationTemplate.h"
#include "params/files/KVBFile.h"

namespace quendrel {

class GIOContext;
class GIOServer;

class frmConfigureQuickSetup {
 public:
  static constexpr int kPageCount = 4;
  static constexpr int kPreviewPage = 3;

  // One entry of a list or combo box with its item data.
  struct ListEntry {
    std::string Text;
    std::int32_t Data = 0;
    friend bool operator==(const ListEntry&, const ListEntry&) = default;
  };
  // One node of the parameter picker; Parent empty for a top node. A node made only to group the
  // parameters of a menu whose header is absent assigns nothing.
  struct PickerNode {
    std::string Key;
    std::string Text;
    std::string Parent;
    bool Assigns = true;
  };

  struct Controls {
    int Page = 0;
    std::array<bool, kPageCount> Reachable = {true, false, false, false};
    bool bBackEnabled = false;
    bool bNextEnabled = false;
    std::string bNextCaption = "&Next >>";
    bool bSaveEnabled = false;
    bool bApplyEnabled = false;
    // Page 0: the source controls.
    std::string tbDriveIDText = "1";
    std::string tbFirmwareVersionText;
    bool SourceEnabled = true;  // bConnect, bGenerate, tbDriveID, tbFirmwareVersion
    std::string lblConnectStatus = "Upload Status";
    bool lblReadyToGoVisible = false;
    // Page 1.
    std::vector<ListEntry> lbM00;
    int lbM00Selected = -1;
    std::vector<PickerNode> treePramList;
    bool treeEnabled = false;
    std::string treeSelectedKey;  // empty: no selection
    std::set<std::string> treeExpanded;
    // Page 2.
    std::vector<ListEntry> cbSpecialSelect;
    int cbSpecialSelected = -1;
    std::string lblEditSpecialName = "Edit M??P?? Name:";
    std::string lblSpecialName = "M??P??:";
    std::string lblScaleAutomatically = "Scale M??P?? Automatically:";
    std::string lblScaleFormula = "M??P?? = M??P?? x ";
    std::vector<ListEntry> cbNameSelect;
    int cbNameSelected = -1;
    bool cbNameSelectEnabled = false;
    std::int32_t cbNameSelectTag = -1;
    std::string cbNameSelectToolTip;
    std::string tbCustomNameText;
    bool tbCustomNameEnabled = false;
    std::int32_t tbCustomNameTag = -1;
    std::string tbScaleEditText;
    int tbScaleEditDecimals = 0;  // the scale parameter's decimal places: what the box accepts
    bool tbScaleEditEnabled = false;
    std::int32_t tbScaleEditTag = -1;
    std::string tbScaleEditToolTip;
    // Page 3: the keypad's two lines as Latin-1 bytes, and the formula beside them.
    bool chkPreviewShowData = false;
    std::int32_t PreviewPosition = 0;
    std::string PreviewLine1;
    std::string PreviewLine2;
    std::string lblTooltip;
    bool lblTooltipVisible = false;
  };

  // Any progress sink may be null.
  struct Services {
    GIOServer* Server = nullptr;
    std::shared_ptr<ProgressBarSink> progUpload;
    std::shared_ptr<ProgressTextBarSink> tpbUpload;
    std::shared_ptr<ProgressLabelSink> lblConnectStatus;
  };

  explicit frmConfigureQuickSetup(Services services);

  // Called whenever the loading state changes inside a handler, before the handler yields to the
  // message loop, so the window never shows a control live that the core has disabled.
  void OnChanged(std::function<void()> handler) { onChanged_ = std::move(handler); }

  const Controls& View() const { return controls_; }
  const KVBFile& Set() const { return set_; }
  KVBFile& Set() { return set_; }
  bool Offline() const { return offline_; }
  bool Unloaded() const { return unloaded_; }
  ProgressServer& Progress() { return progress_; }

  // --- Window handlers ---
  void Form_Load();
  // The dialog is going: an upload in progress stops and no handler touches a control again.
  void Form_Unload();
  void bBack_Click();
  // A tab the user clicked; only reachable pages open.
  void tabPanel_Click(int page);
  // True when the wizard should close (Finish online after a successful send).
  bool bNext_Click();
  void bGenerate_Click();
  void bConnect_Click();
  void tbDriveID_Change(const std::string& text);
  void tbFirmwareVersion_Change(const std::string& text);
  void lbM00_Click(int index);
  void treePramList_NodeClick(const std::string& key);
  void cbSpecialSelect_Click(int index);
  void cbNameSelect_Click(int index);
  void tbCustomName_Change(const std::string& text);
  void tbCustomName_LostFocus();
  void tbScaleEdit_Change(const std::string& text);
  // The box then shows the scale the set holds, whatever was left half typed or refused, and the next
  // edit starts from it.
  void tbScaleEdit_LostFocus();
  void chkPreviewShowData_Click(bool ticked) { controls_.chkPreviewShowData = ticked; }
  void bPreviewUp_Click() { MovePreview(true); }
  void bPreviewDown_Click() { MovePreview(false); }
  // Both report success.
  bool bSave_Click();
  bool bApply_Click();

 private:
  void Changed() const;
  void SetSourceEnabled(bool enabled);
  void ShowPage(int page);
  void ApplyPageSwitch();
  void StartLoading();
  void SourceLoaded();
  void UploadFailed();
  bool UploadBindingRows(GIOContext& ctx);
  bool UploadNames(GIOContext& ctx, std::int32_t nameParameter);
  void BuildOfflineSet(double version);

  void FillSlotLists();
  void FillPicker();
  const PickerNode* FindNode(const std::string& key) const;
  void RewriteSlotList();
  void FillOptions();
  void FillNameChoice(const udtBindingData& row);
  void ShowScale(std::int32_t n);
  std::optional<double> ScaleValue(const std::string& text, std::int32_t n) const;

  void MarkParameters();
  bool DriveVersionMatches(GIOContext& ctx);
  bool ValuesWritable();
  bool WriteValues(GIOContext& ctx);
  bool WriteCustomNames(GIOContext& ctx);
  void ShowWriteError() const;

  void ResetPreview();
  void DrawPreview();
  void MovePreview(bool up);
  std::string PreviewNumberText(std::int32_t shown, const udtBindingData& row) const;
  void ReadLiveValue(std::int32_t shown);

  udtBindingData Row(std::int32_t slot) const;
  // The parameter a slot shows: 0 when not set, nothing when its pointer names no parameter.
  std::optional<std::int32_t> ShownParameter(const udtBindingData& row) const;
  std::string DisplayName(const udtBindingData& row) const;
  std::string ValueNameAt(std::int32_t n, double position) const;
  std::int32_t SlotAtPreviewPosition(std::int32_t position) const;
  // The address typed in the box, and the drive the settings belong to: the one uploaded from when
  // online, else the box's as it stands.
  std::uint8_t Address() const;
  std::uint8_t SettingsAddress() const;
  void ShowInvalidAddress() const;

  Services services_;
  Controls controls_;
  KVBFile set_;
  ProgressServer progress_;
  std::shared_ptr<const FirmwareInformationTemplate> template_;
  bool offline_ = false;
  bool busy_ = false;
  bool unloaded_ = false;
  std::uint8_t uploadedAddress_ = 0;
  // The scale the set held when the box last showed it: what a refused text leaves in the set.
  std::string scaleBeforeEdit_;
  std::function<void()> onChanged_;
};

}  // namespace quendrel
