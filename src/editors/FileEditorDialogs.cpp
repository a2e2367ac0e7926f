#include "editors/FileEditorDialogs.h"

#include "foundation/files/BrowseForFile.h"
#include "foundation/files/PathText.h"
#include "foundation/settings/OptOutMsgBox.h"
#include "params/files/KVBFile.h"
#include "platform/UiServices.h"

namespace quendrel {

std::string SaveChangesTitle(const std::string& window, const std::string& file) {
  const std::string name = GetPathFileName(file);
  return window + " - " + (name.empty() ? std::string("Untitled") : name);
}

bool AskSaveChanges(const std::string& window, const std::string& file, const std::function<bool()>& save) {
  const int answer = OptOutMsgBox("Save your changes before closing the current file?", SaveChangesTitle(window, file),
                                  vbYesNoCancel | vbQuestion, "UnsavedData", true);
  if (answer == OptOutYes) return save();
  return answer == OptOutNo;
}

std::string SaveSetAs(const KVBFile& set, const std::string& title, bool onlyWorkFlagged) {
  const std::string path = BrowseForFile(true, ParameterFileFilter, 1, title, "");
  if (path.empty()) return path;
  const ReplaceFileResult saved = set.SaveKVBFile(path, onlyWorkFlagged);
  if (saved) return path;
  ShowSaveFailure(path, saved.Reason);
  return "";
}

void ShowSaveFailure(const std::string& path, const std::string& reason) {
  Ui().MsgBox(path + " could not be saved: " + reason + ".", vbExclamation, "File save error");
}

}  // namespace quendrel
