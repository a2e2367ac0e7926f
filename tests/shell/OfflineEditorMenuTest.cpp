// The offline editor opened from the main window's menu: one window, shown whole at its minimum
// size, and unsaved edits the user keeps stopping the exit.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

#include "comms/GIOServer.h"
#include "editors/qt/frmEditOfflineWindow.h"
#include "foundation/Config.h"
#include "foundation/OptOutMsgBox.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"
#include "shell/qt/frmMainMDI.h"
#include "shell/support/ShellTestSupport.h"

namespace quendrel {
namespace {

TEST(OfflineEditorMenuTest, OpensOnceAtItsMinimumSizeAndUnsavedEditsStopTheExit) {
  QtTestApp();
  ResetConfig();
  FakeClock clock;
  GIOServer server(clock);
  ScriptedUi ui;
  auto window = std::make_unique<frmMainMDI>(&server);
  window->resize(800, 600);
  window->show();
  QAction* item = window->MenuItem("mnuEditParametersOffline");
  item->trigger();
  item->trigger();
  ASSERT_EQ(window->MdiArea()->subWindowList().size(), 1);
  frmEditOfflineWindow* editor = frmEditOfflineWindow::Instance();
  ASSERT_NE(editor, nullptr);
  QMdiSubWindow* child = window->MdiArea()->subWindowList().front();
  EXPECT_EQ(child->windowTitle(), "Edit Parameter File (Offline)");
  child->resize(child->minimumSizeHint());
  QApplication::processEvents();
  EXPECT_GE(editor->width(), 6200 / 15 - 20);
  EXPECT_TRUE(child->grab().save(QString::fromStdString(RenderOutputPath("edit-offline-minimum.png"))));

  editor->Core().tbDescription_Change("Changed");
  ui.AnswerOptOutBox(vbCancel);
  EXPECT_FALSE(window->close());
  EXPECT_EQ(window->MdiArea()->subWindowList().size(), 1);
  ui.AnswerOptOutBox(vbNo);
  EXPECT_TRUE(window->close());
  ResetConfig();
}

}  // namespace
}  // namespace quendrel
