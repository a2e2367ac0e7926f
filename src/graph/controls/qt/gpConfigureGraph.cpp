#include "graph/controls/qt/gpConfigureGraph.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <utility>

#include "foundation/settings/FontSpec.h"
#include "graph/controls/qt/ColorPickBoxWidget.h"
#include "graph/controls/qt/TimePickerWidget.h"
#include "graph/pane/qt/GraphPaneWidget.h"
#include "platform/UiServices.h"
#include "platform/qt/GuardSlot.h"
#include "platform/qt/QtConvert.h"
#include "widgets/qt/windows/Artwork.h"

namespace quendrel {
namespace {

struct ListItem {
  const char* Text;
  std::int32_t Data;
};

constexpr ListItem kLegendPositions[] = {{"None", gpLegendNone},
                                         {"Top", gpLegendTop},
                                         {"Left", gpLegendLeft},
                                         {"Bottom", gpLegendBottom},
                                         {"Right", gpLegendRight}};
constexpr ListItem kLegendNameStyles[] = {{"Short", 0}, {"Long", 1}};
constexpr ListItem kXAxisLabelStyles[] = {{"None", 2}, {"Short", 0}, {"Long", 1}};

// The font dialog's screen and printer fonts with its effects part, whose colour is the text's.
constexpr int kFontDialogFlags = cdlCFBoth | cdlCFEffects;

std::function<void(gpConfigureGraph&)>& OpenAction() {
  static std::function<void(gpConfigureGraph&)> action;
  return action;
}

// A check box holds 0 (clear), 1 (ticked) or 2 (greyed); only 1 switches a setting on.
int CheckValue(const QCheckBox* box) {
  switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
  }
}

void SetCheckValue(QCheckBox* box, bool ticked) { box->setCheckState(ticked ? Qt::Checked : Qt::Unchecked); }

QCheckBox* NewCheckBox(const char* caption, const char* name) {
  auto* box = new QCheckBox(QString::fromLatin1(caption));
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

QComboBox* NewList(const char* name) {
  auto* list = new QComboBox;
  list->setObjectName(QString::fromLatin1(name));
  return list;
}

QLabel* BuddyLabel(const char* caption, QWidget* buddy) {
  auto* label = new QLabel(QString::fromLatin1(caption));
  label->setBuddy(buddy);
  return label;
}

// Fills a list in its table order and selects the item whose data is value; no item carries it,
// no item is selected. Only the selection itself is announced.
template <std::size_t N>
void FillList(QComboBox* list, const ListItem (&items)[N], std::int32_t value) {
  int selected = -1;
  {
    const QSignalBlocker quiet(list);
    list->clear();
    for (const ListItem& item : items) {
      list->addItem(QString::fromLatin1(item.Text), item.Data);
      if (item.Data == value) selected = list->count() - 1;
    }
    list->setCurrentIndex(-1);
  }
  if (selected >= 0) list->setCurrentIndex(selected);
}

}  // namespace

void gpConfigureGraph::Install() {
  GraphPane::SetPreferencesDialog([](GraphPane& pane) { ShowModal(pane, QApplication::activeWindow()); });
}

void gpConfigureGraph::ShowModal(GraphPane& target, QWidget* owner) {
  gpConfigureGraph dialog(target, owner);
  if (auto action = std::exchange(OpenAction(), nullptr)) {
    QMetaObject::invokeMethod(&dialog, [&dialog, action] { action(dialog); }, Qt::QueuedConnection);
  }
  dialog.exec();
}

void gpConfigureGraph::OnOpen(std::function<void(gpConfigureGraph&)> action) { OpenAction() = std::move(action); }

gpConfigureGraph::gpConfigureGraph(GraphPane& target, QWidget* owner) : QDialog(owner), target_(target) {
  setWindowTitle(QStringLiteral("Configure Graph..."));
  setModal(true);
  gpPreview.SetIsPreviewPane(true);
  tabs_ = new QTabWidget;
  tabs_->addTab(CreateOptionsPage(), QStringLiteral("Graph Options"));
  tabs_->addTab(CreateDecorationsPage(), QStringLiteral("&Display/Decorations"));
  previewWidget_ = new GraphPaneWidget(gpPreview);
  previewWidget_->setMinimumSize(280, 220);
  bCancel_ = new QPushButton(QStringLiteral("Cancel"));
  bApply_ = new QPushButton(QStringLiteral("&Apply"));
  bOK_ = new QPushButton(QStringLiteral("OK"));
  bOK_->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {bCancel_, bApply_, bOK_}) {
    // Enter belongs to OK alone; a focused Apply or Cancel must not take it over.
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  bOK_->setAutoDefault(true);
  auto* top = new QHBoxLayout;
  top->addWidget(tabs_);
  top->addWidget(previewWidget_, 1);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(top, 1);
  outer->addLayout(buttons);
  ConnectSignals();
  Load();
}

gpConfigureGraph::~gpConfigureGraph() = default;

QWidget* gpConfigureGraph::CreateOptionsPage() {
  auto* page = new QWidget;
  tbGraphTitle_ = new QLineEdit;
  tbGraphTitle_->setObjectName(QStringLiteral("tbGraphTitle"));
  auto* titleRow = new QHBoxLayout;
  titleRow->addWidget(BuddyLabel("Graph &Title:", tbGraphTitle_));
  titleRow->addWidget(tbGraphTitle_, 1);

  auto* typeFrame = new QGroupBox(QStringLiteral("Type of &Graph:"));
  auto* typeColumn = new QVBoxLayout(typeFrame);
  auto* typeGroup = new QButtonGroup(typeFrame);
  const char* typeCaptions[] = {"Line Graph", "Hi/Lo/Current Graph", "Bar Graph"};
  for (std::size_t i = 0; i < obGraphType_.size(); ++i) {
    obGraphType_[i] = new QRadioButton(QString::fromLatin1(typeCaptions[i]));
    obGraphType_[i]->setObjectName(QStringLiteral("obGraphType%1").arg(i));
    typeGroup->addButton(obGraphType_[i], static_cast<int>(i));
    typeColumn->addWidget(obGraphType_[i]);
  }

  auto* legendFrame = new QGroupBox(QStringLiteral("Legend Settings:"));
  auto* legendGrid = new QGridLayout(legendFrame);
  cbLegendStyle_ = NewList("cbLegendStyle");
  cbLegendNameStyle_ = NewList("cbLegendNameStyle");
  legendGrid->addWidget(BuddyLabel("&Legend Position:", cbLegendStyle_), 0, 0);
  legendGrid->addWidget(cbLegendStyle_, 0, 1);
  legendGrid->addWidget(BuddyLabel("Legend &Style:", cbLegendNameStyle_), 1, 0);
  legendGrid->addWidget(cbLegendNameStyle_, 1, 1);

  auto* displayFrame = new QGroupBox(QStringLiteral("Data Display Options:"));
  auto* displayGrid = new QGridLayout(displayFrame);
  tpWidget_ = new TimePickerWidget(tpWindow);
  tpWidget_->setObjectName(QStringLiteral("tpWindow"));
  chkShowAverage_ = NewCheckBox("Show A&verage Value on Graph", "chkShowAverage");
  chkShowCurrent_ = NewCheckBox("Show &Current Value", "chkShowCurrent");
  chkIncludeGain_ = NewCheckBox("Include &Gain", "chkIncludeGain");
  displayGrid->addWidget(BuddyLabel("Time to &Display:", tpWidget_), 0, 0);
  displayGrid->addWidget(tpWidget_, 0, 1, Qt::AlignLeft);
  displayGrid->addWidget(chkShowAverage_, 1, 0, 1, 2);
  displayGrid->addWidget(chkShowCurrent_, 2, 0, 1, 2);
  displayGrid->addWidget(chkIncludeGain_, 3, 0, 1, 2);

  auto* column = new QVBoxLayout(page);
  column->addLayout(titleRow);
  auto* middle = new QHBoxLayout;
  middle->addWidget(typeFrame);
  middle->addWidget(legendFrame);
  column->addLayout(middle);
  column->addWidget(displayFrame);
  column->addStretch();
  return page;
}

QWidget* gpConfigureGraph::ColorRow(ColorPickBox& box, const char* caption, QWidget** widget) {
  auto* swatch = new ColorPickBoxWidget(box);
  swatch->setObjectName(QString::fromStdString(box.Name()));
  swatch->setFixedSize(swatch->sizeHint());
  if (widget != nullptr) *widget = swatch;
  auto* row = new QWidget;
  auto* line = new QHBoxLayout(row);
  line->setContentsMargins(0, 0, 0, 0);
  line->addWidget(swatch);
  line->addWidget(BuddyLabel(caption, swatch), 1);
  return row;
}

QWidget* gpConfigureGraph::CreateDecorationsPage() {
  auto* page = new QWidget;
  chkXRules_ = NewCheckBox("Draw &X-Rules", "chkXRules");
  chkYRules_ = NewCheckBox("Draw &Y-Rules", "chkYRules");

  auto* colorFrame = new QGroupBox(QStringLiteral("Graph Colors"));
  auto* colorGrid = new QGridLayout(colorFrame);
  colorGrid->addWidget(ColorRow(cpbBackColor, "&Background"), 0, 0);
  colorGrid->addWidget(ColorRow(cpbLineColor, "Axe&s"), 0, 1);
  colorGrid->addWidget(ColorRow(cpbRuleColor, "&Rules"), 1, 0);
  colorGrid->addWidget(ColorRow(cpbTextColor, "Data/T&ext", &textColorBox_), 1, 1);

  auto* fontFrame = new QGroupBox(QStringLiteral("Fonts:"));
  auto* fontGrid = new QGridLayout(fontFrame);
  bTitleFont_ = new QPushButton(QStringLiteral("Change..."));
  bTitleFont_->setObjectName(QStringLiteral("bTitleFont"));
  bDataFont_ = new QPushButton(QStringLiteral("Change..."));
  bDataFont_->setObjectName(QStringLiteral("bDataFont"));
  lblTitleFont_ = new QLabel;
  lblTitleFont_->setObjectName(QStringLiteral("lblTitleFont"));
  lblDataFont_ = new QLabel;
  lblDataFont_->setObjectName(QStringLiteral("lblDataFont"));
  fontGrid->addWidget(BuddyLabel("Title &Font:", bTitleFont_), 0, 0);
  fontGrid->addWidget(lblTitleFont_, 0, 1);
  fontGrid->addWidget(bTitleFont_, 0, 2);
  fontGrid->addWidget(BuddyLabel("&Data Font:", bDataFont_), 1, 0);
  fontGrid->addWidget(lblDataFont_, 1, 1);
  fontGrid->addWidget(bDataFont_, 1, 2);
  fontGrid->setColumnStretch(1, 1);

  auto* extraFrame = new QGroupBox(QStringLiteral("Additional Decorations:"));
  auto* extraRow = new QHBoxLayout(extraFrame);
  cbXAxisLabels_ = NewList("cbXAxisLabels");
  extraRow->addWidget(BuddyLabel("&X Axis Labels:", cbXAxisLabels_));
  extraRow->addWidget(cbXAxisLabels_, 1);

  auto* column = new QVBoxLayout(page);
  column->addWidget(chkXRules_);
  column->addWidget(chkYRules_);
  column->addWidget(colorFrame);
  column->addWidget(fontFrame);
  column->addWidget(extraFrame);
  column->addStretch();
  return page;
}

void gpConfigureGraph::ConnectSignals() {
  // Every handler runs as the user's own action; an error ends that action, not the dialog.
  const auto guarded = [this](void (gpConfigureGraph::*handler)()) {
    return [this, handler] { GuardSlot([&] { (this->*handler)(); }); };
  };
  connect(tbGraphTitle_, &QLineEdit::textChanged, this, guarded(&gpConfigureGraph::SettingsChanged));
  for (QRadioButton* option : obGraphType_) {
    connect(option, &QRadioButton::toggled, this, [this](bool on) {
      if (on) GuardSlot([this] { SettingsChanged(); });
    });
  }
  for (QCheckBox* box : {chkXRules_, chkYRules_, chkIncludeGain_}) {
    connect(box, &QCheckBox::stateChanged, this, guarded(&gpConfigureGraph::SettingsChanged));
  }
  connect(chkShowAverage_, &QCheckBox::stateChanged, this,
          [this] { GuardSlot([this] { ShowOrAverageClicked(chkShowAverage_, chkShowCurrent_); }); });
  connect(chkShowCurrent_, &QCheckBox::stateChanged, this,
          [this] { GuardSlot([this] { ShowOrAverageClicked(chkShowCurrent_, chkShowAverage_); }); });
  for (ColorPickBox* box : {&cpbBackColor, &cpbLineColor, &cpbRuleColor, &cpbTextColor}) {
    box->OnEvent([this](ControlEvent event, const ControlEventArgs&) {
      if (event == ControlEvent::Changed) SettingsChanged();
    });
  }
  tpWindow.OnEvent([this](ControlEvent event, const ControlEventArgs&) {
    if (event == ControlEvent::Changed) SettingsChanged();
  });
  connect(cbLegendStyle_, &QComboBox::currentIndexChanged, this, guarded(&gpConfigureGraph::LegendStyleClicked));
  connect(cbLegendNameStyle_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index < 0) return;
    GuardSlot([this] {
      legendNameStyle_ = cbLegendNameStyle_->currentData().toInt();
      SettingsChanged();
    });
  });
  connect(cbXAxisLabels_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index < 0) return;
    GuardSlot([this] {
      xAxisLabelStyle_ = cbXAxisLabels_->currentData().toInt();
      SettingsChanged();
    });
  });
  connect(bTitleFont_, &QPushButton::clicked, this,
          [this] { GuardSlot([this] { ChangeFont(titleFont_, lblTitleFont_); }); });
  connect(bDataFont_, &QPushButton::clicked, this,
          [this] { GuardSlot([this] { ChangeFont(dataFont_, lblDataFont_); }); });
  connect(bApply_, &QPushButton::clicked, this, guarded(&gpConfigureGraph::Apply));
  // OK applies even when nothing changed: the target then gets the whole-point working fonts.
  connect(bOK_, &QPushButton::clicked, this, [this] {
    if (GuardSlot([this] { Apply(); })) accept();
  });
  connect(bCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void gpConfigureGraph::Load() {
  setWindowIcon(Artwork::WindowIcon());
  loading_ = true;
  gpPreview.SetDataSource("gdc1");
  gdc1.CreateDesignModeData();
  cpbBackColor.SetChosenColor(target_.BackColor());
  cpbLineColor.SetChosenColor(target_.LineColor());
  cpbRuleColor.SetChosenColor(target_.RuleColor());
  cpbTextColor.SetChosenColor(target_.TextColor());
  tbGraphTitle_->setText(ToQString(target_.Caption()));
  tpWindow.SetValueSeconds(target_.WindowLength());
  const std::int32_t type = target_.GraphType();
  const std::size_t option = type == gpLine ? 0 : type == gpHiLo ? 1 : 2;
  for (std::size_t i = 0; i < obGraphType_.size(); ++i) obGraphType_[i]->setChecked(i == option);
  SetCheckValue(chkXRules_, target_.XRules());
  SetCheckValue(chkYRules_, target_.YRules());
  SetCheckValue(chkShowAverage_, target_.ShowAverage());
  SetCheckValue(chkShowCurrent_, target_.ShowCurrent());
  FollowIncludeGain();
  SetCheckValue(chkIncludeGain_, target_.IncludeGain());
  titleFont_ = ParseFont(FontToString(target_.CaptionFont()));
  dataFont_ = ParseFont(FontToString(target_.GraphFont()));
  lblTitleFont_->setText(ToQString(FontToString(titleFont_)));
  lblDataFont_->setText(ToQString(FontToString(dataFont_)));
  legendPosition_ = target_.Legend();
  legendNameStyle_ = target_.LegendName();
  xAxisLabelStyle_ = target_.XAxisLabels();
  if (legendPosition_ == gpLegendNone) cbLegendNameStyle_->setEnabled(false);
  SetupLegendStyleBox();
  ApplySettings(gpPreview);
  bApply_->setEnabled(false);
  loading_ = false;
}

void gpConfigureGraph::SetupLegendStyleBox() {
  FillList(cbLegendStyle_, kLegendPositions, target_.Legend());
  FillList(cbLegendNameStyle_, kLegendNameStyles, target_.LegendName());
  FillList(cbXAxisLabels_, kXAxisLabelStyles, target_.XAxisLabels());
}

void gpConfigureGraph::ApplySettings(GraphPane& pane) {
  // The pane may be repainted by a timer meanwhile, so this never yields to the message loop; the
  // lock keeps the half-changed settings from being drawn one by one.
  pane.SetPaintLock(true);
  for (std::size_t i = 0; i < obGraphType_.size(); ++i) {
    if (obGraphType_[i]->isChecked()) {
      pane.SetGraphType(static_cast<std::int32_t>(i));
      break;
    }
  }
  pane.SetBackColor(cpbBackColor.ChosenColor());
  pane.SetLineColor(cpbLineColor.ChosenColor());
  pane.SetRuleColor(cpbRuleColor.ChosenColor());
  pane.SetTextColor(cpbTextColor.ChosenColor());
  pane.SetCaption(FromQString(tbGraphTitle_->text()));
  pane.SetWindowLength(tpWindow.ValueSeconds());
  pane.SetXRules(CheckValue(chkXRules_) == 1);
  pane.SetYRules(CheckValue(chkYRules_) == 1);
  pane.SetShowAverage(CheckValue(chkShowAverage_) == 1);
  pane.SetShowCurrent(CheckValue(chkShowCurrent_) == 1);
  pane.SetIncludeGain(CheckValue(chkIncludeGain_) == 1);
  pane.SetCaptionFont(titleFont_);
  pane.SetGraphFont(dataFont_);
  pane.SetLegend(legendPosition_);
  pane.SetLegendName(legendNameStyle_);
  pane.SetXAxisLabels(xAxisLabelStyle_);
  pane.SetPaintLock(false);
  pane.Refresh();
}

void gpConfigureGraph::SettingsChanged() {
  if (loading_) return;
  ApplySettings(gpPreview);
  changed_ = true;
  bApply_->setEnabled(true);
}

void gpConfigureGraph::ShowOrAverageClicked(QCheckBox* clicked, QCheckBox* other) {
  // Average and current value exclude each other; the other box's own handler runs in turn.
  if (CheckValue(clicked) != 0) other->setCheckState(Qt::Unchecked);
  FollowIncludeGain();
  SettingsChanged();
}

void gpConfigureGraph::FollowIncludeGain() {
  chkIncludeGain_->setEnabled(CheckValue(chkShowAverage_) != 0 || CheckValue(chkShowCurrent_) != 0);
}

void gpConfigureGraph::LegendStyleClicked() {
  if (cbLegendStyle_->currentIndex() < 0) return;
  legendPosition_ = cbLegendStyle_->currentData().toInt();
  cbLegendNameStyle_->setEnabled(legendPosition_ != gpLegendNone);
  SettingsChanged();
}

void gpConfigureGraph::ChangeFont(CanvasFont& font, QLabel* label) {
  // A cancelled dialog leaves its preset values, so font and colour stay as they were.
  FontDialogChoice choice{font, cpbTextColor.ChosenColor()};
  Ui().FontDialog(choice, kFontDialogFlags);
  font = choice.Font;
  cpbTextColor.SetChosenColor(choice.Color);
  label->setText(ToQString(FontToString(font)));
  SettingsChanged();
}

void gpConfigureGraph::Apply() {
  ApplySettings(target_);
  changed_ = false;
  bApply_->setEnabled(false);
}

}  // namespace quendrel
