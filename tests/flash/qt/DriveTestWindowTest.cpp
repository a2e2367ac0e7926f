// The drive test window with real keys and clicks on the offscreen platform, against the simulated
// drive: the in-place editor, Single Command right after typing, texts on the wire, poll ticks, a
// close or an exit during a transfer, and the pictures people look at.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>

#include "comms/functions/FunctionTemplates.h"
#include "comms/support/SerialRig.h"
#include "flash/qt/frmDriveTest.h"
#include "platform/ScriptedUi.h"
#include "support/QtTestApp.h"
#include "support/TempFolder.h"
#include "support/TestOutput.h"

namespace quendrel {
namespace {

// Stands for the main window: its exit closes every child window and goes on only when all have gone.
class HostWindow : public QMainWindow {
 public:
  HostWindow() : area_(new QMdiArea) { setCentralWidget(area_); }
  QMdiArea* Area() const { return area_; }

 protected:
  void closeEvent(QCloseEvent* event) override {
    area_->closeAllSubWindows();
    event->setAccepted(area_->subWindowList().isEmpty());
  }

 private:
  QMdiArea* area_;
};

class DriveTestWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QtTestApp();
    ASSERT_TRUE(LoadFunctionTemplates());
    window_ = std::make_unique<frmDriveTest>(rig_.Server());
    window_->resize(700, 420);
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }

  void Choose(const std::string& name) {
    const int index = window_->CommandBox()->findText(QString::fromStdString(FindFunctionTemplate(name)->Description()));
    window_->CommandBox()->setCurrentIndex(index);
    emit window_->CommandBox()->activated(index);
  }

  QRect Cell(int row, int column) const { return window_->Grid()->visualRect(window_->Grid()->model()->index(row, column)); }
  QString CellText(int row) const { return window_->Grid()->item(row, 1)->text(); }
  void Type(QWidget* target, const char* keys) { QTest::keyClicks(target, QString::fromLatin1(keys)); }
  // Double-clicks the row's Value cell, types over its text key by key, and presses Enter.
  void TypeInto(int row, const QString& text) {
    QTest::mouseDClick(window_->Grid()->viewport(), Qt::LeftButton, {}, Cell(row, 1).center());
    for (const QChar c : text) {
      QTest::sendKeyEvent(QTest::Click, window_->CellEditor(), Qt::Key_unknown, QString(c), {});
    }
    QTest::keyClick(window_->CellEditor(), Qt::Key_Return);
  }
  // The box as the user sees it, once the event loop has turned.
  QString Report() const {
    QCoreApplication::processEvents();
    return window_->ResultBox()->toPlainText();
  }
  void MoveIntoHost(QMdiArea* area) {
    frmDriveTest* window = window_.release();
    window->setAttribute(Qt::WA_DeleteOnClose);
    area->addSubWindow(window);
    window->show();
  }

  // Three data records: a transfer long enough to close or exit during it.
  std::string HexFile() const {
    return folder_.Write("test.hex", ":0401000001020304F1\r\n:03011000AABBCCBB\r\n:01012000FFDF\r\n:00000001FF\r\n");
  }

  TempFolder folder_;
  SerialRig rig_;
  std::unique_ptr<frmDriveTest> window_;
};

TEST_F(DriveTestWindowTest, TypingEditsTheValueCells) {
  Choose("WriteValue");  // Menu, Parameter, Raw Value, separator, 2 replies
  QTableWidget* grid = window_->Grid();
  grid->setFocus();
  window_->Console().Grid().SetValue(1, "old");
  QTest::keyClick(grid, Qt::Key_Q);
  EXPECT_TRUE(window_->CellEditor()->isVisible());
  EXPECT_EQ(window_->CellEditor()->text(), "q");
  QTest::keyClick(window_->CellEditor(), Qt::Key_Escape);
  EXPECT_FALSE(window_->CellEditor()->isVisible());
  struct KeyCase {
    int key;
    int row;
  };
  for (const KeyCase& c : {KeyCase{Qt::Key_Return, 0}, KeyCase{Qt::Key_Down, 1}, KeyCase{Qt::Key_Up, 0},
                           KeyCase{Qt::Key_Up, 0}}) {
    const int from = grid->currentRow();
    Type(grid, "5");
    QTest::keyClick(window_->CellEditor(), static_cast<Qt::Key>(c.key));
    EXPECT_EQ(grid->currentRow(), c.row) << c.key;
    EXPECT_EQ(CellText(from), "5");
  }
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, Cell(2, 0).center());
  EXPECT_TRUE(window_->CellEditor()->isVisible());
  EXPECT_EQ(window_->CellEditor()->geometry(), Cell(2, 1));
  QTest::keyClick(window_->CellEditor(), Qt::Key_Escape);
  for (int row : {3, 4}) {  // the separator and a reply row
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, Cell(row, 1).center());
    EXPECT_FALSE(window_->CellEditor()->isVisible()) << row;
  }
}

