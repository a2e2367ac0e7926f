#include "ReferenceLattice.h"

#include <memory>

namespace quendrel {

namespace {

bool Quoted(const std::string& s) { return s.size() >= 2 && s.front() == '"' && s.back() == '"'; }

std::string Unquoted(const std::string& s) { return Quoted(s) ? s.substr(1, s.size() - 2) : s; }

std::string ClassName(eTokType type) {
  switch (type) {
    case ttIdentifier: return "ID";
    case ttNumeric: return "NUMBER";
    case ttSymbol: return "SYMBOL";
    case ttStringLiteral: return "STRING";
    case ttParentheses: return "()";
    default: return "";
  }
}

std::string ArrowLine(const std::string& target, const ParseRule* rule, int dot, int length, bool locked) {
  return target + " => " + (rule != nullptr ? rule->Pattern() : std::string("<token>")) + " @" +
         std::to_string(dot) + "/" + std::to_string(length) + (locked ? " locked" : "") + "\n";
}

}  // namespace

bool ReferenceLattice::Arrow::Complete() const {
  return rule != nullptr ? dot == rule->Length() : dot == length && dot >= 1;
}

void ReferenceLattice::Run(std::vector<udtToken> tokens, const std::string& target) {
  tokens_ = std::move(tokens);
  poles_.assign(tokens_.size() + 1, {});
  if (tokens_.empty()) {
    return;
  }
  for (int i = 1; i <= Count(); ++i) {
    const udtToken& token = tokens_[i - 1];
    poles_[i].push_back(Arrow{ClassName(token.ttType), nullptr, 1, 1, true});
    poles_[i].push_back(Arrow{"\"" + token.strToken + "\"", nullptr, 1, 1, true});
  }
  Predict(target, 1);
  while (ApplyRules()) {
  }
}

void ReferenceLattice::Add(const ParseRule* rule, int pole, int length, int dot) {
  for (const Arrow& a : poles_[pole]) {
    if (a.rule == rule && a.dot == dot && a.length == length) {
      return;
    }
  }
  const auto& symbols = rule->PatternArray();
  if (!symbols.empty() && Quoted(symbols[0]) && symbols[0] != "\"" + tokens_[pole - 1].strToken + "\"") {
    return;
  }
  poles_[pole].push_back(Arrow{"", rule, dot, length, false});
  if (dot != rule->Length() && pole + length <= Count()) {
    Predict(symbols[dot], pole + length);
  }
}

void ReferenceLattice::Predict(const std::string& symbol, int pole) {
  for (const ParseRule* rule : grammar_.Rules(symbol)) {
    Add(rule, pole, 0, 0);
  }
}

bool ReferenceLattice::ApplyRules() {
  bool added = false;
  for (int p = 1; p <= Count(); ++p) {
    const std::size_t turn = poles_[p].size();
    for (std::size_t i = 0; i < turn; ++i) {
      const Arrow a = poles_[p][i];
      if (a.locked || a.rule == nullptr || a.Complete() || p + a.length > Count()) {
        continue;
      }
      const int q = p + a.length;
      const std::string s = a.rule->PatternArray()[a.dot];
      const std::size_t seen = poles_[q].size();
      for (std::size_t j = 0; j < seen; ++j) {
        const Arrow b = poles_[q][j];
        const bool matches = (s == b.Target() && b.Complete()) ||
                             (a.length == 0 && b.length == 1 && tokens_[q - 1].strToken == Unquoted(s));
        if (!matches) {
          continue;
        }
        const std::size_t before = poles_[p].size();
        Add(a.rule, p, a.length + b.length, a.dot + 1);
        added = added || poles_[p].size() != before;
      }
    }
  }
  if (!added) {
    return false;
  }
  for (int p = 1; p <= Count(); ++p) {
    for (Arrow& a : poles_[p]) {
      if (a.locked) {
        continue;
      }
      const bool grows = a.rule != nullptr && !a.Complete() && p + a.length <= Count() &&
                         (!Quoted(a.rule->PatternArray()[a.dot]) ||
                          a.rule->PatternArray()[a.dot] == "\"" + tokens_[p + a.length - 1].strToken + "\"");
      a.locked = !grows;
    }
  }
  return true;
}

ParseTreeNodePtr ReferenceLattice::ExtractTree(const std::string& target, int startpole, int length) const {
  if (length == -1) {
    length = Count();
  }
  if (length < 1 || startpole < 1 || startpole > Count()) {
    return nullptr;
  }
  const Arrow* best = nullptr;
  for (const Arrow& a : poles_[startpole]) {
    if (a.Target() != target || a.length != length) {
      continue;
    }
    if (best == nullptr || (best->rule == nullptr && a.rule != nullptr) ||
        (best->rule == nullptr && a.rule == nullptr && Quoted(a.Target())) ||
        (best->rule != nullptr && best->rule->Length() < a.length)) {
      best = &a;
    }
  }
  if (best == nullptr) {
    return nullptr;
  }
  auto node = std::make_shared<ParseTreeNode>();
  node->SetToken(best->Target());
  std::string value;
  for (int i = startpole; i < startpole + best->length && i <= Count(); ++i) {
    value += (i > startpole ? " " : "") + tokens_[i - 1].strToken;
  }
  node->SetValue(value);
  if (best->rule == nullptr) {
    node->SetValue(tokens_[startpole - 1].strToken);
    return node;
  }
  ParseTreeNodePtr last;
  int pos = startpole;
  for (const std::string& s : best->rule->PatternArray()) {
    const Arrow* longest = nullptr;
    for (const Arrow& a : poles_[pos]) {
      const bool complete = a.rule != nullptr ? a.Complete() : a.dot >= 1;
      if (a.Target() == s && complete && (longest == nullptr || a.length > longest->length)) {
        longest = &a;
      }
    }
    if (longest == nullptr) {
      return node;
    }
    auto child = ExtractTree(longest->Target(), pos, longest->length);
    if (child == nullptr) {
      return node;
    }
    if (last == nullptr) {
      node->SetChild(child);
    } else {
      last->SetSibling(child);
    }
    last = child;
    pos += longest->length;
    if (pos > Count()) {
      break;
    }
  }
  return node;
}

std::string ReferenceLattice::ChartText() const {
  std::string text;
  for (int p = 1; p <= Count(); ++p) {
    text += "pole " + std::to_string(p) + "\n";
    for (const Arrow& a : poles_[p]) {
      text += ArrowLine(a.Target(), a.rule, a.dot, a.length, a.locked);
    }
  }
  return text;
}

std::string ChartText(const ParseLattice& lattice) {
  std::string text;
  for (int p = 1; p <= lattice.PoleCount(); ++p) {
    text += "pole " + std::to_string(p) + "\n";
    for (const ParseArrow* a : lattice.PoleArrows(p)) {
      text += ArrowLine(a->Target(), a->Rule(), a->Dot(), a->Length(), a->Locked());
    }
  }
  return text;
}

}  // namespace quendrel
