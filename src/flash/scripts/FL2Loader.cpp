#include "flash/scripts/FL2Loader.h"

#include <vector>

#include "flash/language/ParseEngine.h"
#include "flash/language/ScriptTokeniser.h"
#include "flash/scripts/ScriptLength.h"
#include "flash/scripts/StatementScanner.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

const char* const kLoadFailedTitle = "Unable to load FL2 script";

ParseTreeNodePtr Node(std::string token, std::string value) {
  auto node = std::make_shared<ParseTreeNode>();
  node->SetToken(std::move(token));
  node->SetValue(std::move(value));
  return node;
}

ParseTreeNodePtr Parent(std::string token, std::string value, std::vector<ParseTreeNodePtr> children) {
  auto node = Node(std::move(token), std::move(value));
  for (std::size_t k = 1; k < children.size(); ++k) children[k - 1]->SetSibling(children[k]);
  node->SetChild(children.front());
  return node;
}

ParseTreeNodePtr GotoBody(const std::string& label) {
  return Parent("statement-body", "goto " + label, {Node("goto", "goto"), Node("ID", label)});
}

// Turns a node into "goto label" in place, so it keeps its place in the tree and its source text.
void MakeJump(ParseTreeNode& node, const std::string& label) {
  node.SetToken("statement");
  node.SetChild(GotoBody(label));
}

bool HasCondition(const ParseTreeNode& call) {
  return call.Children() > 3 && call.OrdinalChild(3)->Token() == "plist";
}

// The condition c becomes !(c); further arguments are dropped.
void NegateCondition(ParseTreeNode& call) {
  const ParseTreeNodePtr plist = call.OrdinalChild(3);
  const ParseTreeNodePtr condition = plist->Child();
  auto bracketed = Parent("value", "(" + condition->Value() + ")", {Node("\"(\"", "("), condition, Node("\")\"", ")")});
  auto negation = Parent("unaryop", "!", {Node("\"!\"", "!")});
  plist->SetChild(Parent("expr", "!" + bracketed->Value(), {Parent("value", "!", {negation, bracketed})}));
}

ParseTreeNodePtr FirstOfBody(const ParseTreeNodePtr& statement) {
  const ParseTreeNodePtr body = FL2Loader::PPHelperGetBody(statement);
  return body ? body->Child() : nullptr;
}

bool Is(const ParseTreeNodePtr& node, const char* token) { return node != nullptr && node->Token() == token; }

// How many statements the parser will be asked for: the count a script is refused by is known
// before any statement is parsed.
// Counts statements and, up to one past the most a script may hold, tokens.
class StatementCounter final : public StatementSink {
 public:
  bool Whole(const std::string& text) override {
    ++count_;
    CountTokens(text);
    return true;
  }
  bool Split(const std::string& text) override {
    const std::vector<std::string> pieces = ParseEngine::StatementPieces(text);
    count_ += pieces.size();
    for (const std::string& piece : pieces) CountTokens(piece);
    return true;
  }
  std::size_t Count() const { return count_; }
  std::size_t Tokens() const { return tokens_; }

 private:
  void CountTokens(const std::string& text) {
    if (tokens_ <= kMostScriptTokens) tokens_ += ScriptTokeniser::Tokenise(text, kMostScriptTokens - tokens_).size();
  }

  std::size_t count_ = 0;
  std::size_t tokens_ = 0;
};

// Parses each statement and keeps what running and the lowering need of it; the tree goes.
class StatementReader final : public StatementSink {
 public:
  StatementReader(ParseEngine& parser, ScriptProgram& program) : parser_(parser), program_(program) {}

  bool Whole(const std::string& text) override {
    const ParseTreeNodePtr tree = parser_.ParseSingle(text, "statement");
    if (tree == nullptr) return false;
    program_.StartCut(text);
    program_.Append(text, Seen(tree));
    return true;
  }

  // The parser hands each piece back as its tree's value.
  bool Split(const std::string& text) override {
    const auto trees = parser_.Parse(text);
    if (!trees) return false;
    program_.StartCut(text);
    for (const ParseTreeNodePtr& tree : *trees) program_.Append(tree->Value(), Seen(tree));
    return true;
  }

