#include "platform/qt/GuardSlot.h"

#include <string>

#include "platform/NumberedError.h"
#include "platform/UiServices.h"

namespace quendrel {

void ReportUnexpectedError(const std::exception& error) {
  // A run-time error carries the number users quote when they report it.
  if (const auto* numbered = dynamic_cast<const NumberedError*>(&error)) {
    Ui().MsgBox("Run-time error '" + std::to_string(numbered->Number()) + "':\n\n" + numbered->what(),
                vbCritical, "");
    return;
  }
  Ui().MsgBox(std::string("Unexpected error:\n\n") + error.what(), vbCritical, "");
}

void ReportUnknownError() { Ui().MsgBox("Unexpected error of an unknown kind.", vbCritical, ""); }

}  // namespace quendrel
