#include "flash/language/GrammarLookahead.h"

#include <bit>

namespace quendrel {

void GrammarLookahead::Build(const std::vector<std::vector<int>>& ruleSymbols, const std::vector<int>& ruleTargets,
                             const std::vector<bool>& symbolsWithRules, const std::vector<bool>& tokenSymbols) {
  ruleSymbols_ = ruleSymbols;
  ruleTargets_ = ruleTargets;
  symbolCount_ = static_cast<int>(symbolsWithRules.size());
  usable_ = true;
  for (std::size_t rule = 0; rule < ruleSymbols_.size(); ++rule) {
    if (ruleSymbols_[rule].empty() || tokenSymbols[static_cast<std::size_t>(ruleTargets_[rule])]) usable_ = false;
  }
  BuildFirst(symbolsWithRules);
  BuildFollow();
  grownOnItsPole_.clear();
  grownAnywhere_.clear();
  for (int symbol = 0; symbol < symbolCount_; ++symbol) {
    grownOnItsPole_.push_back(Grown(symbol, true));
    grownAnywhere_.push_back(Grown(symbol, false));
  }
}

bool GrammarLookahead::CanStart(int symbol, int tokenClass, int tokenLiteral) const {
  return Matches(first_[static_cast<std::size_t>(symbol)], tokenClass, tokenLiteral);
}

bool GrammarLookahead::CanFollow(int symbol, int tokenClass, int tokenLiteral) const {
  return Matches(follow_[static_cast<std::size_t>(symbol)], tokenClass, tokenLiteral);
}

GrammarLookahead::SymbolSet GrammarLookahead::EmptySet() const {
  return SymbolSet((static_cast<std::size_t>(symbolCount_) + 63) / 64, 0);
}

bool GrammarLookahead::Contains(const SymbolSet& set, int symbol) {
  return (set[static_cast<std::size_t>(symbol) / 64] >> (symbol % 64) & 1) != 0;
}

void GrammarLookahead::Insert(SymbolSet& set, int symbol) {
  set[static_cast<std::size_t>(symbol) / 64] |= std::uint64_t{1} << (symbol % 64);
}

bool GrammarLookahead::Merge(SymbolSet& into, const SymbolSet& from) {
  bool grew = false;
  for (std::size_t word = 0; word < into.size(); ++word) {
    const std::uint64_t merged = into[word] | from[word];
    grew = grew || merged != into[word];
    into[word] = merged;
  }
  return grew;
}

std::vector<int> GrammarLookahead::Members(const SymbolSet& set) {
  std::vector<int> members;
  for (std::size_t word = 0; word < set.size(); ++word) {
    for (std::uint64_t bits = set[word]; bits != 0; bits &= bits - 1) {
      members.push_back(static_cast<int>(word * 64) + std::countr_zero(bits));
    }
  }
  return members;
}

bool GrammarLookahead::Matches(const SymbolSet& set, int tokenClass, int tokenLiteral) const {
  return (tokenClass >= 0 && Contains(set, tokenClass)) || (tokenLiteral >= 0 && Contains(set, tokenLiteral));
}

// A terminal begins with itself; a symbol with rules with whatever the first symbol of a rule does.
void GrammarLookahead::BuildFirst(const std::vector<bool>& symbolsWithRules) {
  first_.assign(static_cast<std::size_t>(symbolCount_), EmptySet());
  for (int symbol = 0; symbol < symbolCount_; ++symbol) {
    if (!symbolsWithRules[static_cast<std::size_t>(symbol)]) Insert(first_[static_cast<std::size_t>(symbol)], symbol);
  }
  for (bool grew = true; grew;) {
    grew = false;
    for (std::size_t rule = 0; rule < ruleSymbols_.size(); ++rule) {
      if (ruleSymbols_[rule].empty()) continue;
      const auto target = static_cast<std::size_t>(ruleTargets_[rule]);
      grew = Merge(first_[target], first_[static_cast<std::size_t>(ruleSymbols_[rule].front())]) || grew;
    }
  }
}

// No symbol matches an empty run of tokens in a usable grammar, so what follows a symbol inside a
// rule is what the next symbol begins with, and what follows the rule's last symbol is what
// follows the rule's target.
void GrammarLookahead::BuildFollow() {
  follow_.assign(static_cast<std::size_t>(symbolCount_), EmptySet());
  for (bool grew = true; grew;) {
    grew = false;
    for (std::size_t rule = 0; rule < ruleSymbols_.size(); ++rule) {
      const auto& symbols = ruleSymbols_[rule];
      for (std::size_t k = 0; k + 1 < symbols.size(); ++k) {
        grew = Merge(follow_[static_cast<std::size_t>(symbols[k])], first_[static_cast<std::size_t>(symbols[k + 1])]) ||
               grew;
      }
      if (symbols.empty()) continue;
      const auto target = static_cast<std::size_t>(ruleTargets_[rule]);
      grew = Merge(follow_[static_cast<std::size_t>(symbols.back())], follow_[target]) || grew;
    }
  }
}

std::vector<int> GrammarLookahead::Grown(int completed, bool onItsPole) const {
  SymbolSet complete = EmptySet();
  Insert(complete, completed);
  for (bool grew = true; grew;) {
    grew = false;
    for (std::size_t rule = 0; rule < ruleSymbols_.size(); ++rule) {
      const auto& symbols = ruleSymbols_[rule];
      const bool completes = onItsPole ? symbols.size() == 1 : !symbols.empty();
      if (!completes || !Contains(complete, symbols.back()) || Contains(complete, ruleTargets_[rule])) continue;
      Insert(complete, ruleTargets_[rule]);
      grew = true;
    }
  }
  SymbolSet grown = complete;
  for (std::size_t rule = 0; rule < ruleSymbols_.size(); ++rule) {
    const auto& symbols = ruleSymbols_[rule];
    bool takes = false;
    for (std::size_t k = 0; k < symbols.size() && !takes; ++k) {
      takes = (!onItsPole || k == 0) && Contains(complete, symbols[k]);
    }
    if (takes) Insert(grown, ruleTargets_[rule]);
  }
  return Members(grown);
}

}  // namespace quendrel
