// The offline parameter file editor on screen: the one modeless child window that binds its file
// boxes, buttons and tree to the frmEditOffline core.
#pragma once

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <memory>

#include "editors/frmEditOffline.h"
#include "widgets/qt/windows/WindowHost.h"

namespace quendrel {

class ParameterTreeWidget;

class frmEditOfflineWindow : public QWidget {
 public:
  // Creates the window in the host's MDI area on first use, else brings the open one forward.
  static frmEditOfflineWindow* ShowWindow(const WindowHost& host);
  // The open window, if any.
  static frmEditOfflineWindow* Instance();

  explicit frmEditOfflineWindow(const WindowHost& host, QWidget* parent = nullptr);
  ~frmEditOfflineWindow() override;

  frmEditOffline& Core() const { return *core_; }
  ParameterTreeWidget* TreeWidget() const { return pTree_; }
  QLineEdit* FileNameBox() const { return tbFileName_; }
  QLineEdit* DescriptionBox() const { return tbDescription_; }
  QPushButton* LoadButton() const { return bLoadFile_; }

  QSize minimumSizeHint() const override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void ConnectSignals();
  // Runs a core handler, then shows the boxes it may have changed.
  void Run(const std::function<void()>& handler);
  void ShowCore();

  QGroupBox* frameFile_ = nullptr;
  QGroupBox* frameTree_ = nullptr;
  QLineEdit* tbFileName_ = nullptr;
  QLineEdit* tbDescription_ = nullptr;
  QPushButton* bBrowse_ = nullptr;
  QPushButton* bLoadFile_ = nullptr;
  QPushButton* bSaveFile_ = nullptr;
  ParameterTreeWidget* pTree_ = nullptr;
  std::shared_ptr<frmEditOffline> core_;
};

}  // namespace quendrel
