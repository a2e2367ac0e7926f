// The fragment file editor on screen: the one modeless child window that binds its version list,
// buttons, description, tree and preview list to the frmEditFragment core.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <functional>
#include <memory>

#include "editors/frmEditFragment.h"
#include "widgets/qt/windows/WindowHost.h"

namespace quendrel {

class ParameterTreeWidget;

class frmEditFragmentWindow : public QWidget {
 public:
  // Creates the window in the host's MDI area on first use, else brings the open one forward.
  static frmEditFragmentWindow* ShowWindow(const WindowHost& host);
  // The open window, if any.
  static frmEditFragmentWindow* Instance();

  explicit frmEditFragmentWindow(const WindowHost& host, QWidget* parent = nullptr);
  ~frmEditFragmentWindow() override;

  frmEditFragment& Core() const { return *core_; }
  ParameterTreeWidget* TreeWidget() const { return pTree_; }
  QTabWidget* Tabs() const { return SSTab1_; }
  QListWidget* PreviewList() const { return lbPreview_; }
  QPushButton* CreateButton() const { return bNewFragment_; }
  // Shows the core's fields; for handlers run on the core directly.
  void ShowCore();

  QSize minimumSizeHint() const override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void ConnectSignals();
  void Run(const std::function<void()>& handler);

  QComboBox* cbFirmwareVersion_ = nullptr;
  QPushButton* bNewFragment_ = nullptr;
  QPushButton* bBrowse_ = nullptr;
  QLineEdit* tbDescription_ = nullptr;
  QPushButton* bSaveFile_ = nullptr;
  QTabWidget* SSTab1_ = nullptr;
  ParameterTreeWidget* pTree_ = nullptr;
  QListWidget* lbPreview_ = nullptr;
  std::shared_ptr<frmEditFragment> core_;
};

}  // namespace quendrel
