// The Qt dialogs must offer the buttons, icon and tick a style asks for and report the user's
// answer in the codes callers test; file filters must reach Qt in its own form.
#include "platform/qt/QtUiServices.h"
#include "platform/qt/FontColorDialog.h"
#include "platform/qt/QtConvert.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTemporaryDir>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "support/CaseName.h"
#include "support/QtTestApp.h"

namespace quendrel {
namespace {

// Runs action on the modal dialog once its event loop is up, as a user would.
template <typename Dialog>
void WhenShown(std::function<void(Dialog&)> action) {
  QTimer::singleShot(0, [action] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      ADD_FAILURE() << "no modal dialog of the expected kind";
      if (QApplication::activeModalWidget() != nullptr) QApplication::activeModalWidget()->close();
      return;
    }
    action(*dialog);
  });
}

// The font dialog has no meta-object of its own, so it is found as a plain dialog.
void WhenFontDialogShown(std::function<void(FontColorDialog&)> action) {
  WhenShown<QDialog>([action](QDialog& shown) {
    auto* dialog = dynamic_cast<FontColorDialog*>(&shown);
    if (dialog == nullptr) {
      ADD_FAILURE() << "no font dialog";
      shown.reject();
      return;
    }
    action(*dialog);
  });
}

QStringList ButtonTexts(const QMessageBox& box) {
  QStringList texts;
  for (QAbstractButton* button : box.buttons()) texts.push_back(button->text().remove('&'));
  texts.sort();
  return texts;
}

struct FilterCase {
  const char* filter;
  QStringList expected;
};

class FilterConversion : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterConversion, BecomesQtNameFilters) {
  EXPECT_EQ(ToQtFilters(GetParam().filter), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, FilterConversion,
    ::testing::Values(
        FilterCase{"Parameter Files Only (*.KVB)|*.KVB|All Files (*.*)|*.*",
                   {"Parameter Files Only (*.KVB)", "All Files (*)"}},
        FilterCase{"Tab-Seperated Values (*.log)|*.LOG", {"Tab-Seperated Values (*.LOG)"}},
        FilterCase{"Flash Scripts|*.FL2;*.FLA", {"Flash Scripts (*.FL2 *.FLA)"}},
        FilterCase{"", {}},
        FilterCase{"Dangling description", {}}),
    NameByField<&FilterCase::filter>());

class QtUiServicesTest : public ::testing::Test {
 protected:
  QtUiServicesTest() { QtTestApp(); }
  QtUiServices ui;
};

TEST_F(QtUiServicesTest, MessageBoxShowsTheButtonSetAndReturnsTheClickedButton) {
  WhenShown<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(box.windowTitle(), "Unsaved Parameter Data");
    EXPECT_EQ(box.text(), "Save your changes?");
    EXPECT_EQ(box.icon(), QMessageBox::Question);
    EXPECT_EQ(ButtonTexts(box), (QStringList{"Cancel", "No", "Yes"}));
    EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::No));
    EXPECT_EQ(box.checkBox(), nullptr);
    box.button(QMessageBox::Cancel)->click();
  });
  EXPECT_EQ(ui.MsgBox("Save your changes?", vbYesNoCancel | vbQuestion | vbDefaultButton2,
                      "Unsaved Parameter Data"),
            vbCancel);
}

TEST_F(QtUiServicesTest, MessageBoxIconsAndEscape) {
  struct Case {
    int style;
    QMessageBox::Icon icon;
    int escapeAnswer;
  };
  for (const Case& c : {Case{vbOKOnly | vbCritical, QMessageBox::Critical, vbOK},
                        Case{vbOKCancel | vbInformation, QMessageBox::Information, vbCancel},
                        Case{vbRetryCancel | vbExclamation, QMessageBox::Warning, vbCancel},
                        Case{vbAbortRetryIgnore, QMessageBox::NoIcon, vbAbort}}) {
    WhenShown<QMessageBox>([c](QMessageBox& box) {
      EXPECT_EQ(box.icon(), c.icon);
      if (box.escapeButton() != nullptr) {
        box.escapeButton()->click();
      } else {
        box.button(QMessageBox::Abort)->click();
      }
    });
    EXPECT_EQ(ui.MsgBox("text", c.style, "Error"), c.escapeAnswer) << "style " << c.style;
  }
}

