// Control fakes that remember what was shown. `painted` is false from a change until the next
// Refresh, so a test sees whether every change reached the screen.
#pragma once

#include "foundation/progress/ProgressBarSink.h"
#include "foundation/progress/ProgressClientSink.h"
#include "foundation/progress/ProgressIndicatorSink.h"
#include "foundation/progress/ProgressLabelSink.h"
#include "foundation/progress/ProgressSliderSink.h"
#include "foundation/progress/ProgressTextBarSink.h"
#include "foundation/progress/ProgressTextBoxSink.h"

#include <cstdint>
#include <string>
#include <utility>

namespace quendrel::testing {

template <class Sink>
class FakeControl : public Sink {
 public:
  void SetVisible(bool visible) override {
    this->visible = visible;
    Changed();
  }
  void Refresh() override {
    ++refreshes;
    painted = true;
  }

  bool visible = true;
  bool painted = true;
  int refreshes = 0;

 protected:
  void Changed() { painted = false; }
};

template <class Sink>
class FakeRangeControl : public FakeControl<Sink> {
 public:
  void SetRange(std::int32_t min, std::int32_t max) override {
    this->min = min;
    this->max = max;
    this->Changed();
  }
  void SetValue(std::int32_t value) override {
    this->value = value;
    this->Changed();
  }

  std::int32_t min = -1;
  std::int32_t max = -1;
  std::int32_t value = -1;
};

using FakeBar = FakeRangeControl<ProgressBarSink>;
using FakeSlider = FakeRangeControl<ProgressSliderSink>;

class FakeTextBar : public FakeRangeControl<ProgressTextBarSink> {
 public:
  explicit FakeTextBar(std::string fixedText = "") : text(std::move(fixedText)) {}
  void SetText(const std::string& text) override {
    this->text = text;
    Changed();
  }
  std::string text;
};

class FakeLabel : public FakeControl<ProgressLabelSink> {
 public:
  void SetCaption(const std::string& caption) override {
    this->caption = caption;
    Changed();
  }
  std::string caption;
};

class FakeTextBox : public FakeControl<ProgressTextBoxSink> {
 public:
  void SetText(const std::string& text) override {
    this->text = text;
    Changed();
  }
  std::string text;
};

class FakeIndicator : public FakeControl<ProgressIndicatorSink> {
 public:
  void SetBackColor(std::uint32_t colour) override {
    backColor = colour;
    Changed();
  }
  std::uint32_t backColor = 0xFFFFFFFF;
};

class FakeClient : public ProgressClientSink {
 public:
  void Refresh() override { ++refreshes; }
  int refreshes = 0;
};

}  // namespace quendrel::testing
