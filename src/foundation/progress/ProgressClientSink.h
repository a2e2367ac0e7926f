// The window that owns a ProgressServer, told when controls of its alternate set appear or vanish.
#pragma once

namespace quendrel {

class ProgressClientSink {
 public:
  virtual ~ProgressClientSink() = default;

  // Repaints the whole window at once (its layout changed), without running the message pump.
  virtual void Refresh() = 0;
};

}  // namespace quendrel
