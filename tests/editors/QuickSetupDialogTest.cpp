// The quick setup wizard's dialog, uploaded from the simulated drive: its four pages drawn to
// quick-setup-*.png, and user actions reaching the core only through the user's own signals.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editors/qt/frmConfigureQuickSetupDialog.h"
#include "params/support/TransferRig.h"
#include "platform/ScriptedUi.h"
#include "support/QtTestApp.h"
#include "support/TestOutput.h"

namespace quendrel {
namespace {

void Draw(QWidget& dialog, const std::string& name) {
  QApplication::processEvents();
  EXPECT_TRUE(dialog.grab().save(QString::fromStdString(TestOutputPath("editors", "quick-setup-" + name + ".png"))));
}

TEST(QuickSetupDialogTest, DrawsItsPagesOpenedModally) {
  QtTestApp();
  ScriptedUi ui;
  TransferRig rig;
  QWidget owner;
  bool opened = false;
  frmConfigureQuickSetupDialog::OnOpen([&](frmConfigureQuickSetupDialog& dialog) {
    opened = true;
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.parentWidget(), &owner);
    dialog.resize(720, 430);
    Draw(dialog, "source");
    dialog.Act([&] { dialog.Core().bConnect_Click(); });
    EXPECT_TRUE(dialog.Tabs()->isTabEnabled(3));
    for (const char* page : {"slots", "options"}) {
      dialog.Act([&] { dialog.Core().bNext_Click(); });
      if (std::string(page) == "slots") dialog.Act([&] { dialog.Core().lbM00_Click(0); });
      if (std::string(page) == "options") dialog.Act([&] { dialog.Core().cbSpecialSelect_Click(0); });
      Draw(dialog, page);
    }
    dialog.Act([&] { dialog.Core().bNext_Click(); });
    EXPECT_EQ(dialog.Tabs()->currentIndex(), 3);
    Draw(dialog, "preview-header");
    dialog.Act([&] { dialog.Core().bPreviewUp_Click(); });
    Draw(dialog, "preview-slot");
    // A programmatic fill reaches no handler: the name choice is still the uploaded one.
    EXPECT_EQ(dialog.Core().Set().Value(1211), "0");
    dialog.reject();
  });
  frmConfigureQuickSetupDialog::ShowModal({nullptr, nullptr, &owner}, &rig.Server());
  EXPECT_TRUE(opened);
}

}  // namespace
}  // namespace quendrel
