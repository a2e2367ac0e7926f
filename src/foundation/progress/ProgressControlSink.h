// What every window control that a ProgressServer drives can do: appear, disappear and repaint.
#pragma once

namespace quendrel {

class ProgressControlSink {
 public:
  virtual ~ProgressControlSink() = default;

  virtual void SetVisible(bool visible) = 0;
  // Paints the control at once, without running the message pump.
  virtual void Refresh() = 0;
};

}  // namespace quendrel
