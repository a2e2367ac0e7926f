#include "flash/ParseLattice.h"

#include <algorithm>
#include <utility>

#include "foundation/OpenTextSource.h"
#include "foundation/TextStream.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

constexpr int kGrammarResource = 101;

bool IsQuotedLiteral(std::string_view text) {
  return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// A "#" between double quotes is a literal of the grammar, not a comment.
std::string_view WithoutComment(std::string_view line) {
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') {
      quoted = !quoted;
    } else if (line[i] == '#' && !quoted) {
      return line.substr(0, i);
    }
  }
  return line;
}

std::vector<std::string_view> SplitAlternatives(std::string_view requisites) {
  std::vector<std::string_view> alternatives;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < requisites.size(); ++i) {
    if (requisites[i] == '"') {
      quoted = !quoted;
    } else if (requisites[i] == '|' && !quoted) {
      alternatives.push_back(requisites.substr(start, i - start));
      start = i + 1;
    }
  }
  alternatives.push_back(requisites.substr(start));
  return alternatives;
}

const char* ClassName(eTokType type) {
  switch (type) {
    case ttIdentifier:
      return "ID";
    case ttNumeric:
      return "NUMBER";
    case ttSymbol:
      return "SYMBOL";
    case ttStringLiteral:
      return "STRING";
    case ttParentheses:
      return "()";
    default:
      return "";
  }
}

}  // namespace

ParseLattice::ParseLattice() { Clear(); }

// ---- grammar ----------------------------------------------------------------------------

bool ParseLattice::ReadRulesFile(const std::string& /*strFileName*/) {
  return LoadGrammar(OpenTextSource(kGrammarResource, "", orfResourceForkOnly));
}

bool ParseLattice::LoadGrammar(std::unique_ptr<TextStream> stream) {
  if (stream == nullptr) {
    Ui().MsgBox("Unable to load grammar data.", vbCritical | vbOKOnly, "Scripting Parser Error");
    return false;
  }
  ReadRules(*stream);
  stream->Close();
  return true;
}

void ParseLattice::ReadRules(TextStream& stream) {
  ruleStore_.clear();
  rules_.clear();
  compiled_ = false;
  while (!stream.AtEndOfStream()) {
    const std::string line = stream.ReadLine();
    const std::string_view text = Trimmed(WithoutComment(line));
    const auto assign = text.find(":=");
    if (text.empty() || assign == std::string_view::npos) {
      continue;
    }
    AddRule(std::string(Trimmed(text.substr(0, assign))),
            std::string(Trimmed(text.substr(assign + 2))));
  }
  ResetChart();
}

void ParseLattice::AddRule(const std::string& strTarget, const std::string& strRequisites) {
  for (const std::string_view alternative : SplitAlternatives(strRequisites)) {
    rules_[strTarget].push_back(static_cast<int>(ruleStore_.size()));
    ruleStore_.emplace_back(strTarget, std::string(Trimmed(alternative)));
  }
  compiled_ = false;
  ResetChart();
}

std::vector<const ParseRule*> ParseLattice::Rules(const std::string& target) const {
  std::vector<const ParseRule*> result;
  const auto found = rules_.find(target);
  if (found == rules_.end()) {
    return result;
  }
  for (const int rule : found->second) {
    result.push_back(&ruleStore_[rule]);
  }
  return result;
}

// Interns every symbol the grammar mentions so the chart can index arrows by number.
void ParseLattice::CompileGrammar() {
  symbols_.clear();
  symbolIds_.clear();
  ruleSymbols_.assign(ruleStore_.size(), {});
  ruleTargets_.assign(ruleStore_.size(), -1);
  const auto intern = [this](const std::string& text) {
    const auto [it, added] = symbolIds_.emplace(text, static_cast<int>(symbols_.size()));
    if (added) {
      Symbol symbol;
      symbol.text = text;
      symbol.literal = IsQuotedLiteral(text);
      symbol.bare = symbol.literal ? text.substr(1, text.size() - 2) : text;
      symbols_.push_back(std::move(symbol));
    }
    return it->second;
  };
  for (std::size_t rule = 0; rule < ruleStore_.size(); ++rule) {
    ruleTargets_[rule] = intern(ruleStore_[rule].Target());
    for (const std::string& symbol : ruleStore_[rule].PatternArray()) {
      ruleSymbols_[rule].push_back(intern(symbol));
    }
  }
  for (auto& symbol : symbols_) {
    const auto found = rules_.find(symbol.text);
    if (found != rules_.end()) {
      symbol.rules = found->second;
    }
  }
  compiled_ = true;
}

