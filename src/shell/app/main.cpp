// Quendrel: start-up, the main window's event loop, and exit through the main window.
#include <QApplication>

#include "graph/controls/qt/gpConfigureGraph.h"
#include "platform/Clock.h"
#include "platform/qt/QtUiServices.h"
#include "shell/qt/ShellApplication.h"
#include "shell/qt/frmMainMDI.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  quendrel::QtUiServices ui;
  quendrel::SetUi(&ui);
  // A graph pane's "&Properties..." opens the configuration dialog.
  quendrel::gpConfigureGraph::Install();

  quendrel::ShellApplication shell({});
  if (shell.Start(ui, quendrel::SystemClockInstance()) != quendrel::StartupOutcome::Running) {
    quendrel::SetUi(nullptr);
    return 1;
  }
  ui.SetParentWidget(shell.MainWindow());
  const int result = QApplication::exec();
  quendrel::SetUi(nullptr);
  return result;
}
