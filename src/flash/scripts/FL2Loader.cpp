#include "flash/scripts/FL2Loader.h"

#include "flash/language/ParseEngine.h"
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
class StatementCounter final : public StatementSink {
 public:
  bool Whole(const std::string& /*text*/) override {
    ++count_;
    return true;
  }
  bool Split(const std::string& text) override {
    count_ += ParseEngine::StatementPieces(text).size();
    return true;
  }
  std::size_t Count() const { return count_; }

 private:
  std::size_t count_ = 0;
};

// Parses each statement and keeps what running and the lowering need of it; the tree goes.
class StatementReader final : public StatementSink {
 public:
  StatementReader(ParseEngine& parser, ScriptProgram& program) : parser_(parser), program_(program) {}

  bool Whole(const std::string& text) override {
    const ParseTreeNodePtr tree = parser_.ParseSingle(text, "statement");
    if (tree == nullptr) return false;
    program_.push_back(Summary(tree, text, text));
    return true;
  }

  // The parser hands each piece back as its tree's value.
  bool Split(const std::string& text) override {
    const auto trees = parser_.Parse(text);
    if (!trees) return false;
    for (const ParseTreeNodePtr& tree : *trees) program_.push_back(Summary(tree, tree->Value(), text));
    return true;
  }

 private:
  static std::unique_ptr<ScriptStatement> Summary(const ParseTreeNodePtr& tree, const std::string& source,
                                                  const std::string& text) {
    auto statement = std::make_unique<ScriptStatement>();
    statement->source = source;
    statement->text = text;
    if (tree->Token() == "statement" && tree->Children() == 3 && tree->Child()->Token() == "ID") {
      statement->label = tree->Child()->Value();
    }
    const ParseTreeNodePtr first = FirstOfBody(tree);
    if (Is(first, "block-start")) statement->role = ScriptStatement::Role::kBlockStart;
    if (Is(first, "block-end")) statement->role = ScriptStatement::Role::kBlockEnd;
    if (Is(first, "fcall")) {
      statement->role = ScriptStatement::Role::kCall;
      statement->call = first->Child()->Value();
      statement->hasCondition = HasCondition(*first);
    }
    return statement;
  }

  ParseEngine& parser_;
  ScriptProgram& program_;
};

bool AsParsed(const ScriptStatement& statement, ScriptStatement::Role role) {
  return statement.lowering == ScriptStatement::Lowering::kAsParsed && statement.role == role;
}

std::unique_ptr<ScriptStatement> InsertedJump(const std::string& label) {
  auto jump = std::make_unique<ScriptStatement>();
  jump->lowering = ScriptStatement::Lowering::kInsertedJump;
  jump->jumpLabel = label;
  return jump;
}

// An emptied block end keeps neither a tree nor a text.
void Empty(ScriptStatement& statement) {
  statement = ScriptStatement();
  statement.lowering = ScriptStatement::Lowering::kEmptied;
}

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

}  // namespace

FL2Loader::FL2Loader(ParseEngine& parser, UiServices& ui, LabelMap& labels)
    : parser_(parser), ui_(ui), labels_(labels) {}

std::optional<ScriptProgram> FL2Loader::LoadFL2(const std::string& text) {
  const ChartRelease release(parser_);
  StatementCounter counter;
  StatementScanner(counter).Scan(text);
  if (!StatementCountFits(counter.Count(), ui_, kLoadFailedTitle)) return std::nullopt;
  std::optional<ScriptProgram> program = ReadStatements(text);
  if (!program) {
    SyntaxError();
    return std::nullopt;
  }
  if (!PostParse(*program)) {
    if (StatementCountFits(program->size(), ui_, kLoadFailedTitle)) SyntaxError();
    return std::nullopt;
  }
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
  headers_.clear();
  nextLabel_ = 0;
  if (program.size() > kMostStatements) return false;
  for (std::size_t i = 0; i < program.size(); ++i) {
    if (!program[i]->label.empty()) working_.emplace(program[i]->label, static_cast<int>(i + 1));
  }
  for (int i = 1; i <= static_cast<int>(program.size()); ++i) {
    if (!Lower(program, i)) return false;
  }
  if (program.size() > kMostStatements) return false;
  labels_ = working_;
  return true;
}

