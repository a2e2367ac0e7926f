#include "widgets/TextProgressBarModel.h"

#include <algorithm>
#include <cmath>

namespace quendrel {

namespace {

constexpr Color kFrameColor = SystemColorFlag | 16;  // button shadow
constexpr float kPixel = TwipsPerPixel;

}  // namespace

double TextProgressBarModel::Fraction() const {
  if (max_ <= min_) return 0.0;
  const double share = (static_cast<double>(value_) - min_) / (static_cast<double>(max_) - min_);
  return std::clamp(share, 0.0, 1.0);
}

int TextProgressBarModel::Percent() const {
  return static_cast<int>(std::lround(Fraction() * 100.0));
}

std::string TextProgressBarModel::DisplayText() const {
  const std::string percent = std::to_string(Percent()) + "%";
  switch (textStyle_) {
    case PercentOnly: return percent;
    case TextAndPercent: return text_.empty() ? percent : text_ + " " + percent;
    default: return text_;
  }
}

void TextProgressBarModel::Paint(Canvas& canvas) const {
  canvas.SetBackColor(backColor_);
  canvas.Cls();
  const int width = canvas.PixelWidth();
  const int height = canvas.PixelHeight();
  if (width < 3 || height < 3) return;
  canvas.Box(0, 0, (width - 1) * kPixel, (height - 1) * kPixel, kFrameColor);

  const int inner = width - 2;
  const int filled = static_cast<int>(std::lround(Fraction() * inner));
  if (filled > 0) canvas.FilledBox(kPixel, kPixel, filled * kPixel, (height - 2) * kPixel, barColor_);

  const std::string text = DisplayText();
  if (text.empty()) return;
  canvas.SetForeColor(foreColor_);
  canvas.SetCurrentX((canvas.ScaleWidth() - canvas.TextWidth(text)) / 2.0f);
  canvas.SetCurrentY((canvas.ScaleHeight() - canvas.TextHeight(text)) / 2.0f);
  canvas.Print(text);
}

float TextProgressBarModel::ValueAt(float x, float scaleWidth) const {
  const float inner = scaleWidth - 2.0f * kPixel;
  if (inner <= 0.0f || max_ <= min_) return min_;
  const float share = std::clamp((x - kPixel) / inner, 0.0f, 1.0f);
  return min_ + share * (max_ - min_);
}

}  // namespace quendrel
