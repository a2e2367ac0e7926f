#include "tree/ParameterTreeNode.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "foundation/text/NumberText.h"
#include "foundation/values/RuntimeError.h"
#include "platform/Canvas.h"
#include "platform/ImageList.h"
#include "tree/ParameterTree.h"
#include "tree/TreeRenderFlags.h"

namespace quendrel {
namespace {

constexpr float Px(float pixels) { return pixels * TreeTwipsPerPixel; }
std::int32_t Round(double twips) { return RoundHalfEven(twips); }

constexpr const char* kMissingDescription = "<ERROR>";

// A vertical line held to just beyond the canvas: the same pixels, without walking the
// length of a long branch far off screen.
void VerticalLine(Canvas& canvas, float x, float y1, float y2, std::uint32_t color) {
  const float low = -Px(1);
  const float high = canvas.ScaleHeight() + Px(1);
  canvas.Line(x, std::clamp(y1, low, high), x, std::clamp(y2, low, high), color);
}
constexpr const char* kRowHeightSample = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

}  // namespace

struct ParameterTreeNode::RowGeometry {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t c2 = 0;
  std::int32_t h = 0;
  std::int32_t cy = 0;
  std::int32_t bottom = 0;
  std::int32_t boxW = 0;
  std::int32_t chkW = 0;
  std::int32_t iconW = 0;
  std::int32_t textOffset = 0;
  std::int32_t sy = 0;
};

void ParameterTreeNode::SetSibling(ParameterTreeNode* node) {
  if (sibling_ != nullptr && sibling_->previous_ == this) sibling_->previous_ = nullptr;
  sibling_ = node;
  if (node != nullptr) node->previous_ = this;
}

void ParameterTreeNode::AddDVD(std::int16_t index, const std::string& text) {
  if (!dvds_.emplace(index, text).second) {
    throw RuntimeError(457, "ParameterTreeNode",
                       "This key is already associated with an element of this collection");
  }
}

std::string ParameterTreeNode::DVD(std::int16_t index) const {
  const auto found = dvds_.find(index);
  return found == dvds_.end() ? kMissingDescription : found->second;
}

std::string ParameterTreeNode::ValueName(double value) const {
  if (!std::isfinite(value)) return kMissingDescription;
  const double whole = std::floor(value);
  if (whole < -32768.0 || whole > 32767.0) return kMissingDescription;
  return DVD(static_cast<std::int16_t>(whole));
}

std::string ParameterTreeNode::FormattedValue() const { return FormatNumber(value_, formatString_); }

std::string ParameterTreeNode::PrintableValue() const {
  if (DVDCount() >= 1) return ValueName(value_);
  return FormattedValue();
}

std::int16_t ParameterTreeNode::DescendantCount(bool visibleOnly) const {
  int count = 0;
  for (const ParameterTreeNode* child = child_; child != nullptr; child = child->sibling_) {
    ++count;
    if (!visibleOnly || child->expanded_) count += child->DescendantCount(visibleOnly);
  }
  return static_cast<std::int16_t>(count);
}

Canvas& ParameterTreeNode::Surface() const { return owner_->CanvasRef(); }

std::int32_t ParameterTreeNode::Flags() const { return owner_ == nullptr ? 0 : owner_->RenderFlags(); }

std::int16_t ParameterTreeNode::MinWidth() const {
  const std::int32_t flags = Flags();
  const Canvas& canvas = Surface();
  std::string text = (flags & rfCaption) != 0 ? caption_ : std::string();
  if ((flags & (rfCaption | rfValue)) != 0) text += "     ";
  if ((flags & rfValue) != 0 && dvds_.empty()) text += FormattedValue();
  if ((flags & rfValue) != 0 && !dvds_.empty()) {
    std::string widest;
    float widestWidth = -1.0f;
    for (int i = 0; i < DVDCount(); ++i) {
      const std::string name = DVD(static_cast<std::int16_t>(i));
      const float width = canvas.TextWidth(name);
      if (width > widestWidth) {
        widest = name;
        widestWidth = width;
      }
    }
    text += widest;
  }
  std::int32_t width = Round(canvas.TextWidth(text));
  if ((flags & (rfLines | rfPlusMinus)) != 0) width = Round(width + Px(11));
  if (owner_->Checkboxes()) width = Round(width + Px(14));
  const ImageList* icons = owner_->IconList();
  if ((flags & rfIcons) != 0 && !icon_.empty() && icons != nullptr) {
    width = Round(width + Px(static_cast<float>(icons->ImageWidth()) + 2.0f));
  }
  return static_cast<std::int16_t>(width);
}

std::int16_t ParameterTreeNode::MinHeight() const {
  std::int32_t height = Round(Px(2) + Surface().TextHeight(kRowHeightSample));
  const ImageList* icons = owner_ == nullptr ? nullptr : owner_->IconList();
  if (icons != nullptr && (Flags() & rfIcons) != 0) {
    const std::int32_t iconHeight = Round(Px(2.0f + static_cast<float>(icons->ImageHeight())));
    height = std::max(height, iconHeight);
  }
  return static_cast<std::int16_t>(height);
}

ParameterTreeNode::RowGeometry ParameterTreeNode::Geometry(const ptScrollData& scrollFrame) const {
  const std::int32_t flags = Flags();
  const std::int32_t sx = Round(Px(static_cast<float>(scrollFrame.scrollx)));
  const std::int32_t sy = Round(Px(static_cast<float>(scrollFrame.scrolly)));
  RowGeometry row;
  row.sy = sy;
  row.x = siteX_ - sx;
  row.y = siteY_ - sy;
  row.c2 = col2X_ - sx;
  row.h = MinHeight();
  row.cy = row.y + Round(row.h / 2.0 - 0.5);
  row.bottom = Round(row.y + row.h + Px(1));
  if ((flags & (rfLines | rfPlusMinus)) != 0) row.boxW = Round(Px(11));
  if (owner_->Checkboxes()) row.chkW = Round(Px(14));
  const ImageList* icons = owner_->IconList();
  if ((flags & rfIcons) != 0 && !icon_.empty() && icons != nullptr) {
    row.iconW = Round(Px(static_cast<float>(icons->ImageWidth())) + Px(2));
  }
  row.textOffset = row.boxW + row.iconW + row.chkW;
  return row;
}

std::uint32_t ParameterTreeNode::LineColor() const {
  if (!selected_) return tcGrayText;
  return focus_ ? tcDarkShadow : tcBlack;
}

void ParameterTreeNode::Render(const ptScrollData& scrollFrame, std::int32_t RenderFlags,
                               bool onlyDirty) {
  RenderRow(scrollFrame);
  if (child_ != nullptr && expanded_) RenderChildren(scrollFrame, RenderFlags, onlyDirty);
}

void ParameterTreeNode::RenderChildren(const ptScrollData& scrollFrame, std::int32_t RenderFlags,
                                       bool onlyDirty) {
  for (ParameterTreeNode* child = child_; child != nullptr; child = child->sibling_) {
    child->Render(scrollFrame, RenderFlags, onlyDirty);
  }
}

void ParameterTreeNode::RenderRow(const ptScrollData& scrollFrame) {
  Canvas& canvas = Surface();
  const RowGeometry row = Geometry(scrollFrame);
  canvas.FilledBox(row.x, row.y, owner_->Width(), row.bottom, tcWindow);
  std::uint32_t textColor = greyed_ ? tcGrey : tcWindowText;
  DrawSelection(row, textColor);
  DrawLinesAndBox(row, LineColor());
  DrawCheckBox(row);
  DrawIcon(row);
  DrawTexts(row, textColor);
}

void ParameterTreeNode::DrawSelection(const RowGeometry& row, std::uint32_t& textColor) {
  if (!selected_) return;
  Canvas& canvas = Surface();
  if (focus_) {
    canvas.FilledBox(row.x, row.y, owner_->Width(), row.bottom, tcHighlight);
    textColor = tcHighlightText;
  }
  // A gap follows an expanded row and the last row of a branch; the rectangle covers it.
  const int gap = (expanded_ || sibling_ == nullptr) ? 2 : 0;
  canvas.DrawFocusRect(Canvas::ToPixel(row.x), Canvas::ToPixel(row.y), canvas.PixelWidth(),
                       Canvas::ToPixel(row.bottom) - 1 + gap);
}

void ParameterTreeNode::DrawLinesAndBox(const RowGeometry& row, std::uint32_t lineColor) {
  if (row.boxW <= 0) return;
  Canvas& canvas = Surface();
  const std::int32_t flags = Flags();
  const std::int32_t cx = Round(row.x + row.boxW / 2.0);
  if ((flags & rfLines) != 0) {
    canvas.SetFillStyle(vbFSTransparent);
    canvas.Box(cx, row.y, cx, row.cy, lineColor);
    canvas.Line(cx, row.cy, row.x + row.boxW + row.chkW, row.cy, lineColor);
    if (sibling_ != nullptr) VerticalLine(canvas, cx, row.cy, sibling_->siteY_ - row.sy, lineColor);
  }
  if ((flags & rfPlusMinus) == 0 || child_ == nullptr) return;
  const std::int32_t hx = Round(Px(4));
  const std::int32_t hy = Round(Px(4));
  canvas.FilledBox(cx - hx, row.cy - hy, cx + hx, row.cy + hy, tcWindow);
  canvas.SetFillStyle(vbFSTransparent);
  canvas.Box(cx - hx, row.cy - hy, cx + hx, row.cy + hy, tcGrayText);
  canvas.Line(cx - hx + Px(2), row.cy, cx + hx - Px(1), row.cy, tcDarkShadow);
  if (!expanded_) canvas.Line(cx, row.cy - hy + Px(2), cx, row.cy + hy - Px(1), tcDarkShadow);
}

void ParameterTreeNode::RenderSiblingLine(const ptScrollData& scrollFrame) {
  if ((Flags() & rfLines) == 0 || sibling_ == nullptr) return;
  const RowGeometry row = Geometry(scrollFrame);
  const std::int32_t cx = Round(row.x + row.boxW / 2.0);
  VerticalLine(Surface(), cx, row.cy, sibling_->siteY_ - row.sy, LineColor());
}

void ParameterTreeNode::DrawCheckBox(const RowGeometry& row) {
  if (row.chkW <= 0) return;
  Canvas& canvas = Surface();
  const std::int32_t ccx = Round(row.x + row.boxW + row.chkW / 2.0);
  const std::int32_t cw = Round(Px(5));
  const std::int32_t ch = Round(Px(5));
  const bool partly = checked_ == 2;
  canvas.FilledBox(ccx - cw, row.cy - ch, ccx + cw, row.cy + ch,
                   partly ? tcInactiveCaptionText : tcWindow);
  canvas.SetFillStyle(vbFSTransparent);
  canvas.Box(ccx - cw, row.cy - ch, ccx + cw, row.cy + ch, tcWindowText);
  if (checked_ == 0) return;
  // The tick is drawn as three stacked strokes rather than a symbol-font glyph, so it looks
  // the same on every desktop and every canvas: 7 x 7 pixels, centred in the box.
  const std::uint32_t tickColor = partly ? tcInactiveCaption : tcWindowText;
  const float savedX = canvas.CurrentX();
  const float savedY = canvas.CurrentY();
  for (int stroke = 0; stroke < 3; ++stroke) {
    const float top = static_cast<float>(row.cy) + Px(static_cast<float>(stroke));
    const std::array<CanvasPoint, 3> points = {
        CanvasPoint{ccx - Px(3), top - Px(1)}, CanvasPoint{ccx - Px(1), top + Px(1)},
        CanvasPoint{ccx + Px(4), top - Px(4)}};
    canvas.Polyline(points, tickColor);
  }
  canvas.SetCurrentX(savedX);
  canvas.SetCurrentY(savedY);
}

void ParameterTreeNode::DrawIcon(const RowGeometry& row) {
  if (row.iconW <= 0) return;
  Canvas& canvas = Surface();
  const ImageList& icons = *owner_->IconList();
  const CanvasImage image = icons.Image(icon_);
  if (image.IsEmpty()) return;
  float ix = static_cast<float>(row.x + row.boxW + row.chkW);
  float iy = static_cast<float>(Round(row.cy - (icons.ImageHeightHimetric() / 4.0 + 10.0)));
  const float width = canvas.ScaleWidth();
  const float height = canvas.ScaleHeight();
  if (ix >= 0 && ix < width && iy >= 0 && iy < height) {
    canvas.PaintPicture(image, ix, iy, true);
    return;
  }
  if (ix >= width || iy >= height) return;
  // An icon running off the top or the left is cut, not shifted.
  float w = static_cast<float>(Round(Px(static_cast<float>(image.Width))));
  float hh = static_cast<float>(Round(Px(static_cast<float>(image.Height))));
  float srcX = 0.0f;
  float srcY = 0.0f;
  if (iy < 0) {
    srcY = -iy;
    hh -= srcY;
    iy = 0;
  }
  if (iy + hh > height) hh = height - iy;
  if (ix < 0) {
    srcX = -ix;
    w -= srcX;
    ix = 0;
  }
  if (ix + w > width) w = width - ix;
  if (w >= 1 && hh >= 1) canvas.PaintPicturePart(image, ix, iy, srcX, srcY, w, hh);
}

void ParameterTreeNode::DrawTexts(const RowGeometry& row, std::uint32_t textColor) {
  const std::int32_t flags = Flags();
  if ((flags & (rfCaption | rfValue)) == 0) return;
  Canvas& canvas = Surface();
  if (bold_) canvas.SetFontBold(true);
  canvas.SetForeColor(textColor);
  const float textLeft = static_cast<float>(row.x + row.textOffset) + Px(2);
  if ((flags & rfCaption) != 0) {
    canvas.SetCurrentX(textLeft);
    canvas.SetCurrentY(row.cy - canvas.TextHeight(caption_) / 2.0f);
    canvas.Print(caption_);
  }
  if ((flags & rfValue) != 0) {
    const std::string text = PrintableValue();
    const bool rightAligned = (flags & rfCaption) != 0;
    canvas.SetCurrentX(rightAligned ? row.c2 - canvas.TextWidth(text) - Px(5) : textLeft);
    canvas.SetCurrentY(row.cy - canvas.TextHeight(text) / 2.0f);
    canvas.Print(text);
  }
  if (bold_) canvas.SetFontBold(false);
}

bool ParameterTreeNode::Click(Canvas& canvas, float X, float Y, bool plusMinus) {
  (void)canvas;
  if (!plusMinus) return false;
  bool toggled = false;
  const float bx = static_cast<float>(Round(Px(11) / 2.0));
  const float by = static_cast<float>(Round(MinHeight() / 2.0));
  if (std::fabs(X - bx) <= Px(4) && std::fabs(Y - by) <= Px(4)) {
    expanded_ = !expanded_;
    toggled = true;
  }
  if (owner_->Checkboxes() && std::fabs(X - Px(18)) <= Px(5.5f) &&
      std::fabs(Y - by) <= Px(5.5f)) {
    checked_ = checked_ == 0 ? 1 : 0;
    if (owner_->AutoGray()) SetChildTreeChecked(checked_);
  }
  return toggled;
}

void ParameterTreeNode::ExpandAll() { SetExpandedOnward(true); }

void ParameterTreeNode::CollapseAll() { SetExpandedOnward(false); }

void ParameterTreeNode::SetExpandedOnward(bool expanded) {
  for (ParameterTreeNode* node = this; node != nullptr; node = node->sibling_) {
    node->expanded_ = expanded;
    if (node->child_ != nullptr) node->child_->SetExpandedOnward(expanded);
  }
}

void ParameterTreeNode::DeselectAll() {
  for (ParameterTreeNode* node = this; node != nullptr; node = node->sibling_) {
    if (node->selected_) node->dirty_ = true;
    node->selected_ = false;
    if (node->child_ != nullptr) node->child_->DeselectAll();
  }
}

void ParameterTreeNode::SetChildTreeChecked(std::int32_t chkv) {
  for (ParameterTreeNode* child = child_; child != nullptr; child = child->sibling_) {
    child->checked_ = chkv;
    if (child->child_ != nullptr) child->SetChildTreeChecked(chkv);
  }
}

void ParameterTreeNode::UpdateGrayed() {
  bool sawChecked = false;
  bool sawUnchecked = false;
  for (ParameterTreeNode* child = child_; child != nullptr; child = child->sibling_) {
    if (child->child_ != nullptr) child->UpdateGrayed();
    if (child->checked_ == 1) {
      sawChecked = true;
    } else if (child->checked_ == 2) {
      sawChecked = true;
      sawUnchecked = true;
    } else {
      sawUnchecked = true;
    }
  }
  if (child_ == nullptr) return;
  checked_ = sawChecked && sawUnchecked ? 2 : (sawChecked ? 1 : 0);
}

}  // namespace quendrel
