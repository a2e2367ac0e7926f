// Painting of the series list: the header and the rows that meet the control.
#include <algorithm>

#include "foundation/text/NumberText.h"
#include "graph/controls/SeriesListBox.h"
#include "graph/controls/SeriesListTexts.h"
#include "graph/data/GraphDataControl.h"
#include "graph/data/GraphPalette.h"
#include "platform/ImageList.h"

namespace quendrel {
namespace {

constexpr Color kWindow = 0x80000005u;
constexpr Color kWindowText = 0x80000008u;
constexpr Color kHighlight = 0x8000000Du;
constexpr Color kHighlightText = 0x8000000Eu;
constexpr Color kButtonFace = 0x8000000Fu;
constexpr Color kButtonShadow = 0x80000010u;
constexpr Color kGrayText = 0x80000011u;
constexpr Color k3DHighlight = 0x80000014u;
constexpr Color kDarkShadow = 0x80000015u;
constexpr Color kMaroon = 0x000080u;
constexpr Color kRed = 0x0000FFu;
constexpr Color kReadOnlyGrey = kGraphPalette[8];

}  // namespace

std::int32_t SeriesListBox::HeaderHeight() const {
  return showHeader_ ? RoundHalfEven(TextHeight("Name") + Py(3)) : 0;
}

std::int32_t SeriesListBox::ActionLeft() const {
  return RoundHalfEven(canvasWidth_ - TextWidth("Graph & Log--u--") - TextWidth("x0000--u--") - Px(10));
}

std::int32_t SeriesListBox::GainLeft() const {
  return RoundHalfEven(canvasWidth_ - TextWidth("x0000--u--") - Px(5));
}

void SeriesListBox::PaintSeriesList(bool onlyDirty) {
  if (canvas_ == nullptr) return;
  Canvas& canvas = *canvas_;
  const GraphDataControl* control = HeldDataControl();
  if (control == nullptr) return;
  LayoutSeriesList();
  // A full paint starts from a clean surface, so a row the paint leaves alone (the selected one
  // without the focus) shows the background.
  canvas.SetBackColor(kWindow);
  if (!onlyDirty) canvas.Cls();
  if (showHeader_) PaintHeader(canvas);
  const SeriesCollection series = control->SeriesSet();
  const auto count = static_cast<std::int32_t>(series.size());
  std::int32_t y = HeaderHeight() - scrollTop_ % rowHeight_;
  for (std::int32_t row = scrollTop_ / rowHeight_ + 1; row <= count && y <= height_; ++row, y += rowHeight_) {
    const gdSeries& s = *series[static_cast<std::size_t>(row - 1)];
    if (onlyDirty && !s.Dirty()) continue;
    PaintRow(canvas, s, row, y, row == count);
  }
  TellDrawn();
}

void SeriesListBox::PaintHeader(Canvas& canvas) {
  const float r = static_cast<float>(RoundHalfEven(canvasWidth_ - Px(5)));
  const float h = static_cast<float>(RoundHalfEven(TextHeight("Name") + Py(1)));
  const float p = static_cast<float>(padX_);
  canvas.FilledBox(0, 0, r, h, kButtonFace);
  canvas.Line(0, 0, r, 0, k3DHighlight);
  canvas.Line(0, 0, 0, h, k3DHighlight);
  canvas.Line(r, 0, r, h + Py(1), kDarkShadow);
  canvas.Line(r - Px(1), 0, r - Px(1), h + Py(1), kButtonShadow);
  canvas.Line(r, h, 0, h, kButtonShadow);
  canvas.Line(0, h + Py(1), r + Px(1), h + Py(1), kDarkShadow);
  canvas.SetForeColor(enabled_ ? kWindowText : kGrayText);
  const auto text = [&](const std::string& caption, float x) {
    canvas.SetCurrentX(x);
    canvas.SetCurrentY(Py(1));
    canvas.Print(caption);
  };
  const auto separator = [&](float x) {
    canvas.Line(x, 0, x, h, kDarkShadow);
    canvas.Line(x + p / 2, 0, x + p / 2, h, k3DHighlight);
    canvas.Line(x - p / 2, 0, x - p / 2, h, kButtonShadow);
  };
  text("Clr", Px(2));
  if (useIcons_) {
    const auto x = static_cast<float>(swatchWidth_ + 2 * padX_);
    separator(x);
    text("RW", x + Px(2));
  }
  separator(static_cast<float>(nameLeft_));
  text("Name", static_cast<float>(nameLeft_) + Px(4));
  separator(static_cast<float>(valueLeft_));
  text("Value", static_cast<float>(valueLeft_) + Px(4));
  separator(static_cast<float>(ActionLeft()));
  const auto gainLeft = static_cast<float>(GainLeft());
  separator(gainLeft);
  text("Action", gainLeft - Px(4) - TextWidth("Action"));
  text("Gain", canvasWidth_ - Px(9) - TextWidth("Gain"));
}

void SeriesListBox::PaintRowBackground(Canvas& canvas, const gdSeries& series, bool selected, std::int32_t y,
                                       Color& text) {
  const auto top = static_cast<float>(y);
  const auto bottom = static_cast<float>(y + rowHeight_);
  if (!series.Error()) {
    if (!selected) {
      canvas.FilledBox(0, top, width_, bottom, kWindow);
      text = kWindowText;
    } else if (hasFocus_) {
      canvas.FilledBox(0, top, width_, bottom, kHighlight);
      text = kHighlightText;
    }
    return;
  }
  canvas.FilledBox(0, top, width_, bottom, kMaroon);
  if (!selected) {
    text = kRed;
    return;
  }
  if (hasFocus_) canvas.FilledBox(0, top, width_, bottom, kRed);
  text = kHighlightText;
}

void SeriesListBox::PaintRow(Canvas& canvas, const gdSeries& s, std::int32_t row, std::int32_t y, bool last) {
  const Color drawing = enabled_ ? kWindowText : kGrayText;
  canvas.SetForeColor(drawing);
  Color text = drawing;
  const bool selected = row == listIndex_;
  PaintRowBackground(canvas, s, selected, y, text);
  if (selected) {
    canvas.DrawFocusRect(0, Canvas::ToPixel(static_cast<float>(y)), Canvas::ToPixel(canvasWidth_ - Px(4)),
                         Canvas::ToPixel(static_cast<float>(y + rowHeight_)) + (last ? 1 : 0));
  }
  if (s.ReadOnly() && !useIcons_) text = kReadOnlyGrey;
  if (!enabled_) text = kGrayText;

  canvas.SetFillColor(s.Color());
  canvas.SetFillStyle(vbFSSolid);
  canvas.Box(static_cast<float>(padX_), static_cast<float>(y + padY_), static_cast<float>(padX_ + swatchWidth_),
             static_cast<float>(y + padY_ + swatchHeight_), drawing);
  canvas.SetFillStyle(vbFSTransparent);
  if (useIcons_) {
    images_->Draw(canvas, s.ReadOnly() ? "readonly" : "pram", static_cast<float>(3 * padX_ + swatchWidth_),
                  static_cast<float>(y), true);
  }

  canvas.SetForeColor(text);
  PrintCentred(canvas, s.Name() + ": " + s.LongName(), static_cast<float>(nameLeft_), y);
  const std::string action = SeriesActionText(s);
  PrintWithArrow(canvas, action,
                 canvasWidth_ - TextWidth(action + "--u--") - TextWidth("x0000--u--") - Px(5), y);
  const std::string gain = SeriesGainText(s.Gain());
  PrintWithArrow(canvas, gain, canvasWidth_ - TextWidth(gain + "--u--"), y);
  PrintCentred(canvas, SeriesValueText(s), static_cast<float>(valueLeft_), y);
}

void SeriesListBox::PrintCentred(Canvas& canvas, const std::string& text, float x, std::int32_t rowTop) {
  canvas.SetCurrentX(x);
  canvas.SetCurrentY(static_cast<float>(rowTop) + (static_cast<float>(rowHeight_) - TextHeight(text)) / 2);
  canvas.Print(text);
}

// The drop-down arrow is the "u" of a symbol font on the desktop the design came from; here it is
// a small filled triangle drawn where that character would stand.
void SeriesListBox::PrintWithArrow(Canvas& canvas, const std::string& text, float x, std::int32_t rowTop) {
  const std::string shown = text + " ";
  PrintCentred(canvas, shown, x, rowTop);
  const float cellLeft = x + TextWidth(shown);
  const int centre = Canvas::ToPixel(cellLeft + TextWidth("u") / 2);
  const int top = Canvas::ToPixel(static_cast<float>(rowTop) + static_cast<float>(rowHeight_) / 2) - 1;
  constexpr int kHalfWidth = 3;
  for (int step = 0; step <= kHalfWidth; ++step) {
    const float lineY = Py(static_cast<float>(top + step));
    canvas.Line(Px(static_cast<float>(centre - kHalfWidth + step)), lineY,
                Px(static_cast<float>(centre + kHalfWidth - step + 1)), lineY);
  }
}

}  // namespace quendrel
