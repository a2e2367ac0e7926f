// Runs one drive function from its template: takes the arguments, sends the request on a context,
// decodes the reply, and reports both to the feedback box and the progress service.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "comms/functions/DriveFunctionTemplate.h"
#include "comms/functions/DriveReport.h"
#include "comms/functions/udtTemplateCallInfo.h"
#include "comms/server/udtDriveResponse.h"

namespace quendrel {

class GIOContext;
class ProgressServer;

class TemplateCommand {
 public:
  TemplateCommand(const DriveFunctionTemplate& function, udtTemplateCallInfo& call, GIOContext& gc,
                  ProgressServer* progress);
  void Run();

 private:
  // One argument text per request item, from the front of the list; false (reported) when it runs out.
  bool TakeArguments();
  std::optional<std::string> ArgumentText(const udtTemplateItem& item, const Variant& argument) const;
  std::string EncodeRequest() const;
  std::optional<std::string> SpecialRequest() const;
  // Parameter services go through the context's retry and legacy policy, anything else as it is.
  udtDriveResponse Send(const std::string& payload);
  void Conclude(udtDriveResponse response);
  // The reply items into the report and strReturn; false when the reply is too short for them.
  bool DecodeReply(const udtDriveResponse& response);
  void ReportRequest(const udtDriveResponse& response);
  dfResponseCodes ResultOf(const udtDriveResponse& response) const;
  void Fail(dfResponseCodes code, const std::string& line);
  void Publish(const std::string& trailer = {});
  void ProcessorReset();
  void WriteFileToBuffer();
  std::optional<std::string> NamedFileText(const std::string& path) const;
  // The window closed or the user stopped the run.
  bool Interrupted() const;

  const DriveFunctionTemplate& function_;
  udtTemplateCallInfo& call_;
  GIOContext& gc_;
  ProgressServer* progress_;
  std::vector<std::string> arguments_;
  DriveReport report_;
  bool hadFeedback_ = false;
};

}  // namespace quendrel
