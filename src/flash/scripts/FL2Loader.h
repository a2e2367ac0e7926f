// Reads the text of a version-2 script into statement trees, registers its labels and lowers its
// blocks and loops into labels and jumps.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "flash/language/ParseTreeNode.h"

namespace quendrel {

class ParseEngine;
class UiServices;

using StatementList = std::vector<ParseTreeNodePtr>;
using LabelMap = std::map<std::string, std::int32_t>;

class FL2Loader {
 public:
  // The labels are the script object's: they stay across loads and receive the new ones.
  FL2Loader(ParseEngine& parser, UiServices& ui, LabelMap& labels);

  // The lowered statements, or nothing after a syntax error (the user has been told).
  std::optional<StatementList> LoadFL2(const std::string& text);

  // Registers labels and lowers blocks in place; false when a block or loop is malformed or the
  // lowered script holds more statements than a script may (the labels are then left alone).
  bool PostParse(StatementList& list);

  // The statement-body of a statement tree, or nothing for a statement without one.
  static ParseTreeNodePtr PPHelperGetBody(const ParseTreeNodePtr& node);
  // The index of the block end matching the block start at start (1-based), or 0.
  static int PPHelperGetBlockEnd(const StatementList& list, int start);

 private:
  bool Lower(StatementList& list, int i);
  bool LowerBlock(StatementList& list, int i, ParseTreeNode& call, bool loop);
  void LowerSingleLoop(StatementList& list, int i, ParseTreeNode& call);
  int InsertStatement(StatementList& list, ParseTreeNodePtr node, int index);
  std::string NewLabel();
  bool SyntaxError();

  ParseEngine& parser_;
  UiServices& ui_;
  LabelMap& labels_;
  // The labels while lowering, the script's own ones included.
  LabelMap working_;
  // Loop headers already lowered, whose targets move when a statement is inserted before them.
  std::vector<ParseTreeNodePtr> headers_;
  int nextLabel_ = 0;
};

}  // namespace quendrel
