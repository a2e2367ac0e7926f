// The program's file dialog as a user meets it: names in any script picked and typed, the save
// filter's extension given to a bare name before the question about replacing a file, and a
// folder whose entries cannot be read listed without reading them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QComboBox>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <filesystem>

#include "platform/qt/QtConvert.h"
#include "platform/qt/QtUiServices.h"
#include "support/CaseName.h"
#include "support/FileDialogDriver.h"
#include "support/FileText.h"
#include "support/QtTestApp.h"

namespace quendrel {
namespace {

constexpr const char* kParameterFilter = "Parameter Files Only (*.KVB)|*.KVB|All Files (*.*)|*.*";

class FileDialogTest : public ::testing::Test {
 protected:

  // A file of the folder by its name as the file system holds it.
  std::string File(const std::string& name) const { return folder + "/" + name; }

  std::string Open(const std::string& initialName) {
    FileDialogRequest request;
    request.Filter = kParameterFilter;
    request.Title = "Select Parameter File...";
    request.InitialName = initialName;
    request.Flags = cdlOFNFileMustExist | cdlOFNHideReadOnly;
    return ui.FileDialog(request);
  }

  std::string Save() {
    FileDialogRequest request;
    request.Save = true;
    request.Filter = kParameterFilter;
    request.Title = "Save Parameter File...";
    request.InitialName = folder + "/";
    request.Flags = cdlOFNOverwritePrompt | cdlOFNHideReadOnly;
    return ui.FileDialog(request);
  }

