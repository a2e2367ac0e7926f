#include "flash/scripts/FL2Loader.h"

#include <algorithm>

#include "flash/language/LiteralTracker.h"
#include "flash/language/ParseEngine.h"
#include "flash/scripts/ScriptLength.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

const char* const kLoadFailedTitle = "Unable to load FL2 script";

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool HoldsText(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) > ' '; });
}

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

}  // namespace

FL2Loader::FL2Loader(ParseEngine& parser, UiServices& ui, LabelMap& labels)
    : parser_(parser), ui_(ui), labels_(labels) {}

namespace {

// One pass over the script text; comments are dropped and statements cut where no string
// literal, block comment or parenthesis is open.
class StatementScanner {
 public:
  StatementScanner(ParseEngine& parser, StatementList& list) : parser_(parser), list_(list) {}

  bool Scan(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (!Take(text, i)) return false;
    }
    if (literal_.Open() || parens_ > 0) return false;
    return !HoldsText(statement_) || EndStatement();
  }

 private:
  bool Take(const std::string& text, std::size_t& i) {
    const char c = text[i];
    const char p = previous_;
    const bool pKept = previousKept_;
    previous_ = c;
    previousKept_ = false;
    if (inComment_) {
      inComment_ = !(p == '*' && c == '/');
      return true;
    }
    if (literal_.Open() || c == '"') {
      literal_.Step(c);
      return Keep(c);
    }
    if (p == '/' && (c == '*' || c == '/')) return StartComment(text, i, c, pKept);
    if ((c == '{' || c == '}') && parens_ == 0) return Brace(c);
    if (c == ';' && parens_ == 0 && !Trim(statement_).empty()) return EndStatement();
    if (c == '(') ++parens_;
    if (c == ')' && parens_ > 0) --parens_;
    return Keep(c);
  }

  bool Keep(char c) {
    if (c == '\n' || c == '\r' || c == '\t') return true;
    statement_ += c;
    previousKept_ = true;
    return true;
  }

  bool StartComment(const std::string& text, std::size_t& i, char c, bool slashKept) {
    if (slashKept) statement_.pop_back();
    previous_ = 0;
    if (c == '*') {
      inComment_ = true;
      return true;
    }
    // CR alone, LF alone and CR LF each end a line.
    const auto lineEnd = text.find_first_of("\r\n", i);
    i = lineEnd == std::string::npos ? text.size() : lineEnd;
    return true;
  }

  bool Brace(char c) {
    const std::string trimmed = Trim(statement_);
    if (!trimmed.empty()) {
      auto tree = parser_.ParseSingle(trimmed, "statement");
      if (tree == nullptr) return false;
      tree->SetValue(trimmed);
      list_.push_back(std::move(tree));
    }
    statement_ = std::string(1, c);
    return EndStatement();
  }

  bool EndStatement() {
    const std::string trimmed = Trim(statement_);
    auto trees = parser_.Parse(trimmed);
    if (!trees) return false;
    for (auto& tree : *trees) {
      tree->SetValue(trimmed);
      list_.push_back(std::move(tree));
    }
    statement_.clear();
    return true;
  }

  ParseEngine& parser_;
  StatementList& list_;
  std::string statement_;
  LiteralTracker literal_;
  bool inComment_ = false;
  int parens_ = 0;
  char previous_ = 0;
  bool previousKept_ = false;
};

}  // namespace

std::optional<StatementList> FL2Loader::LoadFL2(const std::string& text) {
  StatementList list;
  StatementScanner scanner(parser_, list);
  if (!scanner.Scan(text)) {
    SyntaxError();
    return std::nullopt;
  }
  if (!PostParse(list)) {
    if (StatementCountFits(list.size(), ui_, kLoadFailedTitle)) SyntaxError();
    return std::nullopt;
  }
  return list;
}

// The script's labels change only on success; a script longer than its 16-bit ProgramLength can
// count is refused.
bool FL2Loader::PostParse(StatementList& list) {
  working_ = labels_;
  headers_.clear();
  nextLabel_ = 0;
  if (list.size() > kMostStatements) return false;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const ParseTreeNode& node = *list[i];
    if (node.Token() != "statement" || node.Children() != 3 || node.Child()->Token() != "ID") continue;
    working_.emplace(node.Child()->Value(), static_cast<int>(i + 1));
  }
  for (int i = 1; i <= static_cast<int>(list.size()); ++i) {
    if (!Lower(list, i)) return false;
  }
  if (list.size() > kMostStatements) return false;
  labels_ = working_;
  return true;
}

