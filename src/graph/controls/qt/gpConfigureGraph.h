// The graph configuration dialog: every display setting of one graph pane on two tabs, tried out
// at once on a preview pane of sample data, and handed to the pane on Apply or OK.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>

#include "graph/controls/ColorPickBox.h"
#include "graph/controls/TimePicker.h"
#include "graph/data/FormControls.h"
#include "graph/data/GraphDataControl.h"
#include "graph/pane/GraphPane.h"
#include "platform/CanvasFont.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace quendrel {

class GraphPaneWidget;

// The dialog's own controls, made before its widgets and ended after them: the widgets unhook
// themselves from these cores as they go.
struct gpConfigureGraphControls {
  FormControls form;
  GraphDataControl gdc1{&form, "gdc1"};
  GraphPane gpPreview{&form, "gpPreview"};
  ColorPickBox cpbBackColor{&form, "cpbBackColor"};
  ColorPickBox cpbLineColor{&form, "cpbLineColor"};
  ColorPickBox cpbRuleColor{&form, "cpbRuleColor"};
  ColorPickBox cpbTextColor{&form, "cpbTextColor"};
  TimePicker tpWindow{&form, "tpWindow"};
};

class gpConfigureGraph : private gpConfigureGraphControls, public QDialog {
 public:
  // Makes GraphPane::Preferences show this dialog modally over the active window.
  static void Install();
  // Shows the dialog modally for target and waits until it closes.
  static void ShowModal(GraphPane& target, QWidget* owner);
  // Runs once the next modal dialog is up, for tests that play the user.
  static void OnOpen(std::function<void(gpConfigureGraph&)> action);

  // Reads the target at once; the target outlives the dialog.
  explicit gpConfigureGraph(GraphPane& target, QWidget* owner = nullptr);
  ~gpConfigureGraph() override;

  GraphPane& Target() const { return target_; }
  GraphPane& Preview() { return gpPreview; }
  bool Changed() const { return changed_; }

  QTabWidget* Tabs() const { return tabs_; }
  QLineEdit* TitleBox() const { return tbGraphTitle_; }
  QRadioButton* GraphTypeOption(int index) const { return obGraphType_[static_cast<std::size_t>(index)]; }
  QComboBox* LegendStyleBox() const { return cbLegendStyle_; }
  QComboBox* LegendNameStyleBox() const { return cbLegendNameStyle_; }
  QComboBox* XAxisLabelsBox() const { return cbXAxisLabels_; }
  QWidget* WindowPicker() const { return tpWidget_; }
  const TimePicker& WindowTime() const { return tpWindow; }
  QCheckBox* XRulesBox() const { return chkXRules_; }
  QCheckBox* YRulesBox() const { return chkYRules_; }
  QCheckBox* ShowAverageBox() const { return chkShowAverage_; }
  QCheckBox* ShowCurrentBox() const { return chkShowCurrent_; }
  QCheckBox* IncludeGainBox() const { return chkIncludeGain_; }
  QWidget* TextColorBox() const { return textColorBox_; }
  QPushButton* TitleFontButton() const { return bTitleFont_; }
  QPushButton* DataFontButton() const { return bDataFont_; }
  QLabel* TitleFontLabel() const { return lblTitleFont_; }
  QLabel* DataFontLabel() const { return lblDataFont_; }
  QPushButton* ApplyButton() const { return bApply_; }
  QPushButton* OkButton() const { return bOK_; }
  QPushButton* CancelButton() const { return bCancel_; }

 private:
  QWidget* CreateOptionsPage();
  QWidget* CreateDecorationsPage();
  QWidget* ColorRow(ColorPickBox& box, const char* caption, QWidget** widget = nullptr);
  void ConnectSignals();
  void Load();
  void SetupLegendStyleBox();
  void ApplySettings(GraphPane& pane);
  void SettingsChanged();
  void ShowOrAverageClicked(QCheckBox* clicked, QCheckBox* other);
  void FollowIncludeGain();
  void LegendStyleClicked();
  void ChangeFont(CanvasFont& font, QLabel* label);
  void Apply();

  GraphPane& target_;
  CanvasFont titleFont_;
  CanvasFont dataFont_;
  std::int32_t legendPosition_ = 0;
  std::int32_t legendNameStyle_ = 0;
  std::int32_t xAxisLabelStyle_ = 2;
  bool loading_ = false;
  bool changed_ = false;

  QTabWidget* tabs_ = nullptr;
  QLineEdit* tbGraphTitle_ = nullptr;
  std::array<QRadioButton*, 3> obGraphType_{};
  QComboBox* cbLegendStyle_ = nullptr;
  QComboBox* cbLegendNameStyle_ = nullptr;
  QComboBox* cbXAxisLabels_ = nullptr;
  QWidget* tpWidget_ = nullptr;
  QCheckBox* chkShowAverage_ = nullptr;
  QCheckBox* chkShowCurrent_ = nullptr;
  QCheckBox* chkIncludeGain_ = nullptr;
  QCheckBox* chkXRules_ = nullptr;
  QCheckBox* chkYRules_ = nullptr;
  QWidget* textColorBox_ = nullptr;
  QPushButton* bTitleFont_ = nullptr;
  QPushButton* bDataFont_ = nullptr;
  QLabel* lblTitleFont_ = nullptr;
  QLabel* lblDataFont_ = nullptr;
  GraphPaneWidget* previewWidget_ = nullptr;
  QPushButton* bCancel_ = nullptr;
  QPushButton* bApply_ = nullptr;
  QPushButton* bOK_ = nullptr;
};

}  // namespace quendrel