 private:
  static ScriptProgram::Parsed Seen(const ParseTreeNodePtr& tree) {
    ScriptProgram::Parsed parsed;
    if (tree->Token() == "statement" && tree->Children() == 3 && tree->Child()->Token() == "ID") {
      parsed.label = tree->Child()->Value();
    }
    const ParseTreeNodePtr first = FirstOfBody(tree);
    if (Is(first, "block-start")) parsed.role = ScriptProgram::Role::kBlockStart;
    if (Is(first, "block-end")) parsed.role = ScriptProgram::Role::kBlockEnd;
    if (Is(first, "fcall")) {
      parsed.role = ScriptProgram::Role::kCall;
      parsed.call = first->Child()->Value();
      parsed.hasCondition = HasCondition(*first);
    }
    return parsed;
  }

  ParseEngine& parser_;
  ScriptProgram& program_;
};

// A script keeps its statements' texts, not the chart of the last one parsed.
class ChartRelease {
 public:
  explicit ChartRelease(ParseEngine& parser) : parser_(parser) {}
  ~ChartRelease() { parser_.ReleaseChart(); }
  ChartRelease(const ChartRelease&) = delete;
  ChartRelease& operator=(const ChartRelease&) = delete;

 private:
  ParseEngine& parser_;
};

std::string LabelName(int label) { return "autolabel" + std::to_string(label); }

}  // namespace

FL2Loader::FL2Loader(ParseEngine& parser, UiServices& ui, LabelMap& labels)
    : parser_(parser), ui_(ui), labels_(labels) {}

std::optional<ScriptProgram> FL2Loader::LoadFL2(const std::string& text) {
  const ChartRelease release(parser_);
  StatementCounter counter;
  StatementScanner(counter).Scan(text);
  if (!StatementCountFits(counter.Count(), ui_, kLoadFailedTitle)) return std::nullopt;
  if (!TokenCountFits(counter.Tokens(), ui_, kLoadFailedTitle)) return std::nullopt;
  std::optional<ScriptProgram> program = ReadStatements(text);
  if (!program) {
    SyntaxError();
    return std::nullopt;
  }
  if (!PostParse(*program)) {
    if (StatementCountFits(program->Size(), ui_, kLoadFailedTitle)) SyntaxError();
    return std::nullopt;
  }
  program->Shrink();
  return program;
}

std::optional<ScriptProgram> FL2Loader::ReadStatements(const std::string& text) {
  ScriptProgram program;
  StatementReader reader(parser_, program);
  if (!StatementScanner(reader).Scan(text)) return std::nullopt;
  return program;
}

// The script's labels change only on success; a script longer than its 16-bit ProgramLength can
// count is refused.
bool FL2Loader::PostParse(ScriptProgram& program) {
  working_ = labels_;
  nextLabel_ = 0;
  if (program.Size() > kMostStatements) return false;
  for (int i = 1; i <= static_cast<int>(program.Size()); ++i) {
    const std::string& label = program.DefinedLabel(i);
    if (!label.empty()) working_.emplace(label, i);
  }
  program.ForgetDefinedLabels();
  for (int i = 1; i <= static_cast<int>(program.Size()); ++i) {
    if (!Lower(program, i)) return false;
  }
  if (program.Size() > kMostStatements) return false;
  labels_ = working_;
  return true;
}

ParseTreeNodePtr FL2Loader::StatementTree(const ScriptProgram& program, int index, ParseEngine& parser) {
  using Lowering = ScriptProgram::Lowering;
  const Lowering lowering = program.LoweringOf(index);
  if (lowering == Lowering::kEmptied) return std::make_shared<ParseTreeNode>();
  if (lowering == Lowering::kInsertedJump) {
    // Inserted jumps carry no text: the log and a retry show only what the user wrote.
    auto jump = Node("statement", "");
    jump->SetChild(GotoBody(LabelName(program.JumpLabel(index))));
    return jump;
  }
  ParseTreeNodePtr tree = parser.ParseSingle(std::string(program.Source(index)), "statement");
  if (tree == nullptr) return nullptr;
  tree->SetValue(std::string(program.Text(index)));
  if (lowering == Lowering::kBodyJumps) MakeJump(*FirstOfBody(tree), LabelName(program.JumpLabel(index)));
  if (lowering == Lowering::kJumps) MakeJump(*tree, LabelName(program.JumpLabel(index)));
  if (!program.IsAsParsed(index, ScriptProgram::Role::kCall)) return tree;
  const ParseTreeNodePtr call = FirstOfBody(tree);
  if (program.NegatesCondition(index)) NegateCondition(*call);
  if (const ScriptProgram::LoopTargets* loop = program.Loop(index)) {
    const ParseTreeNodePtr& header = call->Child();
    header->SetValue("if");
    header->SetBreakTo(loop->breakTo);
    header->SetContinueTo(loop->continueTo);
  }
  return tree;
}

