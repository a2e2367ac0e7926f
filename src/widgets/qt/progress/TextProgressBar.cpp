#include "widgets/qt/progress/TextProgressBar.h"

#include <QMouseEvent>

#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtInput.h"

namespace quendrel {

TextProgressBar::TextProgressBar(QWidget* parent) : PictureBox(parent) {
  SetPaintHandler([this](Canvas& canvas) { model_.Paint(canvas); });
  setMinimumHeight(12);
}

QSize TextProgressBar::sizeHint() const { return {200, 20}; }

void TextProgressBar::Redraw() { model_.Paint(GetCanvas()); }

void TextProgressBar::SetValue(float value) {
  model_.SetValue(value);
  Redraw();
}

void TextProgressBar::SetMin(float min) {
  model_.SetMin(min);
  Redraw();
}

void TextProgressBar::SetMax(float max) {
  model_.SetMax(max);
  Redraw();
}

void TextProgressBar::SetText(const std::string& text) {
  model_.SetText(text);
  Redraw();
}

void TextProgressBar::SetTextStyle(int style) {
  model_.SetTextStyle(style);
  Redraw();
}

TextProgressBarMouse TextProgressBar::MouseOf(const QMouseEvent& event, bool released) const {
  TextProgressBarMouse mouse;
  // A release reports the button that went up; the others report what is held.
  mouse.Button = ButtonsFromQt(released ? Qt::MouseButtons(event.button()) : event.buttons());
  mouse.Shift = ShiftStateFromQt(event.modifiers());
  mouse.X = static_cast<float>(event.position().x()) * TwipsPerPixel;
  mouse.Y = static_cast<float>(event.position().y()) * TwipsPerPixel;
  mouse.Value = model_.ValueAt(mouse.X, static_cast<float>(width()) * TwipsPerPixel);
  return mouse;
}

void TextProgressBar::mousePressEvent(QMouseEvent* event) {
  if (mouseDown_) GuardSlot([&] { mouseDown_(MouseOf(*event, false)); });
}

void TextProgressBar::mouseMoveEvent(QMouseEvent* event) {
  if (mouseMove_) GuardSlot([&] { mouseMove_(MouseOf(*event, false)); });
}

void TextProgressBar::mouseReleaseEvent(QMouseEvent* event) {
  if (mouseUp_) GuardSlot([&] { mouseUp_(MouseOf(*event, true)); });
}

}  // namespace quendrel
