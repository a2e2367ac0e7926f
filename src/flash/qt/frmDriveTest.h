// The developer's console for single drive functions: a thin window over DriveTestConsole, with the
// request grid and its in-place editor, the special controls, the poll timer and the report box.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "flash/drivetest/DriveTestConsole.h"
#include "widgets/qt/windows/WindowHost.h"

namespace quendrel {

class DeferredClose;
class ReportBoxFeedback;

class frmDriveTest : public QWidget {
 public:
  // Opens the one window as a child of the host's MDI area, or brings the open one forward.
  static frmDriveTest* ShowWindow(const WindowHost& host);
  static frmDriveTest* Instance();

  explicit frmDriveTest(GIOServer& server, QWidget* parent = nullptr);
  ~frmDriveTest() override;

  DriveTestConsole& Console() { return console_; }
  QTableWidget* Grid() const { return gridParameters_; }
  QLineEdit* CellEditor() const { return tbCellEdit_; }
  QComboBox* CommandBox() const { return cbCommand_; }
  QPushButton* ExecuteButton() const { return bExecute_; }
  QPlainTextEdit* ResultBox() const { return tbResult_; }
  QTimer* PollTimer() const { return pollTimer_; }
  QWidget* ChildNamed(const char* name) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QGroupBox* BuildCommandFrame();
  QGroupBox* BuildParamsFrame();
  QWidget* BuildSpecialControls();
  QGroupBox* BuildButtonsFrame();
  QGroupBox* BuildResultsFrame();
  void Connect();
  void Load();

  void ChooseCommand(int index);
  void ShowGrid();
  void ShowCell(int row, int column, const QString& text, const DriveTestGrid::Row& data);
  QString CellText(int row) const;
  void KeepTyped(int row, const QString& typed);
  void ShowPanel();
  void PlaceEditor();
  void OpenEditor();
  bool GridKey(QKeyEvent* key);
  bool GridDoubleClick(QMouseEvent* click);
  bool EditorKey(QKeyEvent* key);
  void EditorLostFocus();
  void UpdateTimer();
  void Exchange(void (DriveTestConsole::*run)());
  void ShowBusy();
  void Browse();
  // False while a transfer runs; the window then closes once it has ended.
  bool MayClose();

  std::shared_ptr<ReportBoxFeedback> feedback_;
  DriveTestConsole console_;
  DeferredClose* close_;
  bool syncing_ = false;

  QLineEdit* tbDriveAddress_ = nullptr;
  QComboBox* cbCommand_ = nullptr;
  QGroupBox* frameParams_ = nullptr;
  QTableWidget* gridParameters_ = nullptr;
  QLineEdit* tbCellEdit_ = nullptr;
  QWidget* specialControls_ = nullptr;
  QLabel* lblFilename_ = nullptr;
  QLineEdit* tbFilename_ = nullptr;
  QPushButton* bBrowse_ = nullptr;
  QLabel* lblSubCommand_ = nullptr;
  QComboBox* cbSubcommand_ = nullptr;
  QLabel* lblEIBValue_ = nullptr;
  QLineEdit* tbEIBValue_ = nullptr;
  QCheckBox* chkEIBFlag_ = nullptr;
  QPushButton* bExecute_ = nullptr;
  QCheckBox* chkRepeat_ = nullptr;
  QLineEdit* tbScanPeriod_ = nullptr;
  QPushButton* bUnlockDrive_ = nullptr;
  QPushButton* bForceFU_ = nullptr;
  QCheckBox* chkRawData_ = nullptr;
  QPlainTextEdit* tbResult_ = nullptr;
  QCheckBox* chkShowRequest_ = nullptr;
  QTimer* pollTimer_ = nullptr;
};

}  // namespace quendrel
