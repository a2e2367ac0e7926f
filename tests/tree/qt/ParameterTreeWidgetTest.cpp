// Real mouse, key, focus, wheel and scroll bar events on the tree widget reach the core and
// give the same results as the core's own tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QVBoxLayout>

#include "tree/qt/ParameterTreeWidget.h"
#include "tree/qt/support/QtTreeSupport.h"
#include "tree/support/TreeTestSupport.h"

namespace quendrel {
namespace {

using test::AddMenus;
using test::EventLog;

// The tree in a window beside another focusable box, with the menus of the core tests.
struct WidgetFixture {
  WidgetFixture() {
    test::EnsureApp();
    window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window.get());
    tree = new ParameterTreeWidget(window.get());
    other = new QLineEdit(window.get());
    layout->addWidget(tree);
    layout->addWidget(other);
    window->resize(360, 300);
    AddMenus(tree->Tree());
    tree->Tree().Node("B2").SetValue(7.5f);
    tree->Tree().RepaintAll();
    events = std::make_unique<EventLog>(tree->Tree());
    events->OnDblClick = [this] { tree->Tree().EditCurrentValue(); };
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  ~WidgetFixture() { events.reset(); }

  QWidget* Canvas() const { return tree->CanvasWidget(); }
  QPoint RowPoint(const char* key) const {
    const ParameterTree& core = tree->Tree();
    const ParameterTreeNode& node = core.Node(key);
    return QPoint(60, static_cast<int>((node.SiteY() + node.MinHeight() / 2) / 15) - core.VScroll());
  }

