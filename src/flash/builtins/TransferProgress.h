// The progress of a parameter-file transfer a script runs: the channel drives its alternate controls
// and the window shows its file-transfer controls while the transfer runs, and however the transfer
// ends the channel goes back to its primary controls with the alternate ones hidden.
#pragma once

#include <memory>
#include <string>

namespace quendrel {

class IFlashCommandFile;
class ProgressServer;

class TransferProgress {
 public:
  // Without a channel the transfer reports into a private one, which nobody shows.
  TransferProgress(IFlashCommandFile& ffile, ProgressServer* prog, const std::string& prefix,
                   const std::string& status);
  ~TransferProgress();
  TransferProgress(const TransferProgress&) = delete;
  TransferProgress& operator=(const TransferProgress&) = delete;

  ProgressServer& Server() { return server_; }
  // The alternate controls and the window's file-transfer controls appear.
  void ShowControls();
  // Hides them again, shows the final status (when given) and hands the channel back; only the first
  // call acts, and the destructor makes it when nobody did.
  void Finish(const std::string& status = {});

 private:
  std::unique_ptr<ProgressServer> private_;
  ProgressServer& server_;
  IFlashCommandFile& ffile_;
  bool shown_ = false;
  bool finished_ = false;
};

}  // namespace quendrel
