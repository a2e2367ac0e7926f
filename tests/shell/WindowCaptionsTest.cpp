// Every window the main window opens from its menus, at its opening size and at its smallest: each
// label, button, check box, radio, group box and tab caption shows whole and without a stray "&",
// no control lies over another on any page, child windows open large enough to work in, and a
// child window's own Alt keys beat the menu bar's.
// A new menu item that opens a window is checked here without further ado; only items that open
// none are listed.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "comms/modules/EthernetModule.h"
#include "comms/modules/SerialModule.h"
#include "comms/server/GIOServer.h"
#include "flash/qt/frmDriveTest.h"
#include "foundation/settings/Config.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"
#include "shell/qt/frmMainMDI.h"
#include "shell/support/ShellTestSupport.h"
#include "widgets/TreeIcons.h"
#include "widgets/qt/windows/ChildWindowSize.h"

namespace quendrel {
namespace {

// Menu items that open no window of their own.
const std::set<std::string> kNoWindow = {"mnuFileExit", "mnuWindowCascade", "mnuWindowTile"};

// Windows whose controls stand at fixed places that meet: the symbol key's two boxes of a bit
// parameter's icons share two blank pixels.
const std::set<std::string> kFixedOverlaps = {"mnuHelpIconKey"};

// The caption as drawn where "&" marks a mnemonic: "&&" shows one "&", a single one shows nothing.
QString WithoutMnemonic(const QString& caption) {
  QString shown;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

// Gathers what is wrong with the captions of one window in one state.
class CaptionCheck {
 public:
  explicit CaptionCheck(std::string where) : where_(std::move(where)) {}

  void Check(const QWidget& root) {
    for (const QWidget* control : root.findChildren<QWidget*>()) {
      if (!control->isVisible()) continue;
      if (const auto* label = qobject_cast<const QLabel*>(control)) CheckLabel(*label);
      if (const auto* button = qobject_cast<const QAbstractButton*>(control)) CheckButton(*button);
      if (const auto* box = qobject_cast<const QGroupBox*>(control)) CheckGroupBox(*box);
      if (const auto* bar = qobject_cast<const QTabBar*>(control)) CheckTabs(*bar);
    }
  }
  const std::vector<std::string>& Problems() const { return problems_; }

 private:
  void Report(const char* kind, const QString& caption, const std::string& what) {
    problems_.push_back(where_ + ": " + kind + " \"" + caption.toStdString() + "\" " + what);
  }
  void CheckShown(const char* kind, const QString& caption, const QString& shown) {
    if (shown.contains('&')) Report(kind, caption, "shows a literal \"&\"");
  }
  void CheckFits(const char* kind, const QString& caption, QSize needed, QSize has) {
    if (needed.width() <= has.width() && needed.height() <= has.height()) return;
    Report(kind, caption,
           "needs " + std::to_string(needed.width()) + "x" + std::to_string(needed.height()) + " px, has " +
               std::to_string(has.width()) + "x" + std::to_string(has.height()));
  }

  void CheckLabel(const QLabel& label) {
    if (label.text().isEmpty()) return;
    const bool rich = label.textFormat() == Qt::RichText ||
                      (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(label.text()));
    QString shown = rich ? QTextDocumentFragment::fromHtml(label.text()).toPlainText() : label.text();
    if (!rich) {
      // Only a label with a buddy has a mnemonic; any other shows its "&" as it is.
      if (label.buddy() != nullptr) shown = WithoutMnemonic(shown);
      CheckShown("label", label.text(), shown);
    }
    const int margin = label.margin();
    const QRect room = label.contentsRect().adjusted(margin, margin, -margin, -margin);
    const int flags = label.wordWrap() ? Qt::TextWordWrap : 0;
    const QRect needed = label.fontMetrics().boundingRect(QRect(0, 0, room.width(), 100000), flags, shown);
    CheckFits("label", label.text(), needed.size(), room.size());
  }

  void CheckButton(const QAbstractButton& button) {
    if (button.text().isEmpty()) return;
    const QString shown = WithoutMnemonic(button.text());
    const char* kind = qobject_cast<const QCheckBox*>(&button)      ? "check box"
                       : qobject_cast<const QRadioButton*>(&button) ? "radio"
                                                                     : "button";
    CheckShown(kind, button.text(), shown);
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    option.icon = button.icon();
    option.iconSize = button.iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(&button) != nullptr) contents = QStyle::SE_CheckBoxContents;
    if (qobject_cast<const QRadioButton*>(&button) != nullptr) contents = QStyle::SE_RadioButtonContents;
    const QRect room = button.style()->subElementRect(contents, &option, &button);
    const int icon = button.icon().isNull() ? 0 : button.iconSize().width() + 4;
    const QFontMetrics metrics = button.fontMetrics();
    CheckFits(kind, button.text(), QSize(metrics.horizontalAdvance(shown) + icon, metrics.height()), room.size());
  }

  void CheckGroupBox(const QGroupBox& box) {
    if (box.title().isEmpty()) return;
    CheckShown("group box", box.title(), WithoutMnemonic(box.title()));
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    if (box.isCheckable()) option.subControls |= QStyle::SC_GroupBoxCheckBox;
    const QRect label = box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
    const int needed = box.fontMetrics().horizontalAdvance(WithoutMnemonic(box.title()));
    CheckFits("group box", box.title(), QSize(label.left() + needed, 0), QSize(box.width(), 0));
  }

  void CheckTabs(const QTabBar& bar) {
    for (int i = 0; i < bar.count(); ++i) {
      const QString shown = WithoutMnemonic(bar.tabText(i));
      CheckShown("tab", bar.tabText(i), shown);
      QStyleOptionTab option;
      option.initFrom(&bar);
      option.shape = bar.shape();
      option.rect = bar.tabRect(i);
      option.text = bar.tabText(i);
      const QRect text = bar.style()->subElementRect(QStyle::SE_TabBarTabText, &option, &bar);
      CheckFits("tab", bar.tabText(i), QSize(bar.fontMetrics().horizontalAdvance(shown), 0), QSize(text.width(), 0));
      if (!bar.rect().contains(bar.tabRect(i))) Report("tab", bar.tabText(i), "lies outside its tab bar");
    }
  }

  std::string where_;
  std::vector<std::string> problems_;
};

// Widgets that only hold, frame or page other controls; the controls inside them are what the user
// sees and works with.
bool HoldsControls(const QWidget& widget) {
  if (qobject_cast<const QTabWidget*>(&widget) != nullptr || qobject_cast<const QStackedWidget*>(&widget) != nullptr ||
      qobject_cast<const QGroupBox*>(&widget) != nullptr || qobject_cast<const QSplitter*>(&widget) != nullptr) {
    return true;
  }
  const char* kind = widget.metaObject()->className();
  return qstrcmp(kind, "QWidget") == 0 || qstrcmp(kind, "QFrame") == 0;
}

void GatherControls(const QWidget& holder, std::vector<const QWidget*>& controls) {
  for (const QWidget* child : holder.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!child->isVisible() || child->isWindow()) continue;
    if (HoldsControls(*child)) {
      GatherControls(*child, controls);
    } else {
      controls.push_back(child);
    }
  }
}

std::string ControlName(const QWidget& control) {
  if (!control.objectName().isEmpty()) return control.objectName().toStdString();
  const auto* button = qobject_cast<const QAbstractButton*>(&control);
  if (button != nullptr) return "\"" + button->text().toStdString() + "\"";
  const auto* label = qobject_cast<const QLabel*>(&control);
  if (label != nullptr) return "\"" + label->text().toStdString() + "\"";
  return control.metaObject()->className();
}

// Every two controls shown at once, wherever they sit among the window's pages and frames, lie apart.
std::vector<std::string> OverlapProblems(const QWidget& window, const std::string& where) {
  std::vector<const QWidget*> controls;
  GatherControls(window, controls);
  std::vector<std::string> problems;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const QRect a(controls[i]->mapTo(&window, QPoint(0, 0)), controls[i]->size());
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const QRect shared = a.intersected(QRect(controls[j]->mapTo(&window, QPoint(0, 0)), controls[j]->size()));
      if (shared.isEmpty()) continue;
      problems.push_back(where + ": " + ControlName(*controls[i]) + " and " + ControlName(*controls[j]) + " share " +
                         std::to_string(shared.width()) + "x" + std::to_string(shared.height()) + " px");
    }
  }
  return problems;
}

