// What every Qt progress sink shares: a guarded pointer to its control, which may be destroyed
// mid-operation and is then simply left out, and showing, hiding and repainting that control.
#pragma once

#include <QPointer>

namespace quendrel {

template <typename SinkInterface, typename Control>
class WidgetProgressSink : public SinkInterface {
 public:
  explicit WidgetProgressSink(Control* control) : control_(control) {}

  void SetVisible(bool visible) override {
    if (control_) control_->setVisible(visible);
  }
  void Refresh() override {
    if (control_) control_->repaint();
  }

 protected:
  QPointer<Control> control_;
};

}  // namespace quendrel
