// The offline parameter file editor without its widgets: loads one binary parameter file into a tree,
// lets the user change values, bits and the description, mirrors quick setup slots and the
// parameters they show, and saves the set again; the window binds its controls to the fields below.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "editors/SlotTargets.h"
#include "params/files/KVBFile.h"
#include "tree/ParameterTree.h"
#include "tree/ParameterTreeEvents.h"

namespace quendrel {

class ImageList;

class frmEditOffline : public ParameterTreeEvents {
 public:
  static constexpr const char* Caption = "Edit Parameter File (Offline)";

  // The texts of the window's two boxes, which the window shows after every handler.
  struct Controls {
    std::string tbFileNameText;
    std::string tbDescriptionText;
  };

  // The core becomes the tree's event handler; icons may be null (no icons in the tree).
  frmEditOffline(std::shared_ptr<ParameterTree> tree, const ImageList* icons);
  ~frmEditOffline() override;
  frmEditOffline(const frmEditOffline&) = delete;
  frmEditOffline& operator=(const frmEditOffline&) = delete;

  const Controls& View() const { return controls_; }
  const KVBFile& Set() const { return set_; }
  ParameterTree& Tree() const { return *tree_; }
  bool Unsaved() const { return unsaved_; }

  // --- Window handlers ---
  void Form_Load();
  // False when the user keeps the window open to keep unsaved edits.
  bool Form_QueryUnload();
  void Form_Unload();
  void bBrowse_Click();
  void bLoadFile_Click();
  // True once the file was written.
  bool bSaveFile_Click();
  void tbFileName_Change(const std::string& text) { controls_.tbFileNameText = text; }
  // The user typed into the description box.
  void tbDescription_Change(const std::string& text);

  // --- Tree events ---
  void pTree_DblClick();
  void pTree_KeyUp(int KeyCode, int Shift);
  void pTree_ValueCommit(ParameterTreeNode& node);
  void pTree_ValueRefused(ParameterTreeNode& node);

 private:
  void KeyUp(int& KeyCode, int& Shift) override { pTree_KeyUp(KeyCode, Shift); }
  void DblClick() override { pTree_DblClick(); }
  void ValueCommit(ParameterTreeNode& node) override { pTree_ValueCommit(node); }
  void ValueRefused(ParameterTreeNode& node) override { pTree_ValueRefused(node); }

  bool MayDiscard();
  void Browse();
  // True once the file replaced the window's set.
  bool Load(const std::string& path);
  void BuildTree();
  void AddSlotNode(std::int32_t n);
  void ShowParameter(ParameterTreeNode& node, std::int32_t n) const;
  void ShowValueNames(ParameterTreeNode& node, std::int32_t shown) const;
  void FollowPointers();
  void Store(ParameterTreeNode& node);
  std::int32_t Shown(std::int32_t n) const;
  bool Editable(std::int32_t n) const;

  std::shared_ptr<ParameterTree> tree_;
  const ImageList* icons_;
  Controls controls_;
  KVBFile set_;
  // The file the set was loaded from or last saved to, "" for none: the name box may already hold the
  // next file to load.
  std::string file_;
  bool unsaved_ = false;
  // What each quick setup slot showed when its row was last drawn.
  SlotTargets slotTargets_;
};

}  // namespace quendrel