ParseTreeNodePtr FL2Loader::PPHelperGetBody(const ParseTreeNodePtr& node) {
  if (node == nullptr || node->Token() != "statement") return nullptr;
  const int children = node->Children();
  const ParseTreeNodePtr body = children == 1 ? node->Child() : children == 3 ? node->OrdinalChild(3) : node;
  return Is(body, "statement-body") ? body : nullptr;
}

int FL2Loader::PPHelperGetBlockEnd(const StatementList& list, int start) {
  int depth = 0;
  for (int k = start; k <= static_cast<int>(list.size()); ++k) {
    const ParseTreeNodePtr first = FirstOfBody(list[static_cast<std::size_t>(k - 1)]);
    if (Is(first, "block-start")) ++depth;
    if (Is(first, "block-end") && --depth < 1) return k;
  }
  return 0;
}

bool FL2Loader::Lower(StatementList& list, int i) {
  const ParseTreeNodePtr call = FirstOfBody(list[static_cast<std::size_t>(i - 1)]);
  if (!Is(call, "fcall")) return true;
  const std::string& name = call->Child()->Value();
  if ((name != "if" && name != "while") || i >= static_cast<int>(list.size())) return true;
  const bool startsBlock = Is(FirstOfBody(list[static_cast<std::size_t>(i)]), "block-start");
  if (name == "if" && !startsBlock) return true;
  // A block or loop without a condition cannot be lowered into a test.
  if (!HasCondition(*call)) return false;
  if (startsBlock) return LowerBlock(list, i, *call, name == "while");
  LowerSingleLoop(list, i, *call);
  return true;
}

bool FL2Loader::LowerBlock(StatementList& list, int i, ParseTreeNode& call, bool loop) {
  const int e = PPHelperGetBlockEnd(list, i + 1);
  if (e == 0) return false;
  NegateCondition(call);
  const std::string exit = NewLabel();
  working_[exit] = e + 1;
  MakeJump(*FirstOfBody(list[static_cast<std::size_t>(i)]), exit);
  ParseTreeNode& end = *list[static_cast<std::size_t>(e - 1)];
  if (!loop) {
    end = ParseTreeNode();
    return true;
  }
  const ParseTreeNodePtr& header = call.Child();
  header->SetValue("if");
  header->SetBreakTo(e + 1);
  header->SetContinueTo(i);
  const std::string test = NewLabel();
  working_[test] = i;
  MakeJump(end, test);
  headers_.push_back(header);
  return true;
}

void FL2Loader::LowerSingleLoop(StatementList& list, int i, ParseTreeNode& call) {
  const std::string exit = NewLabel();
  const std::string test = NewLabel();
  const ParseTreeNodePtr& header = call.Child();
  header->SetValue("if");
  NegateCondition(call);
  // Inserted jumps carry no text: the log and a retry show only what the user wrote.
  auto jumpOut = Node("statement", "");
  jumpOut->SetChild(GotoBody(exit));
  auto jumpBack = Node("statement", "");
  jumpBack->SetChild(GotoBody(test));
  InsertStatement(list, jumpOut, i + 1);
  InsertStatement(list, jumpBack, i + 3);
  header->SetBreakTo(i + 4);
  header->SetContinueTo(i);
  working_[exit] = i + 4;
  working_[test] = i;
  headers_.push_back(header);
}

int FL2Loader::InsertStatement(StatementList& list, ParseTreeNodePtr node, int index) {
  if (index > static_cast<int>(list.size())) {
    list.push_back(std::move(node));
    return static_cast<int>(list.size());
  }
  for (auto& [name, at] : working_) {
    if (at >= index) ++at;
  }
  for (const auto& header : headers_) {
    if (header->BreakTo() >= index) header->SetBreakTo(header->BreakTo() + 1);
    if (header->ContinueTo() >= index) header->SetContinueTo(header->ContinueTo() + 1);
  }
  list.insert(list.begin() + (index - 1), std::move(node));
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
