// File names in any script through the offline editor's window as a user meets it: typed into the
// file name box, picked and typed in the program's own file dialog, shown in a message, and kept
// for the next session, always as the name the file system lists.
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMdiArea>
#include <QMessageBox>
#include <QTest>
#include <filesystem>

#include "editors/qt/frmEditOfflineWindow.h"
#include "foundation/settings/Config.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtUiServices.h"
#include "support/CaseName.h"
#include "support/FileDialogDriver.h"
#include "support/QtTestApp.h"
#include "support/TempFolder.h"
#include "tree/qt/ParameterTreeWidget.h"

namespace quendrel {
namespace {

QPushButton& ButtonCaptioned(QWidget& window, const QString& caption) {
  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    if (button->text() == caption) return *button;
  }
  throw std::logic_error("no button " + caption.toStdString());
}

class EditorFileNamesTest : public ::testing::Test {
 protected:
  EditorFileNamesTest() {
    SetUi(&ui);
    EXPECT_TRUE(FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2));
    std::filesystem::create_directory(cyrillicFolder);
    KVBFile file;
    EXPECT_TRUE(file.BuildFromTemplate(2.105));
    file.SetValue(703, "12.5");
    file.SetDescription("Pump station");
    EXPECT_TRUE(file.SaveKVBFile(source, false));
    main.setCentralWidget(area);
    main.show();
    window = frmEditOfflineWindow::ShowWindow(WindowHost{area, nullptr, &main});
  }
  ~EditorFileNamesTest() override {
    area->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    FirmwareCompatibility() = FirmwareCompatibilityFile{};
    SetUi(nullptr);
  }

  // The user's typing in the file name box and a click on Load File.
  void LoadTyped(const std::string& path) {
    window->FileNameBox()->clear();
    TypeText(*window->FileNameBox(), ToQPath(path));
    QTest::mouseClick(window->LoadButton(), Qt::LeftButton);
  }

  // Save As... with the name typed into the save dialog.
  void SaveAs(const std::string& typed) {
    WhenModalShown<QFileDialog>([typed](QFileDialog& dialog) {
      TypeFileName(dialog, ToQPath(typed));
      PressAccept(dialog);
    });
    ButtonCaptioned(*window, QStringLiteral("&Save As...")).click();
  }

  QApplication& app = QtTestApp();
  UnexpectedModalGuard unexpectedBoxes;
  QtUiServices ui;
  TempFolder folder;
  std::string source = folder.File("set.KVB");
  std::string cyrillicFolder = folder.File("Документы");
  QMainWindow main;
  QMdiArea* area = new QMdiArea;
  frmEditOfflineWindow* window = nullptr;
};

struct NameCase {
  const char* typed;  // in the save dialog, relative to the test's folder
  const char* saved;
};

void PrintTo(const NameCase& c, std::ostream* out) { *out << c.typed; }

class SavedUnderName : public EditorFileNamesTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(SavedUnderName, LoadsAgainFromTheFileNameBox) {
  const std::string saved = folder.File(GetParam().saved);
  LoadTyped(source);
  window->DescriptionBox()->setFocus();
  TypeText(*window->DescriptionBox(), QString::fromUtf8(" Süd"));

  SaveAs(folder.File(GetParam().typed));
  ASSERT_TRUE(std::filesystem::exists(saved)) << saved;
  EXPECT_EQ(window->FileNameBox()->text(), ToQPath(saved));
  EXPECT_FALSE(window->Core().Unsaved());

  LoadTyped(source);
  EXPECT_EQ(window->DescriptionBox()->text(), QStringLiteral("Pump station"));
  LoadTyped(saved);
  // The description is a text of the file, kept in Latin-1 whatever the file's name.
  EXPECT_EQ(window->DescriptionBox()->text(), QString::fromUtf8("Pump station Süd"));
  EXPECT_EQ(window->Core().Set().Description(), "Pump station S\xFC" "d");
  EXPECT_NE(window->TreeWidget()->Tree().FindNode("M07P03"), nullptr);

  area->closeAllSubWindows();
  EXPECT_EQ(Config().Value("LastPramFile", "Files"), saved);
}

INSTANTIATE_TEST_SUITE_P(Names, SavedUnderName,
                         ::testing::Values(NameCase{"für.KVB", "für.KVB"}, NameCase{"насос", "насос.KVB"},
                                           NameCase{"Документы/мотор.KVB", "Документы/мотор.KVB"}),
                         [](const ::testing::TestParamInfo<NameCase>& info) { return CaseName(info.index, "name"); });

TEST_F(EditorFileNamesTest, BrowsePicksACyrillicFileAndAMessageNamesOneAsTyped) {
  const std::string picked = cyrillicFolder + "/насос.KVB";
  std::filesystem::copy_file(source, picked);
  WhenModalShown<QFileDialog>([picked](QFileDialog& dialog) {
    TypeFileName(dialog, ToQPath(picked));
    PressAccept(dialog);
  });
  ButtonCaptioned(*window, QStringLiteral("&Browse...")).click();
  EXPECT_EQ(window->FileNameBox()->text(), ToQPath(picked));
  EXPECT_EQ(window->DescriptionBox()->text(), QStringLiteral("Pump station"));

  const std::string missing = cyrillicFolder + "/мотор.KVB";
  QString shown;
  WhenModalShown<QMessageBox>([&shown](QMessageBox& box) {
    shown = box.text();
    box.button(QMessageBox::Ok)->click();
  });
  LoadTyped(missing);
  EXPECT_TRUE(shown.contains(ToQPath(missing))) << shown.toStdString();
}

}  // namespace
}  // namespace quendrel