int ParseLattice::SymbolId(const std::string& text) const {
  const auto found = symbolIds_.find(text);
  return found == symbolIds_.end() ? -1 : found->second;
}

// ---- chart ------------------------------------------------------------------------------

void ParseLattice::SetTokenList(std::vector<udtToken> tokens) {
  tokens_ = std::move(tokens);
  ResetChart();
}

void ParseLattice::Clear() {
  tokens_.clear();
  ResetChart();
}

void ParseLattice::ResetChart() {
  if (!compiled_) {
    CompileGrammar();
  }
  const std::size_t poles = tokens_.size();
  chart_.clear();
  poles_.assign(poles, {});
  open_.assign(poles, {});
  targetHead_.assign(poles * symbols_.size(), -1);
  targetTail_.assign(poles * symbols_.size(), -1);
  ruleHead_.assign(poles * ruleStore_.size(), -1);
}

std::vector<const ParseArrow*> ParseLattice::PoleArrows(int pole) const {
  std::vector<const ParseArrow*> arrows;
  if (pole < 1 || pole > PoleCount()) {
    return arrows;
  }
  for (const int id : poles_[pole - 1]) {
    arrows.push_back(&chart_[id].arrow);
  }
  return arrows;
}

bool ParseLattice::IsComplete(const ChartArrow& entry) const {
  return entry.arrow.IsComplete();
}

int ParseLattice::Append(ChartArrow entry) {
  const int id = static_cast<int>(chart_.size());
  const int pole = entry.pole;
  entry.position = static_cast<int>(poles_[pole].size());
  if (entry.target >= 0) {
    const std::size_t slot = pole * symbols_.size() + entry.target;
    if (targetTail_[slot] >= 0) {
      chart_[targetTail_[slot]].nextSameTarget = id;
    } else {
      targetHead_[slot] = id;
    }
    targetTail_[slot] = id;
  }
  if (entry.rule >= 0) {
    const std::size_t slot = pole * ruleStore_.size() + entry.rule;
    entry.nextSameRule = ruleHead_[slot];
    ruleHead_[slot] = id;
  }
  const bool open = !entry.arrow.Locked();
  chart_.push_back(std::move(entry));
  poles_[pole].push_back(id);
  if (open) {
    open_[pole].push_back(id);
  }
  return id;
}

void ParseLattice::AppendTokenArrow(int pole, std::string target) {
  ChartArrow entry;
  entry.target = SymbolId(target);
  entry.pole = pole;
  entry.arrow.SetTarget(std::move(target));
  entry.arrow.SetLength(1);
  entry.arrow.SetDot(1);
  entry.arrow.SetLocked(true);
  Append(std::move(entry));
}

int ParseLattice::AddArrow(int rule, int pole, int length, int dot) {
  for (int id = ruleHead_[pole * ruleStore_.size() + rule]; id >= 0; id = chart_[id].nextSameRule) {
    if (chart_[id].arrow.Dot() == dot && chart_[id].arrow.Length() == length) {
      return -1;
    }
  }
  const auto& symbols = ruleSymbols_[rule];
  if (!symbols.empty() && symbols_[symbols.front()].literal &&
      symbols_[symbols.front()].bare != tokens_[pole].strToken) {
    return -1;
  }
  ChartArrow entry;
  entry.rule = rule;
  entry.target = ruleTargets_[rule];
  entry.pole = pole;
  entry.arrow.SetRule(&ruleStore_[rule]);
  entry.arrow.SetDot(dot);
  entry.arrow.SetLength(length);
  const bool complete = entry.arrow.IsComplete();
  const int next = pole + entry.arrow.Length();
  const int nextSymbol = complete ? -1 : symbols[entry.arrow.Dot()];
  const int id = Append(std::move(entry));
  if (!complete && next < static_cast<int>(tokens_.size())) {
    Predict(nextSymbol, next);
  }
  return id;
}

