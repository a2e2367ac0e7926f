// One loaded flash script as everything that runs it sees it, whatever format it was written in.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "comms/functions/ScriptPackage.h"
#include "comms/functions/dfResponseCodes.h"
#include "flash/language/ParseTreeNode.h"
#include "flash/scripts/ScriptEnvironment.h"
#include "foundation/values/Variant.h"

namespace quendrel {

class GIOContext;
class ProgressServer;
class ScriptArchive;

// Statement indexes are 1-based. Drive functions reach the script as their ScriptPackage, so the
// files they name are found where the script's own built-ins find them.
class IFlashCommandFile : public ScriptPackage {
 public:
  ~IFlashCommandFile() override = default;

  virtual std::string Result() const = 0;
  virtual void SetResult(const Variant& value) = 0;
  virtual ProgressServer* Progress() const = 0;
  virtual void SetProgress(ProgressServer* progress) = 0;
  virtual float Timeout() const = 0;
  virtual void SetTimeout(float seconds) = 0;
  virtual std::uint8_t Address() const = 0;
  virtual void SetAddress(std::uint8_t address) = 0;
  // -1 for a label never registered. Full width: a label after a block that ends the longest
  // script names the statement one past its 16-bit ProgramLength.
  virtual std::int32_t Label(const std::string& key) const = 0;
  virtual void SetLabel(const std::string& key, std::int32_t index) = 0;
  virtual bool VarExists(const std::string& name) const = 0;
  virtual Variant Variable(const std::string& name) const = 0;
  virtual void SetVariable(const std::string& name, const Variant& value) = 0;
  virtual std::int16_t ProgramLength() const = 0;
  virtual std::int32_t PC() const = 0;
  // Values outside 1..ProgramLength + 1 are ignored; ProgramLength + 1 means the script has ended.
  virtual void SetPC(std::int32_t pc) = 0;
  virtual std::string CommandData(std::int32_t pc) const = 0;
  virtual std::string CommandString(std::int32_t pc) const = 0;
  virtual bool IsSafe() const = 0;
  virtual std::shared_ptr<GIOContext> Context() const = 0;
  virtual void SetContext(std::shared_ptr<GIOContext> context) = 0;
  virtual std::shared_ptr<const ScriptArchive> Archive() const = 0;
  virtual void SetArchive(std::shared_ptr<const ScriptArchive> archive) = 0;
  virtual std::string logFile() const = 0;
  virtual void SetlogFile(const std::string& path) = 0;
  virtual std::vector<ParseTreeNodePtr>& LoopStack() = 0;
  virtual bool NoErrors() const = 0;
  virtual void SetNoErrors(bool noErrors) = 0;
  virtual void AllocateTempFile(const std::string& file) = 0;
  virtual bool LoadFile(const std::string& fileName) = 0;
  virtual void Reset() = 0;
  virtual dfResponseCodes singleStep() = 0;
  virtual void Log(const std::string& line) = 0;

  // The statement the latest step ran, 0 before any: what a retry runs again.
  virtual std::int32_t LastExecuted() const = 0;
  // Absolute; every relative path the script names is taken from here, never from the process's
  // current directory, which other windows may change under it.
  virtual std::string WorkingFolder() const = 0;
  virtual void SetWorkingFolder(const std::string& folder) = 0;
  virtual const ScriptEnvironment& Environment() const = 0;
  // The path made absolute against WorkingFolder.
  virtual std::string ResolvePath(const std::string& path) const = 0;

  // The running window's file-transfer bar and label: transfers call the hook with true before
  // they start and with false when they end, whatever ends them. No hook, nothing shown.
  using SubProgressHook = std::function<void(bool visible)>;
  virtual void SetSubProgressHook(SubProgressHook hook) = 0;
  virtual void ShowSubProgress(bool visible) = 0;
};

}  // namespace quendrel
