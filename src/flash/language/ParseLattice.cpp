#include "flash/language/ParseLattice.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <utility>

#include "foundation/files/OpenTextSource.h"
#include "foundation/files/TextStream.h"
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

bool IsClassName(const std::string& text) {
  return text == "ID" || text == "NUMBER" || text == "SYMBOL" || text == "STRING" || text == "()";
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
  std::vector<bool> withRules;
  std::vector<bool> tokenSymbols;
  for (auto& symbol : symbols_) {
    const auto found = rules_.find(symbol.text);
    if (found != rules_.end()) {
      symbol.rules = found->second;
    }
    withRules.push_back(!symbol.rules.empty());
    tokenSymbols.push_back(symbol.literal || IsClassName(symbol.text));
  }
  lookaheadSets_.Build(ruleSymbols_, ruleTargets_, withRules, tokenSymbols);
  compiled_ = true;
}

int ParseLattice::SymbolId(const std::string& text) const {
  const auto found = symbolIds_.find(text);
  return found == symbolIds_.end() ? -1 : found->second;
}


// Whether the token's text is the symbol's: a literal's text between its quotes, or the name of
// any other symbol.
bool ParseLattice::Spells(int pole, int symbol) const {
  return tokenLiteral_[pole] == symbol || tokenNamed_[pole] == symbol;
}

// A token spelling a symbol that is no literal (a variable named value, say) lets a rule beginning
// with that symbol step over any one-token arrow on its pole, whatever the rule needs; the
// lookahead cannot foresee that, so on such a pole it keeps every rule and every arrow's growth.
bool ParseLattice::CanStart(int symbol, int pole) const {
  return tokenNamed_[pole] >= 0 || lookaheadSets_.CanStart(symbol, tokenClass_[pole], tokenLiteral_[pole]);
}

// A complete arrow at the end of the tokens always fits; no token follows it.
bool ParseLattice::IsDormant(const ChartArrow& entry) const {
  const int follow = entry.pole + entry.arrow.Length();
  if (entry.rule < 0 || follow >= static_cast<int>(tokens_.size())) {
    return false;
  }
  if (tokenNamed_[entry.pole] >= 0 || tokenNamed_[follow] >= 0) {
    return false;
  }
  return !lookaheadSets_.CanFollow(entry.target, tokenClass_[follow], tokenLiteral_[follow]);
}

// ---- chart ------------------------------------------------------------------------------

void ParseLattice::SetTokenList(std::vector<udtToken> tokens) {
  tokens_ = std::move(tokens);
  if (tokens_.size() > kLongestStatement) tokens_.clear();
  ResetChart();
}

void ParseLattice::Clear() {
  tokens_.clear();
  ResetChart();
}

namespace {

template <typename... Containers>
void GiveBack(Containers&... containers) {
  ((containers = Containers()), ...);
}

}  // namespace

void ParseLattice::Release() {
  GiveBack(tokens_, chart_, poles_, ready_, waiterHead_, poleWaiters_, deferred_, predicted_, pendingLock_,
           targetHead_, targetTail_, targetCount_, targetLongest_, activePoles_, tokenClass_, tokenLiteral_,
           tokenNamed_, dormant_, dormantReach_, hiddenEnd_, hiddenStack_);
  arrowKeys_ = ArrowKeySet();
  ResetChart();
}

