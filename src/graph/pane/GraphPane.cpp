#include "graph/pane/GraphPane.h"

#include "graph/data/FormControls.h"
#include "graph/data/GraphDataControl.h"
#include "graph/pane/GraphDrawing.h"

namespace quendrel {
namespace {

constexpr PropertyKey<std::int32_t> kGraphTypeKey{"GraphType", gpLine};
constexpr PropertyKey<std::int32_t> kLegendKey{"Legend", gpLegendNone};
constexpr PropertyKey<std::int32_t> kLegendNameKey{"LegendName", 0};
constexpr PropertyKey<std::int32_t> kLineColorKey{"LineColor", static_cast<std::int32_t>(0x80000008u)};
constexpr PropertyKey<std::int32_t> kBackColorKey{"BackColor", static_cast<std::int32_t>(0x80000005u)};
constexpr PropertyKey<bool> kXRulesKey{"XRules", false};
constexpr PropertyKey<bool> kYRulesKey{"YRules", true};
constexpr PropertyKey<bool> kShowAverageKey{"ShowAverage", false};
constexpr PropertyKey<bool> kShowCurrentKey{"ShowCurrent", false};
constexpr PropertyKey<bool> kIncludeGainKey{"IncludeGain", true};
constexpr PropertyKey<std::int32_t> kXAxisLabelsKey{"XAxisLabels", 2};
constexpr PropertyKey<std::int32_t> kRuleColorKey{"RuleColor", static_cast<std::int32_t>(0x8000000Bu)};
constexpr PropertyKey<std::int32_t> kTextColorKey{"TextColor", static_cast<std::int32_t>(0x80000008u)};
constexpr PropertyKey<double> kWindowLengthKey{"WindowLength", 300.0};
constexpr PropertyKey<bool> kIsPreviewPaneKey{"IsPreviewPane", false};

// Stored colours are 32-bit signed, as the property bag keeps every 32-bit setting.
Color ReadColor(const PropertyBag& bag, const PropertyKey<std::int32_t>& key) {
  return static_cast<Color>(bag.Read(key));
}
void WriteColor(PropertyBag& bag, const PropertyKey<std::int32_t>& key, Color color) {
  bag.Write(key, static_cast<std::int32_t>(color));
}

}  // namespace

GraphPane::GraphPane(FormControls* form, std::string name) : form_(form), name_(std::move(name)) {
  if (form_ != nullptr) form_->Add(*this);
  InitProperties();
}

GraphPane::~GraphPane() {
  if (form_ != nullptr) form_->Remove(*this);
}

void GraphPane::SetIsPreviewPane(bool preview) {
  isPreviewPane_ = preview;
  Notify();
}

void GraphPane::SetGraphType(std::int32_t type) {
  graphType_ = type;
  if (type >= gpLine && type <= gpBar) checkedType_ = type;
  Notify();
  Refresh();
}

void GraphPane::SetShowAverage(bool on) {
  showAverage_ = on;
  if (on) showCurrent_ = false;
  Notify();
  Refresh();
}

void GraphPane::SetShowCurrent(bool on) {
  showCurrent_ = on;
  if (on) showAverage_ = false;
  Notify();
  Refresh();
}

void GraphPane::SetWindowLength(double seconds) {
  // A zero-length window would leave the time scale without a width.
  windowLength_ = seconds == 0.0 ? 2.0 : seconds;
  Notify();
  Refresh();
}

GraphDataControl* GraphPane::DataControl() const {
  if (form_ == nullptr || boundName_.empty()) return nullptr;
  return form_->Find<GraphDataControl>(boundName_);
}

std::string GraphPane::DataSource() const {
  const GraphDataControl* control = DataControl();
  return control == nullptr ? std::string() : control->Name();
}

void GraphPane::SetDataSource(const std::string& name) {
  boundName_ = name;
  const GraphDataControl* control = DataControl();
  boundName_ = control == nullptr ? std::string() : control->Name();
  Notify();
  Refresh();
}

SeriesCollection GraphPane::SeriesSet() const {
  const GraphDataControl* control = DataControl();
  return control == nullptr ? SeriesCollection() : control->SeriesSet();
}

void GraphPane::Refresh() const {
  if (refresh_) refresh_();
}

void GraphPane::Notify() const {
  if (settingsChanged_) settingsChanged_();
}

void GraphPane::DrawGraph(Canvas& canvas) const {
  switch (graphType_) {
    case gpLine:
      DrawLineGraph(*this, canvas);
      break;
    case gpHiLo:
      DrawHiLoGraph(*this, canvas);
      break;
    case gpBar:
      DrawBarGraph(*this, canvas);
      break;
    default:
      break;
  }
}

void GraphPane::InitProperties() {
  SetGraphType(gpLine);
  caption_ = name_;
  captionFont_ = CanvasFont();
  graphFont_ = CanvasFont();
  isPreviewPane_ = false;
  legend_ = gpLegendNone;
  legendName_ = 0;
  lineColor_ = 0x80000008u;
  backColor_ = 0x80000005u;
  xRules_ = false;
  yRules_ = true;
  showAverage_ = false;
  showCurrent_ = false;
  includeGain_ = true;
  xAxisLabels_ = 2;
  ruleColor_ = 0x8000000Bu;
  textColor_ = 0x80000008u;
  windowLength_ = 300.0;
  boundName_.clear();
}

void GraphPane::ReadProperties(const PropertyBag& bag) {
  SetGraphType(bag.Read(kGraphTypeKey));
  legend_ = bag.Read(kLegendKey);
  legendName_ = bag.Read(kLegendNameKey);
  caption_ = bag.Read(PropertyKey<std::string>{"Caption", name_});
  captionFont_ = bag.Read(PropertyKey<CanvasFont>{"CaptionFont", CanvasFont()});
  graphFont_ = bag.Read(PropertyKey<CanvasFont>{"GraphFont", CanvasFont()});
  lineColor_ = ReadColor(bag, kLineColorKey);
  backColor_ = ReadColor(bag, kBackColorKey);
  xRules_ = bag.Read(kXRulesKey);
  yRules_ = bag.Read(kYRulesKey);
  showAverage_ = bag.Read(kShowAverageKey);
  showCurrent_ = bag.Read(kShowCurrentKey);
  includeGain_ = bag.Read(kIncludeGainKey);
  xAxisLabels_ = bag.Read(kXAxisLabelsKey);
  ruleColor_ = ReadColor(bag, kRuleColorKey);
  textColor_ = ReadColor(bag, kTextColorKey);
  windowLength_ = bag.Read(kWindowLengthKey);
  SetDataSource(bag.Read(PropertyKey<std::string>{"DataSource", ""}));
  isPreviewPane_ = bag.Read(kIsPreviewPaneKey);
}

void GraphPane::WriteProperties(PropertyBag& bag) const {
  bag.Write(kGraphTypeKey, graphType_);
  bag.Write(kLegendKey, legend_);
  bag.Write(kLegendNameKey, legendName_);
  bag.Write(PropertyKey<std::string>{"Caption", name_}, caption_);
  bag.Write(PropertyKey<CanvasFont>{"CaptionFont", CanvasFont()}, captionFont_);
  bag.Write(PropertyKey<CanvasFont>{"GraphFont", CanvasFont()}, graphFont_);
  WriteColor(bag, kLineColorKey, lineColor_);
  WriteColor(bag, kBackColorKey, backColor_);
  bag.Write(kXRulesKey, xRules_);
  bag.Write(kYRulesKey, yRules_);
  bag.Write(kShowAverageKey, showAverage_);
  bag.Write(kShowCurrentKey, showCurrent_);
  bag.Write(kIncludeGainKey, includeGain_);
  bag.Write(kXAxisLabelsKey, xAxisLabels_);
  WriteColor(bag, kRuleColorKey, ruleColor_);
  WriteColor(bag, kTextColorKey, textColor_);
  bag.Write(kWindowLengthKey, windowLength_);
  bag.Write(PropertyKey<std::string>{"DataSource", ""}, DataSource());
  bag.Write(kIsPreviewPaneKey, isPreviewPane_);
}

}  // namespace quendrel
