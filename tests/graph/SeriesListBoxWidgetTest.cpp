// The series list on screen: mouse, double-click, key and focus events reach the core and open the
// real editors; and pictures of the list in its states for people to look at (test-output/graph/).
#include "graph/controls/qt/SeriesListBoxWidget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <memory>

#include "graph/support/SeriesListRig.h"
#include "platform/ScriptedUi.h"
#include "support/QtTestApp.h"
#include "support/TestOutput.h"

namespace quendrel {
namespace {

using testing::kHeader;
using testing::kRow;

void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
  QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

void Click(QWidget* target, QPoint at) {
  SendMouse(target, QEvent::MouseButtonPress, at, Qt::LeftButton);
  SendMouse(target, QEvent::MouseButtonRelease, at, Qt::NoButton);
}

// The order Qt delivers a double-click in.
void DoubleClick(QWidget* target, QPoint at) {
  Click(target, at);
  SendMouse(target, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
  SendMouse(target, QEvent::MouseButtonRelease, at, Qt::NoButton);
}

void Key(QWidget* target, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
  // The release goes wherever the focus is by then, as a real key's does.
  QWidget* focused = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : target;
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(focused, &release);
}

void Type(QWidget* target, const QString& text) {
  for (const QChar c : text) Key(target, c.unicode(), QString(c));
}

// The list with its header in a window beside another focusable box.
struct SeriesListWidgetTest : ::testing::Test {
  SeriesListWidgetTest() {
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    widget = new SeriesListBoxWidget(rig.list, &window);
    other = new QLineEdit(&window);
    layout->addWidget(widget);
    layout->addWidget(other);
    rig.list.SetShowHeader(true);
    rig.Add("M01P01", 12.5).SetFormatString("0.0");
    rig.Add("M01P02", 1).SetBitPram(true);
    gdSeries& named = rig.Add("M02P05", 2);
    named.SetDVD(0, "Stopped");
    named.SetDVD(2, "Running");
    named.SetDVD(3, "Tripped");
    rig.Add("M03P10", 400).SetReadOnly(true);
    gdSeries& failed = rig.Add("M04P01", -7);
    failed.SetError(true);
    failed.SetGain(0.25);
    failed.SetVisible(false);
    rig.data.Series("M01P01")->SetGain(12345);
    rig.data.Series("M01P01")->SetColor(0x00A000);
    window.resize(600, 200);
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    rig.list.Refresh();
  }
  ~SeriesListWidgetTest() override { rig.list.SetHost({}); }

  QWidget* Canvas() const { return widget->CanvasWidget(); }
  static QPoint Row(int row) { return QPoint(80, (kHeader + (row - 1) * kRow + kRow / 2) / 15); }
  void Save(const std::string& name) {
    QApplication::processEvents();
    EXPECT_TRUE(widget->grab().save(QString::fromStdString(TestOutputPath("graph", name))));
  }

  QApplication& app = QtTestApp();
  testing::SeriesListRig rig;
  QWidget window;
  SeriesListBoxWidget* widget = nullptr;
  QLineEdit* other = nullptr;
};

TEST_F(SeriesListWidgetTest, ClicksAndKeysSelectRows) {
  Click(Canvas(), Row(2));
  EXPECT_EQ(rig.list.ListIndex(), 2);
  Canvas()->setFocus();
  Key(Canvas(), Qt::Key_Down);
  EXPECT_EQ(rig.list.ListIndex(), 3);
  Key(Canvas(), Qt::Key_End);
  EXPECT_EQ(rig.list.ListIndex(), 5);
  EXPECT_TRUE(rig.list.HasFocus());
}

TEST_F(SeriesListWidgetTest, DoubleClickOpensTheNumberEditorAndEnterCommitsIt) {
  DoubleClick(Canvas(), Row(1));
  QLineEdit* editor = widget->EditValue();
  ASSERT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->text(), "12.5");
  EXPECT_EQ(editor->geometry().top(), Canvas::ToPixel(rig.list.Editor().Top));  // just under the header
  EXPECT_TRUE(editor->hasFocus());
  editor->selectAll();
  Type(editor, "42");
  Key(editor, Qt::Key_Return);
  EXPECT_FALSE(editor->isVisible());
  ASSERT_EQ(rig.values.size(), 1u);
  EXPECT_EQ(rig.values[0].Value, 42.0);
  // The focus is back on the list, whose Enter release was swallowed.
  EXPECT_TRUE(Canvas()->hasFocus());
  EXPECT_FALSE(editor->isVisible());
  EXPECT_FALSE(rig.list.IgnoreEnterKeyUp());
}

TEST_F(SeriesListWidgetTest, TheValueNameListKeepsTheValueOfEachEntry) {
  DoubleClick(Canvas(), Row(3));
  QComboBox* names = widget->EditString();
  ASSERT_TRUE(names->isVisible());
  ASSERT_EQ(names->count(), 3);
  EXPECT_EQ(names->currentText(), "Running");
  EXPECT_EQ(names->itemData(2).toInt(), 3);
  names->setCurrentIndex(2);
  Key(names, Qt::Key_Return);
  ASSERT_EQ(rig.values.size(), 1u);
  EXPECT_EQ(rig.values[0].Value, 3.0);
  EXPECT_FALSE(names->isVisible());
}

TEST_F(SeriesListWidgetTest, LeavingTheControlCancelsTheNumberEditor) {
  DoubleClick(Canvas(), Row(1));
  ASSERT_TRUE(widget->EditValue()->isVisible());
  other->setFocus(Qt::MouseFocusReason);
  QApplication::processEvents();
  EXPECT_FALSE(widget->EditValue()->isVisible());
  EXPECT_FALSE(rig.list.HasFocus());
  EXPECT_TRUE(rig.values.empty());
}

TEST_F(SeriesListWidgetTest, PicturesOfTheList) {
  Save("series-list-header.png");
  Canvas()->setFocus();
  Click(Canvas(), Row(1));
  Save("series-list-selected.png");
  Click(Canvas(), Row(5));
  Save("series-list-error-selected.png");
  rig.list.SetIcons(true, &rig.icons);
  rig.list.Refresh();
  Save("series-list-icons-on.png");
  rig.list.SetIcons(false, nullptr);
  rig.list.Refresh();
  DoubleClick(Canvas(), Row(1));
  Save("series-list-number-editor.png");
  Key(widget->EditValue(), Qt::Key_Escape);
  DoubleClick(Canvas(), Row(3));
  Save("series-list-value-names-editor.png");
  Key(widget->EditString(), Qt::Key_Escape);
  other->setFocus(Qt::MouseFocusReason);
  rig.list.SetEnabled(false);
  Save("series-list-disabled.png");
  EXPECT_FALSE(widget->isEnabled());
}

TEST_F(SeriesListWidgetTest, ALongListShowsItsScrollBar) {
  for (int i = 0; i < 30; ++i) rig.Add("M10P" + std::to_string(10 + i), i);
  rig.list.Refresh();
  QApplication::processEvents();
  ASSERT_TRUE(widget->ScrollBar()->isVisible());
  EXPECT_EQ(widget->CanvasWidget()->width() + widget->ScrollBar()->width(), widget->width());
  widget->ScrollBar()->setValue(100);
  EXPECT_GT(rig.list.ScrollTop(), 0);
  Save("series-list-scrolled.png");
}

}  // namespace
}  // namespace quendrel
