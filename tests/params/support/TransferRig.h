// A simulated drive on a pseudo-terminal, a registry whose serial module talks to it, a context at
// address 1 and a progress channel, with the simulated drive's compatibility file loaded as the
// program's own: everything an upload or download test needs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "drivesim/DriveSimProcess.h"
#include "foundation/progress/ProgressServer.h"
#include "params/compatibility/FirmwareInformationTemplate.h"

namespace quendrel {

// A progress label that keeps every caption it was given.
class RecordingLabel : public ProgressLabelSink {
 public:
  void SetVisible(bool) override {}
  void Refresh() override {}
  void SetCaption(const std::string& caption) override { Captions.push_back(caption); }
  std::vector<std::string> Captions;
};

class TransferRig {
 public:
  // Short, so a lost drive costs little, and long enough for a loaded machine.
  static constexpr double kTimeout = 0.4;

  explicit TransferRig(std::vector<std::string> simulatorArguments = {});
  ~TransferRig();
  TransferRig(const TransferRig&) = delete;
  TransferRig& operator=(const TransferRig&) = delete;

  // [General] Retries, which the transfers read when they start.
  void SetRetries(int retries);

  DriveSimProcess& Sim() { return *sim_; }
  GIOServer& Server() { return server_; }
  GIOContext& Context() { return *context_; }
  ProgressServer& Progress() { return progress_; }
  // A copy of the drive's 2.105 template, installed as the program's only one for the test to edit.
  std::shared_ptr<FirmwareInformationTemplate> OwnTemplate();
  // What the transfer showed as status and as detail.
  const std::vector<std::string>& StatusTexts() const { return status_->Captions; }
  const std::vector<std::string>& DetailTexts() const { return detail_->Captions; }

 private:
  std::unique_ptr<DriveSimProcess> sim_;
  GIOServer server_;
  std::shared_ptr<GIOContext> context_;
  ProgressServer progress_;
  std::shared_ptr<RecordingLabel> status_ = std::make_shared<RecordingLabel>();
  std::shared_ptr<RecordingLabel> detail_ = std::make_shared<RecordingLabel>();
};

// Client-to-drive requests taken apart from the bytes the simulator received.
struct SentRequest {
  std::uint8_t Function = 0;
  std::int32_t Parameter = 0;
  std::int16_t Value = 0;  // WriteValue only
};
std::vector<SentRequest> SplitRequests(const std::string& bytes);
// The requests of one function.
std::vector<SentRequest> RequestsOf(const std::string& bytes, std::uint8_t function);

}  // namespace quendrel
