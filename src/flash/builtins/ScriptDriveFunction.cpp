#include "flash/builtins/ScriptDriveFunction.h"

#include <memory>

#include "comms/functions/DriveFunctionTemplate.h"
#include "comms/functions/FunctionTemplates.h"
#include "comms/functions/udtTemplateCallInfo.h"
#include "flash/builtins/CallConnection.h"
#include "flash/scripts/IFlashCommandFile.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

dfResponseCodes AskAboutUnknownName(UiServices& ui, const std::string& name) {
  const std::string prompt =
      "ERROR processing the following parameter48\n\n" + name + "\n\nSELECT WHAT YOU WISH TO DO ";
  switch (ui.MsgBox(prompt, vbAbortRetryIgnore, "DRIVE FLASH")) {
    case vbRetry:
      return dfResponseRetry;
    case vbIgnore:
      return dfResponseIgnore;
    default:
      return dfResponseAbort;
  }
}

}  // namespace

Variant ScriptDriveFunction::CallDriveFunction(IFlashCommandFile& ffile, const std::string& name,
                                               const ScriptValueList& values, dfResponseCodes& ErrCode,
                                               ProgressServer* prog) {
  const std::shared_ptr<DriveFunctionTemplate> function = FindFunctionTemplate(name);
  if (!function) {
    ErrCode = AskAboutUnknownName(*ffile.Environment().ui, name);
    return Variant();
  }
  CallConnection connection(ffile);
  if (connection.Context() == nullptr) {
    ErrCode = dfResponseGeneralError;
    return Variant(false);
  }
  udtTemplateCallInfo call;
  for (const Variant& value : values) call.talParameters.append(value);
  // The script outlives the call, so the record only borrows it.
  call.ffile = std::shared_ptr<const ScriptPackage>(std::shared_ptr<const ScriptPackage>(), &ffile);
  function->RunCommand(call, *connection.Context(), prog);
  ErrCode = call.rcResponse;
  return Variant(call.rcResponse == dfResponseOK || call.rcResponse == dfResponseJump);
}

}  // namespace quendrel
