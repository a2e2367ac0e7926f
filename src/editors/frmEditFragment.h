// The fragment file editor without its widgets: builds a parameter set from a firmware template or a
// file, lets the developer tick parameters and edit values offline, lists the ticked ones with their
// values, and saves only those; the window binds its controls to the fields below.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editors/SlotTargets.h"
#include "params/files/KVBFile.h"
#include "tree/ParameterTree.h"
#include "tree/ParameterTreeEvents.h"

namespace quendrel {

class FirmwareInformationTemplate;
class ImageList;

class frmEditFragment : public ParameterTreeEvents {
 public:
  static constexpr const char* Caption = "Build/Edit Fragment File";

  struct PreviewLine {
    std::string Text;
    std::int32_t ItemData = 0;
  };
  // The window's other controls, which the window shows after every handler.
  struct Controls {
    std::vector<std::string> cbFirmwareVersionItems;
    int cbFirmwareVersionIndex = -1;
    bool cbFirmwareVersionEnabled = false;
    std::string tbDescriptionText;
    std::vector<PreviewLine> lbPreview;
  };

  // The core becomes the tree's event handler; icons null means the tree shows none.
  frmEditFragment(std::shared_ptr<ParameterTree> tree, const ImageList* icons);
  ~frmEditFragment() override;
  frmEditFragment(const frmEditFragment&) = delete;
  frmEditFragment& operator=(const frmEditFragment&) = delete;

  const Controls& View() const { return controls_; }
  const KVBFile& Set() const { return set_; }
  ParameterTree& Tree() const { return *tree_; }
  bool Unsaved() const { return unsaved_; }

  // --- Window handlers ---
  void Form_Load();
  bool Form_QueryUnload();
  void cbFirmwareVersion_Click(int index) { controls_.cbFirmwareVersionIndex = index; }
  void bNewFragment_Click();
  void bBrowse_Click();
  // True once the file was written.
  bool bSaveFile_Click();
  // The user typed into the description box.
  void tbDescription_Change(const std::string& text);

  void BuildTreeFromFile();
  void BuildTreeFromFilePlusFIT(const FirmwareInformationTemplate* fit);

  // --- Tree events ---
  void pTree_CheckChanged(ParameterTreeNode& node);
  void pTree_ValueCommit(ParameterTreeNode& node);
  void pTree_ValueRefused(ParameterTreeNode& node);
  void pTree_DblClick();
  void pTree_KeyUp(int KeyCode, int Shift);

 private:
  void KeyUp(int& KeyCode, int& Shift) override { pTree_KeyUp(KeyCode, Shift); }
  void DblClick() override { pTree_DblClick(); }
  void CheckChanged(ParameterTreeNode& node) override { pTree_CheckChanged(node); }
  void ValueCommit(ParameterTreeNode& node) override { pTree_ValueCommit(node); }
  void ValueRefused(ParameterTreeNode& node) override { pTree_ValueRefused(node); }

  bool AskSaveChanges();
  void FillVersionList();
  void AddSyntheticHeader(std::int32_t header);
  void AddSlotNode(std::int32_t n);
  void ShowIcon(ParameterTreeNode& node) const;
  void CopyTemplateEntry(std::int32_t n, const FirmwareInformationTemplate& fit);
  void ApplyTemplate();
  void SetWritable(std::int32_t n);
  // Asks whether to apply the new version's template; false when the user cancelled the edit.
  bool VersionChangeAccepted(float value);
  std::map<std::int32_t, std::string> ValueTexts(const std::vector<std::int32_t>& entries) const;
  void ShowStored(const std::vector<std::int32_t>& entries, float value);
  void RestoreValues(const std::map<std::int32_t, std::string>& texts);
  void ShareSlotValues();
  void FollowPointers();
  void RewritePreviewLines(const std::vector<std::int32_t>& entries);
  void RemovePreviewLine(std::int32_t tag);
  std::string PreviewText(const ParameterTreeNode& node) const;
  std::int32_t SoftwareVersion() const;

  std::shared_ptr<ParameterTree> tree_;
  const ImageList* icons_;
  Controls controls_;
  KVBFile set_;
  bool unsaved_ = false;
  // The file the set was read from or last saved to; "" for a set built from a template.
  std::string file_;
  bool cascade_ = false;
  // What each quick setup slot showed when its row was last drawn.
  SlotTargets slotTargets_;
};

}  // namespace quendrel
