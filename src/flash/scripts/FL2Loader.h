// Reads the text of a version-2 script into statements, registers its labels and lowers its blocks
// and loops into labels and jumps; makes the tree of a statement so lowered when it is to run.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "flash/language/ParseTreeNode.h"
#include "flash/scripts/ScriptProgram.h"

namespace quendrel {

class ParseEngine;
class UiServices;

using LabelMap = std::map<std::string, std::int32_t>;

class FL2Loader {
 public:
  // The labels are the script object's: they stay across loads and receive the new ones.
  FL2Loader(ParseEngine& parser, UiServices& ui, LabelMap& labels);

  // The lowered statements, or nothing after a syntax error or when the script holds more
  // statements than a script may (the user has been told). Statements are counted before any is
  // parsed, so a script far too long is refused at once.
  std::optional<ScriptProgram> LoadFL2(const std::string& text);
  // Every statement parsed, none lowered; nothing after a syntax error (the user has been told
  // what the parser says, not the loader's own box).
  std::optional<ScriptProgram> ReadStatements(const std::string& text);

  // Registers labels and lowers blocks in place; false when a block or loop is malformed or the
  // lowered script holds more statements than a script may (the labels are then left alone).
  bool PostParse(ScriptProgram& program);

  // The tree of the statement at index as the lowering left it; nothing when its text no longer
  // parses.
  static ParseTreeNodePtr StatementTree(const ScriptProgram& program, int index, ParseEngine& parser);

  // The statement-body of a statement tree, or nothing for a statement without one.
  static ParseTreeNodePtr PPHelperGetBody(const ParseTreeNodePtr& node);
  // The index of the block end matching the block start at start (1-based), or 0.
  static int PPHelperGetBlockEnd(const ScriptProgram& program, int start);

 private:
  bool Lower(ScriptProgram& program, int i);
  bool LowerBlock(ScriptProgram& program, int i, bool loop);
  void LowerSingleLoop(ScriptProgram& program, int i);
  void InsertJump(ScriptProgram& program, int label, int index);
  // The number of a new "autolabel" name.
  int NewLabel();
  bool SyntaxError();

  ParseEngine& parser_;
  UiServices& ui_;
  LabelMap& labels_;
  // The labels while lowering, the script's own ones included.
  LabelMap working_;
  int nextLabel_ = 0;
};

}  // namespace quendrel