void ParseLattice::ResetChart() {
  if (!compiled_) {
    CompileGrammar();
  }
  const std::size_t poles = tokens_.size();
  chart_.clear();
  pendingLock_.clear();
  // Cleared rather than rebuilt, so the pole lists keep their memory from one statement to the next.
  poles_.resize(poles);
  ready_.resize(poles);
  poleWaiters_.resize(poles);
  dormant_.resize(poles);
  for (std::size_t i = 0; i < poles; ++i) {
    poles_[i].clear();
    ready_[i].clear();
    poleWaiters_[i].clear();
    dormant_[i].clear();
  }
  lookahead_ = false;
  anyDormant_ = false;
  dormantTargets_.assign(symbols_.size(), false);
  hideable_.assign(symbols_.size(), false);
  hiddenEnd_.clear();
  waiterHead_.assign(poles * symbols_.size(), -1);
  predicted_.assign(poles * symbols_.size(), false);
  targetHead_.assign(poles * symbols_.size(), -1);
  targetTail_.assign(poles * symbols_.size(), -1);
  targetCount_.assign(poles * symbols_.size(), 0);
  targetLongest_.assign(poles * symbols_.size(), -1);
  arrowKeys_.Clear();
  activePoles_.assign((poles + 63) / 64, 0);
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

int ParseLattice::Append(ChartArrow entry) {
  const int id = static_cast<int>(chart_.size());
  const int pole = entry.pole;
  const int follow = pole + entry.arrow.Length();
  entry.position = static_cast<int>(poles_[pole].size());
  entry.complete = entry.arrow.IsComplete();
  int completedSlot = -1;
  if (entry.complete && entry.target >= 0) {
    const int slot = static_cast<int>(pole * symbols_.size() + entry.target);
    const int longest = targetLongest_[slot];
    if (longest < 0 || entry.arrow.Length() > chart_[longest].arrow.Length()) {
      targetLongest_[slot] = id;
    }
    if (lookahead_ && IsDormant(entry)) {
      // Kept for the trees, which take the longest arrow, but offered to no one.
      NoteDormant(pole, entry.target, follow);
    } else {
      completedSlot = slot;
      if (targetTail_[slot] >= 0) {
        chart_[targetTail_[slot]].nextSameTarget = id;
      } else {
        targetHead_[slot] = id;
      }
      targetTail_[slot] = id;
      ++targetCount_[slot];
    }
  }
  const bool open = entry.rule >= 0 && !entry.complete && follow < static_cast<int>(tokens_.size());
  if (open) {
    const int symbol = ruleSymbols_[entry.rule][entry.arrow.Dot()];
    entry.slot = static_cast<int>(follow * symbols_.size() + symbol);
    entry.wholePole = entry.arrow.Length() == 0 && Spells(follow, symbol);
  }
  const bool lockLater = !entry.arrow.Locked() && !CanGrow(entry);
  chart_.push_back(std::move(entry));
  poles_[pole].push_back(id);
  if (lockLater) {
    pendingLock_.push_back(id);
  }
  for (const int waiter : poleWaiters_[pole]) {
    Wake(waiter);
  }
  if (completedSlot >= 0) {
    for (int waiter = waiterHead_[completedSlot]; waiter >= 0; waiter = chart_[waiter].nextWaiter) {
      Wake(waiter);
    }
  }
  if (open) {
    Wait(id);
  }
  return id;
}

void ParseLattice::Wait(int id) {
  ChartArrow& entry = chart_[id];
  if (entry.wholePole) {
    poleWaiters_[entry.pole].push_back(id);
    Wake(id);
    return;
  }
  entry.nextWaiter = waiterHead_[entry.slot];
  waiterHead_[entry.slot] = id;
  if (targetCount_[entry.slot] > 0) {
    Wake(id);
  }
}

void ParseLattice::Wake(int id) {
  ChartArrow& entry = chart_[id];
  if (entry.ready) {
    return;
  }
  entry.ready = true;
  auto& heap = ready_[entry.pole];
  activePoles_[entry.pole / 64] |= std::uint64_t{1} << (entry.pole % 64);
  heap.push_back(id);
  std::push_heap(heap.begin(), heap.end(), std::greater<>());
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
  const auto& symbols = ruleSymbols_[rule];
  if (!symbols.empty() && symbols_[symbols.front()].literal && !Spells(pole, symbols.front())) {
    return -1;
  }
  if (!arrowKeys_.Insert(ArrowKeySet::Key{pole, rule, dot, length})) {
    return -1;
  }
  ChartArrow entry;
  entry.rule = rule;
  entry.target = ruleTargets_[rule];
  entry.pole = pole;
  entry.arrow.SetRule(&ruleStore_[rule]);
  entry.arrow.SetDot(dot);
  entry.arrow.SetLength(length);
  const int id = Append(std::move(entry));
  const ChartArrow& added = chart_[id];
  const int next = pole + added.arrow.Length();
  if (!added.complete && next < static_cast<int>(tokens_.size())) {
    Predict(symbols[added.arrow.Dot()], next);
  }
  return id;
}

// Once every rule of a symbol has been offered at a pole, offering them again could only make
// duplicates, so that is skipped. A prediction of the same symbol nested inside the first one
// still runs in full, as a left-recursive grammar needs it to.
void ParseLattice::Predict(int symbol, int pole) {
  const std::size_t slot = pole * symbols_.size() + symbol;
  if (predicted_[slot]) {
    return;
  }
  for (const int rule : symbols_[symbol].rules) {
    if (!lookahead_ || CanStart(ruleSymbols_[rule].front(), pole)) {
      AddArrow(rule, pole, 0, 0);
    }
  }
  predicted_[slot] = true;
}

void ParseLattice::RunRules(const std::string& strTarget, ChartMode mode) {
  if (tokens_.empty()) {
    return;
  }
  ResetChart();
  chartTarget_ = strTarget;
  tokenClass_.resize(tokens_.size());
  tokenLiteral_.resize(tokens_.size());
  tokenNamed_.resize(tokens_.size());
  for (std::size_t i = 0; i < tokens_.size(); ++i) {
    std::string className = ClassName(tokens_[i].ttType);
    std::string literal = "\"" + tokens_[i].strToken + "\"";
    const int named = SymbolId(tokens_[i].strToken);
    tokenClass_[i] = SymbolId(className);
    tokenLiteral_[i] = SymbolId(literal);
    tokenNamed_[i] = named >= 0 && !symbols_[named].literal ? named : -1;
  }
  for (std::size_t i = 0; i < tokens_.size(); ++i) {
    const int pole = static_cast<int>(i);
    AppendTokenArrow(pole, ClassName(tokens_[i].ttType));
    AppendTokenArrow(pole, "\"" + tokens_[i].strToken + "\"");
  }
  lookahead_ = mode == ChartMode::kLookahead && lookaheadSets_.Usable();
  const int target = SymbolId(strTarget);
  if (target >= 0) {
    Predict(target, 0);
  }
  while (ApplyRules()) {
  }
  MarkDormantReach();
}

// One completion pass. Each pole only offers the arrows it held when its turn began, and an
// arrow only meets the arrows its follow pole held when the arrow's own turn began.
bool ParseLattice::ApplyRules() {
  bool added = false;
  for (int pole = NextActivePole(0); pole >= 0; pole = NextActivePole(pole + 1)) {
    added = PoleTurn(pole) || added;
    if (ready_[pole].empty()) {
      activePoles_[pole / 64] &= ~(std::uint64_t{1} << (pole % 64));
    }
  }
  if (!added) {
    return false;
  }
  LockArrows();
  return true;
}

// The first pole from `from` on with reached arrows, or -1.
int ParseLattice::NextActivePole(int from) const {
  std::size_t word = static_cast<std::size_t>(from) / 64;
  if (word >= activePoles_.size()) {
    return -1;
  }
  std::uint64_t bits = activePoles_[word] & (~std::uint64_t{0} << (from % 64));
  while (bits == 0) {
    if (++word == activePoles_.size()) {
      return -1;
    }
    bits = activePoles_[word];
  }
  return static_cast<int>(word * 64 + std::countr_zero(bits));
}

// Visits the pole's reached arrows in the order they were added. An arrow reached again after
// its turn waits for the next pass, as does one added during this turn.
bool ParseLattice::PoleTurn(int pole) {
  const int turnEnd = static_cast<int>(chart_.size());
  auto& heap = ready_[pole];
  bool added = false;
  int visited = -1;
  deferred_.clear();
  while (!heap.empty() && heap.front() < turnEnd) {
    std::pop_heap(heap.begin(), heap.end(), std::greater<>());
    const int id = heap.back();
    heap.pop_back();
    if (id <= visited) {
      deferred_.push_back(id);
      continue;
    }
    visited = id;
    chart_[id].ready = false;
    if (!chart_[id].arrow.Locked()) {
      added = ExtendArrow(id, pole) || added;
    }
  }
  for (const int id : deferred_) {
    heap.push_back(id);
    std::push_heap(heap.begin(), heap.end(), std::greater<>());
  }
  return added;
}

// Advances one arrow over every arrow of its follow pole that completes its next symbol; an
// arrow with nothing matched also advances over any one-token arrow there when the token's
// text is its next symbol.
bool ParseLattice::ExtendArrow(int id, int pole) {
  return chart_[id].wholePole ? ExtendOverPole(id, pole) : ExtendOverSlot(id, pole);
}

bool ParseLattice::ExtendOverPole(int id, int pole) {
  const int follow = pole;  // only arrows with nothing matched scan a whole pole
  const std::size_t seen = poles_[follow].size();
  const int rule = chart_[id].rule;
  const int dot = chart_[id].arrow.Dot();
  const int symbol = ruleSymbols_[rule][dot];
  bool added = false;
  for (std::size_t k = chart_[id].consumed; k < seen; ++k) {
    const ChartArrow& b = chart_[poles_[follow][k]];
    if ((b.target == symbol && b.complete) || b.arrow.Length() == 1) {
      added = AddArrow(rule, pole, b.arrow.Length(), dot + 1) >= 0 || added;
    }
  }
  chart_[id].consumed = static_cast<int>(seen);
  return added;
}

bool ParseLattice::ExtendOverSlot(int id, int pole) {
  const int slot = chart_[id].slot;
  const int seen = targetCount_[slot];
  if (chart_[id].consumed >= seen) {
    return false;
  }
  const int rule = chart_[id].rule;
  const int length = chart_[id].arrow.Length();
  const int dot = chart_[id].arrow.Dot();
  int last = chart_[id].lastSeen;
  bool added = false;
  for (int k = chart_[id].consumed; k < seen; ++k) {
    const int b = last < 0 ? targetHead_[slot] : chart_[last].nextSameTarget;
    last = b;
    added = AddArrow(rule, pole, length + chart_[b].arrow.Length(), dot + 1) >= 0 || added;
  }
  chart_[id].consumed = seen;
  chart_[id].lastSeen = last;
  return added;
}

// An arrow can grow while it has a rule, is incomplete, its follow pole exists and its next
// symbol is not a literal that the next token already contradicts. Whether it can is fixed
// when it is made; the lock only happens at the end of a pass that added something.
bool ParseLattice::CanGrow(const ChartArrow& entry) const {
  if (entry.rule < 0 || entry.arrow.IsComplete()) {
    return false;
  }
  const int follow = entry.pole + entry.arrow.Length();
  if (follow >= static_cast<int>(tokens_.size())) {
    return false;
  }
  const int symbol = ruleSymbols_[entry.rule][entry.arrow.Dot()];
  return !symbols_[symbol].literal || Spells(follow, symbol);
}

void ParseLattice::LockArrows() {
  for (const int id : pendingLock_) {
    chart_[id].arrow.SetLocked(true);
  }
  pendingLock_.clear();
}

// ---- extraction -------------------------------------------------------------------------

ParseTreeNodePtr ParseLattice::ExtractTree(const std::string& strTarget, int startpole, int arrowlength) {
  bool complete = true;
  ParseTreeNodePtr tree = Extract(strTarget, startpole, arrowlength, complete);
  if (complete) {
    return tree;
  }
  RunRules(chartTarget_, ChartMode::kComplete);
  complete = true;
  return Extract(strTarget, startpole, arrowlength, complete);
}

// Depth first with an explicit stack, so the depth of a tree is bounded only by kDeepestTree. The
// texts of inner nodes are filled in last: a refused tree never pays for them.
ParseTreeNodePtr ParseLattice::Extract(const std::string& strTarget, int startpole, int arrowlength,
                                       bool& complete) {
  const int count = static_cast<int>(tokens_.size());
  if (arrowlength == -1) {
    arrowlength = count;
  }
  if (arrowlength < 1 || startpole < 1 || startpole > count) {
    return nullptr;
  }
  const int symbol = SymbolId(strTarget);
  if (CouldHideGroup(startpole - 1, symbol, startpole - 1 + arrowlength)) {
    complete = false;
    return nullptr;
  }
  const int best = BestCandidate(strTarget, symbol, startpole - 1, arrowlength);
  if (best < 0) {
    return nullptr;
  }
  auto root = std::make_shared<ParseTreeNode>();
  std::vector<OpenNode> open;
  std::vector<CoveredSpan> spans;
  StartNode(*root, best, startpole - 1, open, spans);
  while (!open.empty()) {
    const int pole = open.back().position;
    int id = -1;
    const ParseTreeNodePtr child = NextChild(open.back(), id, complete);
    if (!complete) {
      return nullptr;
    }
    if (child == nullptr) {
      open.pop_back();
      continue;
    }
    StartNode(*child, id, pole, open, spans);
    if (open.size() > kDeepestTree) {
      return nullptr;
    }
  }
  SetCoveredValues(spans);
  return root;
}

// A token arrow makes a leaf holding its token's text; a rule arrow a node whose children follow.
void ParseLattice::StartNode(ParseTreeNode& node, int id, int pole, std::vector<OpenNode>& open,
                             std::vector<CoveredSpan>& spans) const {
  const ChartArrow& entry = chart_[id];
  node.SetToken(entry.arrow.Target());
  if (entry.arrow.Rule() == nullptr) {
    node.SetValue(tokens_[pole].strToken);
    return;
  }
  spans.push_back(CoveredSpan{&node, pole, entry.arrow.Length()});
  open.push_back(OpenNode{&node, entry.rule, 0, pole, nullptr});
}

// The child for the parent's next symbol, attached and stepped over, with its arrow in id: the
// longest complete arrow of that symbol where the previous child ends. Nothing when the symbols
// or the tokens run out or nothing there completes the symbol; the parent then stays as built.
ParseTreeNodePtr ParseLattice::NextChild(OpenNode& parent, int& id, bool& complete) {
  const auto& symbols = ruleSymbols_[parent.rule];
  if (parent.next >= symbols.size() || parent.position >= static_cast<int>(tokens_.size())) {
    return nullptr;
  }
  const int symbol = symbols[parent.next];
  const int found = targetLongest_[parent.position * symbols_.size() + symbol];
  const int length = found < 0 ? 0 : chart_[found].arrow.Length();
  if (CouldHideLonger(parent.position, symbol, parent.position + length) ||
      (length > 0 && CouldHideGroup(parent.position, symbol, parent.position + length))) {
    complete = false;
    return nullptr;
  }
  if (length < 1) {
    return nullptr;
  }
  id = BestCandidate(symbols_[symbol].text, symbol, parent.position, length);
  if (id < 0) {
    return nullptr;
  }
  auto child = std::make_shared<ParseTreeNode>();
  if (parent.last == nullptr) {
    parent.node->SetChild(child);
  } else {
    parent.last->SetSibling(child);
  }
  parent.last = child.get();
  parent.position += length;
  ++parent.next;
  return child;
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

// ---- what the lookahead left out ----------------------------------------------------------

void ParseLattice::NoteDormant(int pole, int target, int end) {
  dormant_[pole].emplace_back(target, end);
  anyDormant_ = true;
  if (dormantTargets_[target]) {
    return;
  }
  dormantTargets_[target] = true;
  for (const int symbol : lookaheadSets_.GrownOnItsPole(target)) {
    hideable_[symbol] = true;
  }
  for (const int symbol : lookaheadSets_.GrownAnywhere(target)) {
    hideable_[symbol] = true;
  }
}

// An arrow grown from a dormant one stands on the dormant arrow's pole or before it and ends
// where the dormant arrow does.
void ParseLattice::MarkDormantReach() {
  if (!anyDormant_) {
    return;
  }
  dormantReach_.assign(tokens_.size() + 1, -1);
  for (std::size_t pole = tokens_.size(); pole-- > 0;) {
    int reach = dormantReach_[pole + 1];
    for (const auto& [target, end] : dormant_[pole]) {
      reach = std::max(reach, end);
    }
    dormantReach_[pole] = reach;
  }
}

// An arrow left out stands where an arrow of the chart waits for a symbol that a dormant arrow,
// or one left out, completes: so the group could hold one if an arrow of that target on the pole
// waits where a complete arrow left out reaches as far as the group does.
bool ParseLattice::CouldHideGroup(int pole, int symbol, int end) {
  if (!anyDormant_ || symbol < 0 || !hideable_[symbol] || dormantReach_[pole] < end) {
    return false;
  }
  const int count = static_cast<int>(tokens_.size());
  for (const int id : poles_[pole]) {
    const ChartArrow& entry = chart_[id];
    const int follow = pole + entry.arrow.Length();
    if (entry.target != symbol || entry.rule < 0 || entry.complete || follow >= count) {
      continue;
    }
    if (HiddenEnd(follow, ruleSymbols_[entry.rule][entry.arrow.Dot()]) >= end) {
      return true;
    }
  }
  return false;
}

bool ParseLattice::CouldHideLonger(int pole, int symbol, int end) {
  return anyDormant_ && hideable_[symbol] && dormantReach_[pole] > end && HiddenEnd(pole, symbol) > end;
}

// The furthest end of a complete arrow of the symbol on the pole that the chart holds only as a
// dormant arrow or not at all: a dormant one, or an arrow one symbol short of complete grown over
// such an arrow on its follow pole. Remembered once worked out; a chain that comes back to itself
// is taken to reach the end.
int ParseLattice::HiddenEnd(int pole, int symbol) {
  if (hiddenEnd_.empty()) {
    hiddenEnd_.assign(tokens_.size() * symbols_.size(), kHiddenUnknown);
  }
  const int known = hiddenEnd_[pole * symbols_.size() + symbol];
  if (known == kHiddenWorking) {
    return static_cast<int>(tokens_.size());
  }
  return known == kHiddenUnknown ? WorkOutHiddenEnd(pole, symbol) : known;
}

// Depth first with an explicit stack: a chain takes one level per pole at most, besides the
// grammar's chains of one-symbol rules.
int ParseLattice::WorkOutHiddenEnd(int pole, int symbol) {
  std::vector<HiddenFrame>& stack = hiddenStack_;
  stack.assign(1, OpenHiddenFrame(pole, symbol));
  int result = -1;
  while (!stack.empty()) {
    HiddenFrame& frame = stack.back();
    const auto& arrows = poles_[frame.pole];
    if (frame.next == arrows.size()) {
      result = frame.end;
      hiddenEnd_[frame.pole * symbols_.size() + frame.symbol] = result;
      stack.pop_back();
      if (!stack.empty()) stack.back().end = std::max(stack.back().end, result);
      continue;
    }
    const ChartArrow& entry = chart_[arrows[frame.next++]];
    const int follow = frame.pole + entry.arrow.Length();
    const int next = OneShortOf(entry, frame.symbol);
    if (next < 0 || !hideable_[next]) {
      continue;
    }
    const int memo = hiddenEnd_[follow * symbols_.size() + next];
    if (memo == kHiddenUnknown) {
      stack.push_back(OpenHiddenFrame(follow, next));
    } else {
      frame.end = std::max(frame.end, memo == kHiddenWorking ? static_cast<int>(tokens_.size()) : memo);
    }
  }
  return result;
}

ParseLattice::HiddenFrame ParseLattice::OpenHiddenFrame(int pole, int symbol) {
  hiddenEnd_[pole * symbols_.size() + symbol] = kHiddenWorking;
  int end = -1;
  for (const auto& [target, dormantEnd] : dormant_[pole]) {
    if (target == symbol) end = std::max(end, dormantEnd);
  }
  return HiddenFrame{pole, symbol, 0, end};
}

// The symbol that would complete the arrow, when it is one of target's with one symbol to go
// before a follow pole inside the tokens; else -1.
int ParseLattice::OneShortOf(const ChartArrow& entry, int target) const {
  const int follow = entry.pole + entry.arrow.Length();
  if (entry.target != target || entry.rule < 0 || entry.complete || follow >= static_cast<int>(tokens_.size()) ||
      entry.arrow.Dot() + 1 != entry.arrow.Rule()->Length()) {
    return -1;
  }
  return ruleSymbols_[entry.rule][entry.arrow.Dot()];
}

// A node's text is its tokens joined by single blanks, so it is one stretch of the whole
// statement's tokens so joined; the nodes share that text and each cuts its own out when read.
void ParseLattice::SetCoveredValues(const std::vector<CoveredSpan>& spans) const {
  if (spans.empty()) {
    return;
  }
  auto joined = std::make_shared<std::string>();
  std::vector<std::size_t> starts;
  starts.reserve(tokens_.size());
  for (const udtToken& token : tokens_) {
    if (!starts.empty()) {
      *joined += ' ';
    }
    starts.push_back(joined->size());
    *joined += token.strToken;
  }
  const int count = static_cast<int>(tokens_.size());
  for (const CoveredSpan& span : spans) {
    const int last = std::min(span.pole + span.length, count) - 1;
    const std::size_t begin = starts[span.pole];
    const std::size_t length = last < span.pole ? 0 : starts[last] + tokens_[last].strToken.size() - begin;
    span.node->SetCoveredValue(joined, begin, length);
  }
}

}  // namespace quendrel