// Checks the window as it is, then each other tab page of it brought to the front in turn; a picture
// of the frame with each such page in front goes to "<picture>-page<n>.png".
std::vector<std::string> CaptionProblems(QWidget& frame, QWidget& window, const std::string& where,
                                         const std::string& picture, bool overlapsCount) {
  QApplication::processEvents();
  CaptionCheck check(where);
  check.Check(window);
  std::vector<std::string> problems = check.Problems();
  const auto addOverlaps = [&](const std::string& shown) {
    if (!overlapsCount) return;
    const std::vector<std::string> overlaps = OverlapProblems(window, shown);
    problems.insert(problems.end(), overlaps.begin(), overlaps.end());
  };
  addOverlaps(where);
  for (QTabWidget* tabs : window.findChildren<QTabWidget*>()) {
    if (!tabs->isVisible()) continue;
    const int front = tabs->currentIndex();
    for (int i = 0; i < tabs->count(); ++i) {
      if (i == front) continue;
      tabs->setCurrentIndex(i);
      QApplication::processEvents();
      const std::string pageName = where + ", page \"" + tabs->tabText(i).toStdString() + "\"";
      CaptionCheck page(pageName);
      page.Check(*tabs->widget(i));
      problems.insert(problems.end(), page.Problems().begin(), page.Problems().end());
      // The page's controls meet the window's own, such as a button kept in front of every page.
      addOverlaps(pageName);
      frame.grab().save(QString::fromStdString(RenderOutputPath(picture + "-page" + std::to_string(i) + ".png")));
    }
    tabs->setCurrentIndex(front);
  }
  return problems;
}

