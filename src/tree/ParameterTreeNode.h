// One row of the parameter tree: its links, its layout, what it shows, and how it measures,
// draws and answers a click on itself.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "tree/ptScrollData.h"

namespace quendrel {

class Canvas;
class ParameterTree;

class ParameterTreeNode {
 public:
  ParameterTreeNode() = default;
  ParameterTreeNode(const ParameterTreeNode&) = delete;
  ParameterTreeNode& operator=(const ParameterTreeNode&) = delete;

  // Links: plain stores, set by the tree.
  ParameterTree* Owner() const { return owner_; }
  void SetOwner(ParameterTree* owner) { owner_ = owner; }
  ParameterTreeNode* parent() const { return parent_; }
  void Setparent(ParameterTreeNode* node) { parent_ = node; }
  ParameterTreeNode* Child() const { return child_; }
  void SetChild(ParameterTreeNode* node) { child_ = node; }
  ParameterTreeNode* Sibling() const { return sibling_; }
  void SetSibling(ParameterTreeNode* node);
  // The sibling before this one, kept so drawing can start in the middle of a branch.
  ParameterTreeNode* PreviousSibling() const { return previous_; }

  bool Expanded() const { return expanded_; }
  void SetExpanded(bool expanded) { expanded_ = expanded; }

  // Layout, written by the tree's layout pass.
  bool Sited() const { return sited_; }
  std::int32_t SiteX() const { return siteX_; }
  std::int32_t SiteY() const { return siteY_; }
  std::int32_t Col2X() const { return col2X_; }
  void SetSited(bool sited) { sited_ = sited; }
  void SetSiteX(std::int32_t x) { siteX_ = x; }
  void SetSiteY(std::int32_t y) { siteY_ = y; }
  void SetCol2X(std::int32_t x) { col2X_ = x; }
  bool Dirty() const { return dirty_; }
  void SetDirty(bool dirty) { dirty_ = dirty; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  bool Selected() const { return selected_; }
  void SetSelected(bool selected) { selected_ = selected; }
  bool Focus() const { return focus_; }
  void SetFocus(bool focus) { focus_ = focus; }
  float Value() const { return value_; }
  void SetValue(float value) { value_ = value; }
  std::int32_t Checked() const { return checked_; }
  void SetChecked(std::int32_t checked) { checked_ = checked; }
  std::int16_t Tag() const { return tag_; }
  void SetTag(std::int16_t tag) { tag_ = tag; }
  const std::string& FormatString() const { return formatString_; }
  void SetFormatString(std::string format) { formatString_ = std::move(format); }
  const std::string& Icon() const { return icon_; }
  void SetIcon(std::string icon) { icon_ = std::move(icon); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool Greyed() const { return greyed_; }
  void SetGreyed(bool greyed) { greyed_ = greyed; }
  bool Bold() const { return bold_; }
  void SetBold(bool bold) { bold_ = bold; }

  // Value descriptions: the name of value v is kept under v.
  void ClearDVDs() { dvds_.clear(); }
  // Raises RuntimeError 457 when the index already has a description.
  void AddDVD(std::int16_t index, const std::string& text);
  // "<ERROR>" when the index has no description.
  std::string DVD(std::int16_t index) const;
  std::int16_t DVDCount() const { return static_cast<std::int16_t>(dvds_.size()); }
  // The description of the value rounded down; "<ERROR>" for a value without one, including
  // values beyond the 16-bit range, NaN and infinities.
  std::string ValueName(double value) const;
  // The value as the row shows it: its name when the node has descriptions, else formatted.
  std::string PrintableValue() const;
  // Value formatted with FormatString, as the text editor opens with it.
  std::string FormattedValue() const;

  std::int16_t DescendantCount(bool visibleOnly) const;
  std::int16_t MinWidth() const;
  std::int16_t MinHeight() const;

  // Draws the row, then the expanded children, whatever Dirty holds.
  void Render(const ptScrollData& scrollFrame, std::int32_t RenderFlags, bool onlyDirty);
  void RenderChildren(const ptScrollData& scrollFrame, std::int32_t RenderFlags, bool onlyDirty);
  // The row alone, and the line from it down to its next sibling alone: what a drawing that
  // leaves out rows off the canvas needs.
  void RenderRow(const ptScrollData& scrollFrame);
  void RenderSiblingLine(const ptScrollData& scrollFrame);
  // Hit test at X, Y twips from the row's top left; true when Expanded was toggled.
  bool Click(Canvas& canvas, float X, float Y, bool plusMinus);

  // Over this node, its following siblings and all their descendants.
  void ExpandAll();
  void CollapseAll();
  void DeselectAll();

  void SetChildTreeChecked(std::int32_t chkv);
  void UpdateGrayed();

 private:
  struct RowGeometry;
  void SetExpandedOnward(bool expanded);

  Canvas& Surface() const;
  std::int32_t Flags() const;
  RowGeometry Geometry(const ptScrollData& scrollFrame) const;
  std::uint32_t LineColor() const;
  void DrawSelection(const RowGeometry& row, std::uint32_t& textColor);
  void DrawLinesAndBox(const RowGeometry& row, std::uint32_t lineColor);
  void DrawCheckBox(const RowGeometry& row);
  void DrawIcon(const RowGeometry& row);
  void DrawTexts(const RowGeometry& row, std::uint32_t textColor);

  ParameterTree* owner_ = nullptr;
  ParameterTreeNode* parent_ = nullptr;
  ParameterTreeNode* child_ = nullptr;
  ParameterTreeNode* sibling_ = nullptr;
  ParameterTreeNode* previous_ = nullptr;
  bool expanded_ = false;
  bool sited_ = false;
  std::int32_t siteX_ = 0;
  std::int32_t siteY_ = 0;
  std::int32_t col2X_ = 0;
  bool dirty_ = false;
  bool selected_ = false;
  bool focus_ = false;
  std::string caption_;
  float value_ = 0.0f;
  std::int16_t tag_ = 0;
  std::string formatString_ = "####0.0####";
  std::string icon_;
  std::int32_t checked_ = 0;
  std::map<std::int16_t, std::string> dvds_;
  bool enabled_ = true;
  bool greyed_ = false;
  bool bold_ = false;
};

}  // namespace quendrel
