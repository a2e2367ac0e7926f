#include "graph/controls/qt/TimePickerWidget.h"

#include <algorithm>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "graph/controls/qt/ControlFrame.h"
#include "graph/controls/qt/ControlMouse.h"
#include "platform/KeyCodes.h"
#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtInput.h"

namespace quendrel {
namespace {

// The desktop's codes for the numeric keypad's digits.
constexpr int kKeypadDigit0 = 96;

int ToPixels(float twips) { return Canvas::ToPixel(twips); }
float ToTwips(int pixels) { return Canvas::PixelsToTwipsX(static_cast<float>(pixels)); }

}  // namespace

TimePickerWidget::TimePickerWidget(TimePicker& picker, QWidget* parent)
    : QWidget(parent),
      picker_(picker),
      field_(1, 1, QImage::Format_RGB32),
      canvas_(field_),
      up_(MakeSpinButton(Qt::UpArrow)),
      down_(MakeSpinButton(Qt::DownArrow)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  connect(up_, &QToolButton::clicked, this, [this] { GuardSlot([this] { picker_.SpinUp(); }); });
  connect(down_, &QToolButton::clicked, this, [this] { GuardSlot([this] { picker_.SpinDown(); }); });
  picker_.OnRefresh([this] { FollowCore(); });
  picker_.OnLayout([this] { ApplyLayout(); });
  picker_.OnFocusRequest([this] { setFocus(Qt::OtherFocusReason); });
  FollowCore();
}

TimePickerWidget::~TimePickerWidget() {
  picker_.OnRefresh(nullptr);
  picker_.OnLayout(nullptr);
  picker_.OnFocusRequest(nullptr);
}

QToolButton* TimePickerWidget::MakeSpinButton(Qt::ArrowType arrow) {
  auto* button = new QToolButton(this);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  // Pressing the spin gives the focus to the picker itself, whose field then shows the part.
  button->setFocusPolicy(Qt::NoFocus);
  connect(button, &QToolButton::pressed, this, [this] { setFocus(Qt::MouseFocusReason); });
  return button;
}

int TimePickerWidget::FrameWidth() const {
  return ControlFrameWidth(picker_.BorderStyle(), picker_.Appearance());
}

QSize TimePickerWidget::sizeHint() const {
  QImage scratch(1, 1, QImage::Format_RGB32);
  PainterCanvas measure(scratch);
  measure.SetFont(picker_.Font());
  const int text = ToPixels(measure.TextWidth("00:00:00"));
  const int height = ToPixels(measure.TextHeight("00:00:00")) + 8;
  return {text + kSpinWidth + 2 * FrameWidth() + 8, height};
}

void TimePickerWidget::FollowCore() {
  if (isEnabled() != picker_.Enabled()) setEnabled(picker_.Enabled());
  update();
}

void TimePickerWidget::ApplyLayout() {
  const TimePickerLayout layout = picker_.Resize(canvas_, ToTwips(width()), ToTwips(height()), ToTwips(kSpinWidth));
  const int controlHeight = std::min(height(), ToPixels(layout.Height));
  // LockHeight shortened the control; its resize event comes back here and changes nothing.
  if (controlHeight < height()) resize(width(), controlHeight);
  const int frame = FrameWidth();
  const int spinHeight = ToPixels(layout.SpinHeight);
  const int spinLeft = frame + ToPixels(layout.SpinLeft);
  // A flat frame is thinner than the room the layout leaves for it; the spin stays inside it.
  const QRect inside = QRect(0, 0, width(), controlHeight).adjusted(frame, frame, -frame, -frame);
  up_->setGeometry(QRect(spinLeft, frame, kSpinWidth, spinHeight / 2).intersected(inside));
  down_->setGeometry(
      QRect(spinLeft, frame + spinHeight / 2, kSpinWidth, spinHeight - spinHeight / 2).intersected(inside));
  const QSize fieldSize(std::max(1, ToPixels(layout.FieldWidth)), std::max(1, controlHeight - 2 * frame));
  if (field_.size() != fieldSize) field_ = QImage(fieldSize, QImage::Format_RGB32);
  updateGeometry();
  update();
}

void TimePickerWidget::paintEvent(QPaintEvent*) {
  GuardSlot([this] { picker_.Paint(canvas_); });
  const int frame = FrameWidth();
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(picker_.ControlBackColor()));
  painter.drawImage(frame, frame, field_);
  DrawControlFrame(painter, rect(), picker_.BorderStyle(), picker_.Appearance());
}

void TimePickerWidget::resizeEvent(QResizeEvent* event) {
  GuardSlot([this] { ApplyLayout(); });
  QWidget::resizeEvent(event);
}

void TimePickerWidget::focusInEvent(QFocusEvent* event) {
  GuardSlot([this] { picker_.GotFocus(); });
  QWidget::focusInEvent(event);
}

void TimePickerWidget::focusOutEvent(QFocusEvent* event) {
  GuardSlot([this] { picker_.LostFocus(); });
  QWidget::focusOutEvent(event);
}

int TimePickerWidget::KeyCodeOf(const QKeyEvent& event) {
  const int key = event.key();
  if ((event.modifiers() & Qt::KeypadModifier) && key >= Qt::Key_0 && key <= Qt::Key_9) {
    return kKeypadDigit0 + (key - Qt::Key_0);
  }
  return KeyCodeFromQt(key);
}

void TimePickerWidget::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    QWidget::keyPressEvent(event);
    return;
  }
  const int code = KeyCodeOf(*event);
  const int shift = ShiftStateFromQt(event->modifiers());
  GuardSlot([&] { picker_.KeyDown(code, shift); });
  // Enter and Escape still reach the dialog's default and cancel buttons.
  if (code == vbKeyReturn || code == vbKeyEscape) {
    event->ignore();
  } else {
    event->accept();
  }
}

void TimePickerWidget::keyReleaseEvent(QKeyEvent* event) {
  GuardSlot([this] { picker_.KeyUp(); });
  event->accept();
}

ControlEventArgs TimePickerWidget::MouseOf(const QMouseEvent& event) const {
  return ControlMouseFromQt(event, FrameWidth());
}

void TimePickerWidget::mousePressEvent(QMouseEvent* event) {
  doubleClicked_ = false;
  GuardSlot([&] { picker_.MouseDown(canvas_, MouseOf(*event)); });
}

void TimePickerWidget::mouseMoveEvent(QMouseEvent* event) {
  GuardSlot([&] { picker_.MouseMove(MouseOf(*event)); });
}

void TimePickerWidget::mouseReleaseEvent(QMouseEvent* event) {
  GuardSlot([&] {
    picker_.MouseUp(MouseOf(*event));
    // The release that ends a double click is no click of its own.
    if (!doubleClicked_ && rect().contains(event->position().toPoint())) picker_.Click();
  });
  doubleClicked_ = false;
}

void TimePickerWidget::mouseDoubleClickEvent(QMouseEvent*) {
  doubleClicked_ = true;
  GuardSlot([this] { picker_.DblClick(); });
}

}  // namespace quendrel
