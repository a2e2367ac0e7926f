// Layout, scroll bars, canvas geometry and painting of the parameter tree.
#include <algorithm>

#include "foundation/text/NumberText.h"
#include "platform/ImageList.h"
#include "tree/ParameterTree.h"
#include "tree/TreeRenderFlags.h"

namespace quendrel {
namespace {

constexpr float Tw(double pixels) { return static_cast<float>(pixels * TreeTwipsPerPixel); }
std::int32_t PxOf(double twips) { return RoundHalfEven(twips / TreeTwipsPerPixel); }
std::int32_t Nearest(double value) { return RoundHalfEven(value); }

// The gap, in twips, between a parent's row and its first child and after the end of a branch.
constexpr double kBranchGap = 2.0 * TreeTwipsPerPixel;
constexpr float kBarMargin = 60.0f;
constexpr float kCanvasMargin = 40.0f;

bool IsAutomatic(std::int32_t scrollBars) { return scrollBars >= 4 && scrollBars <= 7; }

}  // namespace

void ParameterTree::SiteNodes() {
  rows_.clear();
  const std::int32_t rowH = RowHeight();
  std::int32_t maxW = 0;
  int depth = 0;
  int maxDepth = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  ParameterTreeNode* node = First();
  while (node != nullptr) {
    node->SetSited(true);
    node->SetSiteX(x);
    node->SetSiteY(y);
    rows_.push_back(node);
    maxW = std::max<std::int32_t>(maxW, node->MinWidth());
    maxDepth = std::max(maxDepth, depth);
    y += rowH;
    if (node->Expanded() && node->Child() != nullptr) {
      x += indent_;
      y = Nearest(y + kBranchGap);
      ++depth;
      node = node->Child();
      continue;
    }
    if (node->Sibling() != nullptr) {
      node = node->Sibling();
      continue;
    }
    ParameterTreeNode* climb = node->parent();
    node = nullptr;
    while (climb != nullptr && climb != root_) {
      x = climb->SiteX();
      --depth;
      if (climb->Sibling() != nullptr) {
        node = climb->Sibling();
        y = Nearest(y + kBranchGap);
        break;
      }
      climb = climb->parent();
    }
  }
  const std::int32_t indentDepth = static_cast<std::int16_t>(indent_ * maxDepth);
  scroll_.virtualWidth = Nearest(Tw(5) + indentDepth + maxW + 2.0 * indent_);
  // The last row's bottom, gaps included, so the last rows can be scrolled into view.
  scroll_.virtualHeight = rows_.empty() ? 0 : rows_.back()->SiteY() + rowH;
  for (ParameterTreeNode* row : rows_) row->SetCol2X(scroll_.virtualWidth);
}

void ParameterTree::UpdateScrollbars() {
  const double canvasW = canvasPlace_.Width;
  const double canvasH = canvasPlace_.Height;
  if (canvasH < scroll_.virtualHeight && scroll_.scrolly > PxOf(scroll_.virtualHeight - canvasH)) {
    scroll_.scrolly = PxOf(scroll_.virtualHeight - canvasH);
  }
  if (canvasW < scroll_.virtualWidth && scroll_.scrollx > PxOf(scroll_.virtualWidth - canvasW)) {
    scroll_.scrollx = PxOf(scroll_.virtualWidth - canvasW);
  }
  const bool automatic = IsAutomatic(scrollBars_);

  hbar_.Enabled = !(canvasW >= scroll_.virtualWidth || !enabled_);
  if (automatic) scrollBars_ = hbar_.Enabled ? (scrollBars_ | 1) : (scrollBars_ & ~1);
  if (hbar_.Enabled) {
    scroll_.hFactor = 1;
    hbar_.Min = 0;
    hbar_.Max = Nearest(PxOf(scroll_.virtualWidth - canvasW) / static_cast<double>(scroll_.hFactor));
    hbar_.Value = Nearest(scroll_.scrollx / static_cast<double>(scroll_.hFactor));
    hbar_.LargeChange = std::max(1, hbar_.Max / 5 + 1);
    hbar_.SmallChange = std::max(1, hbar_.LargeChange / 10 + 1);
  }

  vbar_.Enabled = !(canvasH >= scroll_.virtualHeight || !enabled_);
  if (automatic) scrollBars_ = vbar_.Enabled ? (scrollBars_ | 2) : (scrollBars_ & ~2);
  if (vbar_.Enabled) {
    scroll_.vFactor = 1;
    vbar_.Min = 0;
    vbar_.Max = Nearest(PxOf(scroll_.virtualHeight - canvasH) / static_cast<double>(scroll_.vFactor));
    vbar_.Value = Nearest(scroll_.scrolly / static_cast<double>(scroll_.vFactor));
    vbar_.SmallChange = PxOf(RowHeight());
    vbar_.LargeChange = PxOf(canvasH);
  }

  if (!vbar_.Enabled) ScrollVerticallyTo(0);
  if (!hbar_.Enabled) {
    scroll_.scrollx = 0;
    hbar_.Value = 0;
  }
  PlaceControls(automatic ? (scrollBars_ & 3) : scrollBars_);
}

void ParameterTree::PlaceControls(std::int32_t bars) {
  if (bars < 0 || bars > 3) return;
  const float w = static_cast<float>(width_);
  const float h = static_cast<float>(height_);
  const bool vertical = (bars & 2) != 0;
  const bool horizontal = (bars & 1) != 0;
  vbar_.Visible = vertical;
  hbar_.Visible = horizontal;
  cornerVisible_ = vertical && horizontal;
  const float barTop = h - BarThickness - kBarMargin;
  const float barLeft = w - BarThickness - kBarMargin;
  if (vertical) vbar_.Place = {barLeft, 0.0f, BarThickness, horizontal ? barTop : h - kBarMargin};
  if (horizontal) hbar_.Place = {0.0f, barTop, vertical ? barLeft : w, BarThickness};
  canvasPlace_.Left = 0.0f;
  canvasPlace_.Top = 0.0f;
  canvasPlace_.Width = vertical ? barLeft : w - (horizontal ? kBarMargin : kCanvasMargin);
  canvasPlace_.Height = horizontal ? barTop : h - kCanvasMargin;
  if (cornerVisible_) cornerPlace_ = {hbar_.Place.Width, vbar_.Place.Height, BarThickness, BarThickness};
  if (!vertical) ScrollVerticallyTo(0);
  if (!horizontal) {
    scroll_.scrollx = 0;
    hbar_.Value = 0;
  }
  EnsureCanvasSize();
  NotifyControls();
}

void ParameterTree::EnsureCanvasSize() {
  const int pixelWidth = std::max(0, Canvas::ToPixel(canvasPlace_.Width));
  const int pixelHeight = std::max(0, Canvas::ToPixel(canvasPlace_.Height));
  if (canvas_ && canvas_->PixelWidth() == pixelWidth && canvas_->PixelHeight() == pixelHeight) return;
  canvas_ = factory_(pixelWidth, pixelHeight);
  canvas_->SetFont(font_);
  canvas_->SetBackColor(tcWindow);
  canvas_->SetFillStyle(vbFSTransparent);
  canvas_->Cls();
}

void ParameterTree::ScrollVerticallyTo(int value) {
  vbar_.Value = value;
  scroll_.scrolly = scroll_.vFactor * value;
}

void ParameterTree::SetVScroll(std::int32_t pixels) {
  const std::int32_t most = std::max(0, PxOf(scroll_.virtualHeight - canvasPlace_.Height));
  scroll_.scrolly = std::clamp(pixels, 0, most);
}

void ParameterTree::SetHScroll(std::int32_t pixels) {
  const std::int32_t most = std::max(0, PxOf(scroll_.virtualWidth - canvasPlace_.Width));
  scroll_.scrollx = std::clamp(pixels, 0, most);
}

void ParameterTree::VScrollBarChanged(int value) {
  ScrollVerticallyTo(value);
  RepaintAll();
}

void ParameterTree::HScrollBarChanged(int value) {
  hbar_.Value = value;
  scroll_.scrollx = scroll_.hFactor * value;
  RepaintAll();
}

bool ParameterTree::ScrollToSelected() {
  const ParameterTreeNode* selected = FindSelectedNode();
  if (selected == nullptr) return false;
  const double top = Nearest(Tw(scroll_.scrolly));
  const double canvasH = canvasPlace_.Height;
  bool scrolled = false;
  if (selected->SiteY() < top) {
    ScrollVerticallyTo(Nearest(PxOf(selected->SiteY()) / static_cast<double>(scroll_.vFactor)));
    scrolled = true;
  }
  if (canvasH + top < selected->SiteY() + selected->MinHeight()) {
    const double v = (selected->SiteY() - canvasH + selected->MinHeight()) / TreeTwipsPerPixel /
                     scroll_.vFactor;
    ScrollVerticallyTo(v < vbar_.Max ? Nearest(v) : vbar_.Max);
    scrolled = true;
  }
  return scrolled;
}

void ParameterTree::RepaintAll() {
  repaintPending_ = true;
  if (paintLock_) return;
  repaintPending_ = false;
  canvas_->Cls();
  SiteNodes();
  UpdateScrollbars();
  PositionEditor();
  DrawRows();
  NotifyDrawn();
}

void ParameterTree::RepaintDirty() {
  repaintPending_ = true;
  if (paintLock_) return;
  repaintPending_ = false;
  if (iconList_ != nullptr && (iconList_->ImageWidth() <= 0 || iconList_->ImageHeight() <= 0)) return;
  DrawRows();
  NotifyDrawn();
}

void ParameterTree::Refresh() {
  repaintPending_ = true;
  if (paintLock_) return;
  repaintPending_ = false;
  if (autoGray_) root_->UpdateGrayed();
  NotifyControls();
  RepaintAll();
}

void ParameterTree::SetPaintLock(bool locked) {
  paintLock_ = locked;
  if (!locked && repaintPending_) RepaintAll();
}

void ParameterTree::DrawRows() {
  if (rows_.empty()) return;
  // Rows more than this far off the canvas draw nothing on it: a row's drawing reaches at
  // most a few pixels past its own height.
  const std::int32_t margin = 2 * RowHeight();
  const std::int32_t sy = Nearest(Tw(scroll_.scrolly));
  const float canvasH = canvas_->ScaleHeight();
  const auto first = std::partition_point(rows_.begin(), rows_.end(), [&](const ParameterTreeNode* row) {
    return row->SiteY() - sy + margin < 0;
  });
  if (first == rows_.end()) return;
  // Lines that come down from rows above the canvas and cross it: each ancestor's line to its
  // next sibling, and the line into each ancestor from its previous sibling, in drawing order.
  std::vector<ParameterTreeNode*> chain;
  for (ParameterTreeNode* node = *first; node != nullptr && node != root_; node = node->parent()) {
    chain.push_back(node);
  }
  std::reverse(chain.begin(), chain.end());
  for (ParameterTreeNode* node : chain) {
    if (node->PreviousSibling() != nullptr) node->PreviousSibling()->RenderSiblingLine(scroll_);
    if (node != *first) node->RenderSiblingLine(scroll_);
  }
  for (auto row = first; row != rows_.end(); ++row) {
    if ((*row)->SiteY() - sy - margin > canvasH) break;
    (*row)->RenderRow(scroll_);
  }
}

void ParameterTree::RenderUnculled() { root_->RenderChildren(scroll_, renderFlags_, false); }

ParameterTree::RowHit ParameterTree::RowAt(float X, float Y) const {
  RowHit hit;
  hit.X = static_cast<float>(Nearest(Tw(scroll_.scrollx) + X));
  hit.Y = static_cast<float>(Nearest(Tw(scroll_.scrolly) + Y));
  const std::int32_t rowH = RowHeight();
  const auto after = std::upper_bound(rows_.begin(), rows_.end(), hit.Y,
                                      [](float y, const ParameterTreeNode* row) { return y < row->SiteY(); });
  const float lastBottom = rows_.empty() ? 0.0f : static_cast<float>(rows_.back()->SiteY() + rowH);
  if (hit.Y >= lastBottom) {
    hit.Kind = hit.Y < lastBottom + rowH ? HitKind::PastLastRow : HitKind::Outside;
    return hit;
  }
  if (after == rows_.begin()) return hit;
  // A y in the gap below a row belongs to that row.
  hit.Kind = HitKind::Row;
  hit.Node = *(after - 1);
  return hit;
}

std::vector<ParameterTreeNode*> ParameterTree::VisibleNodes() const {
  std::vector<ParameterTreeNode*> visible;
  const std::int32_t rowH = RowHeight();
  const auto first = std::partition_point(rows_.begin(), rows_.end(), [&](const ParameterTreeNode* row) {
    return PxOf(row->SiteY() + rowH) <= scroll_.scrolly;
  });
  const std::int32_t viewBottom = PxOf(canvasPlace_.Height) + scroll_.scrolly;
  for (auto row = first; row != rows_.end(); ++row) {
    if (PxOf((*row)->SiteY()) > viewBottom) break;
    visible.push_back(*row);
  }
  return visible;
}

void ParameterTree::NotifyControls() const {
  if (view_ != nullptr) view_->ControlsChanged();
}

void ParameterTree::NotifyEditors() const {
  if (view_ != nullptr) view_->EditorsChanged();
}

void ParameterTree::NotifyDrawn() const {
  if (view_ != nullptr) view_->CanvasDrawn();
}

}  // namespace quendrel
