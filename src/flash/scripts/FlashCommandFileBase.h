// What every script format shares: settings, variables, labels, the program counter's rules, the
// log, temporary files and the folder relative paths are taken from.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "flash/scripts/IFlashCommandFile.h"
#include "foundation/files/LogFile.h"

namespace quendrel {

class FlashCommandFileBase : public IFlashCommandFile {
 public:
  explicit FlashCommandFileBase(ScriptEnvironment environment);
  // Deletes the temporary files the script registered and closes the log.
  ~FlashCommandFileBase() override;
  FlashCommandFileBase(const FlashCommandFileBase&) = delete;
  FlashCommandFileBase& operator=(const FlashCommandFileBase&) = delete;

  std::string Result() const override { return result_; }
  void SetResult(const Variant& value) override { result_ = value.AsText(); }
  ProgressServer* Progress() const override { return progress_; }
  void SetProgress(ProgressServer* progress) override { progress_ = progress; }
  float Timeout() const override { return timeout_; }
  void SetTimeout(float seconds) override;
  std::uint8_t Address() const override { return address_; }
  void SetAddress(std::uint8_t address) override;
  std::int32_t Label(const std::string& key) const override;
  void SetLabel(const std::string& key, std::int32_t index) override { labels_[key] = index; }
  bool VarExists(const std::string& name) const override { return variables_.count(name) != 0; }
  Variant Variable(const std::string& name) const override;
  void SetVariable(const std::string& name, const Variant& value) override { variables_[name] = value; }
  std::int32_t PC() const override { return pc_; }
  void SetPC(std::int32_t pc) override;
  std::string CommandData(std::int32_t) const override { return {}; }
  std::string CommandString(std::int32_t pc) const override;
  bool IsSafe() const override { return true; }
  std::shared_ptr<GIOContext> Context() const override { return context_; }
  void SetContext(std::shared_ptr<GIOContext> context) override;
  std::shared_ptr<const ScriptArchive> Archive() const override { return archive_; }
  void SetArchive(std::shared_ptr<const ScriptArchive> archive) override { archive_ = std::move(archive); }
  std::string logFile() const override { return logPath_; }
  void SetlogFile(const std::string& path) override;
  std::vector<ParseTreeNodePtr>& LoopStack() override { return loopStack_; }
  bool NoErrors() const override { return noErrors_; }
  void SetNoErrors(bool noErrors) override { noErrors_ = noErrors; }
  void AllocateTempFile(const std::string& file) override;
  void Reset() override { pc_ = 1; }
  void Log(const std::string& line) override;
  std::int32_t LastExecuted() const override { return lastExecuted_; }
  std::string WorkingFolder() const override { return workingFolder_; }
  void SetWorkingFolder(const std::string& folder) override;
  const ScriptEnvironment& Environment() const override { return environment_; }
  // Disk (relative to WorkingFolder) first, then the package.
  std::optional<std::string> FileText(const std::string& path) const override;

  std::string ResolvePath(const std::string& path) const override;
  void SetSubProgressHook(SubProgressHook hook) override { subProgress_ = std::move(hook); }
  void ShowSubProgress(bool visible) override {
    if (subProgress_) subProgress_(visible);
  }

 protected:
  // True for a statement a step passes over without running (an emptied block end).
  virtual bool IsEmptyStatement(std::int32_t index) const = 0;
  virtual std::string StatementText(std::int32_t index) const = 0;
  // True for a statement that is an if() call, which skips the next statement when false.
  virtual bool GuardsNextStatement(std::int32_t /*index*/) const { return false; }
  // The text of a script to load: a regular file on disk (relative to WorkingFolder) first, then the
  // package's member; nothing when neither has it. A disk file that cannot be read or is far beyond
  // any script raises RuntimeError 75.
  std::optional<std::string> ScriptText(const std::string& fileName) const;
  void SetPCDirect(std::int32_t pc) { pc_ = pc; }
  void SetLastExecuted(std::int32_t index) { lastExecuted_ = index; }
  // The labels of a new load: the old statements' labels no longer apply.
  std::map<std::string, std::int32_t>& Labels() { return labels_; }
  // Applies the rules every format shares once the statement at ran has run (0: nothing ran): a
  // jump stays put, a failed statement is passed whatever it jumped to, a failed last statement
  // ends the script and reports its failure, and the loops the PC has left leave the loop stack.
  dfResponseCodes Advance(dfResponseCodes code, std::int32_t ran);

 private:
  void DeleteTempFiles();
  void LeaveLoopsNotHolding(std::int32_t pc);

  ScriptEnvironment environment_;
  std::string result_;
  ProgressServer* progress_ = nullptr;
  float timeout_ = 5.0F;
  std::uint8_t address_ = 1;
  std::map<std::string, std::int32_t> labels_;
  std::map<std::string, Variant> variables_;
  std::int32_t pc_ = 0;
  std::int32_t lastExecuted_ = 0;
  std::shared_ptr<GIOContext> context_;
  std::shared_ptr<const ScriptArchive> archive_;
  std::string logPath_;
  LogFile log_;
  std::vector<ParseTreeNodePtr> loopStack_;
  bool noErrors_ = false;
  std::vector<std::string> tempFiles_;
  std::string workingFolder_;
  SubProgressHook subProgress_;
};

}  // namespace quendrel
