// The program's text progress bar control: a bar with a text over it, drawn through the
// canvas, reporting mouse actions with the bar value under the mouse.
#pragma once

#include <functional>
#include <string>

#include "platform/KeyCodes.h"
#include "platform/qt/PictureBox.h"
#include "widgets/TextProgressBarModel.h"

namespace quendrel {

struct TextProgressBarMouse {
  int Button = 0;
  int Shift = 0;
  float X = 0.0f;  // twips
  float Y = 0.0f;
  float Value = 0.0f;  // the bar value at X
};

class TextProgressBar : public PictureBox {
 public:
  using MouseHandler = std::function<void(const TextProgressBarMouse&)>;

  explicit TextProgressBar(QWidget* parent = nullptr);

  float Value() const { return model_.Value(); }
  void SetValue(float value);
  float Min() const { return model_.Min(); }
  void SetMin(float min);
  float Max() const { return model_.Max(); }
  void SetMax(float max);
  const std::string& Text() const { return model_.Text(); }
  void SetText(const std::string& text);
  // TextProgressBarModel::TextOnly, PercentOnly or TextAndPercent.
  int TextStyle() const { return model_.TextStyle(); }
  void SetTextStyle(int style);
  const TextProgressBarModel& Model() const { return model_; }

  void OnMouseDown(MouseHandler handler) { mouseDown_ = std::move(handler); }
  void OnMouseMove(MouseHandler handler) { mouseMove_ = std::move(handler); }
  void OnMouseUp(MouseHandler handler) { mouseUp_ = std::move(handler); }

  QSize sizeHint() const override;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Redraw();
  TextProgressBarMouse MouseOf(const QMouseEvent& event, bool released) const;

  TextProgressBarModel model_;
  MouseHandler mouseDown_;
  MouseHandler mouseMove_;
  MouseHandler mouseUp_;
};

}  // namespace quendrel
