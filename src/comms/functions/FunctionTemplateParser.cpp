#include "comms/functions/FunctionTemplateParser.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace quendrel {

namespace {

std::string Upper(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return upper;
}

bool IsDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

// Blank-separated words; a double-quoted text is one word without its quotes.
std::optional<std::vector<std::string>> SplitWords(std::string_view line) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (true) {
    at = line.find_first_not_of(" \t", at);
    if (at == std::string_view::npos) return words;
    if (line[at] == '"') {
      const std::size_t close = line.find('"', at + 1);
      if (close == std::string_view::npos) return std::nullopt;
      words.emplace_back(line.substr(at + 1, close - at - 1));
      at = close + 1;
      continue;
    }
    const std::size_t end = std::min(line.find_first_of(" \t", at), line.size());
    words.emplace_back(line.substr(at, end - at));
    at = end;
  }
}

struct TypeName {
  const char* keyword;
  DFTValueType type;
};

constexpr TypeName kTypes[] = {
    {"BYTE", dftByte},     {"SHORT", dftShort},   {"MEDIUM", dftMedium},  {"LONG", dftLong},
    {"STRING", dftString}, {"FIXED", dftFixed},   {"MXXPXX", dftMxxPxx}, {"CHARACTER", dftCharacter},
};

bool IsWholeNumberType(DFTValueType type) {
  return type == dftByte || type == dftShort || type == dftMedium || type == dftLong;
}

class Reader {
 public:
  FunctionTemplateParser::Result Run(std::string_view text);

 private:
  bool Fail(const std::string& message);
  bool Line(const std::vector<std::string>& words);
  bool Begin(const std::vector<std::string>& words);
  bool Field(const std::string& keyword, const std::vector<std::string>& words);
  bool Item(const std::vector<std::string>& words, std::vector<udtTemplateItem>& items);
  bool ItemType(const std::vector<std::string>& words, const std::vector<udtTemplateItem>& earlier,
                udtTemplateItem& item);
  bool End();

  FunctionTemplateParser::Result result_;
  std::optional<DriveFunctionTemplate::Definition> open_;
  bool hasCode_ = false;
  int line_ = 0;
};

bool Reader::Fail(const std::string& message) {
  result_.templates.clear();
  result_.error = "line " + std::to_string(line_) + ": " + message;
  return false;
}

FunctionTemplateParser::Result Reader::Run(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = end + 1;
    ++line_;
    const auto words = SplitWords(line);
    if (!words) {
      Fail("a quoted text has no closing quote");
      return result_;
    }
    if (words->empty() || (*words)[0][0] == ';') continue;
    if (!Line(*words)) return result_;
  }
  if (open_) Fail("FUNCTION " + open_->name + " has no END");
  return result_;
}

bool Reader::Line(const std::vector<std::string>& words) {
  const std::string keyword = Upper(words[0]);
  if (keyword == "FUNCTION") return Begin(words);
  if (!open_) return Fail(words[0] + " outside a FUNCTION block");
  if (keyword == "END") return words.size() == 1 ? End() : Fail("END takes nothing after it");
  return Field(keyword, words);
}

bool Reader::Begin(const std::vector<std::string>& words) {
  if (open_) return Fail("FUNCTION " + open_->name + " has no END before the next FUNCTION");
  if (words.size() != 2) return Fail("FUNCTION needs one name");
  open_.emplace();
  open_->name = words[1];
  hasCode_ = false;
  return true;
}

bool Reader::Field(const std::string& keyword, const std::vector<std::string>& words) {
  if (keyword == "DESCRIPTION" && words.size() == 2) {
    open_->description = words[1];
    return true;
  }
  if (keyword == "CODE" && words.size() == 2 && IsDigits(words[1]) && words[1].size() <= 3 &&
      std::stoi(words[1]) <= 255) {
    open_->code = std::stoi(words[1]);
    hasCode_ = true;
    return true;
  }
  if (keyword == "SPECIAL" && words.size() == 1) {
    open_->special = true;
    return true;
  }
  if (keyword == "ONERROR" && words.size() == 2 && Upper(words[1]) == "ERASE") {
    open_->onError = DriveFunctionTemplate::ErrorMeaning::EraseFailed;
    return true;
  }
  if (keyword == "ONERROR" && words.size() == 2 && Upper(words[1]) == "PROGRAM") {
    open_->onError = DriveFunctionTemplate::ErrorMeaning::ProgramFailed;
    return true;
  }
  if (keyword == "PARAMETER") return Item(words, open_->parameters);
  if (keyword == "RETURN") return Item(words, open_->returns);
  return Fail("cannot read \"" + words[0] + (words.size() > 1 ? " " + words[1] : std::string()) + "\"");
}

bool Reader::Item(const std::vector<std::string>& words, std::vector<udtTemplateItem>& items) {
  if (words.size() < 4 || words.size() > 5) return Fail(words[0] + " needs a name, a description and a type");
  udtTemplateItem item;
  item.Name = words[1];
  item.Description = words[2];
  const bool taken = std::any_of(items.begin(), items.end(),
                                 [&item](const udtTemplateItem& other) { return other.Name == item.Name; });
  if (taken) return Fail("the item name " + item.Name + " appears twice");
  if (!ItemType(words, items, item)) return false;
  items.push_back(item);
  return true;
}

bool Reader::ItemType(const std::vector<std::string>& words, const std::vector<udtTemplateItem>& earlier,
                      udtTemplateItem& item) {
  const std::string keyword = Upper(words[3]);
  const auto* found = std::find_if(std::begin(kTypes), std::end(kTypes),
                                   [&keyword](const TypeName& type) { return keyword == type.keyword; });
  if (found == std::end(kTypes)) return Fail("unknown type " + words[3]);
  item.Type = found->type;
  const bool takesArgument = item.Type == dftString || item.Type == dftFixed;
  if (takesArgument != (words.size() == 5)) {
    return Fail(takesArgument ? words[3] + " needs its length or decimals" : words[3] + " takes nothing after it");
  }
  if (item.Type == dftFixed) {
    if (!IsDigits(words[4]) || words[4].size() > 1) return Fail("FIXED needs 0 to 9 decimals");
    item.Decimals = words[4][0] - '0';
    return true;
  }
  if (item.Type != dftString) return true;
  item.Length = words[4];
  if (item.Length == "0") return true;
  const auto source = std::find_if(earlier.begin(), earlier.end(),
                                   [&item](const udtTemplateItem& other) { return other.Name == item.Length; });
  if (source == earlier.end()) return Fail("the length " + item.Length + " names no earlier item");
  if (!IsWholeNumberType(source->Type)) return Fail("the length " + item.Length + " is no whole number");
  return true;
}

bool Reader::End() {
  if (!hasCode_) return Fail("FUNCTION " + open_->name + " has no CODE");
  result_.templates.push_back(std::make_shared<DriveFunctionTemplate>(std::move(*open_)));
  open_.reset();
  return true;
}

}  // namespace

FunctionTemplateParser::Result FunctionTemplateParser::Parse(std::string_view text) { return Reader().Run(text); }

}  // namespace quendrel
