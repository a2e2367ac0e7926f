// The graph control of a window: its display settings, the data control it draws from, and the
// dispatch of one drawing to the renderer of its graph type.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "graph/data/FormControl.h"
#include "graph/data/SeriesCollection.h"
#include "platform/Canvas.h"
#include "platform/CanvasFont.h"
#include "platform/PropertyBag.h"
#include "platform/UiServices.h"

namespace quendrel {

class FormControls;
class GraphDataControl;

enum gpGraphType : std::int32_t { gpLine = 0, gpHiLo = 1, gpBar = 2 };
enum gpLegendPosition : std::int32_t {
  gpLegendNone = 0,
  gpLegendTop = 1,
  gpLegendRight = 2,
  gpLegendLeft = 3,
  gpLegendBottom = 4
};

enum class GraphPaneEvent { Click, DblClick, MouseDown, MouseMove, MouseUp };

// A mouse event as the host sees it: button 1 left, 2 right, 4 middle; x and y in twips.
struct GraphPaneMouse {
  int Button = 0;
  int Shift = 0;
  float X = 0.0f;
  float Y = 0.0f;
};

class GraphPane : public FormControl {
 public:
  static constexpr FormControlKind kKind = FormControlKind::GraphPane;

  // Joins the window's registry under that name, when there is one, until it ends. The new pane
  // has the settings of a freshly placed control.
  GraphPane(FormControls* form, std::string name);
  ~GraphPane() override;
  GraphPane(const GraphPane&) = delete;
  GraphPane& operator=(const GraphPane&) = delete;

  FormControlKind Kind() const override { return kKind; }
  const std::string& Name() const override { return name_; }

  // Told whenever a stored setting changed, so that the host saves the pane's settings again.
  void OnSettingsChanged(std::function<void()> hook) { settingsChanged_ = std::move(hook); }
  // Told when the picture is out of date; the widget schedules one repaint.
  void OnRefresh(std::function<void()> hook) { refresh_ = std::move(hook); }

  bool PaintLock() const { return paintLock_; }
  void SetPaintLock(bool lock) { paintLock_ = lock; }
  bool IsPreviewPane() const { return isPreviewPane_; }
  void SetIsPreviewPane(bool preview);
  std::int32_t GraphType() const { return graphType_; }
  void SetGraphType(std::int32_t type);
  // The type whose menu item carries the check mark; -1 before any type in 0..2 was set.
  std::int32_t CheckedGraphType() const { return checkedType_; }
  std::int32_t Legend() const { return legend_; }
  void SetLegend(std::int32_t position) { Store(legend_, position); }
  std::int32_t LegendName() const { return legendName_; }
  void SetLegendName(std::int32_t style) { Store(legendName_, style); }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { Store(caption_, std::move(caption)); }
  Color LineColor() const { return lineColor_; }
  void SetLineColor(Color color) { Store(lineColor_, color); }
  Color BackColor() const { return backColor_; }
  void SetBackColor(Color color) { Store(backColor_, color); }
  bool XRules() const { return xRules_; }
  void SetXRules(bool on) { Store(xRules_, on); }
  bool YRules() const { return yRules_; }
  void SetYRules(bool on) { Store(yRules_, on); }
  bool ShowAverage() const { return showAverage_; }
  void SetShowAverage(bool on);
  bool ShowCurrent() const { return showCurrent_; }
  void SetShowCurrent(bool on);
  bool IncludeGain() const { return includeGain_; }
  void SetIncludeGain(bool on) { Store(includeGain_, on); }
  std::int32_t XAxisLabels() const { return xAxisLabels_; }
  void SetXAxisLabels(std::int32_t labels) { Store(xAxisLabels_, labels); }
  Color RuleColor() const { return ruleColor_; }
  void SetRuleColor(Color color) { Store(ruleColor_, color); }
  Color TextColor() const { return textColor_; }
  void SetTextColor(Color color) { Store(textColor_, color); }
  double WindowLength() const { return windowLength_; }
  void SetWindowLength(double seconds);
  // The bound control's name; "" while unbound.
  std::string DataSource() const;
  void SetDataSource(const std::string& name);
  const CanvasFont& CaptionFont() const { return captionFont_; }
  void SetCaptionFont(const CanvasFont& font) { Store(captionFont_, font); }
  const CanvasFont& GraphFont() const { return graphFont_; }
  void SetGraphFont(const CanvasFont& font) { Store(graphFont_, font); }

