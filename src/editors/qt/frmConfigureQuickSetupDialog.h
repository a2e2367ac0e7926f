// The quick setup menu wizard on screen: a modal dialog over the main window that renders the
// frmConfigureQuickSetup core after every user action and forwards only what the user did.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "editors/frmConfigureQuickSetup.h"
#include "widgets/qt/windows/WindowHost.h"

namespace quendrel {

class GIOServer;
class TextProgressBar;

class frmConfigureQuickSetupDialog : public QDialog {
 public:
  // Shows the wizard modally over the host's owner; the dialog is destroyed once exec returns.
  static void ShowModal(const WindowHost& host, GIOServer* server);
  // Runs while the next wizard is open, for tests that drive the modal dialog.
  static void OnOpen(std::function<void(frmConfigureQuickSetupDialog&)> action);

  frmConfigureQuickSetupDialog(GIOServer* server, QWidget* owner);

  frmConfigureQuickSetup& Core() { return *core_; }
  QTabWidget* Tabs() const { return tabPanel_; }
  QLineEdit* DriveAddressBox() const { return tbDriveID_; }
  QPushButton* UploadButton() const { return bConnect_; }
  QListWidget* SlotList() const { return lbM00_; }
  QTreeWidget* Picker() const { return treePramList_; }
  QLineEdit* ScaleBox() const { return tbScaleEdit_; }
  QPushButton* SendButton() const { return bApply_; }
  // Plays a user action on the core and shows the result, as every signal handler does.
  void Act(const std::function<void()>& action);

 protected:
  void done(int result) override;

 private:
  QWidget* CreateSourcePage();
  QWidget* CreateSlotPage();
  QWidget* CreateOptionsPage();
  QWidget* CreatePreviewPage();
  void ConnectSignals();
  void ConnectOptionSignals();
  void Render();
  void RenderSlotPage(const frmConfigureQuickSetup::Controls& view);
  void RenderOptionsPage(const frmConfigureQuickSetup::Controls& view);
  void RenderPreviewPage(const frmConfigureQuickSetup::Controls& view);
  void CustomNameEdited(const QString& text);
  // A slot chosen by any means; the picker then has the focus.
  void ChooseSlot(int row);

  std::unique_ptr<frmConfigureQuickSetup> core_;
  QTabWidget* tabPanel_ = nullptr;
  QPushButton* bBack_ = nullptr;
  QPushButton* bNext_ = nullptr;
  QPushButton* bClose_ = nullptr;
  QLineEdit* tbDriveID_ = nullptr;
  QPushButton* bConnect_ = nullptr;
  QLineEdit* tbFirmwareVersion_ = nullptr;
  QPushButton* bGenerate_ = nullptr;
  QProgressBar* progUpload_ = nullptr;
  TextProgressBar* tpbUpload_ = nullptr;
  QLabel* lblConnectStatus_ = nullptr;
  QLabel* lblReadyToGo_ = nullptr;
  QListWidget* lbM00_ = nullptr;
  QTreeWidget* treePramList_ = nullptr;
  QComboBox* cbSpecialSelect_ = nullptr;
  QLabel* lblSpecialName_ = nullptr;
  QLabel* lblEditSpecialName_ = nullptr;
  QComboBox* cbNameSelect_ = nullptr;
  QLineEdit* tbCustomName_ = nullptr;
  QLabel* lblScaleAutomatically_ = nullptr;
  QLabel* lblScaleFormula_ = nullptr;
  QLineEdit* tbScaleEdit_ = nullptr;
  QRegularExpressionValidator* scaleValidator_ = nullptr;
  QLabel* lblPreview_ = nullptr;
  QLabel* lblTooltip_ = nullptr;
  QCheckBox* chkPreviewShowData_ = nullptr;
  QPushButton* bPreviewUp_ = nullptr;
  QPushButton* bPreviewDown_ = nullptr;
  QPushButton* bSave_ = nullptr;
  QPushButton* bApply_ = nullptr;
  QString customNameShown_;
};

}  // namespace quendrel