TEST_F(DriveTestWindowTest, SingleCommandRightAfterTypingSendsTheTypedValue) {
  Choose("WriteValue");
  window_->Console().Grid().SetValue(1, "1");
  window_->Console().Grid().SetValue(2, "4");
  QTest::mouseDClick(window_->Grid()->viewport(), Qt::LeftButton, {}, Cell(2, 1).center());
  Type(window_->CellEditor(), "321");
  QTest::mouseClick(window_->ExecuteButton(), Qt::LeftButton);
  EXPECT_EQ(rig_.Sim().Value(104), 321);
  EXPECT_TRUE(Report().endsWith("Raw Value: 321\n")) << Report().toStdString();
  QImage picture(window_->size(), QImage::Format_RGB32);
  window_->render(&picture);
  EXPECT_TRUE(picture.save(QString::fromStdString(TestOutputPath("flash", "drive-test-command.png"))));
}

// A cleared address box shows 0, as it always did, and Single Command sends nothing to it.
TEST_F(DriveTestWindowTest, AClearedAddressBoxSendsNothing) {
  Choose("WriteValue");
  TypeInto(0, "2");
  TypeInto(1, "1");
  TypeInto(2, "77");
  auto* address = window_->findChild<QLineEdit*>("tbDriveAddress");
  address->selectAll();
  QTest::keyClick(address, Qt::Key_Backspace);
  EXPECT_EQ(address->text(), "0");
  rig_.Sim().ResetStats();
  QTest::mouseClick(window_->ExecuteButton(), Qt::LeftButton);
  EXPECT_EQ(Report(), "Invalid drive address.");
  EXPECT_EQ(rig_.Sim().RequestCount(), 0);
  QImage picture(window_->size(), QImage::Format_RGB32);
  window_->render(&picture);
  EXPECT_TRUE(picture.save(QString::fromStdString(TestOutputPath("flash", "drive-test-address-0.png"))));
}

TEST_F(DriveTestWindowTest, PollingSendsOneExchangePerTickAndNoneAtZero) {
  Choose("ReadValue");
  window_->Console().Grid().SetValue(1, "1");
  window_->Console().Grid().SetValue(2, "4");
  auto* period = qobject_cast<QLineEdit*>(window_->ChildNamed("tbScanPeriod"));
  auto* repeat = qobject_cast<QCheckBox*>(window_->ChildNamed("chkRepeat"));
  period->selectAll();
  QTest::keyClick(period, Qt::Key_Delete);
  EXPECT_EQ(period->text(), "0");
  repeat->click();
  EXPECT_FALSE(window_->PollTimer()->isActive());
  period->selectAll();
  Type(period, "1");
  ASSERT_TRUE(window_->PollTimer()->isActive());
  int ticks = 0;
  QObject::connect(window_->PollTimer(), &QTimer::timeout, [&ticks] { ++ticks; });
  rig_.Sim().ResetStats();
  for (int i = 0; i < 200 && ticks < 3; ++i) QTest::qWait(5);
  repeat->click();
  EXPECT_EQ(rig_.Sim().RequestCount(), ticks);
}

TEST_F(DriveTestWindowTest, ClosingDuringATransferEndsItAndTheWindowGoesAfterwards) {
  const std::string path = HexFile();
  Choose("WriteFileToBuffer");
  qobject_cast<QLineEdit*>(window_->ChildNamed("tbFilename"))->setText(QString::fromStdString(path));
  QMdiArea area;
  QPointer<frmDriveTest> window = window_.release();
  window->setAttribute(Qt::WA_DeleteOnClose);
  QMdiSubWindow* frame = area.addSubWindow(window);
  area.show();
  ScriptedUi ui;
  ui.OnPump([&] {
    QTest::mouseClick(window->ExecuteButton(), Qt::LeftButton);
    frame->close();
    EXPECT_FALSE(window.isNull());
  });
  rig_.Sim().ResetStats();
  QTest::mouseClick(window->ExecuteButton(), Qt::LeftButton);
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_TRUE(area.isVisible());  // closing the one window is no exit
  EXPECT_EQ(rig_.Sim().RequestCount(), 1);
}