TEST_F(QtUiServicesTest, EmptyTitleShowsTheProgramName) {
  WhenShown<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(box.windowTitle(), "Quendrel");
    box.button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(ui.MsgBox("Done.", vbOKOnly, ""), vbOK);
}

TEST_F(QtUiServicesTest, MessageShowsAPathAsTheUserNamedIt) {
  WhenShown<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(box.text(), QString::fromUtf8("Unable to open /tmp/Документы/насос.KVB."));
    EXPECT_EQ(box.windowTitle(), QString::fromUtf8("für.KVB"));
    box.button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(ui.MsgBox("Unable to open /tmp/Документы/насос.KVB.", vbOKOnly, "für.KVB"), vbOK);
}

TEST_F(QtUiServicesTest, OptOutTickShownOnlyWhenOfferedAndReported) {
  WhenShown<QMessageBox>([](QMessageBox& box) {
    ASSERT_NE(box.checkBox(), nullptr);
    EXPECT_EQ(box.checkBox()->text(), "Do not show this message again");
    box.checkBox()->setChecked(true);
    box.button(QMessageBox::Yes)->click();
  });
  bool optedOut = false;
  EXPECT_EQ(ui.OptOutBox("Old firmware?", 36, "Old Firmware", true, optedOut), vbYes);
  EXPECT_TRUE(optedOut);

  WhenShown<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(box.checkBox(), nullptr);
    box.button(QMessageBox::No)->click();
  });
  EXPECT_EQ(ui.OptOutBox("Old firmware?", 36, "Old Firmware", false, optedOut), vbNo);
  EXPECT_FALSE(optedOut);
}

TEST_F(QtUiServicesTest, InputBoxReturnsTheTextOrEmptyWhenCancelled) {
  WhenShown<QInputDialog>([](QInputDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Custom Gain Selection");
    EXPECT_EQ(dialog.labelText(), "Input a gain value:");
    EXPECT_EQ(dialog.textValue(), "1.5");
    dialog.setTextValue("2.25");
    dialog.accept();
  });
  EXPECT_EQ(ui.InputBox("Input a gain value:", "Custom Gain Selection", "1.5"), "2.25");

  WhenShown<QInputDialog>([](QInputDialog& dialog) { dialog.reject(); });
  EXPECT_EQ(ui.InputBox("Input a gain value:", "Custom Gain Selection", "1.5"), "");
}

TEST_F(QtUiServicesTest, ColorDialogStartsOnTheColourOnlyWhenAsked) {
  WhenShown<QColorDialog>([](QColorDialog& dialog) {
    EXPECT_EQ(dialog.currentColor(), QColor(255, 0, 0));
    dialog.setCurrentColor(QColor(0, 128, 255));
    dialog.accept();
  });
  std::uint32_t color = 0x0000FF;
  EXPECT_TRUE(ui.ColorDialog(color, cdlCCRGBInit | cdlCCFullOpen));
  EXPECT_EQ(color, 0xFF8000u);

  WhenShown<QColorDialog>([](QColorDialog& dialog) {
    EXPECT_EQ(dialog.currentColor(), QColor(0, 0, 0));
    dialog.reject();
  });
  EXPECT_FALSE(ui.ColorDialog(color, cdlCCFullOpen));
  EXPECT_EQ(color, 0xFF8000u);
}

TEST_F(QtUiServicesTest, FontDialogWithEffectsOffersTheTextColour) {
  WhenFontDialogShown([](FontColorDialog& dialog) {
    ASSERT_NE(dialog.ColorButton(), nullptr);
    WhenShown<QColorDialog>([](QColorDialog& colors) {
      EXPECT_EQ(colors.currentColor(), QColor(0, 0, 255));
      colors.setCurrentColor(QColor(0, 128, 0));
      colors.accept();
    });
    dialog.ColorButton()->click();
    dialog.accept();
  });
  FontDialogChoice choice{CanvasFont{"Tahoma", 10.0f}, 0xFF0000};
  EXPECT_TRUE(ui.FontDialog(choice, cdlCFBoth | cdlCFEffects));
  EXPECT_EQ(choice.Color, 0x008000u);
  EXPECT_EQ(choice.Font.Size, 10.0f);
}

