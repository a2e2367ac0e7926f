// The drive flash window on screen: a modal dialog over the main window that renders the DriveFlash
// core after every user action, and at once inside a run before each pump, and forwards only what
// the user did. A close asked for during a run waits until the run has stopped.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <memory>
#include <string>

#include "flash/runner/DriveFlash.h"
#include "widgets/qt/windows/WindowHost.h"

namespace quendrel {

class TextProgressBar;

class frmDriveFlash : public QDialog {
 public:
  struct Links {
    // The scripts' services; the program's own when left empty.
    ScriptEnvironment Environment = ScriptEnvironment::Global();
    // The main window's status text.
    std::function<void(const std::string&)> MainStatus;
  };

  // Shows the window modally over the host's owner; it is destroyed once closed.
  static void ShowModal(const WindowHost& host, Links links);
  // Runs while the next window is open, for tests that drive the modal dialog.
  static void OnOpen(std::function<void(frmDriveFlash&)> action);

  frmDriveFlash(Links links, QWidget* owner);

  DriveFlash& Core() { return *core_; }
  QLineEdit* FileNameBox() const { return tbFileName_; }
  QLineEdit* DriveAddressBox() const { return tbDriveAddress_; }
  QPushButton* StartButton() const { return bStartFlash_; }
  QPushButton* SingleStepButton() const { return bSingleStep_; }
  QPushButton* PauseButton() const { return bPauseFlash_; }
  QRadioButton* SingleStepOption() const { return rbSingleStep_; }
  TextProgressBar* ProgressBar() const { return tpbProgress_; }
  QLineEdit* CommandBox() const { return tbCommand_; }
  QLabel* StatusLabel() const { return lblStatus_; }

  // Plays a user action on the core and shows the result, as every signal handler does; closes the
  // window when the core asked for it and nothing runs any more.
  void Act(const std::function<void()>& action);

 protected:
  void done(int result) override;

 private:
  QWidget* BuildOptionsFrame();
  QWidget* BuildButtons();
  QWidget* BuildStatusFrame();
  void ConnectSignals();
  void ConnectProgressBar();
  DriveFlashLinks CoreLinks(Links links);
  void Render();
  void RenderTexts(const DriveFlashControls& view);

  std::unique_ptr<DriveFlash> core_;
  int focusRequestsShown_ = -1;

  QLineEdit* tbFileName_ = nullptr;
  QPushButton* bBrowse_ = nullptr;
  QLineEdit* tbDriveAddress_ = nullptr;
  QRadioButton* rbEntireFile_ = nullptr;
  QRadioButton* rbSingleStep_ = nullptr;
  QCheckBox* chkLogOutput_ = nullptr;
  QLineEdit* tbLogFile_ = nullptr;
  QPushButton* bBrowseLog_ = nullptr;
  QPushButton* bStartFlash_ = nullptr;
  QPushButton* bSingleStep_ = nullptr;
  QPushButton* bPauseFlash_ = nullptr;
  QPushButton* bSkipFwd_ = nullptr;
  QPushButton* bSkipBack_ = nullptr;
  QPushButton* bReset_ = nullptr;
  QLabel* lblStatus_ = nullptr;
  TextProgressBar* tpbProgress_ = nullptr;
  QLabel* lblSubProgress_ = nullptr;
  TextProgressBar* tpbSubProgress_ = nullptr;
  QLineEdit* tbCommand_ = nullptr;
  QLineEdit* tbData_ = nullptr;
  QLineEdit* tbReply_ = nullptr;
};

}  // namespace quendrel