TEST_F(DriveTestWindowTest, ExchangeButtonsAreDeadWhileATransferRuns) {
  const std::string path = folder_.Write("busy.hex", ":0401000001020304F1\r\n:00000001FF\r\n");
  Choose("WriteFileToBuffer");
  qobject_cast<QLineEdit*>(window_->ChildNamed("tbFilename"))->setText(QString::fromStdString(path));
  const std::vector<QWidget*> buttons = {window_->ExecuteButton(), window_->ChildNamed("bUnlockDrive"),
                                         window_->ChildNamed("bForceFU")};
  ScriptedUi ui;
  int pumps = 0;
  ui.OnPump([&] {
    if (++pumps > 1) return;
    for (QWidget* button : buttons) EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    QImage picture(window_->size(), QImage::Format_RGB32);
    window_->render(&picture);
    EXPECT_TRUE(picture.save(QString::fromStdString(TestOutputPath("flash", "drive-test-transfer.png"))));
  });
  QTest::mouseClick(window_->ExecuteButton(), Qt::LeftButton);
  EXPECT_GT(pumps, 0);
  for (QWidget* button : buttons) EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
}

TEST_F(DriveTestWindowTest, OneExitDuringATransferEndsItAndTheProgramGoesOn) {
  const std::string path = HexFile();
  Choose("WriteFileToBuffer");
  qobject_cast<QLineEdit*>(window_->ChildNamed("tbFilename"))->setText(QString::fromStdString(path));
  HostWindow host;
  host.show();
  QPointer<frmDriveTest> window = window_.get();
  MoveIntoHost(host.Area());
  ScriptedUi ui;
  int pumps = 0;
  ui.OnPump([&] {
    if (pumps++ == 0) host.close();  // File > Exit
    EXPECT_TRUE(host.isVisible());
  });
  rig_.Sim().ResetStats();
  QTest::mouseClick(window->ExecuteButton(), Qt::LeftButton);
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(pumps, 1);
  EXPECT_TRUE(window.isNull());
  EXPECT_FALSE(host.isVisible());
  EXPECT_EQ(rig_.Sim().RequestCount(), 1);
}

TEST_F(DriveTestWindowTest, EveryCharacterKeyOpensTheEditorAndOnlyPrintablesReplaceTheText) {
  Choose("WriteValue");  // Menu, Parameter, Raw Value, separator, 2 replies
  QTableWidget* grid = window_->Grid();
  QLineEdit* editor = window_->CellEditor();
  window_->Console().Grid().SetValue(1, "old");
  struct KeyCase {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;        // as the desktop reports it
    QString editorText;  // "" for no editor
  };
  const KeyCase cases[] = {
      {Qt::Key_Return, Qt::NoModifier, "\r", "old"},
      {Qt::Key_Enter, Qt::KeypadModifier, "\r", "old"},
      {Qt::Key_Backspace, Qt::NoModifier, "\b", "old"},
      {Qt::Key_C, Qt::ControlModifier, "\x03", "old"},
      {Qt::Key_Escape, Qt::NoModifier, "\x1b", "old"},
      {Qt::Key_Space, Qt::NoModifier, " ", " "},
      {Qt::Key_AsciiTilde, Qt::ShiftModifier, "~", "~"},
      {Qt::Key_Q, Qt::ShiftModifier, "Q", "Q"},
      {Qt::Key_Eacute, Qt::NoModifier, QStringLiteral("\u00E9"), "old"},  // a character beyond 32-126
      {Qt::Key_Delete, Qt::NoModifier, "\x7f", ""},
      {Qt::Key_Q, Qt::AltModifier, "q", ""},
      {Qt::Key_F2, Qt::NoModifier, "", ""},
  };
  for (const KeyCase& c : cases) {
    grid->setCurrentCell(0, 1);
    grid->setFocus();
    QTest::sendKeyEvent(QTest::Click, grid, c.key, c.text, c.modifiers);
    EXPECT_EQ(editor->isVisible(), !c.editorText.isEmpty()) << c.key;
    if (!editor->isVisible()) continue;
    EXPECT_EQ(editor->text(), c.editorText) << c.key;
    // The cell's own text opens all selected, so typing replaces it; a typed character is followed
    // by the caret.
    EXPECT_EQ(editor->selectedText(), c.editorText == "old" ? "old" : "") << c.key;
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(CellText(0), "old");
  }
  grid->setCurrentCell(3, 1);  // the separator
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Return);
  QTest::keyClick(grid, Qt::Key_X);
  EXPECT_FALSE(editor->isVisible());
}

