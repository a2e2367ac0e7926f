// What the text progress bar shows and how it draws it: a range, a value, a text and the
// percentage, painted through a Canvas so its geometry is checked without a display.
#pragma once

#include <string>

#include "platform/Canvas.h"

namespace quendrel {

class TextProgressBarModel {
 public:
  // TextStyle: what is written over the bar.
  static constexpr int TextOnly = 0;
  static constexpr int PercentOnly = 1;
  static constexpr int TextAndPercent = 2;

  float Value() const { return value_; }
  void SetValue(float value) { value_ = value; }
  float Min() const { return min_; }
  void SetMin(float min) { min_ = min; }
  float Max() const { return max_; }
  void SetMax(float max) { max_ = max; }
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text) { text_ = text; }
  int TextStyle() const { return textStyle_; }
  void SetTextStyle(int style) { textStyle_ = style; }

  Color BarColor() const { return barColor_; }
  void SetBarColor(Color color) { barColor_ = color; }
  Color BackColor() const { return backColor_; }
  void SetBackColor(Color color) { backColor_ = color; }
  Color ForeColor() const { return foreColor_; }
  void SetForeColor(Color color) { foreColor_ = color; }

  // The share of the range the value covers, 0 to 1; 0 when the range is empty. A value
  // outside the range shows as its nearest end.
  double Fraction() const;
  // The fraction in whole percent, rounded.
  int Percent() const;
  // "42%", the text, or the text, a blank and the percentage, by TextStyle.
  std::string DisplayText() const;

  // Background, the bar inside a one-pixel frame, and the text centred over both.
  void Paint(Canvas& canvas) const;
  // The value the bar would show if it ended at x (twips from the left), within Min..Max.
  float ValueAt(float x, float scaleWidth) const;

 private:
  float value_ = 0.0f;
  float min_ = 0.0f;
  float max_ = 100.0f;
  std::string text_;
  int textStyle_ = TextOnly;
  Color barColor_ = 0x0025B006;             // a clear green the black text stays readable on
  Color backColor_ = SystemColorFlag | 5;   // window background
  Color foreColor_ = SystemColorFlag | 8;   // window text
};

}  // namespace quendrel