std::string Listed(const std::vector<std::string>& problems) {
  std::string text;
  for (const std::string& problem : problems) text += "\n  " + problem;
  return text;
}

class WindowCaptionsTest : public ::testing::Test {
 protected:
  WindowCaptionsTest() : server(clock) {
    QtTestApp();
    ResetConfig();
    QSettings(QStringLiteral("Quendrel"), QStringLiteral("Quendrel")).clear();
    server.RegisterModule(std::make_unique<SerialModule>(clock));
    server.RegisterModule(std::make_unique<EthernetModule>(clock));
    main = std::make_unique<frmMainMDI>(&server);
    main->show();
    main->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(main.get()));
  }
  ~WindowCaptionsTest() override {
    main->MdiArea()->closeAllSubWindows();
    main.reset();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetTreeIcons(nullptr);
    ResetConfig();
  }

  // The items of every menu that may open a window, in menu order.
  std::vector<QAction*> WindowItems() const {
    std::vector<QAction*> items;
    for (QAction* menu : main->menuBar()->actions()) {
      if (menu->menu() == nullptr) continue;
      for (QAction* item : menu->menu()->actions()) {
        const std::string name = item->objectName().toStdString();
        if (!item->isSeparator() && item->isEnabled() && !name.empty() && kNoWindow.count(name) == 0) {
          items.push_back(item);
        }
      }
    }
    return items;
  }

  FakeClock clock;
  GIOServer server;
  ScriptedUi ui;
  std::unique_ptr<frmMainMDI> main;
};

// Checks the window at its opening size, then at its smallest; problems are gathered by name.
void CheckAtBothSizes(QWidget& frame, QWidget& window, const std::string& name, std::vector<std::string>& problems) {
  const auto add = [&problems](const std::vector<std::string>& found) {
    problems.insert(problems.end(), found.begin(), found.end());
  };
  const bool overlapsCount = kFixedOverlaps.count(name) == 0;
  add(CaptionProblems(frame, window, name + " at its opening size", "captions-" + name + "-opening", overlapsCount));
  frame.grab().save(QString::fromStdString(RenderOutputPath("captions-" + name + "-opening.png")));
  frame.resize(ChildWindowSize::Smallest(frame));
  add(CaptionProblems(frame, window,
                      name + " at its smallest size " + std::to_string(frame.width()) + "x" +
                          std::to_string(frame.height()),
                      "captions-" + name + "-smallest", overlapsCount));
  frame.grab().save(QString::fromStdString(RenderOutputPath("captions-" + name + "-smallest.png")));
}

