#include "drivesim/FaultRule.h"

#include <charconv>
#include <map>
#include <sstream>

namespace quendrel {

namespace {

const std::map<std::string, FaultKind>& KindNames() {
  static const std::map<std::string, FaultKind> names{
      {"drop", FaultKind::Drop},   {"crc", FaultKind::CorruptCrc}, {"address", FaultKind::WrongAddress},
      {"noise", FaultKind::Noise}, {"split", FaultKind::Split},    {"late", FaultKind::Late},
      {"stop", FaultKind::Stop},   {"close", FaultKind::Close},    {"cut", FaultKind::Cut},
      {"length", FaultKind::Length}, {"oldtid", FaultKind::OldTid}, {"refuse", FaultKind::Refuse}};
  return names;
}

const std::map<std::string, FaultSelector>& SelectorNames() {
  static const std::map<std::string, FaultSelector> names{{"always", FaultSelector::Always},
                                                          {"next", FaultSelector::Next},
                                                          {"every", FaultSelector::Every},
                                                          {"after", FaultSelector::After},
                                                          {"prob", FaultSelector::Probability}};
  return names;
}

std::optional<long> WholeNumber(const std::string& text, bool signedNumber = false) {
  long value = 0;
  const auto* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (result.ec != std::errc() || result.ptr != end || (value < 0 && !signedNumber)) return std::nullopt;
  return value;
}

std::optional<double> Fraction(const std::string& text) {
  // strtod would follow the locale's decimal point; from_chars for double always reads ".".
  double value = 0;
  const auto* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (result.ec != std::errc() || result.ptr != end || value < 0 || value > 1) return std::nullopt;
  return value;
}

}  // namespace

std::optional<FaultRule> FaultRule::Parse(std::string_view text, std::string& error) {
  std::istringstream words{std::string(text)};
  std::vector<std::string> tokens;
  for (std::string word; words >> word;) tokens.push_back(word);
  if (tokens.empty() || !KindNames().contains(tokens[0])) {
    error = "unknown fault kind";
    return std::nullopt;
  }
  FaultRule rule;
  rule.kind_ = KindNames().at(tokens[0]);
  std::size_t next = 1;
  if (next < tokens.size() && SelectorNames().contains(tokens[next])) {
    rule.selector_ = SelectorNames().at(tokens[next++]);
    if (rule.selector_ == FaultSelector::Probability) {
      const auto probability = next < tokens.size() ? Fraction(tokens[next++]) : std::nullopt;
      if (!probability) {
        error = "prob needs a number from 0 to 1";
        return std::nullopt;
      }
      rule.probability_ = *probability;
    } else if (rule.selector_ != FaultSelector::Always) {
      const auto count = next < tokens.size() ? WholeNumber(tokens[next++]) : std::nullopt;
      if (!count || (*count == 0 && rule.selector_ == FaultSelector::Every)) {
        error = tokens[next - 1] + " needs a whole number";
        return std::nullopt;
      }
      rule.count_ = *count;
    }
  }
  // A length may lie short as well as long.
  const bool signedArguments = rule.kind_ == FaultKind::Length;
  for (; next < tokens.size(); ++next) {
    const auto argument = WholeNumber(tokens[next], signedArguments);
    if (!argument || *argument > 1'000'000 || *argument < -1'000'000) {
      error = "bad argument \"" + tokens[next] + "\"";
      return std::nullopt;
    }
    rule.arguments_.push_back(static_cast<int>(*argument));
  }
  return rule;
}

bool FaultRule::Hits(std::mt19937& random) {
  ++seen_;
  switch (selector_) {
    case FaultSelector::Always:
      return true;
    case FaultSelector::Next:
      return seen_ <= count_;
    case FaultSelector::Every:
      return seen_ % count_ == 0;
    case FaultSelector::After:
      return seen_ > count_;
    case FaultSelector::Probability:
      // The raw generator output, so a seed gives the same hits with any standard library.
      return static_cast<double>(random()) / 4294967296.0 < probability_;
  }
  return false;
}

}  // namespace quendrel
