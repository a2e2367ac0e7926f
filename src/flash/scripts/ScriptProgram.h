// The statements of a loaded version-2 script in the order they run: the text each is parsed from,
// what the loader saw of its tree, and what the block lowering made of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quendrel {

// A statement's tree takes tens of times the memory of its text, and that of a long argument list a
// thousand times, so a loaded script keeps the texts, all in one buffer, and a dozen bytes a
// statement; its tree is parsed again when it runs. What only a few statements carry (a label, the
// jump or the loop targets the lowering gave it) is kept beside them by the statement's number,
// which it keeps when statements are inserted before it. Statements are counted from 1.
class ScriptProgram {
 public:
  enum class Role : std::uint8_t { kOther, kBlockStart, kBlockEnd, kCall };
  enum class Lowering : std::uint8_t {
    kAsParsed,
    kEmptied,       // a block end that only closed an if: no tree, no text
    kBodyJumps,     // a block start: the node that was the brace becomes a jump
    kJumps,         // a loop's block end: the whole statement becomes a jump, its text stays
    kInsertedJump,  // made by the lowering: a jump without text
  };
  // What the loader saw of a statement's tree.
  struct Parsed {
    Role role = Role::kOther;
    std::string call;  // the called name as written, for a kCall
    bool hasCondition = false;
    std::string label;  // the label the statement defines, or empty
  };
  struct LoopTargets {
    std::int32_t breakTo = 0;
    std::int32_t continueTo = 0;
  };

  std::size_t Size() const { return order_.size(); }
  // The text the next statements were cut from, as the user wrote it: each statement appended until
  // the next cut shows it.
  void StartCut(std::string_view text);
  void Append(std::string_view source, const Parsed& parsed);
  // Gives back what the buffers grew to beyond what they hold, and the text of the last cut.
  void Shrink();

  std::string_view Source(int index) const;
  std::string_view Text(int index) const;
  const std::string& DefinedLabel(int index) const;
  // Once they are registered, the script's labels are the script object's to keep.
  void ForgetDefinedLabels() { labels_ = {}; }
  Lowering LoweringOf(int index) const { return At(index).lowering; }
  // True while the statement is as parsed and its body began with that.
  bool IsAsParsed(int index, Role role) const;
  bool CallsIfOrWhile(int index, bool isWhile) const;
  bool HasCondition(int index) const { return At(index).hasCondition; }
  // Whether the call the statement runs reads "if" in any case of its letters.
  bool RunsIf(int index) const;

  // The lowering's changes; labels are the numbers of generated "autolabel" names.
  void NegateCondition(int index) { At(index).negateCondition = true; }
  bool NegatesCondition(int index) const { return At(index).negateCondition; }
  // A loop header's name reads "if"; once set, its targets move with every insertion before them.
  void SetLoopTargets(int index, LoopTargets targets);
  // Nothing for a statement that is no loop header.
  const LoopTargets* Loop(int index) const;
  void MakeJump(int index, Lowering jump, int label);
  int JumpLabel(int index) const;
  void Empty(int index);
  // A jump made by the lowering, inserted to stand at index (Size() + 1 appends).
  void InsertJump(int index, int label);

 private:
  struct Entry {
    std::uint32_t source = 0;  // offset into texts_
    std::uint32_t length = 0;
    Role role = Role::kOther;
    Lowering lowering = Lowering::kAsParsed;
    bool callsIf : 1 = false;  // exactly "if"
    bool callsWhile : 1 = false;
    bool callsIfAnyCase : 1 = false;
    bool hasCondition : 1 = false;
    bool negateCondition : 1 = false;
  };

  Entry& At(int index) { return entries_[order_[static_cast<std::size_t>(index - 1)]]; }
  const Entry& At(int index) const { return entries_[order_[static_cast<std::size_t>(index - 1)]]; }
  std::uint32_t IdOf(int index) const { return order_[static_cast<std::size_t>(index - 1)]; }
  using Span = std::pair<std::uint32_t, std::uint32_t>;  // [offset, length) in texts_
  Span Store(std::string_view text);
  std::string_view View(Span span) const { return std::string_view(texts_).substr(span.first, span.second); }

  std::string texts_;
  std::vector<Entry> entries_;        // by statement number
  std::vector<std::uint32_t> order_;  // statement numbers in the order they run
  std::string cut_;
  bool cutStored_ = false;
  Span cutSpan_;
  // Beside the statements, by number: a text other than the source (the cut it shares with the
  // statements cut with it), a label, loop targets and a jump's label.
  std::unordered_map<std::uint32_t, Span> otherTexts_;
  std::unordered_map<std::uint32_t, std::string> labels_;
  std::unordered_map<std::uint32_t, LoopTargets> loops_;
  std::unordered_map<std::uint32_t, int> jumps_;
};

}  // namespace quendrel
