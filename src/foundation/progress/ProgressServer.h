// The progress channel of one window: long operations report status, detail and position through
// it, and it shows them on whichever of the window's controls are registered and still alive.
#pragma once

#include "foundation/progress/ProgressBarSink.h"
#include "foundation/progress/ProgressClientSink.h"
#include "foundation/progress/ProgressIndicatorSink.h"
#include "foundation/progress/ProgressLabelSink.h"
#include "foundation/progress/ProgressSliderSink.h"
#include "foundation/progress/ProgressTextBarSink.h"
#include "foundation/progress/ProgressTextBoxSink.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace quendrel {

class ProgressServer {
 public:
  // Indicator backgrounds, 0x00BBGGRR: green while a drive request is on the wire, red after it.
  static constexpr std::uint32_t IndicatorGreen = 0x00FF00;
  static constexpr std::uint32_t IndicatorRed = 0x0000FF;

  // ProgressTextType values: leave the text bar's own text alone, or show Prefix and a percentage.
  static constexpr std::int16_t TextTypeNone = 0;
  static constexpr std::int16_t TextTypePercent = 1;

  // Any control may be nullptr. Controls are held weakly: one destroyed during a long operation
  // counts as absent from then on.
  void SetupPrimary(const std::shared_ptr<ProgressBarSink>& progressBar,
                    const std::shared_ptr<ProgressTextBarSink>& textProgressBar,
                    const std::shared_ptr<ProgressSliderSink>& slider,
                    const std::shared_ptr<ProgressLabelSink>& statusLabel,
                    const std::shared_ptr<ProgressTextBoxSink>& statusTextBox,
                    const std::shared_ptr<ProgressLabelSink>& detailLabel,
                    const std::shared_ptr<ProgressTextBoxSink>& detailTextBox, std::int32_t min,
                    std::int32_t max, std::int32_t progress);
  void SetupSecondary(const std::shared_ptr<ProgressBarSink>& progressBar,
                      const std::shared_ptr<ProgressTextBarSink>& textProgressBar,
                      const std::shared_ptr<ProgressSliderSink>& slider,
                      const std::shared_ptr<ProgressLabelSink>& statusLabel,
                      const std::shared_ptr<ProgressTextBoxSink>& statusTextBox,
                      const std::shared_ptr<ProgressLabelSink>& detailLabel,
                      const std::shared_ptr<ProgressTextBoxSink>& detailTextBox, std::int32_t min,
                      std::int32_t max, std::int32_t progress);

  void SetClient(const std::shared_ptr<ProgressClientSink>& client);
  std::shared_ptr<ProgressClientSink> Client() const;
  void SetLabelIndicator(const std::shared_ptr<ProgressIndicatorSink>& indicator);
  void Green();
  void Red();

  // The setters below act on the alternate set while Swapped is True, else on the primary set.
  void SetStatus(const std::string& text);
  void SetDetail(const std::string& text);
  // Prefix is the text before the percentage over the text progress bar.
  void SetPrefix(const std::string& prefix);
  void SetProgressTextType(std::int16_t type);
  std::int32_t Min() const;
  void SetMin(std::int32_t min);
  std::int32_t Max() const;
  void SetMax(std::int32_t max);
  // Progress keeps what was written, even outside Min..Max; only the display is clamped.
  std::int32_t Progress() const;
  void SetProgress(std::int32_t progress);

  bool Swapped() const;
  void SetSwapped(bool swapped);
  // Controls the alternate set shares with the primary set are left as they are.
  void ShowAlternate();
  void HideAlternate();

  // The active set's text progress bar, or nullptr.
  std::shared_ptr<ProgressTextBarSink> tpbProgress() const;
  // The window's detail text box: the primary set's, else the alternate set's, or nullptr.
  std::shared_ptr<ProgressTextBoxSink> TextboxDetail() const;

  // 0 while an operation runs; a window writes 2 to stop or -1 to cancel, the operation polls it.
  std::int16_t state() const;
  void SetState(std::int16_t state);
  bool Semaphore() const;
  void SetSemaphore(bool semaphore);
  bool SimpleMessages() const;
  void SetSimpleMessages(bool simpleMessages);

 private:
  struct ControlSet {
    std::weak_ptr<ProgressBarSink> progressBar;
    std::weak_ptr<ProgressTextBarSink> textProgressBar;
    std::weak_ptr<ProgressSliderSink> slider;
    std::weak_ptr<ProgressLabelSink> statusLabel;
    std::weak_ptr<ProgressTextBoxSink> statusTextBox;
    std::weak_ptr<ProgressLabelSink> detailLabel;
    std::weak_ptr<ProgressTextBoxSink> detailTextBox;
    std::int32_t min = 0;
    std::int32_t max = 100;
    std::int32_t progress = 0;
    std::string prefix;
    std::int16_t textType = TextTypeNone;
  };

  static void Register(ControlSet& set, const std::shared_ptr<ProgressBarSink>& progressBar,
                       const std::shared_ptr<ProgressTextBarSink>& textProgressBar,
                       const std::shared_ptr<ProgressSliderSink>& slider,
                       const std::shared_ptr<ProgressLabelSink>& statusLabel,
                       const std::shared_ptr<ProgressTextBoxSink>& statusTextBox,
                       const std::shared_ptr<ProgressLabelSink>& detailLabel,
                       const std::shared_ptr<ProgressTextBoxSink>& detailTextBox, std::int32_t min,
                       std::int32_t max, std::int32_t progress);
  static void ShowPosition(const ControlSet& set);
  static std::string PercentText(const ControlSet& set);
  static std::array<std::shared_ptr<ProgressControlSink>, 7> Controls(const ControlSet& set);
  void PaintIndicator(std::uint32_t colour);
  void ShowAlternateControls(bool visible);
  bool InPrimarySet(const ProgressControlSink* control) const;
  ControlSet& Active();
  const ControlSet& Active() const;

  ControlSet primary_;
  ControlSet alternate_;
  std::weak_ptr<ProgressClientSink> client_;
  std::weak_ptr<ProgressIndicatorSink> indicator_;
  bool swapped_ = false;
  std::int16_t state_ = 0;
  bool semaphore_ = false;
  bool simpleMessages_ = false;
};

}  // namespace quendrel