void ParseLattice::Predict(int symbol, int pole) {
  for (const int rule : symbols_[symbol].rules) {
    AddArrow(rule, pole, 0, 0);
  }
}

void ParseLattice::RunRules(const std::string& strTarget) {
  if (tokens_.empty()) {
    return;
  }
  ResetChart();
  for (std::size_t i = 0; i < tokens_.size(); ++i) {
    const int pole = static_cast<int>(i);
    AppendTokenArrow(pole, ClassName(tokens_[i].ttType));
    AppendTokenArrow(pole, "\"" + tokens_[i].strToken + "\"");
  }
  const int target = SymbolId(strTarget);
  if (target >= 0) {
    Predict(target, 0);
  }
  while (ApplyRules()) {
  }
}

// One completion pass. Each pole only offers the arrows it held when its turn began, and an
// arrow only meets the arrows its follow pole held when the arrow's own turn began.
bool ParseLattice::ApplyRules() {
  bool added = false;
  for (int pole = 0; pole < static_cast<int>(poles_.size()); ++pole) {
    const std::size_t turn = open_[pole].size();
    for (std::size_t i = 0; i < turn; ++i) {
      added = ExtendArrow(open_[pole][i], pole) || added;
    }
  }
  if (!added) {
    return false;
  }
  LockArrows();
  return true;
}

// Advances one arrow over every arrow of its follow pole that completes its next symbol. An
// arrow with nothing matched yet also advances over any one-token arrow there when the token's
// text is its next symbol. Arrows met in earlier passes are skipped: they could only add
// duplicates again, and neither the chart nor the pass's outcome would change.
bool ParseLattice::ExtendArrow(int id, int pole) {
  const ChartArrow& a = chart_[id];
  if (a.rule < 0 || IsComplete(a)) {
    return false;
  }
  const int rule = a.rule;
  const int length = a.arrow.Length();
  const int dot = a.arrow.Dot();
  const int follow = pole + length;
  if (follow >= static_cast<int>(tokens_.size())) {
    return false;
  }
  const int symbol = ruleSymbols_[rule][dot];
  const std::size_t seen = poles_[follow].size();
  bool added = false;
  if (length == 0 && tokens_[follow].strToken == symbols_[symbol].bare) {
    for (std::size_t k = chart_[id].scanned; k < seen; ++k) {
      const ChartArrow& b = chart_[poles_[follow][k]];
      if ((b.target == symbol && IsComplete(b)) || b.arrow.Length() == 1) {
        added = AddArrow(rule, pole, length + b.arrow.Length(), dot + 1) >= 0 || added;
      }
    }
    chart_[id].scanned = static_cast<int>(seen);
    return added;
  }
  const std::size_t slot = follow * symbols_.size() + symbol;
  int last = chart_[id].lastSeen;
  for (int b = last < 0 ? targetHead_[slot] : chart_[last].nextSameTarget;
       b >= 0 && static_cast<std::size_t>(chart_[b].position) < seen; b = chart_[b].nextSameTarget) {
    last = b;
    if (IsComplete(chart_[b])) {
      added = AddArrow(rule, pole, length + chart_[b].arrow.Length(), dot + 1) >= 0 || added;
    }
  }
  chart_[id].lastSeen = last;
  return added;
}

// An arrow stays open only while it can still grow: it has a rule, is incomplete, its follow
// pole exists and its next symbol is not a literal that the next token already contradicts.
bool ParseLattice::CanGrow(const ChartArrow& entry) const {
  if (entry.rule < 0 || IsComplete(entry)) {
    return false;
  }
  const int follow = entry.pole + entry.arrow.Length();
  if (follow >= static_cast<int>(tokens_.size())) {
    return false;
  }
  const Symbol& next = symbols_[ruleSymbols_[entry.rule][entry.arrow.Dot()]];
  return !next.literal || next.bare == tokens_[follow].strToken;
}

