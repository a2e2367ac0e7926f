#include "platform/qt/GuardSlot.h"

#include <string>

#include "foundation/RuntimeError.h"
#include "platform/UiServices.h"

namespace quendrel {

void ReportUnexpectedError(const std::exception& error) {
  // A run-time error carries the number users quote when they report it.
  if (const auto* runtime = dynamic_cast<const RuntimeError*>(&error)) {
    Ui().MsgBox("Run-time error '" + std::to_string(runtime->Number()) + "':\n\n" + runtime->Description(),
                vbCritical, "");
    return;
  }
  Ui().MsgBox(std::string("Unexpected error:\n\n") + error.what(), vbCritical, "");
}

void ReportUnknownError() { Ui().MsgBox("Unexpected error of an unknown kind.", vbCritical, ""); }

}  // namespace quendrel