  // The bound control, looked up anew so that a control that has gone leaves the pane unbound.
  GraphDataControl* DataControl() const;
  // The bound control's series, a new collection each call; none while unbound.
  SeriesCollection SeriesSet() const;

  // Told of every event the pane raises to its window.
  void OnEvent(std::function<void(GraphPaneEvent, const GraphPaneMouse&)> hook) {
    event_ = std::move(hook);
  }
  // The picture as shown, brought up to date, for the snapshot and the printout.
  void OnSnapshot(std::function<CanvasImage()> hook) { snapshot_ = std::move(hook); }
  // The decimal separator of the user's locale, for the values of the graph data file; "." while
  // no desktop tells.
  void OnDecimalSeparator(std::function<char()> hook) { decimalSeparator_ = std::move(hook); }
  // Where a canvas point lies on the screen, for the popup menu.
  void OnScreenPoint(std::function<ScreenPoint(float x, float y)> hook) { toScreen_ = std::move(hook); }
  // Told after the configuration dialog closed, so the window's own controls follow the pane.
  void OnPreferencesClosed(std::function<void()> hook) { preferencesClosed_ = std::move(hook); }
  // Shows the configuration dialog for a pane; the dialog's library installs it.
  static void SetPreferencesDialog(std::function<void(GraphPane&)> dialog);

  void MouseDown(const GraphPaneMouse& mouse);
  void MouseMove(const GraphPaneMouse& mouse) const { Raise(GraphPaneEvent::MouseMove, mouse); }
  void MouseUp(const GraphPaneMouse& mouse) const { Raise(GraphPaneEvent::MouseUp, mouse); }
  void Click() const;
  void DblClick();

  void Preferences();
  void SaveSnapshot() const;
  void PrintSnapshot() const;
  void SaveGraphData() const;
  // The popup menu as it stands now, with its check marks.
  PopupMenuRequest Menu(float x, float y) const;
  // Runs a menu command by its item Id.
  void RunMenuCommand(int id);

  void Refresh() const;
  // One drawing of the current graph type onto the canvas.
  void DrawGraph(Canvas& canvas) const;

  // Stored settings, in their fixed order.
  void InitProperties();
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag) const;

 private:
  template <typename T, typename V>
  void Store(T& field, V&& value) {
    field = std::forward<V>(value);
    Notify();
    Refresh();
  }
  void Notify() const;
  void Raise(GraphPaneEvent event, const GraphPaneMouse& mouse = {}) const {
    if (event_) event_(event, mouse);
  }
  CanvasImage Snapshot() const { return snapshot_ ? snapshot_() : CanvasImage(); }

  FormControls* form_;
  std::string name_;
  std::string boundName_;
  std::function<void()> settingsChanged_;
  std::function<void()> refresh_;
  std::function<void(GraphPaneEvent, const GraphPaneMouse&)> event_;
  std::function<CanvasImage()> snapshot_;
  std::function<char()> decimalSeparator_;
  std::function<ScreenPoint(float, float)> toScreen_;
  std::function<void()> preferencesClosed_;

  bool paintLock_ = false;
  bool isPreviewPane_ = false;
  std::int32_t graphType_ = gpLine;
  std::int32_t checkedType_ = -1;
  std::int32_t legend_ = gpLegendNone;
  std::int32_t legendName_ = 0;
  std::string caption_;
  Color lineColor_ = 0x80000008u;
  Color backColor_ = 0x80000005u;
  bool xRules_ = false;
  bool yRules_ = true;
  bool showAverage_ = false;
  bool showCurrent_ = false;
  bool includeGain_ = true;
  std::int32_t xAxisLabels_ = 2;
  Color ruleColor_ = 0x8000000Bu;
  Color textColor_ = 0x80000008u;
  double windowLength_ = 300.0;
  CanvasFont captionFont_;
  CanvasFont graphFont_;
};

}  // namespace quendrel
