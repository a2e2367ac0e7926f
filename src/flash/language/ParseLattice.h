// The chart parser of the script language: reads the grammar once, then fills a chart of
// partial matches over one statement's tokens and extracts the parse tree of a symbol.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "flash/language/ArrowKeySet.h"
#include "flash/language/GrammarLookahead.h"
#include "flash/language/ParseArrow.h"
#include "flash/language/ParseRule.h"
#include "flash/language/ParseTreeNode.h"
#include "flash/language/udtToken.h"

namespace quendrel {

class TextStream;

// Which tree comes out of an ambiguous statement is decided by the order in which arrows are
// added, the snapshot each completion pass takes and the choices of ExtractTree; the evaluator
// depends on those shapes, so the order below is part of the language. The indexes kept beside
// the chart only avoid work whose outcome is already known.
//
// A chart built with lookahead leaves out what the next token already rules out: rules that
// cannot begin with the token at their pole, and the growth of a complete arrow that the token
// after it cannot follow. Without that, every tail of a long sum or argument list completes on
// every pole and the chart grows with the square of the statement. What is left keeps its order,
// so a tree that none of the left-out arrows could reach is the tree of the complete chart; when
// one could, the tree is taken from the complete chart instead.
class ParseLattice {
 public:
  enum class ChartMode { kComplete, kLookahead };

  // A statement whose tree would be deeper than this many levels has no tree: it is refused like
  // any text that does not parse. Far above hand-written code (a 2,000-term sum is about 2,000
  // levels, one pair of parentheses six), it keeps the texts the nodes hold, and the stacks of
  // whatever walks a tree, within bounds for generated or damaged input.
  static constexpr std::size_t kDeepestTree = 5000;
  // A statement of more tokens than this has no tree either, and is refused before its chart is
  // built: the complete chart of a long sum or argument list grows with the square of its length
  // (2,000 tokens take about 140 MB and half a second), and the lookahead cannot always spare it.
  // Hand-written statements stay far below.
  static constexpr std::size_t kLongestStatement = 2000;

  ParseLattice();
  // Arrows point at the lattice's own rules, so a lattice moves but is never copied.
  ParseLattice(const ParseLattice&) = delete;
  ParseLattice& operator=(const ParseLattice&) = delete;
  ParseLattice(ParseLattice&&) = default;
  ParseLattice& operator=(ParseLattice&&) = default;

  // Fills the chart for strTarget over the current token list.
  void RunRules(const std::string& strTarget, ChartMode mode = ChartMode::kComplete);
  // The tree of strTarget standing on pole startpole (1-based) and covering arrowlength tokens,
  // -1 meaning all of them; nothing when the chart holds no such arrow or the tree is too deep.
  // The tree is that of the complete chart: a lookahead chart is built again in full when the
  // tree could differ.
  ParseTreeNodePtr ExtractTree(const std::string& strTarget, int startpole, int arrowlength);

  // Adds the alternatives of one grammar line ("|" outside double quotes separates them).
  void AddRule(const std::string& strTarget, const std::string& strRequisites);

  // Hands over a statement's tokens and starts an empty chart, one pole per token; a list longer
  // than kLongestStatement is dropped, leaving an empty one.
  void SetTokenList(std::vector<udtToken> tokens);
  const std::vector<udtToken>& TokenList() const { return tokens_; }

  // Forgets the tokens and the chart; the grammar stays.
  void Clear();
  // The same, and gives back the memory the chart grew to, which Clear keeps for the next statement.
  void Release();

  // Loads the grammar built into the program; the name is not used. Reports an unreadable
  // grammar to the user and returns false.
  bool ReadRulesFile(const std::string& strFileName);
  // Reads the grammar from the stream, or reports that it cannot be read when there is none.
  bool LoadGrammar(std::unique_ptr<TextStream> stream);
  // Replaces the grammar with the lines of a grammar text.
  void ReadRules(TextStream& stream);

  // The rules defining target in the order they were added; empty for an unknown symbol.
  std::vector<const ParseRule*> Rules(const std::string& target) const;
  // Number of poles (one per token) and the arrows on pole (1-based) in the order added.
  int PoleCount() const { return static_cast<int>(poles_.size()); }
  std::vector<const ParseArrow*> PoleArrows(int pole) const;
  // Arrows made since the token list was last handed over, token arrows included.
  std::size_t ArrowsCreated() const { return chart_.size(); }
  // Whether the chart in place was built with lookahead (a complete one may have replaced it).
  bool LookaheadChart() const { return lookahead_; }

 private:
  struct Symbol {
    std::string text;
    bool literal = false;
    std::vector<int> rules;  // rules defining the symbol, in order of definition
  };

  struct ChartArrow {
    ParseArrow arrow;
    int rule = -1;
    int target = -1;  // symbol id of the target, -1 when no rule mentions it
    int pole = 0;
    int position = 0;  // index within its pole
    bool complete = false;
    int nextSameTarget = -1;  // next complete arrow with the same target on the same pole
    // An arrow that can still grow waits for complete arrows of its next symbol on its follow
    // pole (slot), or, with nothing matched and the next token spelling that symbol, for any
    // arrow there (wholePole). What earlier passes already offered it is not offered again:
    // it could only make duplicates.
    int slot = -1;
    bool wholePole = false;
    int consumed = 0;  // entries of the slot, or arrows of the follow pole, already looked at
    int lastSeen = -1;
    int nextWaiter = -1;  // next arrow waiting on the same slot
    bool ready = false;   // something new arrived since the arrow last looked
  };

