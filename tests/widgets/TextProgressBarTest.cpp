// The text progress bar control on screen and the progress sinks: mouse events carry the bar
// value under the mouse, a progress channel drives labels, boxes, bars, sliders and this
// control, and a control destroyed mid-operation is simply left out.
#include "widgets/qt/progress/TextProgressBar.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSlider>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "foundation/progress/ProgressServer.h"
#include "support/QtTestApp.h"
#include "widgets/qt/progress/BarProgressSink.h"
#include "widgets/qt/progress/IndicatorProgressSink.h"
#include "widgets/qt/progress/LabelProgressSink.h"
#include "widgets/qt/progress/SliderProgressSink.h"
#include "widgets/qt/progress/TextBoxProgressSink.h"
#include "widgets/qt/progress/TextProgressBarSink.h"

namespace quendrel {
namespace {

class TextProgressBarTest : public ::testing::Test {
 protected:
  TextProgressBarTest() { QtTestApp(); }

  static void Send(QWidget& widget, QEvent::Type type, QPointF at, Qt::MouseButton button,
                   Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(&widget, &event);
  }
};

TEST_F(TextProgressBarTest, MouseEventsCarryButtonShiftPositionAndBarValue) {
  TextProgressBar bar;
  bar.resize(100, 20);
  bar.SetMin(0);
  bar.SetMax(980);
  bar.show();
  std::optional<TextProgressBarMouse> down, move, up;
  bar.OnMouseDown([&](const TextProgressBarMouse& m) { down = m; });
  bar.OnMouseMove([&](const TextProgressBarMouse& m) { move = m; });
  bar.OnMouseUp([&](const TextProgressBarMouse& m) { up = m; });

  Send(bar, QEvent::MouseButtonPress, QPointF(50, 10), Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
  ASSERT_TRUE(down);
  EXPECT_EQ(down->Button, vbLeftButton);
  EXPECT_EQ(down->Shift, vbShiftMask);
  EXPECT_FLOAT_EQ(down->X, 750);
  EXPECT_FLOAT_EQ(down->Y, 150);
  EXPECT_FLOAT_EQ(down->Value, 490);

  Send(bar, QEvent::MouseMove, QPointF(99, 5), Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
  ASSERT_TRUE(move);
  EXPECT_EQ(move->Button, vbLeftButton);
  EXPECT_EQ(move->Shift, vbCtrlMask);
  EXPECT_FLOAT_EQ(move->Value, 980);

  Send(bar, QEvent::MouseButtonRelease, QPointF(0, 5), Qt::RightButton, Qt::NoButton);
  ASSERT_TRUE(up);
  EXPECT_EQ(up->Button, vbRightButton);
  EXPECT_FLOAT_EQ(up->Value, 0);
}

TEST_F(TextProgressBarTest, ShowsWhatItDrewAtOnce) {
  TextProgressBar bar;
  bar.resize(100, 20);
  bar.show();
  bar.SetValue(50);
  bar.SetTextStyle(TextProgressBarModel::TextAndPercent);
  bar.SetText("Flashing");
  bar.Refresh();
  const QImage shown = bar.grab().toImage();
  EXPECT_EQ(shown.pixelColor(3, 3), QColor(6, 176, 37));
  EXPECT_EQ(shown.pixelColor(96, 3), QColor(255, 255, 255));
}

TEST_F(TextProgressBarTest, AProgressChannelDrivesEveryKindOfControl) {
  QProgressBar progressBar;
  TextProgressBar textBar;
  QSlider slider;
  QLabel status;
  QPlainTextEdit detail;
  QLineEdit statusLine;
  QLabel indicator;
  auto barSink = std::make_shared<BarProgressSink>(&progressBar);
  auto textBarSink = std::make_shared<TextProgressBarSink>(&textBar);
  auto sliderSink = std::make_shared<SliderProgressSink>(&slider);
  auto statusSink = std::make_shared<LabelProgressSink>(&status);
  auto statusLineSink = std::make_shared<TextBoxProgressSink>(&statusLine);
  auto detailSink = std::make_shared<TextBoxProgressSink>(&detail);
  auto indicatorSink = std::make_shared<IndicatorProgressSink>(&indicator);

  ProgressServer progress;
  progress.SetupPrimary(barSink, textBarSink, sliderSink, statusSink, statusLineSink, nullptr,
                        detailSink, 0, 200, 0);
  progress.SetLabelIndicator(indicatorSink);
  int sliderSignals = 0;
  QObject::connect(&slider, &QSlider::valueChanged, [&sliderSignals] { ++sliderSignals; });

  progress.SetStatus("Downloading");
  progress.SetDetail("M01P02 = 150");
  progress.SetPrefix("Sending ");
  progress.SetProgressTextType(ProgressServer::TextTypePercent);
  progress.SetProgress(50);
  progress.Green();

  EXPECT_EQ(status.text(), "Downloading");
  EXPECT_EQ(statusLine.text(), "Downloading");
  EXPECT_EQ(detail.toPlainText(), "M01P02 = 150");
  EXPECT_EQ(progressBar.maximum(), 200);
  EXPECT_EQ(progressBar.value(), 50);
  EXPECT_EQ(slider.value(), 50);
  EXPECT_EQ(sliderSignals, 0);  // progress is not the user dragging the thumb
  EXPECT_FLOAT_EQ(textBar.Value(), 50);
  EXPECT_FLOAT_EQ(textBar.Max(), 200);
  EXPECT_EQ(textBar.Text().rfind("Sending ", 0), 0u);
  EXPECT_EQ(indicator.palette().color(QPalette::Window), QColor(0, 255, 0));
}

TEST_F(TextProgressBarTest, AControlDestroyedMidOperationIsLeftOut) {
  auto label = std::make_unique<QLabel>();
  auto bar = std::make_unique<TextProgressBar>();
  auto labelSink = std::make_shared<LabelProgressSink>(label.get());
  auto barSink = std::make_shared<TextProgressBarSink>(bar.get());
  ProgressServer progress;
  progress.SetupPrimary(nullptr, barSink, nullptr, labelSink, nullptr, nullptr, nullptr, 0, 10, 0);
  label.reset();
  bar.reset();
  progress.SetStatus("still running");
  progress.SetProgress(5);
  progress.ShowAlternate();
  SUCCEED();  // reaching here without touching freed widgets is the point; ASan checks it
}

}  // namespace
}  // namespace quendrel
