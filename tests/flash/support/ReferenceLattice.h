// A second chart parser written the slow, obvious way (string targets, whole-pole scans, no
// indexes), so the tests can check the indexed lattice arrow for arrow against it.
#pragma once

#include <string>
#include <vector>

#include "flash/language/ParseLattice.h"
#include "flash/language/ParseTreeNode.h"
#include "flash/language/udtToken.h"

namespace quendrel {

class ReferenceLattice {
 public:
  // Borrows the grammar of an already loaded lattice.
  explicit ReferenceLattice(const ParseLattice& grammar) : grammar_(grammar) {}

  void Run(std::vector<udtToken> tokens, const std::string& target);
  ParseTreeNodePtr ExtractTree(const std::string& target, int startpole, int length) const;

  // Every pole's arrows in order as "target => pattern @dot/length", one line per arrow.
  std::string ChartText() const;

 private:
  struct Arrow {
    std::string target;
    const ParseRule* rule = nullptr;
    int dot = 0;
    int length = 0;
    bool locked = false;
    const std::string& Target() const { return rule != nullptr ? rule->Target() : target; }
    bool Complete() const;
  };

  int Count() const { return static_cast<int>(tokens_.size()); }
  void Add(const ParseRule* rule, int pole, int length, int dot);
  void Predict(const std::string& symbol, int pole);
  bool ApplyRules();

  const ParseLattice& grammar_;
  std::vector<udtToken> tokens_;
  std::vector<std::vector<Arrow>> poles_;  // index 0 unused, poles 1..N
};

// The indexed lattice's chart in the same text form.
std::string ChartText(const ParseLattice& lattice);

}  // namespace quendrel
