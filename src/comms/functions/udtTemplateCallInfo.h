// One call of a drive function: its arguments, where its report goes, and its outcome.
#pragma once

#include <memory>
#include <string>

#include "comms/functions/ScriptPackage.h"
#include "comms/functions/TextFeedback.h"
#include "comms/functions/dfResponseCodes.h"
#include "foundation/values/qovArrayList.h"

namespace quendrel {

struct udtTemplateCallInfo {
  // The arguments in request-item order, taken from the front; texts may still carry their quotes.
  qovArrayList talParameters;
  // Held weakly: a window that closes during a long transfer ends it, and nothing is written to it.
  std::weak_ptr<TextFeedback> tbFeedback;
  bool showRequest = false;
  // With showRequest: the raw request bytes instead of one line per item.
  bool showRaw = false;
  dfResponseCodes rcResponse = dfResponseOK;
  // The decoded reply values, joined by ", ".
  std::string strReturn;
  // The package of the running script, or none.
  std::shared_ptr<const ScriptPackage> ffile;
};

}  // namespace quendrel
