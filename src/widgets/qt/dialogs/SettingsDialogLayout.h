// What the communication settings dialogs share: controls named as the tests and handlers know
// them, and the form laid out over OK and Cancel.
#pragma once

#include <QString>
#include <functional>

class QDialog;
class QFormLayout;

namespace quendrel {

template <typename Control>
Control* Named(Control* control, const char* name) {
  control->setObjectName(QString::fromLatin1(name));
  return control;
}

// OK ("bOK") closes the dialog only when onOk returns true; Cancel ("bCancel") always does.
void LayOutSettingsDialog(QDialog& dialog, QFormLayout* form, std::function<bool()> onOk);

}  // namespace quendrel
