#include "editors/AskSaveChanges.h"

#include "foundation/OptOutMsgBox.h"
#include "platform/UiServices.h"

namespace quendrel {

bool AskSaveChanges(const std::function<bool()>& save) {
  const int answer = OptOutMsgBox("Save your changes before closing the current file?", "Unsaved Parameter Data",
                                  vbYesNoCancel | vbQuestion, "UnsavedData", true);
  if (answer == OptOutYes) return save();
  return answer == OptOutNo;
}

}  // namespace quendrel
