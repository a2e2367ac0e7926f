#include "comms/functions/DriveFunctionTemplate.h"

#include "comms/functions/TemplateCommand.h"
#include "foundation/values/RuntimeError.h"

namespace quendrel {

namespace {

const udtTemplateItem& ItemAt(const std::vector<udtTemplateItem>& items, int index) {
  if (index < 1 || index > static_cast<int>(items.size())) {
    throw RuntimeError(9, "DriveFunctionTemplate", "Subscript out of range");
  }
  return items[static_cast<std::size_t>(index - 1)];
}

}  // namespace

const udtTemplateItem& DriveFunctionTemplate::Parameter(int i) const { return ItemAt(definition_.parameters, i); }

const udtTemplateItem& DriveFunctionTemplate::ReturnValue(int j) const { return ItemAt(definition_.returns, j); }

void DriveFunctionTemplate::RunCommand(udtTemplateCallInfo& callinfo, GIOContext& gc,
                                       ProgressServer* progpram) const {
  TemplateCommand(*this, callinfo, gc, progpram).Run();
}

}  // namespace quendrel