TEST_F(WindowCaptionsTest, EveryWindowShowsItsCaptionsWhole) {
  std::vector<std::string> problems;
  const std::vector<QAction*> items = WindowItems();
  ASSERT_GE(items.size(), 8U);
  for (QAction* item : items) {
    const std::string name = item->objectName().toStdString();
    const QList<QMdiSubWindow*> childrenBefore = main->MdiArea()->subWindowList();
    const QWidgetList topBefore = QApplication::topLevelWidgets();
    bool checked = false;
    // A modal window is checked from inside its own event loop, then sent away.
    QTimer::singleShot(0, main.get(), [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr) return;
      CheckAtBothSizes(*modal, *modal, name, problems);
      checked = true;
      modal->close();
    });
    item->trigger();
    QApplication::processEvents();
    for (QMdiSubWindow* child : main->MdiArea()->subWindowList()) {
      if (childrenBefore.contains(child)) continue;
      const QSize room = main->MdiArea()->viewport()->size();
      const QSize smallest = ChildWindowSize::Smallest(*child);
      // Room to work in: well over half the area, where the area has it.
      EXPECT_GE(child->width(), room.width() * 3 / 5) << name;
      EXPECT_GE(child->height(), room.height() * 3 / 5) << name;
      EXPECT_GE(child->width(), smallest.width()) << name;
      EXPECT_GE(child->height(), smallest.height()) << name;
      CheckAtBothSizes(*child, *child->widget(), name, problems);
      checked = true;
      child->close();
    }
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (topBefore.contains(top) || !top->isVisible() || top == main.get()) continue;
      CheckAtBothSizes(*top, *top, name, problems);
      checked = true;
      top->close();
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(checked) << name << " opened no window; list it among the items that open none";
  }
  EXPECT_TRUE(problems.empty()) << Listed(problems);
}

TEST_F(WindowCaptionsTest, ChildWindowsOpenedOneAfterAnotherLieInsideTheArea) {
  for (const char* item : {"mnuEditParametersOffline", "mnuEditParametersOnline", "mnuFragmentFile", "mnuDriveTest"}) {
    main->MenuItem(item)->trigger();
    QApplication::processEvents();
  }
  const QRect area(QPoint(0, 0), main->MdiArea()->viewport()->size());
  ASSERT_EQ(main->MdiArea()->subWindowList().size(), 4);
  for (const QMdiSubWindow* child : main->MdiArea()->subWindowList()) {
    EXPECT_TRUE(area.contains(child->geometry())) << child->windowTitle().toStdString();
  }
}

TEST_F(WindowCaptionsTest, AChildWindowsOwnAltKeysWinOverTheMenuBar) {
  main->MenuItem("mnuDriveTest")->trigger();
  frmDriveTest* window = frmDriveTest::Instance();
  ASSERT_NE(window, nullptr);
  window->ResultBox()->setFocus();
  QApplication::processEvents();
  auto* showRequest = qobject_cast<QCheckBox*>(window->ChildNamed("chkShowRequest"));
  ASSERT_NE(showRequest, nullptr);
  QSignalSpy executed(window->ExecuteButton(), &QAbstractButton::clicked);

  const bool ticked = showRequest->isChecked();
  QTest::keyClick(window->ResultBox(), Qt::Key_S, Qt::AltModifier);
  EXPECT_NE(showRequest->isChecked(), ticked) << "Alt+S toggles Show Request";
  EXPECT_EQ(QApplication::focusWidget(), showRequest);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
  EXPECT_EQ(executed.count(), 1) << "Alt+C clicks Single Command";
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no menu opened";
  EXPECT_EQ(main->menuBar()->activeAction(), nullptr);

  // A letter the window does not use still opens the main window's menu.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_H, Qt::AltModifier);
  QApplication::processEvents();
  EXPECT_NE(QApplication::activePopupWidget(), nullptr) << "Alt+H opens the Help menu";
  if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
}

}  // namespace
}  // namespace quendrel