TEST_F(DriveTestWindowTest, TextsGoOnTheWireAsLatin1) {
  rig_.Sim().SetValue(1702, 2);
  Choose("ReadValue");
  TypeInto(0, "17");
  TypeInto(1, "2");
  QTest::mouseClick(window_->ExecuteButton(), Qt::LeftButton);
  EXPECT_TRUE(Report().endsWith(QStringLiteral("Value Name: Fran\u00E7ais\n"))) << Report().toStdString();

  Choose("WriteName");  // Menu, Parameter, Value Index, Value Name
  TypeInto(0, "17");
  TypeInto(1, "2");
  TypeInto(2, "1");
  TypeInto(3, QStringLiteral("Gr\u00FC\u00DFe"));
  rig_.Sim().ReceivedBytes();
  QTest::mouseClick(window_->ExecuteButton(), Qt::LeftButton);
  EXPECT_NE(rig_.Sim().ReceivedBytes().find("\x05Gr\xFC\xDF" "e"), std::string::npos);
  EXPECT_EQ(rig_.Sim().ValueNames(1702), "English;Gr\xFC\xDF" "e;Fran\xE7" "ais");
  EXPECT_TRUE(Report().contains(QStringLiteral("Value Name: Gr\u00FC\u00DFe\n"))) << Report().toStdString();

  // A character Latin-1 has no byte for is refused, and its cell keeps what was typed.
  const QString arrow = QStringLiteral("Gr\u00FC\u00DFe \u2192");
  TypeInto(3, arrow);
  EXPECT_EQ(CellText(3), arrow);
  rig_.Sim().ResetStats();
  QTest::mouseClick(window_->ExecuteButton(), Qt::LeftButton);
  EXPECT_EQ(Report(),
            "Request\n=======\nValue Name: can only hold Western European (Latin-1) characters - nothing sent\n");
  EXPECT_EQ(rig_.Sim().RequestCount(), 0);
  QTest::mouseDClick(window_->Grid()->viewport(), Qt::LeftButton, {}, Cell(3, 1).center());
  EXPECT_EQ(window_->CellEditor()->text(), arrow);
  QCoreApplication::processEvents();  // the box's scroll bars follow its new text
  QImage picture(window_->size(), QImage::Format_RGB32);
  window_->render(&picture);
  EXPECT_TRUE(picture.save(QString::fromStdString(TestOutputPath("flash", "drive-test-latin1.png"))));
}

TEST_F(DriveTestWindowTest, TheBoxTakesOneTextPerCommand) {
  Choose("ReadValue");
  window_->Console().Grid().SetValue(1, "11");
  window_->Console().Grid().SetValue(2, "29");
  int layouts = 0;
  QObject::connect(window_->ResultBox(), &QPlainTextEdit::textChanged, [&layouts] { ++layouts; });
  QTest::mouseClick(window_->ExecuteButton(), Qt::LeftButton);  // the command empties the box, then fills it
  EXPECT_EQ(layouts, 1);
  EXPECT_TRUE(window_->ResultBox()->toPlainText().contains("Raw Value: 2105\n"));
  EXPECT_EQ(Report(), window_->ResultBox()->toPlainText());
  EXPECT_EQ(layouts, 1);
  QTest::mouseClick(window_->ExecuteButton(), Qt::LeftButton);
  Report();
  EXPECT_EQ(layouts, 1);  // the same report again
}

TEST_F(DriveTestWindowTest, Pictures) {
  struct PictureCase {
    const char* command;
    const char* file;
    QSize size;
  };
  for (const PictureCase& c : {PictureCase{"SetEIBValue", "drive-test-eib.png", QSize(700, 420)},
                               PictureCase{"WriteFileToBuffer", "drive-test-file.png", QSize(700, 420)},
                               PictureCase{"ReadPAD", "drive-test-minimum.png", QSize(1, 1)}}) {
    Choose(c.command);
    window_->resize(c.size);
    QCoreApplication::processEvents();  // the layout settles in a posted event
    QImage picture(window_->size(), QImage::Format_RGB32);
    window_->render(&picture);
    EXPECT_TRUE(picture.save(QString::fromStdString(TestOutputPath("flash", c.file))));
  }
  // The smallest size is the designed 550 x 272, wider only where the font needs it to show every
  // caption whole; the halves split it evenly.
  EXPECT_GE(window_->width(), 550);
  EXPECT_EQ(window_->height(), 272);
  EXPECT_EQ(window_->ChildNamed("frameResults")->x(), window_->width() / 2);
}

}  // namespace
}  // namespace quendrel
