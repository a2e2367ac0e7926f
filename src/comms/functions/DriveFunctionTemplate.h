// One drive function: its code, its typed request and reply fields, and how it runs on a drive.
#pragma once

#include <string>
#include <vector>

#include "comms/functions/udtTemplateCallInfo.h"
#include "comms/functions/udtTemplateItem.h"

namespace quendrel {

class GIOContext;
class ProgressServer;

class DriveFunctionTemplate {
 public:
  // What a drive's error answer to the function means for a script.
  enum class ErrorMeaning { General, EraseFailed, ProgramFailed };

  struct Definition {
    std::string name;
    std::string description;
    int code = 0;
    // Handled by its own code instead of the generic encoder.
    bool special = false;
    ErrorMeaning onError = ErrorMeaning::General;
    std::vector<udtTemplateItem> parameters;
    std::vector<udtTemplateItem> returns;
  };

  explicit DriveFunctionTemplate(Definition definition) : definition_(std::move(definition)) {}

  const std::string& Name() const { return definition_.name; }
  const std::string& Description() const { return definition_.description; }
  bool Special() const { return definition_.special; }
  int Code() const { return definition_.code; }
  ErrorMeaning OnError() const { return definition_.onError; }
  // The file transfer: the one function that lets the program's events run while it runs, between
  // its packets.
  bool LetsEventsRun() const { return definition_.special && definition_.name == "WriteFileToBuffer"; }
  int Parameters() const { return static_cast<int>(definition_.parameters.size()); }
  int Returns() const { return static_cast<int>(definition_.returns.size()); }
  // 1-based; raises run-time error 9 outside 1..Parameters() (Returns()).
  const udtTemplateItem& Parameter(int i) const;
  const udtTemplateItem& ReturnValue(int j) const;
  const std::vector<udtTemplateItem>& ParameterItems() const { return definition_.parameters; }
  const std::vector<udtTemplateItem>& ReturnItems() const { return definition_.returns; }

  // Runs the function on gc (which stays open): encodes the arguments, sends the request, decodes
  // the reply, sets rcResponse and strReturn and writes the report. The progress service may be null.
  void RunCommand(udtTemplateCallInfo& callinfo, GIOContext& gc, ProgressServer* progpram) const;

 private:
  Definition definition_;
};

}  // namespace quendrel
