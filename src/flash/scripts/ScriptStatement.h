// One statement of a loaded version-2 script as running needs it: the text its tree is parsed from
// when it runs, what the loader saw of that tree, and what the block lowering made of it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quendrel {

// A statement's tree takes tens of times the memory of its text, and that of a long argument list
// hundreds of times, so a loaded script keeps the text and parses the tree again when it runs.
struct ScriptStatement {
  // The first node of the statement's body as parsed.
  enum class Role { kOther, kBlockStart, kBlockEnd, kCall };
  // What the lowering made of the statement.
  enum class Lowering {
    kAsParsed,
    kEmptied,       // a block end that only closed an if: no tree, no text
    kBodyJumps,     // a block start: the node that was the brace becomes a jump
    kJumps,         // a loop's block end: the whole statement becomes a jump, its text stays
    kInsertedJump,  // made by the lowering: a jump without text
  };

  std::string source;  // handed to the parser
  std::string text;    // as the user wrote it: the statement's command string
  std::string label;   // the label the statement defines, or empty
  Role role = Role::kOther;
  std::string call;    // the called name as written, for a kCall
  bool hasCondition = false;

  Lowering lowering = Lowering::kAsParsed;
  std::string jumpLabel;  // where a jump made by the lowering goes
  bool negateCondition = false;
  // A loop header: its name reads "if" and break and continue find their targets on it.
  bool loopHeader = false;
  std::int32_t breakTo = 0;
  std::int32_t continueTo = 0;

  // The name the statement's call reads as it runs; empty when it runs no call.
  std::string CalledName() const {
    if (lowering != Lowering::kAsParsed || role != Role::kCall) return {};
    return loopHeader ? "if" : call;
  }
};

// Statements are inserted while loops are lowered, so each is held by pointer and an insertion
// moves pointers only.
using ScriptProgram = std::vector<std::unique_ptr<ScriptStatement>>;

}  // namespace quendrel
