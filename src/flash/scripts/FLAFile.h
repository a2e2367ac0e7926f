// A loaded version-1 flash script: each command line translated at load time into a version-2
// statement text, parsed and run one per step.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "flash/scripts/FlashCommandFileBase.h"

namespace quendrel {

class FLAFile : public FlashCommandFileBase {
 public:
  explicit FLAFile(ScriptEnvironment environment = ScriptEnvironment::Global());

  std::int16_t ProgramLength() const override { return static_cast<std::int16_t>(statements_.size()); }
  // Disk (relative to WorkingFolder) first, then the package. A name found in neither raises
  // RuntimeError 427. Translation never fails; a script of more lines than ProgramLength can count
  // is refused (the user is told) and returns false.
  bool LoadFile(const std::string& fileName) override;
  // The same from text already read.
  bool LoadText(const std::string& text);
  // Unlike a version-2 script, a step reports dfResponseSkipLine as it stands and leaves the
  // progress detail line alone; a statement that does not parse fails without moving the PC, so a
  // retry runs it again.
  dfResponseCodes singleStep() override;

  const std::vector<std::string>& Statements() const { return statements_; }

 protected:
  bool IsEmptyStatement(std::int32_t index) const override { return At(index).empty(); }
  std::string StatementText(std::int32_t index) const override { return At(index); }

 private:
  const std::string& At(std::int32_t index) const { return statements_[static_cast<std::size_t>(index - 1)]; }
  // The statement's code; nothing when its text does not parse.
  std::optional<dfResponseCodes> Execute(std::int32_t pc);
  // Shows the PC on the progress bar.
  dfResponseCodes Report(dfResponseCodes code);

  std::vector<std::string> statements_;
};

}  // namespace quendrel