  void CompileGrammar();
  void ResetChart();
  int SymbolId(const std::string& text) const;
  bool Spells(int pole, int symbol) const;
  bool CanStart(int symbol, int pole) const;
  bool IsDormant(const ChartArrow& entry) const;

  int AddArrow(int rule, int pole, int length, int dot);
  void Predict(int symbol, int pole);
  void AppendTokenArrow(int pole, std::string target);
  int Append(ChartArrow entry);
  bool ApplyRules();
  int NextActivePole(int from) const;
  bool PoleTurn(int pole);
  bool ExtendArrow(int id, int pole);
  bool ExtendOverPole(int id, int pole);
  bool ExtendOverSlot(int id, int pole);
  void Wait(int id);
  void Wake(int id);
  void LockArrows();
  bool CanGrow(const ChartArrow& entry) const;

  // A node whose children are still being extracted, and where the next one starts.
  struct OpenNode {
    ParseTreeNode* node = nullptr;
    int rule = -1;
    std::size_t next = 0;  // index of the rule's symbol the next child stands for
    int position = 0;
    ParseTreeNode* last = nullptr;
  };
  // A node whose text is the tokens it covers, filled in once the whole tree is known.
  struct CoveredSpan {
    ParseTreeNode* node = nullptr;
    int pole = 0;
    int length = 0;
  };
  // Extraction from the chart in place; `complete` turns false, and the result is to be dropped,
  // once the tree reaches where an arrow the lookahead left out could have stood.
  ParseTreeNodePtr Extract(const std::string& strTarget, int startpole, int arrowlength, bool& complete);
  void StartNode(ParseTreeNode& node, int id, int pole, std::vector<OpenNode>& open,
                 std::vector<CoveredSpan>& spans) const;
  ParseTreeNodePtr NextChild(OpenNode& parent, int& id, bool& complete);

  int BestCandidate(const std::string& target, int symbol, int pole, int length) const;
  void SetCoveredValues(const std::vector<CoveredSpan>& spans) const;

  // What the lookahead left out, as the extraction meets it. A left-out arrow grew from a dormant
  // one: a complete arrow whose growth stopped because its next token cannot follow it.
  void NoteDormant(int pole, int target, int end);
  void MarkDormantReach();
  bool CouldHideGroup(int pole, int symbol, int end);
  bool CouldHideLonger(int pole, int symbol, int end);
  int HiddenEnd(int pole, int symbol);
  struct HiddenFrame {
    int pole;
    int symbol;
    std::size_t next;  // the pole's arrow to look at next
    int end;
  };
  static constexpr int kHiddenUnknown = -2;
  static constexpr int kHiddenWorking = -3;
  int WorkOutHiddenEnd(int pole, int symbol);
  HiddenFrame OpenHiddenFrame(int pole, int symbol);
  int OneShortOf(const ChartArrow& entry, int target) const;

  // Grammar.
  std::deque<ParseRule> ruleStore_;
  std::unordered_map<std::string, std::vector<int>> rules_;
  bool compiled_ = false;
  std::vector<Symbol> symbols_;
  std::unordered_map<std::string, int> symbolIds_;
  std::vector<std::vector<int>> ruleSymbols_;
  std::vector<int> ruleTargets_;

  // Chart for the current token list (poles are 0-based here).
  std::vector<udtToken> tokens_;
  std::vector<ChartArrow> chart_;
  std::vector<std::vector<int>> poles_;
  // A completion pass looks at the arrows of a pole in the order they were added, but an arrow
  // that nothing new has reached since it last looked would add nothing; so each pole keeps a
  // min-heap of the arrow ids that something new has reached, and a pass visits only those.
  std::vector<std::vector<int>> ready_;
  std::vector<int> waiterHead_;                  // [pole * symbols + symbol]
  std::vector<std::vector<int>> poleWaiters_;    // arrows that look at every arrow of a pole
  std::vector<int> deferred_;
  std::vector<bool> predicted_;  // [pole * symbols + symbol]: every rule already offered
  std::vector<int> pendingLock_;  // arrows that cannot grow, locked at the end of the pass
  // Complete arrows by target, [pole * symbols + symbol], in the order added.
  std::vector<int> targetHead_;
  std::vector<int> targetTail_;
  std::vector<int> targetCount_;
  std::vector<int> targetLongest_;  // the first of the longest, which is what a tree takes
  ArrowKeySet arrowKeys_;  // so a duplicate is refused without a scan of the pole
  // Lookahead: the grammar's sets, each token's class and literal symbol, the dormant arrows by
  // pole as (target, end), the symbols of the arrows that could have grown from them, and the
  // furthest end of a complete arrow left out, by [pole * symbols + symbol].
  GrammarLookahead lookaheadSets_;
  std::string chartTarget_;
  bool lookahead_ = false;
  std::vector<int> tokenClass_;
  std::vector<int> tokenLiteral_;
  std::vector<int> tokenNamed_;  // the symbol other than a literal that the token's text names
  std::vector<std::vector<std::pair<int, int>>> dormant_;
  bool anyDormant_ = false;
  std::vector<bool> dormantTargets_;
  std::vector<bool> hideable_;
  std::vector<int> dormantReach_;  // by pole: the furthest end of a dormant arrow there or after
  std::vector<int> hiddenEnd_;
  std::vector<HiddenFrame> hiddenStack_;
  // Poles with reached arrows, so a pass skips the poles with nothing to do; a deeply nested
  // statement needs a pass per level, and most poles sit idle in each.
  std::vector<std::uint64_t> activePoles_;  // one bit per pole
};

}  // namespace quendrel