ParseTreeNodePtr FL2Loader::PPHelperGetBody(const ParseTreeNodePtr& node) {
  if (node == nullptr || node->Token() != "statement") return nullptr;
  const int children = node->Children();
  const ParseTreeNodePtr body = children == 1 ? node->Child() : children == 3 ? node->OrdinalChild(3) : node;
  return Is(body, "statement-body") ? body : nullptr;
}

int FL2Loader::PPHelperGetBlockEnd(const ScriptProgram& program, int start) {
  int depth = 0;
  for (int k = start; k <= static_cast<int>(program.Size()); ++k) {
    if (program.IsAsParsed(k, ScriptProgram::Role::kBlockStart)) ++depth;
    if (program.IsAsParsed(k, ScriptProgram::Role::kBlockEnd) && --depth < 1) return k;
  }
  return 0;
}

bool FL2Loader::Lower(ScriptProgram& program, int i) {
  if (!program.IsAsParsed(i, ScriptProgram::Role::kCall)) return true;
  const bool isIf = program.CallsIfOrWhile(i, false);
  const bool isWhile = program.CallsIfOrWhile(i, true);
  if ((!isIf && !isWhile) || i >= static_cast<int>(program.Size())) return true;
  const bool startsBlock = program.IsAsParsed(i + 1, ScriptProgram::Role::kBlockStart);
  if (isIf && !startsBlock) return true;
  // A block or loop without a condition cannot be lowered into a test.
  if (!program.HasCondition(i)) return false;
  if (startsBlock) return LowerBlock(program, i, isWhile);
  LowerSingleLoop(program, i);
  return true;
}

bool FL2Loader::LowerBlock(ScriptProgram& program, int i, bool loop) {
  const int e = PPHelperGetBlockEnd(program, i + 1);
  if (e == 0) return false;
  program.NegateCondition(i);
  const int exit = NewLabel();
  working_[LabelName(exit)] = e + 1;
  program.MakeJump(i + 1, ScriptProgram::Lowering::kBodyJumps, exit);
  if (!loop) {
    program.Empty(e);
    return true;
  }
  program.SetLoopTargets(i, {e + 1, i});
  const int test = NewLabel();
  working_[LabelName(test)] = i;
  program.MakeJump(e, ScriptProgram::Lowering::kJumps, test);
  return true;
}

void FL2Loader::LowerSingleLoop(ScriptProgram& program, int i) {
  const int exit = NewLabel();
  const int test = NewLabel();
  program.NegateCondition(i);
  InsertJump(program, exit, i + 1);
  InsertJump(program, test, i + 3);
  program.SetLoopTargets(i, {i + 4, i});
  working_[LabelName(exit)] = i + 4;
  working_[LabelName(test)] = i;
}

// Labels move with the statements they name; a jump appended after the last statement moves none.
void FL2Loader::InsertJump(ScriptProgram& program, int label, int index) {
  if (index <= static_cast<int>(program.Size())) {
    for (auto& [name, at] : working_) {
      if (at >= index) ++at;
    }
  }
  program.InsertJump(index, label);
}

// Labels are never removed while loading, so the search goes on from the last one made.
int FL2Loader::NewLabel() {
  for (;; ++nextLabel_) {
    if (working_.emplace(LabelName(nextLabel_), 0).second) return nextLabel_;
  }
}

bool FL2Loader::SyntaxError() {
  ui_.MsgBox("Syntax error in FL2 file.", vbCritical | vbOKOnly, kLoadFailedTitle);
  return false;
}

}  // namespace quendrel
