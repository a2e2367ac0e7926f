// The drive connection of one built-in call: the script's own context when it has one, otherwise a
// context opened from the script's address and timeout for this call alone.
#pragma once

#include <memory>

namespace quendrel {

class GIOContext;
class IFlashCommandFile;

class CallConnection {
 public:
  explicit CallConnection(const IFlashCommandFile& ffile);
  // Lets go of an opened context; the script's own is left as it is.
  ~CallConnection() = default;
  CallConnection(const CallConnection&) = delete;
  CallConnection& operator=(const CallConnection&) = delete;

  // nullptr when the script has no context and no registry to open one on.
  GIOContext* Context() const { return context_.get(); }

 private:
  std::shared_ptr<GIOContext> context_;
};

}  // namespace quendrel
