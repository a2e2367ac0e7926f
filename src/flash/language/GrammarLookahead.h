// What each grammar symbol can begin with and be followed by, and which symbols a completion the
// chart leaves out could still have grown into.
#pragma once

#include <cstdint>
#include <vector>

namespace quendrel {

// Symbols are the chart's numbers. A symbol without rules is a terminal: a token matches it by its
// class name or by its text as a quoted literal, so a token is given as those two symbol numbers
// (-1 where the grammar has no such symbol).
class GrammarLookahead {
 public:
  // ruleSymbols and ruleTargets by rule; symbolsWithRules marks the symbols rules define;
  // tokenSymbols marks the class names and quoted literals, the symbols a token can match.
  void Build(const std::vector<std::vector<int>>& ruleSymbols, const std::vector<int>& ruleTargets,
             const std::vector<bool>& symbolsWithRules, const std::vector<bool>& tokenSymbols);

  // False for a grammar this reasoning does not hold for: an empty alternative matches no token at
  // all, and a rule for a class name or a literal makes a token match more than its own symbols.
  bool Usable() const { return usable_; }

  // Whether a token can be the first of the symbol, or the first after it.
  bool CanStart(int symbol, int tokenClass, int tokenLiteral) const;
  bool CanFollow(int symbol, int tokenClass, int tokenLiteral) const;

  // The targets of arrows that grow from a complete arrow of `completed`, directly or through
  // further complete ones: on its own pole (rules that begin with it), or anywhere.
  const std::vector<int>& GrownOnItsPole(int completed) const { return grownOnItsPole_[completed]; }
  const std::vector<int>& GrownAnywhere(int completed) const { return grownAnywhere_[completed]; }

 private:
  using SymbolSet = std::vector<std::uint64_t>;

  SymbolSet EmptySet() const;
  static bool Contains(const SymbolSet& set, int symbol);
  static void Insert(SymbolSet& set, int symbol);
  static bool Merge(SymbolSet& into, const SymbolSet& from);
  static std::vector<int> Members(const SymbolSet& set);
  bool Matches(const SymbolSet& set, int tokenClass, int tokenLiteral) const;

  void BuildFirst(const std::vector<bool>& symbolsWithRules);
  void BuildFollow();
  // The symbols a complete arrow of `completed` can make complete in turn (on its own pole only
  // through rules of one symbol, elsewhere through rules it ends), with the targets of every rule
  // that takes one of them (as its first symbol on its own pole, anywhere elsewhere).
  std::vector<int> Grown(int completed, bool onItsPole) const;

  std::vector<std::vector<int>> ruleSymbols_;
  std::vector<int> ruleTargets_;
  int symbolCount_ = 0;
  bool usable_ = false;
  std::vector<SymbolSet> first_;
  std::vector<SymbolSet> follow_;
  std::vector<std::vector<int>> grownOnItsPole_;
  std::vector<std::vector<int>> grownAnywhere_;
};

}  // namespace quendrel
