#include "drivesim/FaultPlan.h"

#include <algorithm>
#include <string>

namespace quendrel {

namespace {

void Apply(const FaultRule& rule, FaultActions& actions) {
  switch (rule.Kind()) {
    case FaultKind::Drop:
      actions.answer = false;
      break;
    case FaultKind::CorruptCrc:
      actions.corruptCrc = true;
      break;
    case FaultKind::WrongAddress:
      actions.fromAddress = rule.Argument(0, -2);
      break;
    case FaultKind::Noise:
      actions.noiseBytes = rule.Argument(0, 4);
      break;
    case FaultKind::Split:
      actions.pieces = std::max(1, rule.Argument(0, 3));
      actions.pieceGapMs = rule.Argument(1, 20);
      break;
    case FaultKind::Late:
      actions.lateMs = rule.Argument(0, 1000);
      break;
    case FaultKind::Stop:
      actions.serve = false;
      actions.answer = false;
      break;
    case FaultKind::Close:
      actions.serve = false;
      actions.answer = false;
      actions.closePort = true;
      actions.reopenAfterMs = rule.Argument(0, 0);
      break;
    case FaultKind::Cut:
      actions.cut = true;
      break;
    case FaultKind::Length:
      actions.lengthError = rule.Argument(0, 5);
      break;
    case FaultKind::OldTid:
      actions.oldTid = rule.Argument(0, 0) != 0 ? 1 : 0;
      break;
    case FaultKind::Refuse:
      break;
  }
}

}  // namespace

FaultActions FaultPlan::Decide() {
  FaultActions actions;
  for (auto& rule : rules_) {
    if (!rule.CountsLogins() && rule.Hits(random_)) Apply(rule, actions);
  }
  std::erase_if(rules_, [](const FaultRule& rule) { return rule.Spent(); });
  return actions;
}

bool FaultPlan::RefuseLogin() {
  bool refuse = false;
  for (auto& rule : rules_) {
    if (rule.CountsLogins() && rule.Hits(random_)) refuse = true;
  }
  std::erase_if(rules_, [](const FaultRule& rule) { return rule.Spent(); });
  return refuse;
}

std::string FaultPlan::Noise(int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<char>(random_() & 0xFF));
  return bytes;
}

}  // namespace quendrel
