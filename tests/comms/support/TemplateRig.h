// A registry whose selected module is a FakeModule, a context on it, and the drive function
// templates loaded, for running drive functions without a drive.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "comms/functions/DriveFunctionTemplate.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "comms/support/FakeModule.h"
#include "comms/support/StringFeedback.h"
#include "foundation/values/Variant.h"

namespace quendrel {

class TemplateRig {
 public:
  TemplateRig();
  ~TemplateRig();

  // Runs the named built-in template with the arguments; the report goes to Feedback().
  udtTemplateCallInfo Run(const std::string& name, const std::vector<Variant>& arguments, bool showRequest = false,
                          bool showRaw = false);
  // Runs a template read from a one-function text.
  udtTemplateCallInfo RunText(const std::string& text, const std::vector<Variant>& arguments);
  udtTemplateCallInfo RunTemplate(const DriveFunctionTemplate& function, const std::vector<Variant>& arguments,
                                  bool showRequest = false, bool showRaw = false);

  // The data bytes of the last request sent.
  std::string LastPayload() const;
  std::uint8_t LastFunction() const;

  FakeModule& Module() { return *module_; }
  GIOContext& Context() { return *context_; }
  StringFeedback& Feedback() { return *feedback_; }
  std::shared_ptr<StringFeedback>& FeedbackHolder() { return feedback_; }

 private:
  GIOServer server_;
  FakeModule* module_ = nullptr;
  std::shared_ptr<GIOContext> context_;
  std::shared_ptr<StringFeedback> feedback_ = std::make_shared<StringFeedback>();
};

}  // namespace quendrel