void ParseLattice::LockArrows() {
  for (auto& open : open_) {
    std::vector<int> still;
    for (const int id : open) {
      if (CanGrow(chart_[id])) {
        still.push_back(id);
      } else {
        chart_[id].arrow.SetLocked(true);
      }
    }
    open = std::move(still);
  }
}

// ---- extraction -------------------------------------------------------------------------

ParseTreeNodePtr ParseLattice::ExtractTree(const std::string& strTarget, int startpole,
                                           int arrowlength) const {
  const int count = static_cast<int>(tokens_.size());
  if (arrowlength == -1) {
    arrowlength = count;
  }
  if (arrowlength < 1 || startpole < 1 || startpole > count) {
    return nullptr;
  }
  const int pole = startpole - 1;
  const int best = BestCandidate(strTarget, SymbolId(strTarget), pole, arrowlength);
  if (best < 0) {
    return nullptr;
  }
  const ParseArrow& arrow = chart_[best].arrow;
  auto node = std::make_shared<ParseTreeNode>();
  node->SetToken(arrow.Target());
  node->SetValue(CoveredText(pole, arrow.Length()));
  if (arrow.Rule() == nullptr) {
    node->SetValue(tokens_[pole].strToken);
    return node;
  }
  ParseTreeNode* previous = nullptr;
  int position = pole;
  for (const int symbol : ruleSymbols_[chart_[best].rule]) {
    const int found = LongestComplete(symbol, position);
    if (found < 0) {
      return node;
    }
    const ParseArrow& part = chart_[found].arrow;
    auto child = ExtractTree(part.Target(), position + 1, part.Length());
    if (child == nullptr) {
      return node;
    }
    ParseTreeNode* const attached = child.get();
    if (previous == nullptr) {
      node->SetChild(std::move(child));
    } else {
      previous->SetSibling(std::move(child));
    }
    previous = attached;
    position += part.Length();
    if (position >= count) {
      break;
    }
  }
  return node;
}

// The first arrow of the pole with that target and span, unless a later one is preferred: any
// rule arrow over a token arrow, a literal token arrow over a class one, and anything over a
// rule whose symbol count is below the span.
int ParseLattice::BestCandidate(const std::string& target, int symbol, int pole, int length) const {
  int best = -1;
  for (const int id : poles_[pole]) {
    const ParseArrow& a = chart_[id].arrow;
    const bool sameTarget = symbol >= 0 ? chart_[id].target == symbol : a.Target() == target;
    if (!sameTarget || a.Length() != length) {
      continue;
    }
    if (best < 0) {
      best = id;
      continue;
    }
    const ParseArrow& b = chart_[best].arrow;
    const bool replace = (b.Rule() == nullptr && a.Rule() != nullptr) ||
                         (b.Rule() == nullptr && a.Rule() == nullptr && IsQuotedLiteral(a.Target())) ||
                         (b.Rule() != nullptr && b.Rule()->Length() < a.Length());
    if (replace) {
      best = id;
    }
  }
  return best;
}

int ParseLattice::LongestComplete(int symbol, int pole) const {
  int best = -1;
  for (int id = targetHead_[pole * symbols_.size() + symbol]; id >= 0; id = chart_[id].nextSameTarget) {
    const ParseArrow& a = chart_[id].arrow;
    const bool complete = a.Rule() != nullptr ? a.IsComplete() : a.Dot() >= 1;
    if (complete && (best < 0 || a.Length() > chart_[best].arrow.Length())) {
      best = id;
    }
  }
  return best;
}

std::string ParseLattice::CoveredText(int pole, int length) const {
  std::string text;
  const int end = std::min<int>(pole + length, static_cast<int>(tokens_.size()));
  for (int i = pole; i < end; ++i) {
    if (i > pole) {
      text += ' ';
    }
    text += tokens_[i].strToken;
  }
  return text;
}

}  // namespace quendrel