ParseTreeNodePtr FL2Loader::StatementTree(const ScriptStatement& statement, ParseEngine& parser) {
  using Lowering = ScriptStatement::Lowering;
  if (statement.lowering == Lowering::kEmptied) return std::make_shared<ParseTreeNode>();
  if (statement.lowering == Lowering::kInsertedJump) {
    // Inserted jumps carry no text: the log and a retry show only what the user wrote.
    auto jump = Node("statement", "");
    jump->SetChild(GotoBody(statement.jumpLabel));
    return jump;
  }
  ParseTreeNodePtr tree = parser.ParseSingle(statement.source, "statement");
  if (tree == nullptr) return nullptr;
  tree->SetValue(statement.text);
  if (statement.lowering == Lowering::kBodyJumps) MakeJump(*FirstOfBody(tree), statement.jumpLabel);
  if (statement.lowering == Lowering::kJumps) MakeJump(*tree, statement.jumpLabel);
  if (statement.role != ScriptStatement::Role::kCall) return tree;
  const ParseTreeNodePtr call = FirstOfBody(tree);
  if (statement.negateCondition) NegateCondition(*call);
  if (statement.loopHeader) {
    const ParseTreeNodePtr& header = call->Child();
    header->SetValue("if");
    header->SetBreakTo(statement.breakTo);
    header->SetContinueTo(statement.continueTo);
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
  for (int k = start; k <= static_cast<int>(program.size()); ++k) {
    const ScriptStatement& statement = *program[static_cast<std::size_t>(k - 1)];
    if (AsParsed(statement, ScriptStatement::Role::kBlockStart)) ++depth;
    if (AsParsed(statement, ScriptStatement::Role::kBlockEnd) && --depth < 1) return k;
  }
  return 0;
}

bool FL2Loader::Lower(ScriptProgram& program, int i) {
  const ScriptStatement& call = *program[static_cast<std::size_t>(i - 1)];
  if (!AsParsed(call, ScriptStatement::Role::kCall)) return true;
  const std::string& name = call.call;
  if ((name != "if" && name != "while") || i >= static_cast<int>(program.size())) return true;
  const bool startsBlock = AsParsed(*program[static_cast<std::size_t>(i)], ScriptStatement::Role::kBlockStart);
  if (name == "if" && !startsBlock) return true;
  // A block or loop without a condition cannot be lowered into a test.
  if (!call.hasCondition) return false;
  if (startsBlock) return LowerBlock(program, i, name == "while");
  LowerSingleLoop(program, i);
  return true;
}

bool FL2Loader::LowerBlock(ScriptProgram& program, int i, bool loop) {
  const int e = PPHelperGetBlockEnd(program, i + 1);
  if (e == 0) return false;
  ScriptStatement& call = *program[static_cast<std::size_t>(i - 1)];
  call.negateCondition = true;
  const std::string exit = NewLabel();
  working_[exit] = e + 1;
  ScriptStatement& start = *program[static_cast<std::size_t>(i)];
  start.lowering = ScriptStatement::Lowering::kBodyJumps;
  start.jumpLabel = exit;
  ScriptStatement& end = *program[static_cast<std::size_t>(e - 1)];
  if (!loop) {
    Empty(end);
    return true;
  }
  call.loopHeader = true;
  call.breakTo = e + 1;
  call.continueTo = i;
  const std::string test = NewLabel();
  working_[test] = i;
  end.lowering = ScriptStatement::Lowering::kJumps;
  end.jumpLabel = test;
  headers_.push_back(&call);
  return true;
}

void FL2Loader::LowerSingleLoop(ScriptProgram& program, int i) {
  const std::string exit = NewLabel();
  const std::string test = NewLabel();
  ScriptStatement& header = *program[static_cast<std::size_t>(i - 1)];
  header.loopHeader = true;
  header.negateCondition = true;
  InsertStatement(program, InsertedJump(exit), i + 1);
  InsertStatement(program, InsertedJump(test), i + 3);
  header.breakTo = i + 4;
  header.continueTo = i;
  working_[exit] = i + 4;
  working_[test] = i;
  headers_.push_back(&header);
}

int FL2Loader::InsertStatement(ScriptProgram& program, std::unique_ptr<ScriptStatement> statement, int index) {
  if (index > static_cast<int>(program.size())) {
    program.push_back(std::move(statement));
    return static_cast<int>(program.size());
  }
  for (auto& [name, at] : working_) {
    if (at >= index) ++at;
  }
  for (ScriptStatement* header : headers_) {
    if (header->breakTo >= index) ++header->breakTo;
    if (header->continueTo >= index) ++header->continueTo;
  }
  program.insert(program.begin() + (index - 1), std::move(statement));
  return index;
}

// Labels are never removed while loading, so the search goes on from the last one made.
std::string FL2Loader::NewLabel() {
  for (;; ++nextLabel_) {
    std::string name = "autolabel" + std::to_string(nextLabel_);
    if (working_.emplace(name, 0).second) return name;
  }
}

bool FL2Loader::SyntaxError() {
  ui_.MsgBox("Syntax error in FL2 file.", vbCritical | vbOKOnly, kLoadFailedTitle);
  return false;
}

}  // namespace quendrel
