#include "foundation/progress/ProgressServer.h"

#include <algorithm>

namespace quendrel {

namespace {

template <class Sink>
void ShowCaption(const std::weak_ptr<Sink>& weak, const std::string& text) {
  const auto sink = weak.lock();
  if (!sink) return;
  sink->SetCaption(text);
  sink->Refresh();
}

template <class Sink>
void ShowText(const std::weak_ptr<Sink>& weak, const std::string& text) {
  const auto sink = weak.lock();
  if (!sink) return;
  sink->SetText(text);
  sink->Refresh();
}

// A range whose maximum lies below its minimum is shown as the single point at the minimum.
std::int32_t ShownMax(std::int32_t min, std::int32_t max) { return std::max(min, max); }

std::int32_t ShownValue(std::int32_t min, std::int32_t max, std::int32_t progress) {
  return std::clamp(progress, min, ShownMax(min, max));
}

void ShowRangeAndValue(const std::shared_ptr<ProgressRangeSink>& sink, std::int32_t min,
                       std::int32_t max, std::int32_t progress) {
  if (!sink) return;
  sink->SetRange(min, ShownMax(min, max));
  sink->SetValue(ShownValue(min, max, progress));
}

}  // namespace

void ProgressServer::SetupPrimary(const std::shared_ptr<ProgressBarSink>& progressBar,
                                  const std::shared_ptr<ProgressTextBarSink>& textProgressBar,
                                  const std::shared_ptr<ProgressSliderSink>& slider,
                                  const std::shared_ptr<ProgressLabelSink>& statusLabel,
                                  const std::shared_ptr<ProgressTextBoxSink>& statusTextBox,
                                  const std::shared_ptr<ProgressLabelSink>& detailLabel,
                                  const std::shared_ptr<ProgressTextBoxSink>& detailTextBox,
                                  std::int32_t min, std::int32_t max, std::int32_t progress) {
  Register(primary_, progressBar, textProgressBar, slider, statusLabel, statusTextBox, detailLabel,
           detailTextBox, min, max, progress);
}

void ProgressServer::SetupSecondary(const std::shared_ptr<ProgressBarSink>& progressBar,
                                    const std::shared_ptr<ProgressTextBarSink>& textProgressBar,
                                    const std::shared_ptr<ProgressSliderSink>& slider,
                                    const std::shared_ptr<ProgressLabelSink>& statusLabel,
                                    const std::shared_ptr<ProgressTextBoxSink>& statusTextBox,
                                    const std::shared_ptr<ProgressLabelSink>& detailLabel,
                                    const std::shared_ptr<ProgressTextBoxSink>& detailTextBox,
                                    std::int32_t min, std::int32_t max, std::int32_t progress) {
  Register(alternate_, progressBar, textProgressBar, slider, statusLabel, statusTextBox,
           detailLabel, detailTextBox, min, max, progress);
}

void ProgressServer::Register(ControlSet& set, const std::shared_ptr<ProgressBarSink>& progressBar,
                              const std::shared_ptr<ProgressTextBarSink>& textProgressBar,
                              const std::shared_ptr<ProgressSliderSink>& slider,
                              const std::shared_ptr<ProgressLabelSink>& statusLabel,
                              const std::shared_ptr<ProgressTextBoxSink>& statusTextBox,
                              const std::shared_ptr<ProgressLabelSink>& detailLabel,
                              const std::shared_ptr<ProgressTextBoxSink>& detailTextBox,
                              std::int32_t min, std::int32_t max, std::int32_t progress) {
  set.progressBar = progressBar;
  set.textProgressBar = textProgressBar;
  set.slider = slider;
  set.statusLabel = statusLabel;
  set.statusTextBox = statusTextBox;
  set.detailLabel = detailLabel;
  set.detailTextBox = detailTextBox;
  set.min = min;
  set.max = max;
  set.progress = progress;
  ShowPosition(set);
}

void ProgressServer::SetClient(const std::shared_ptr<ProgressClientSink>& client) {
  client_ = client;
}

std::shared_ptr<ProgressClientSink> ProgressServer::Client() const { return client_.lock(); }

void ProgressServer::SetLabelIndicator(const std::shared_ptr<ProgressIndicatorSink>& indicator) {
  indicator_ = indicator;
}

void ProgressServer::Green() { PaintIndicator(IndicatorGreen); }

void ProgressServer::Red() { PaintIndicator(IndicatorRed); }

void ProgressServer::PaintIndicator(std::uint32_t colour) {
  const auto indicator = indicator_.lock();
  if (!indicator) return;
  indicator->SetBackColor(colour);
  indicator->Refresh();
}

void ProgressServer::SetStatus(const std::string& text) {
  ShowCaption(Active().statusLabel, text);
  ShowText(Active().statusTextBox, text);
}

void ProgressServer::SetDetail(const std::string& text) {
  ShowCaption(Active().detailLabel, text);
  ShowText(Active().detailTextBox, text);
}

void ProgressServer::SetPrefix(const std::string& prefix) { Active().prefix = prefix; }

void ProgressServer::SetProgressTextType(std::int16_t type) { Active().textType = type; }

std::int32_t ProgressServer::Min() const { return Active().min; }

void ProgressServer::SetMin(std::int32_t min) {
  Active().min = min;
  ShowPosition(Active());
}

std::int32_t ProgressServer::Max() const { return Active().max; }

void ProgressServer::SetMax(std::int32_t max) {
  Active().max = max;
  ShowPosition(Active());
}

std::int32_t ProgressServer::Progress() const { return Active().progress; }

void ProgressServer::SetProgress(std::int32_t progress) {
  Active().progress = progress;
  ShowPosition(Active());
}

bool ProgressServer::Swapped() const { return swapped_; }

void ProgressServer::SetSwapped(bool swapped) { swapped_ = swapped; }

void ProgressServer::ShowAlternate() { ShowAlternateControls(true); }

void ProgressServer::HideAlternate() { ShowAlternateControls(false); }

std::shared_ptr<ProgressTextBarSink> ProgressServer::tpbProgress() const {
  return Active().textProgressBar.lock();
}

std::shared_ptr<ProgressTextBoxSink> ProgressServer::TextboxDetail() const {
  if (auto box = primary_.detailTextBox.lock()) return box;
  return alternate_.detailTextBox.lock();
}

std::int16_t ProgressServer::state() const { return state_; }

void ProgressServer::SetState(std::int16_t state) { state_ = state; }

bool ProgressServer::Semaphore() const { return semaphore_; }

void ProgressServer::SetSemaphore(bool semaphore) { semaphore_ = semaphore; }

bool ProgressServer::SimpleMessages() const { return simpleMessages_; }

void ProgressServer::SetSimpleMessages(bool simpleMessages) { simpleMessages_ = simpleMessages; }

void ProgressServer::ShowPosition(const ControlSet& set) {
  const auto textBar = set.textProgressBar.lock();
  const std::array<std::shared_ptr<ProgressRangeSink>, 3> bars = {set.progressBar.lock(),
                                                                  set.slider.lock(), textBar};
  for (const auto& bar : bars) ShowRangeAndValue(bar, set.min, set.max, set.progress);
  if (textBar && set.textType == TextTypePercent) textBar->SetText(PercentText(set));
  for (const auto& bar : bars) {
    if (bar) bar->Refresh();
  }
}

// Whole percent, cut rather than rounded, so 100% appears only once the operation is done.
std::string ProgressServer::PercentText(const ControlSet& set) {
  const std::int64_t span = std::int64_t{ShownMax(set.min, set.max)} - set.min;
  const std::int64_t done = std::int64_t{ShownValue(set.min, set.max, set.progress)} - set.min;
  const std::int64_t percent = span > 0 ? done * 100 / span : 0;
  return set.prefix + std::to_string(percent) + "%";
}

void ProgressServer::ShowAlternateControls(bool visible) {
  for (const auto& control : Controls(alternate_)) {
    if (!control || InPrimarySet(control.get())) continue;
    control->SetVisible(visible);
    control->Refresh();
  }
  if (const auto client = client_.lock()) client->Refresh();
}

bool ProgressServer::InPrimarySet(const ProgressControlSink* control) const {
  const auto controls = Controls(primary_);
  return std::any_of(controls.begin(), controls.end(),
                     [control](const auto& registered) { return registered.get() == control; });
}

std::array<std::shared_ptr<ProgressControlSink>, 7> ProgressServer::Controls(
    const ControlSet& set) {
  return {set.progressBar.lock(),  set.textProgressBar.lock(), set.slider.lock(),
          set.statusLabel.lock(),  set.statusTextBox.lock(),   set.detailLabel.lock(),
          set.detailTextBox.lock()};
}

ProgressServer::ControlSet& ProgressServer::Active() { return swapped_ ? alternate_ : primary_; }

const ProgressServer::ControlSet& ProgressServer::Active() const {
  return swapped_ ? alternate_ : primary_;
}

}  // namespace quendrel