TEST_F(QtUiServicesTest, FontDialogKeepsAColourNotPickedAndOffersNoneWithoutEffects) {
  // A system colour the user left alone must not come back resolved to its current shade.
  WhenFontDialogShown([](FontColorDialog& dialog) {
    EXPECT_NE(dialog.ColorButton(), nullptr);
    dialog.accept();
  });
  FontDialogChoice choice{CanvasFont{}, 0x80000008u};
  EXPECT_TRUE(ui.FontDialog(choice, cdlCFBoth | cdlCFEffects));
  EXPECT_EQ(choice.Color, 0x80000008u);

  WhenFontDialogShown([](FontColorDialog& dialog) {
    EXPECT_EQ(dialog.ColorButton(), nullptr);
    dialog.reject();
  });
  choice.Color = 0x123456;
  EXPECT_FALSE(ui.FontDialog(choice, cdlCFBoth));
  EXPECT_EQ(choice.Color, 0x123456u);
}

void TickUnderline(FontColorDialog& dialog) {
  for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
    if (box->text().remove(QLatin1Char('&')) == QStringLiteral("Underline")) return box->click();
  }
  ADD_FAILURE() << "no Underline tick";
}

// A face this machine lacks opens on a face it has: OK on that unchanged must not put the substitute
// in the settings, while a change returns what the user saw and chose.
TEST_F(QtUiServicesTest, FontDialogReturnsTheFontAsPassedUnlessTheUserChangedIt) {
  const struct {
    CanvasFont start;
    bool underline;  // the user's one change
  } cases[] = {
      {CanvasFont{"Verdana", 16.0f, true}, false},
      {CanvasFont{"Quendrel Absent Face", 11.0f, false, true, true}, false},
      {CanvasFont{"DejaVu Sans", 9.0f}, false},
      {CanvasFont{"Verdana", 16.0f, true}, true},
  };
  for (const auto& c : cases) {
    CanvasFont shown;
    WhenFontDialogShown([&c, &shown](FontColorDialog& dialog) {
      if (c.underline) TickUnderline(dialog);
      shown = FromQFont(dialog.findChild<QFontDialog*>()->currentFont());
      dialog.accept();
    });
    FontDialogChoice choice{c.start, 0};
    ASSERT_TRUE(ui.FontDialog(choice, cdlCFBoth | cdlCFEffects)) << c.start.Name;
    const CanvasFont expected = c.underline ? shown : c.start;
    EXPECT_EQ(choice.Font, expected) << c.start.Name << " came back as " << choice.Font.Name << " "
                                     << choice.Font.Size << (choice.Font.Bold ? " bold" : "");
    EXPECT_EQ(choice.Font.Underline, c.underline || c.start.Underline) << c.start.Name;
  }
}

TEST_F(QtUiServicesTest, SaveDialogGetsTitleFiltersAndInitialNameAndReturnsThePath) {
  const QTemporaryDir temporary;
  const QString folder = temporary.path();
  WhenShown<QFileDialog>([folder](QFileDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Save Snapshot As...");
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.nameFilters(), (QStringList{"Bitmap files (*.BMP)", "All files (*)"}));
    EXPECT_EQ(dialog.selectedNameFilter(), "All files (*)");
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    dialog.selectFile(folder + "/graph.bmp");
    // accept() is protected on the file dialog; the user's OK reaches it as a slot call.
    QMetaObject::invokeMethod(&dialog, "accept", Qt::DirectConnection);
  });
  FileDialogRequest request;
  request.Save = true;
  request.Filter = "Bitmap files (*.bmp)|*.BMP|All files (*.*)|*.*";
  request.FilterIndex = 2;
  request.Title = "Save Snapshot As...";
  request.Flags = cdlOFNOverwritePrompt | cdlOFNHideReadOnly;
  EXPECT_EQ(ui.FileDialog(request), (folder + "/graph.bmp").toStdString());
}

TEST_F(QtUiServicesTest, CancelledOpenDialogGivesEmptyText) {
  WhenShown<QFileDialog>([](QFileDialog& dialog) {
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    dialog.reject();
  });
  FileDialogRequest request;
  request.Filter = "Intel Hex Files (*.HEX)|*.HEX|All Files (*.*)|*.*";
  request.Title = "Select Hex File...";
  request.Flags = cdlOFNFileMustExist | cdlOFNHideReadOnly;
  EXPECT_EQ(ui.FileDialog(request), "");
}

TEST_F(QtUiServicesTest, PumpRunsQueuedEvents) {
  bool ran = false;
  QTimer::singleShot(0, [&ran] { ran = true; });
  ui.PumpMessages();
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace quendrel