  std::unique_ptr<QWidget> window;
  ParameterTreeWidget* tree = nullptr;
  QLineEdit* other = nullptr;
  std::unique_ptr<EventLog> events;
};

TEST(ParameterTreeWidgetTest, MouseAndKeysSelectLikeTheCore) {
  WidgetFixture f;
  QTest::mouseClick(f.Canvas(), Qt::LeftButton, {}, f.RowPoint("B1"));
  EXPECT_EQ(f.tree->Tree().Selected(), &f.tree->Tree().Node("B1"));
  QTest::keyClick(f.Canvas(), Qt::Key_Down);
  EXPECT_EQ(f.tree->Tree().Selected(), &f.tree->Tree().Node("B2"));
  QTest::mouseClick(f.Canvas(), Qt::RightButton, Qt::ShiftModifier, f.RowPoint("A"));
  EXPECT_EQ(f.tree->Tree().Selected(), &f.tree->Tree().Node("A"));
  EXPECT_EQ(f.events->Lines, (std::vector<std::string>{"Click", "SelectionChanged B2", "KeyUp 40 0", "Click"}));
}

TEST(ParameterTreeWidgetTest, AHeldKeyActsOnceOnRelease) {
  WidgetFixture f;
  f.tree->Tree().SetSelected(&f.tree->Tree().Node("A"));
  f.events->Lines.clear();
  QWidget* canvas = f.Canvas();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QApplication::sendEvent(canvas, &press);
  for (int i = 0; i < 3; ++i) {
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(canvas, &repeatRelease);
    QApplication::sendEvent(canvas, &repeatPress);
  }
  EXPECT_TRUE(f.events->Lines.empty());
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
  QApplication::sendEvent(canvas, &release);
  EXPECT_EQ(f.tree->Tree().Selected(), &f.tree->Tree().Node("A1"));
}

TEST(ParameterTreeWidgetTest, DoubleClickTypeAndEnterCommitsOnceAndTheCanvasNeverSeesEnter) {
  WidgetFixture f;
  QTest::mouseClick(f.Canvas(), Qt::LeftButton, {}, f.RowPoint("B2"));
  QTest::mouseDClick(f.Canvas(), Qt::LeftButton, {}, f.RowPoint("B2"));
  ASSERT_TRUE(f.tree->EditBox()->isVisible());
  EXPECT_EQ(f.tree->EditBox()->text(), "7.5");
  f.events->Lines.clear();
  f.tree->EditBox()->selectAll();
  QTest::keyClicks(f.tree->EditBox(), "42");
  // The Enter is pressed in the editor; its release may arrive wherever the focus went.
  QTest::keyPress(f.tree->EditBox(), Qt::Key_Return);
  QTest::keyRelease(f.tree->EditBox(), Qt::Key_Return);
  QTest::keyRelease(f.Canvas(), Qt::Key_Return);
  EXPECT_FALSE(f.tree->EditBox()->isVisible());
  EXPECT_TRUE(f.Canvas()->hasFocus() || !QApplication::focusWidget());
  EXPECT_EQ(f.events->Lines, (std::vector<std::string>{"ValueChanged B2 4", "ValueChanged B2 42",
                                                       "ValueCommit B2 42"}));
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at) {
  QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

TEST(ParameterTreeWidgetTest, TheMovesXSendsBeforeADoubleClicksReleaseLeaveTheEditorOpen) {
  for (const bool toEditor : {true, false}) {
    SCOPED_TRACE(toEditor ? "pointer put on the editor" : "1-pixel jitter");
    WidgetFixture f;
    const QPoint row = f.RowPoint("B2");
    QTest::mouseClick(f.Canvas(), Qt::LeftButton, {}, row);
    QTest::mousePress(f.Canvas(), Qt::LeftButton, {}, row);
    SendMouse(f.Canvas(), QEvent::MouseButtonDblClick, row);
    ASSERT_TRUE(f.tree->EditBox()->isVisible());
    const QPoint to = toEditor ? f.Canvas()->mapFrom(f.tree, f.tree->EditBox()->geometry().center())
                               : row + QPoint(1, 0);
    SendMouse(f.Canvas(), QEvent::MouseMove, to);
    QTest::mouseRelease(f.Canvas(), Qt::LeftButton, {}, to);
    f.events->Lines.clear();
    EXPECT_TRUE(f.tree->EditBox()->isVisible());
    EXPECT_EQ(f.tree->Tree().Selected(), &f.tree->Tree().Node("B2"));
    QTest::keyClick(f.tree->EditBox(), Qt::Key_Return);
    EXPECT_EQ(f.events->Lines, std::vector<std::string>{"ValueCommit B2 7.5"});
  }
}

TEST(ParameterTreeWidgetTest, ADisabledTreeDrawsDisabledAndTakesNoClicks) {
  WidgetFixture f;
  const QPoint row = f.RowPoint("A");
  const QRgb enabledLook = f.Canvas()->grab().toImage().pixel(row);
  f.tree->Tree().SetEnabled(false);
  EXPECT_FALSE(f.tree->EditBox()->isEnabled());
  test::SaveRender(f.tree->grab().toImage(), "tree-disabled.png");
  EXPECT_NE(f.Canvas()->grab().toImage().pixel(row), enabledLook);
  QTest::mouseDClick(f.Canvas(), Qt::LeftButton, {}, row);
  EXPECT_TRUE(f.events->Lines.empty());
}

TEST(ParameterTreeWidgetTest, EscapeInTheEditorTakesTheEditBack) {
  WidgetFixture f;
  f.tree->Tree().SetSelected(&f.tree->Tree().Node("B2"));
  f.tree->Tree().EditCurrentValue();
  QTest::keyClicks(f.tree->EditBox(), "9");
  QTest::keyClick(f.tree->EditBox(), Qt::Key_Escape);
  EXPECT_FALSE(f.tree->EditBox()->isVisible());
  EXPECT_EQ(f.tree->Tree().Node("B2").Value(), 7.5f);
}

TEST(ParameterTreeWidgetTest, LeavingTheEditorCommitsButItsOwnPopupDoesNot) {
  WidgetFixture f;
  ParameterTreeNode& node = f.tree->Tree().Node("B2");
  node.SetValue(0);
  node.AddDVD(0, "Off");
  node.AddDVD(1, "On");
  f.tree->Tree().SetSelected(&node);
  f.tree->Tree().SelectCurrentValue();
  ASSERT_TRUE(f.tree->SelectBox()->isVisible());
  f.tree->SelectBox()->showPopup();
  QApplication::processEvents();
  EXPECT_TRUE(f.tree->Tree().EditorOpen());
  f.tree->SelectBox()->hidePopup();
  f.tree->SelectBox()->setCurrentIndex(1);
  f.events->Lines.clear();
  f.other->setFocus(Qt::MouseFocusReason);
  QApplication::processEvents();
  EXPECT_FALSE(f.tree->Tree().EditorOpen());
  EXPECT_EQ(f.events->Lines, std::vector<std::string>{"ValueCommit B2 1"});
}

TEST(ParameterTreeWidgetTest, ScrollBarAndWheelMoveTheViewAndResizingKeepsTheCanvasBesideTheBar) {
  WidgetFixture f;
  for (int i = 0; i < 40; ++i) f.tree->Tree().AddNode("N" + std::to_string(i), "", "N");
  f.tree->Tree().RepaintAll();
  QScrollBar* bar = f.tree->VerticalScrollBar();
  ASSERT_TRUE(bar->isVisible());
  bar->setValue(30);
  EXPECT_EQ(f.tree->Tree().VScroll(), 30);
  EXPECT_EQ(bar->value(), 30);
  QTest::mouseClick(f.Canvas(), Qt::LeftButton, {}, f.RowPoint("N5"));
  EXPECT_EQ(f.tree->Tree().Selected(), &f.tree->Tree().Node("N5"));
  QWheelEvent wheel(QPointF(50, 50), f.Canvas()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(f.tree, &wheel);
  EXPECT_EQ(f.tree->Tree().VScroll(), 30 + 3 * bar->singleStep());
  f.window->resize(400, 320);
  QApplication::processEvents();
  EXPECT_EQ(f.tree->Tree().Width(), f.tree->width() * 15);
  EXPECT_EQ(f.Canvas()->width(), f.tree->VerticalScrollBar()->x());
}

TEST(ParameterTreeWidgetTest, AWindowClosingInsideAnEventDoesNotTakeTheTreeDownMidAction) {
  WidgetFixture f;
  f.window->setAttribute(Qt::WA_DeleteOnClose);
  QWidget* window = f.window.release();
  QPointer<QWidget> watch(window);
  f.events->OnClick = [window] { window->close(); };
  QTest::mouseClick(f.Canvas(), Qt::LeftButton, {}, f.RowPoint("A"));
  f.events.reset();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(watch.isNull());
}

}  // namespace
}  // namespace quendrel
