// The paced indicator: what reaches the screen while a window sends requests to a drive, slow ones
// and a fast stream of them.
#include "widgets/qt/progress/PacedIndicatorSink.h"

#include <QLabel>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "foundation/progress/ProgressServer.h"
#include "platform/FakeClock.h"
#include "platform/ScreenFrame.h"
#include "platform/qt/QtConvert.h"
#include "support/QtTestApp.h"

namespace quendrel {
namespace {

// Notes the colour of every paint of the label.
class PaintLog : public QObject {
 public:
  PaintLog(QLabel& label, const PacedIndicatorSink& sink) : label_(label), sink_(sink) { label.installEventFilter(this); }
  std::vector<QColor> Colours;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &label_ && event->type() == QEvent::Paint) Colours.push_back(ToQColor(sink_.Colour()));
    return false;
  }

 private:
  QLabel& label_;
  const PacedIndicatorSink& sink_;
};

class PacedIndicatorSinkTest : public ::testing::Test {
 protected:
  PacedIndicatorSinkTest() {
    label.resize(13, 13);
    label.show();
    QApplication::processEvents();
    progress.SetLabelIndicator(sink);
    clock.Advance(1.0);
  }

  // One request on the wire for the given time.
  void Request(double seconds) {
    progress.Green();
    clock.Advance(seconds);
    progress.Red();
  }

  QApplication& app = QtTestApp();
  FakeClock clock;
  QLabel label;
  std::shared_ptr<PacedIndicatorSink> sink = std::make_shared<PacedIndicatorSink>(&label, &clock);
  ProgressServer progress;
};

const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);

TEST_F(PacedIndicatorSinkTest, EverySlowRequestIsPaintedGreenWhileItRuns) {
  PaintLog log(label, *sink);
  for (int i = 0; i < 5; ++i) Request(0.030);
  EXPECT_EQ(log.Colours, std::vector<QColor>(5, kGreen));
  QApplication::processEvents();
  ASSERT_EQ(log.Colours.size(), 6U);
  EXPECT_EQ(log.Colours.back(), kRed);
}

TEST_F(PacedIndicatorSinkTest, AFastStreamPaysOneRepaintAFrameAtMost) {
  PaintLog log(label, *sink);
  // 1000 requests of 0.1 ms each, with 0.05 ms between them: 150 ms in all.
  for (int i = 0; i < 1000; ++i) {
    Request(0.0001);
    clock.Advance(0.00005);
  }
  EXPECT_GE(log.Colours.size(), 9U);
  EXPECT_LE(log.Colours.size(), 10U);
  QApplication::processEvents();
  EXPECT_EQ(log.Colours.back(), kRed);
}

TEST_F(PacedIndicatorSinkTest, APaintByTheMessageLoopCountsAsARepaint) {
  PaintLog log(label, *sink);
  Request(0.001);
  QApplication::processEvents();  // paints the red that was only marked
  ASSERT_EQ(log.Colours.size(), 2U);
  progress.Green();  // the same frame
  EXPECT_EQ(log.Colours.size(), 2U);
  clock.Advance(kFrameSeconds);
  progress.Green();
  EXPECT_EQ(log.Colours.size(), 3U);
}

TEST_F(PacedIndicatorSinkTest, ThePaintShowsTheColourUnderTheLabelsFrame) {
  label.setFrameStyle(QFrame::Panel | QFrame::Sunken);
  progress.Green();
  const QImage shown = label.grab().toImage();
  EXPECT_EQ(shown.pixelColor(label.width() / 2, label.height() / 2), kGreen);
  EXPECT_NE(shown.pixelColor(0, 0), kGreen);
}

TEST_F(PacedIndicatorSinkTest, ALabelDestroyedFirstIsLeftOut) {
  auto doomed = std::make_unique<QLabel>();
  auto paced = std::make_shared<PacedIndicatorSink>(doomed.get(), &clock);
  progress.SetLabelIndicator(paced);
  doomed.reset();
  Request(0.1);
  SUCCEED();
}

}  // namespace
}  // namespace quendrel
