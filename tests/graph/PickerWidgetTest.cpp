// The time picker and the colour pick box on screen: keys, clicks and the spin reach the cores, no
// typed character reaches the field, and pictures of both in their states for people to look at
// (test-output/graph/*picker*.png).
#include "graph/controls/qt/ColorPickBoxWidget.h"
#include "graph/controls/qt/TimePickerWidget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <string>

#include "platform/ScriptedUi.h"
#include "support/QtTestApp.h"
#include "support/TestOutput.h"

namespace quendrel {
namespace {

bool SendKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(&widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(&widget, &release);
  return press.isAccepted();
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint at) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

void Save(QWidget& widget, const std::string& name) {
  EXPECT_TRUE(widget.grab().save(QString::fromStdString(TestOutputPath("graph", name))));
}

// The application comes before the widget, which a member would build before the fixture's body.
struct WithApplication {
  WithApplication() { QtTestApp(); }
};

struct TimePickerWidgetTest : ::testing::Test, WithApplication {
  TimePickerWidgetTest() {
    widget.resize(110, 60);
    widget.show();
    picker.SetValueSeconds(3723);
  }
  TimePicker picker{nullptr, "tpTest"};
  TimePickerWidget widget{picker};
};

TEST_F(TimePickerWidgetTest, KeysReachTheCoreButNoTypedCharacterReachesTheField) {
  SendKey(widget, Qt::Key_A, Qt::NoModifier, "a");
  SendKey(widget, Qt::Key_Backspace);
  SendKey(widget, Qt::Key_5, Qt::KeypadModifier, "5");
  SendKey(widget, Qt::Key_Exclam, Qt::ShiftModifier, "!");
  EXPECT_EQ(picker.FieldText(), "01:02:03");
  SendKey(widget, Qt::Key_Right);
  SendKey(widget, Qt::Key_4, Qt::NoModifier, "4");
  SendKey(widget, Qt::Key_2, Qt::NoModifier, "2");
  EXPECT_TRUE(SendKey(widget, Qt::Key_Up));
  EXPECT_EQ(picker.FieldText(), "01:43:03");
  // Enter and Escape still reach a dialog's default and cancel buttons.
  EXPECT_FALSE(SendKey(widget, Qt::Key_Return));
  EXPECT_FALSE(SendKey(widget, Qt::Key_Escape));
}

TEST_F(TimePickerWidgetTest, TheWidgetFollowsTheCoresHeightStateAndMask) {
  const int fitted = widget.height();
  EXPECT_LT(fitted, 60);
  widget.resize(110, fitted - 5);
  EXPECT_EQ(widget.height(), fitted - 5);
  picker.SetEnabled(false);
  EXPECT_FALSE(widget.findChildren<QToolButton*>()[0]->isEnabled());
  picker.SetEnabled(true);
  SendMouse(widget, QEvent::MouseButtonPress, {22, 5});
  EXPECT_TRUE(picker.MaskShown());
  EXPECT_EQ(picker.SelectedTimeField(), tpMinutes);
  SendMouse(widget, QEvent::MouseButtonRelease, {22, 5});
  EXPECT_FALSE(picker.MaskShown());
}

TEST(TimePickerFocusTest, TabMovesTheFocusOnAndClickingTheSpinBringsItBack) {
  QtTestApp();
  TimePicker picker(nullptr, "tpTest");  // outlives the window and the widget in it
  QWidget window;
  auto* column = new QVBoxLayout(&window);
  auto* widget = new TimePickerWidget(picker);
  auto* after = new QLineEdit;
  column->addWidget(widget);
  column->addWidget(after);
  window.show();
  window.activateWindow();
  QApplication::processEvents();
  ASSERT_TRUE(window.isActiveWindow());

  widget->setFocus();
  EXPECT_TRUE(picker.HasFocus());
  SendKey(*widget, Qt::Key_Right);
  SendKey(*widget, Qt::Key_Tab);
  EXPECT_TRUE(after->hasFocus());
  EXPECT_FALSE(picker.HasFocus());
  EXPECT_EQ(picker.FieldText(), "00:00:00");

  widget->findChildren<QToolButton*>()[0]->click();
  EXPECT_TRUE(widget->hasFocus());
  EXPECT_EQ(picker.FieldText(), "00:01:00");
}

TEST(PickerPictures, TimePickersInTheirStates) {
  QtTestApp();
  TimePicker plain(nullptr, "tpPlain");
  TimePicker large(nullptr, "tpLarge");
  QWidget sheet;
  auto* column = new QVBoxLayout(&sheet);
  plain.SetValueSeconds(45296);
  auto* plainWidget = new TimePickerWidget(plain);
  column->addWidget(plainWidget);
  large.SetFont(CanvasFont{.Name = "Arial", .Size = 14.0f});
  large.SetAlignment(2);
  large.SetValueSeconds(5 * 3600 + 30);
  auto* largeWidget = new TimePickerWidget(large);
  largeWidget->setMinimumWidth(200);
  column->addWidget(largeWidget);
  sheet.show();
  Save(*plainWidget, "time-picker-enabled.png");

  large.GotFocus();
  const char* parts[] = {"hours", "minutes", "seconds"};
  for (const char* part : parts) {
    plain.GotFocus();
    Save(*plainWidget, std::string("time-picker-") + part + "-selected.png");
    SendKey(*plainWidget, Qt::Key_Right);
  }
  SendKey(*largeWidget, Qt::Key_Right);
  Save(*largeWidget, "time-picker-large-centred-minutes-selected.png");
  SendMouse(*plainWidget, QEvent::MouseButtonPress, {60, 5});
  Save(*plainWidget, "time-picker-mask-seconds.png");
  SendMouse(*plainWidget, QEvent::MouseButtonRelease, {60, 5});

  plain.LostFocus();
  plain.SetEnabled(false);
  Save(*plainWidget, "time-picker-disabled.png");
  plain.SetAppearance(0);
  plain.SetEnabled(true);
  plain.SetBackColor(0xC0FFFF);
  Save(*plainWidget, "time-picker-flat-yellow.png");
}

TEST(PickerPictures, ColourPickBoxesWithAndWithoutTheFocus) {
  QtTestApp();
  ColorPickBox box(nullptr, "cpbTest");
  ColorPickBoxWidget widget(box);
  widget.resize(40, 24);
  widget.show();
  Save(widget, "colour-picker-box.png");
  box.GotFocus();
  Save(widget, "colour-picker-box-focused.png");
  box.SetAppearance(0);
  box.SetChosenColor(0xFF8000);
  Save(widget, "colour-picker-box-flat-focused.png");
  box.SetBorderStyle(0);
  Save(widget, "colour-picker-box-borderless-focused.png");
}

TEST(ColorPickBoxWidgetTest, ClicksAndKeysOnTheWidgetOpenTheDialog) {
  QtTestApp();
  ScriptedUi ui;
  ColorPickBox box(nullptr, "cpbTest");
  ColorPickBoxWidget widget(box);
  widget.resize(40, 24);
  int changes = 0;
  box.OnEvent([&](ControlEvent event, const ControlEventArgs&) { changes += event == ControlEvent::Changed; });
  ui.AnswerColorDialog(0x00FF00);
  SendMouse(widget, QEvent::MouseButtonPress, {10, 10});
  SendMouse(widget, QEvent::MouseButtonRelease, {10, 10});
  EXPECT_EQ(box.ChosenColor(), 0x00FF00u);
  ui.AnswerColorDialog(0x0000FF);
  SendKey(widget, Qt::Key_Space, Qt::NoModifier, " ");
  SendKey(widget, Qt::Key_A, Qt::NoModifier, "a");
  EXPECT_EQ(box.ChosenColor(), 0x0000FFu);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(ui.Questions().size(), 2u);
}

}  // namespace
}  // namespace quendrel
