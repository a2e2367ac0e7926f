// The front end of the version-2 script language: statement text in, parse trees out.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "flash/language/ParseLattice.h"
#include "flash/language/ParseTreeNode.h"

namespace quendrel {

class TextStream;

// Owns one lattice and reuses it for every call, so calls must not overlap.
class ParseEngine {
 public:
  // Loads the grammar built into the program (the user is told when it cannot be read).
  ParseEngine();
  // Loads the grammar from the stream; no stream means no grammar, reported like a missing one.
  explicit ParseEngine(std::unique_ptr<TextStream> grammar);

  ParseLattice& lattice() { return lattice_; }
  const ParseLattice& lattice() const { return lattice_; }

  // Inserts ";" after the first ")" that follows each strAfter + " (" (exactly one blank), so a
  // condition and the statement it guards become two statements. String literals are left alone.
  static std::string InsertSemicolons(const std::string& strInput, const std::string& strAfter);

  // The tree of the whole text as the grammar symbol strTarget, or nothing.
  ParseTreeNodePtr ParseSingle(const std::string& strInput, const std::string& strTarget);

  // Splits the text at ";" and braces outside string literals and parses every non-empty piece
  // as a statement; each tree's Value is its piece as cut. After the first piece that does not
  // parse the user is told and the result is nothing.
  std::optional<std::vector<ParseTreeNodePtr>> Parse(const std::string& strInput);
  // The pieces Parse parses, in order.
  static std::vector<std::string> StatementPieces(const std::string& strInput);

  // Gives back the memory of the last statement's chart, once a run of statements is parsed.
  void ReleaseChart() { lattice_.Release(); }

 private:
  ParseLattice lattice_;
};

}  // namespace quendrel
