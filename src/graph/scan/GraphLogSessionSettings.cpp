// The scan window's settings in [Graph/Log]: read when the window opens, written when it closes.
#include <string>

#include "foundation/ColorText.h"
#include "foundation/Config.h"
#include "foundation/FontSpec.h"
#include "foundation/NumberText.h"
#include "foundation/ParseBoolean.h"
#include "graph/scan/GraphLogSession.h"
#include "graph/scan/GraphLogSettingTexts.h"
#include "graph/scan/ScanTiming.h"
#include "platform/SystemColors.h"

namespace quendrel {

namespace {

constexpr const char* kSection = "Graph/Log";

std::string Setting(const char* key) { return Config().Value(key, kSection); }

void Store(const char* key, const std::string& value) { Config().SetValue(key, kSection, value); }

void StoreBoolean(const char* key, bool value) { Store(key, value ? "True" : "False"); }

// A colour the pane still holds as a system colour is written as what it shows.
void StoreColor(const char* key, std::uint32_t color) { Store(key, ColorToHtml(ResolveColor(color))); }

}  // namespace

void GraphLogSession::LoadGraphLogSettings() {
  logFileText_ = Setting("LogFile");
  view_.SetLogFileText(logFileText_);
  // The picker's Changed raises a period below a second and stores the picker's value back.
  const double period = LeadingNumber(Setting("ScanPeriod"));
  tpScanPeriod_.SetValueSeconds(period);
  // Continuous mode is never restored: a stored 0 is no continuous scan.
  continuousScan_ = false;
  view_.SetContinuousScan(false);
  scanInterval_ = ScanIntervalFromSeconds(period);
  ShowScanTimer();
  gpGraph_.SetGraphType(GraphTypeFromSetting(Setting("Style")));
  gpGraph_.SetWindowLength(LeadingNumber(Setting("Timespan")));
  tpWindowLen_.SetValueSeconds(gpGraph_.WindowLength());
  gpGraph_.SetBackColor(ParseColor(Setting("BackgroundColor")));
  gpGraph_.SetLineColor(ParseColor(Setting("AxesColor")));
  gpGraph_.SetRuleColor(ParseColor(Setting("RulesColor")));
  gpGraph_.SetTextColor(ParseColor(Setting("TextColor")));
  gpGraph_.SetCaption(Setting("Title"));
  gpGraph_.SetCaptionFont(ParseFont(Setting("TitleFont")));
  gpGraph_.SetGraphFont(ParseFont(Setting("NumberFont")));
  gpGraph_.SetXRules(ParseBoolean(Setting("XRules")));
  gpGraph_.SetYRules(ParseBoolean(Setting("YRules")));
  gpGraph_.SetShowAverage(ParseBoolean(Setting("ShowAverage")));
  gpGraph_.SetShowCurrent(ParseBoolean(Setting("ShowCurrent")));
  gpGraph_.SetIncludeGain(ParseBoolean(Setting("IncludeGain")));
  gpGraph_.SetLegend(LegendFromSetting(Setting("Legend")));
  if (const auto style = LabelStyleFromSetting(Setting("LegendStyle"))) gpGraph_.SetLegendName(*style);
  if (const auto labels = LabelStyleFromSetting(Setting("XAxisLabels"))) gpGraph_.SetXAxisLabels(*labels);
}

void GraphLogSession::SaveGraphLogSettings() {
  Store("LogFile", logFileText_);
  Store("ScanPeriod", DoubleToText(tpScanPeriod_.ValueSeconds()));
  Store("Style", GraphTypeSetting(gpGraph_.GraphType()));
  Store("Timespan", DoubleToText(gpGraph_.WindowLength()));
  StoreColor("BackgroundColor", gpGraph_.BackColor());
  StoreColor("AxesColor", gpGraph_.LineColor());
  StoreColor("RulesColor", gpGraph_.RuleColor());
  StoreColor("TextColor", gpGraph_.TextColor());
  Store("Title", gpGraph_.Caption());
  Store("TitleFont", FontToString(gpGraph_.CaptionFont()));
  Store("NumberFont", FontToString(gpGraph_.GraphFont()));
  StoreBoolean("XRules", gpGraph_.XRules());
  StoreBoolean("YRules", gpGraph_.YRules());
  StoreBoolean("ShowAverage", gpGraph_.ShowAverage());
  StoreBoolean("ShowCurrent", gpGraph_.ShowCurrent());
  StoreBoolean("IncludeGain", gpGraph_.IncludeGain());
  if (const auto legend = LegendSetting(gpGraph_.Legend())) Store("Legend", *legend);
  if (const auto style = LabelStyleSetting(gpGraph_.LegendName())) Store("LegendStyle", *style);
  if (const auto labels = LabelStyleSetting(gpGraph_.XAxisLabels())) Store("XAxisLabels", *labels);
}

}  // namespace quendrel
