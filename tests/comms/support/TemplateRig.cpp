#include "comms/support/TemplateRig.h"

#include <gtest/gtest.h>

#include "comms/functions/FunctionTemplateParser.h"
#include "comms/functions/FunctionTemplates.h"
#include "comms/server/DrivePdu.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"

namespace quendrel {

TemplateRig::TemplateRig() : server_(SystemClockInstance()) {
  ResetConfig();
  Config().SetValue("Retries", "General", "1");
  module_ = static_cast<FakeModule*>(&server_.RegisterModule(std::make_unique<FakeModule>()));
  server_.SelectModule("Fake");
  context_ = server_.OpenContext(1, 1.0F);
  EXPECT_TRUE(LoadFunctionTemplates());
}

TemplateRig::~TemplateRig() {
  FunctionTemplates().RemoveAll();
  ResetConfig();
}

udtTemplateCallInfo TemplateRig::RunTemplate(const DriveFunctionTemplate& function,
                                             const std::vector<Variant>& arguments, bool showRequest,
                                             bool showRaw) {
  udtTemplateCallInfo call;
  for (const Variant& argument : arguments) call.talParameters.append(argument);
  call.tbFeedback = feedback_;
  call.showRequest = showRequest;
  call.showRaw = showRaw;
  function.RunCommand(call, *context_, nullptr);
  return call;
}

udtTemplateCallInfo TemplateRig::Run(const std::string& name, const std::vector<Variant>& arguments,
                                     bool showRequest, bool showRaw) {
  const auto function = FindFunctionTemplate(name);
  EXPECT_NE(function, nullptr) << name;
  if (!function) return {};
  return RunTemplate(*function, arguments, showRequest, showRaw);
}

udtTemplateCallInfo TemplateRig::RunText(const std::string& text, const std::vector<Variant>& arguments) {
  const auto parsed = FunctionTemplateParser::Parse(text);
  EXPECT_TRUE(parsed.Loaded()) << parsed.error;
  if (parsed.templates.empty()) return {};
  return RunTemplate(*parsed.templates[0], arguments);
}

std::string TemplateRig::LastPayload() const {
  return module_->sent.empty() ? std::string() : module_->sent.back().request.text;
}

std::uint8_t TemplateRig::LastFunction() const {
  return module_->sent.empty() ? 0 : DrivePdu::FunctionCode(module_->sent.back().request);
}

}  // namespace quendrel
