#include "flash/language/ParseEngine.h"

#include <algorithm>
#include <utility>

#include "flash/language/LiteralTracker.h"
#include "flash/language/ScriptTokeniser.h"
#include "foundation/files/TextStream.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

std::size_t FindOutside(const std::string& text, const std::vector<bool>& literal,
                        const std::string& needle, std::size_t from) {
  for (auto found = text.find(needle, from); found != std::string::npos;
       found = text.find(needle, found + 1)) {
    if (!literal[found]) {
      return found;
    }
  }
  return std::string::npos;
}

// Braces become statements of their own: the loader lowers them into labels and jumps.
std::string SeparateBraces(const std::string& text) {
  const auto literal = LiteralMask(text);
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (!literal[i] && (c == '{' || c == '}')) {
      result += ';';
      result += c;
      result += ';';
    } else {
      result += c;
    }
  }
  return result;
}

std::vector<std::string> SplitStatements(const std::string& text) {
  const auto literal = LiteralMask(text);
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ';' && !literal[i]) {
      pieces.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

}  // namespace

ParseEngine::ParseEngine() { lattice_.ReadRulesFile(""); }

ParseEngine::ParseEngine(std::unique_ptr<TextStream> grammar) {
  lattice_.LoadGrammar(std::move(grammar));
}

// The result is copied up to each ")" that gets a ";", so the text is read once. The search goes
// on from that ")" in the text as read: a ";" put in cannot begin or complete a later match
// unless strAfter itself begins with ")" or ";", which no caller asks for.
std::string ParseEngine::InsertSemicolons(const std::string& strInput, const std::string& strAfter) {
  const std::string needle = strAfter + " (";
  const auto literal = LiteralMask(strInput);
  std::string text;
  text.reserve(strInput.size());
  std::size_t copied = 0;
  std::size_t from = 0;
  while (true) {
    const auto found = FindOutside(strInput, literal, needle, from);
    const auto close = found == std::string::npos ? found : FindOutside(strInput, literal, ")", found);
    if (close == std::string::npos) {
      return text.append(strInput, copied);
    }
    text.append(strInput, copied, close + 1 - copied).push_back(';');
    copied = close + 1;
    from = close;
  }
}

ParseTreeNodePtr ParseEngine::ParseSingle(const std::string& strInput, const std::string& strTarget) {
  lattice_.Clear();
  lattice_.SetTokenList(ScriptTokeniser::TokeniseAndJoin(strInput, ParseLattice::kLongestStatement));
  lattice_.RunRules(strTarget, ParseLattice::ChartMode::kLookahead);
  return lattice_.ExtractTree(strTarget, 1, -1);
}

std::vector<std::string> ParseEngine::StatementPieces(const std::string& strInput) {
  std::string text = SeparateBraces(strInput);
  text = InsertSemicolons(text, "if");
  text = InsertSemicolons(text, "while");
  std::vector<std::string> pieces = SplitStatements(text);
  pieces.erase(std::remove_if(pieces.begin(), pieces.end(), IsBlank), pieces.end());
  return pieces;
}

std::optional<std::vector<ParseTreeNodePtr>> ParseEngine::Parse(const std::string& strInput) {
  std::vector<ParseTreeNodePtr> trees;
  for (std::string& piece : StatementPieces(strInput)) {
    auto tree = ParseSingle(piece, "statement");
    if (tree == nullptr) {
      Ui().MsgBox("Syntax error in FL2 script.", vbExclamation | vbOKOnly, "FL2 Execution Error");
      return std::nullopt;
    }
    tree->SetValue(std::move(piece));
    trees.push_back(std::move(tree));
  }
  return trees;
}

}  // namespace quendrel