  QApplication& app = QtTestApp();
  UnexpectedModalGuard unexpectedBoxes;
  QTemporaryDir temporary;
  std::string folder = FromQPath(temporary.path()) + "/Документы";
  QtUiServices ui;
};

TEST_F(FileDialogTest, OpenPicksNamesInAnyScriptInACyrillicFolder) {
  std::filesystem::create_directory(folder);
  for (const char* name : {"für.KVB", "насос.KVB"}) WriteTestFile(File(name), name);
  for (const char* name : {"für.KVB", "насос.KVB"}) {
    WhenModalShown<QFileDialog>([name](QFileDialog& dialog) {
      WaitForListing(dialog, 2);
      TypeFileName(dialog, QString::fromUtf8(name));
      PressAccept(dialog);
    });
    const std::string picked = Open(folder + "/");
    EXPECT_EQ(picked, File(name));
    EXPECT_EQ(ReadTestFile(picked), name);
  }
}

TEST_F(FileDialogTest, SaveGivesABareNameTheFilterExtensionBeforeAskingToReplace) {
  std::filesystem::create_directory(folder);
  WriteTestFile(File("x.KVB"), "old");

  WhenModalShown<QFileDialog>([](QFileDialog& dialog) {
    TypeFileName(dialog, QString::fromUtf8("мотор"));
    PressAccept(dialog);
  });
  EXPECT_EQ(Save(), File("мотор.KVB"));

  // "x" names "x.KVB", which exists: the question comes, and No keeps the dialog open.
  WhenModalShown<QFileDialog>([](QFileDialog& dialog) {
    TypeFileName(dialog, QStringLiteral("x"));
    WhenModalShown<QMessageBox>([](QMessageBox& question) {
      EXPECT_TRUE(question.text().contains(QStringLiteral("x.KVB"))) << question.text().toStdString();
      question.button(QMessageBox::No)->click();
    });
    PressAccept(dialog);
    EXPECT_TRUE(dialog.isVisible());
    dialog.reject();
  });
  EXPECT_EQ(Save(), "");

  WhenModalShown<QFileDialog>([](QFileDialog& dialog) {
    TypeFileName(dialog, QStringLiteral("x"));
    WhenModalShown<QMessageBox>([](QMessageBox& question) { question.button(QMessageBox::Yes)->click(); });
    PressAccept(dialog);
  });
  EXPECT_EQ(Save(), File("x.KVB"));
  EXPECT_EQ(ReadTestFile(File("x.KVB")), "old");  // the dialog only names the file; the caller writes it
}

TEST_F(FileDialogTest, AllFilesChosenKeepsTheNameAsTyped) {
  std::filesystem::create_directory(folder);
  WhenModalShown<QFileDialog>([](QFileDialog& dialog) {
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    // The user's choice in the list of types, as the combo box reports it.
    types->setCurrentIndex(1);
    emit types->activated(1);
    emit types->textActivated(types->currentText());
    EXPECT_EQ(dialog.selectedNameFilter().toStdString(), "All Files (*)");
    TypeFileName(dialog, QStringLiteral("notes"));
    PressAccept(dialog);
  });
  EXPECT_EQ(Save(), File("notes"));
}

struct DottedNameCase {
  const char* window;
  const char* filter;
  int index;
  const char* typed;
  const char* saved;
  // The completed name is taken already: the question about replacing it must name it.
  bool taken;
};

// The filters of the program's save dialogs, with names whose dot starts no extension the filter knows.
TEST_F(FileDialogTest, SaveGivesANameNotEndingInTheFiltersExtensionThatExtension) {
  constexpr const char* kScanLog = "Tab-Seperated Values (*.log)|*.LOG|All Files (*.*)|*.*";
  constexpr const char* kFlashLog = "Log Files (*.LOG)|*.LOG|Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*";
  constexpr const char* kSnapshot = "Bitmap files (*.bmp)|*.BMP|All files (*.*)|*.*";
  constexpr const char* kGraphData = "Data files (*.dat)|*.dat|All files (*.*)|*.*";
  const DottedNameCase cases[] = {
      {"offline editor's Save As", kParameterFilter, 1, "Pump 2.5kW", "Pump 2.5kW.KVB", false},
      {"a name ending in the extension in other case", kParameterFilter, 1, "pump.kvb", "pump.kvb", false},
      {"a name ending in a dot", kParameterFilter, 1, "pump.", "pump.KVB", false},
      {"All Files keeps the name as typed", kParameterFilter, 2, "Pump 2.5kW", "Pump 2.5kW", false},
      {"scan log", kScanLog, 1, "line 3.2", "line 3.2.LOG", false},
      {"flash log as text", kFlashLog, 2, "flash v1.0", "flash v1.0.TXT", false},
      {"Save Snapshot", kSnapshot, 1, "motor 2.5kW", "motor 2.5kW.BMP", false},
      {"the graph's data", kGraphData, 1, "trend.2024", "trend.2024.dat", false},
      {"Save Snapshot over a picture saved before", kSnapshot, 1, "мотор 2.5kW", "мотор 2.5kW.BMP", true},
  };
  std::filesystem::create_directory(folder);
  for (const DottedNameCase& c : cases) {
    if (c.taken) WriteTestFile(File(c.saved), "old");
    WhenModalShown<QFileDialog>([&c](QFileDialog& dialog) {
      TypeFileName(dialog, QString::fromUtf8(c.typed));
      if (c.taken) {
        WhenModalShown<QMessageBox>([&c](QMessageBox& question) {
          EXPECT_TRUE(question.text().contains(QString::fromUtf8(c.saved))) << question.text().toStdString();
          question.button(QMessageBox::Yes)->click();
        });
      }
      PressAccept(dialog);
    });
    FileDialogRequest request;
    request.Save = true;
    request.Filter = c.filter;
    request.FilterIndex = c.index;
    request.InitialName = folder + "/";
    request.Flags = cdlOFNOverwritePrompt | cdlOFNHideReadOnly;
    EXPECT_EQ(ui.FileDialog(request), File(c.saved)) << c.window;
  }
}

struct ExtensionCase {
  const char* filter;
  int index;
  bool save;
  const char* extension;
};

void PrintTo(const ExtensionCase& c, std::ostream* out) { *out << c.filter << " #" << c.index; }

class SaveFilterExtension : public ::testing::TestWithParam<ExtensionCase> {
 protected:
  SaveFilterExtension() { QtTestApp(); }
};

TEST_P(SaveFilterExtension, IsTheChosenFiltersFirst) {
  const ExtensionCase& c = GetParam();
  WhenModalShown<QFileDialog>([&c](QFileDialog& dialog) {
    EXPECT_EQ(dialog.defaultSuffix().toStdString(), c.extension);
    dialog.reject();
  });
  FileDialogRequest request;
  request.Save = c.save;
  request.Filter = c.filter;
  request.FilterIndex = c.index;
  QtUiServices ui;
  EXPECT_EQ(ui.FileDialog(request), "");
}

// A save filter's first glob, none for every file, and nothing in an open dialog.
INSTANTIATE_TEST_SUITE_P(
    Filters, SaveFilterExtension,
    ::testing::Values(ExtensionCase{kParameterFilter, 1, true, "KVB"},
                      ExtensionCase{kParameterFilter, 2, true, ""},
                      ExtensionCase{"Data files (*.dat)|*.dat|All files (*.*)|*.*", 1, true, "dat"},
                      ExtensionCase{"Flash Scripts|*.FL2;*.FLA", 1, true, "FL2"},
                      ExtensionCase{kParameterFilter, 1, false, ""}),
    [](const ::testing::TestParamInfo<ExtensionCase>& info) {
      return CaseName(info.index, info.param.filter);
    });

// A FIFO nobody writes to blocks a read for ever, and a file named without an extension is only
// told apart by its contents: the list shows both without reading either, and the dialog returns.
TEST_F(FileDialogTest, ListsAFolderWithAFifoWithoutReadingAnyFile) {
  std::filesystem::create_directory(folder);
  ASSERT_EQ(mkfifo(File("pipe").c_str(), 0600), 0);
  WriteTestFile(File("picture"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  WriteTestFile(File("set.KVB"), "KVB1");
  WhenModalShown<QFileDialog>([this](QFileDialog& dialog) {
    dialog.selectNameFilter(QStringLiteral("All Files (*)"));
    WaitForListing(dialog, 2);  // a FIFO is a system entry, which the list leaves out
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->type(model->index(ToQPath(File("picture")))).toStdString(), "File");
    EXPECT_EQ(model->type(model->index(ToQPath(File("set.KVB")))).toStdString(), "KVB File");
    dialog.reject();
  });
  EXPECT_EQ(Open(folder + "/"), "");
}

}  // namespace
}  // namespace quendrel
