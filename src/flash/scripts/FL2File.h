// A loaded version-2 flash script: its lowered statements, run one per step.
#pragma once

#include "flash/scripts/FL2Loader.h"
#include "flash/scripts/FlashCommandFileBase.h"
#include "flash/scripts/StatementTrees.h"

namespace quendrel {

class FL2File : public FlashCommandFileBase {
 public:
  explicit FL2File(ScriptEnvironment environment = ScriptEnvironment::Global());

  std::int16_t ProgramLength() const override { return static_cast<std::int16_t>(statements_.Size()); }
  // Disk (relative to WorkingFolder) first, then the package. A name found in neither raises
  // RuntimeError -10427; a syntax error returns false after telling the user.
  bool LoadFile(const std::string& fileName) override;
  // The same from text already read.
  bool LoadText(const std::string& text);
  dfResponseCodes singleStep() override;

  // The tree of the statement at index (1-based) as it runs.
  ParseTreeNodePtr StatementTree(std::int32_t index);

 protected:
  bool IsEmptyStatement(std::int32_t index) const override;
  std::string StatementText(std::int32_t index) const override;
  bool GuardsNextStatement(std::int32_t index) const override;

 private:
  ScriptProgram statements_;
  StatementTrees trees_;
};

}  // namespace quendrel
