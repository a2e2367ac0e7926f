// The offline and fragment editors opened from the main window's menus: one window each, shown
// whole at the minimum size, and unsaved edits the user keeps stopping the exit.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

#include <functional>

#include "comms/server/GIOServer.h"
#include "editors/qt/frmEditFragmentWindow.h"
#include "editors/qt/frmEditOfflineWindow.h"
#include "foundation/settings/Config.h"
#include "foundation/settings/OptOutMsgBox.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"
#include "shell/qt/frmMainMDI.h"
#include "shell/support/ShellTestSupport.h"

namespace quendrel {
namespace {

struct EditorCase {
  const char* Item;
  const char* Title;
  const char* Picture;
  std::function<void()> TypeDescription;  // leaves the open editor with an unsaved edit
};

void PrintTo(const EditorCase& c, std::ostream* out) { *out << c.Item; }

class FileEditorMenuTest : public ::testing::TestWithParam<EditorCase> {};

TEST_P(FileEditorMenuTest, OpensOnceAtItsMinimumSizeAndUnsavedEditsStopTheExit) {
  const EditorCase& c = GetParam();
  QtTestApp();
  ResetConfig();
  FakeClock clock;
  GIOServer server(clock);
  ScriptedUi ui;
  auto window = std::make_unique<frmMainMDI>(&server);
  window->resize(800, 600);
  window->show();
  QAction* item = window->MenuItem(c.Item);
  item->trigger();
  item->trigger();
  ASSERT_EQ(window->MdiArea()->subWindowList().size(), 1);
  QMdiSubWindow* child = window->MdiArea()->subWindowList().front();
  EXPECT_EQ(child->windowTitle(), c.Title);
  child->resize(child->minimumSizeHint());
  QApplication::processEvents();
  EXPECT_GE(child->width(), 6200 / 15);
  EXPECT_TRUE(child->grab().save(QString::fromStdString(RenderOutputPath(c.Picture))));

  c.TypeDescription();
  ui.AnswerOptOutBox(vbCancel);
  EXPECT_FALSE(window->close());
  EXPECT_EQ(window->MdiArea()->subWindowList().size(), 1);
  ui.AnswerOptOutBox(vbNo);
  EXPECT_TRUE(window->close());
  ResetConfig();
}

INSTANTIATE_TEST_SUITE_P(
    Editors, FileEditorMenuTest,
    ::testing::Values(EditorCase{"mnuEditParametersOffline", "Edit Parameter File (Offline)",
                                 "edit-offline-minimum.png",
                                 [] { frmEditOfflineWindow::Instance()->Core().tbDescription_Change("x"); }},
                      EditorCase{"mnuFragmentFile", "Build/Edit Fragment File", "edit-fragment-minimum.png",
                                 [] { frmEditFragmentWindow::Instance()->Core().tbDescription_Change("x"); }}),
    [](const auto& info) { return std::string(info.param.Item); });

}  // namespace
}  // namespace quendrel
