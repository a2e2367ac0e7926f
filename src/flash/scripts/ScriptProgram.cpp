#include "flash/scripts/ScriptProgram.h"

#include <algorithm>
#include <cctype>

namespace quendrel {

namespace {

bool SameLetters(std::string_view text, std::string_view lower) {
  return text.size() == lower.size() && std::equal(text.begin(), text.end(), lower.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == b;
         });
}

}  // namespace

void ScriptProgram::StartCut(std::string_view text) {
  cut_.assign(text);
  cutStored_ = false;
}

void ScriptProgram::Append(std::string_view source, const Parsed& parsed) {
  const auto id = static_cast<std::uint32_t>(entries_.size());
  Entry entry;
  const Span stored = Store(source);
  entry.source = stored.first;
  entry.length = stored.second;
  entry.role = parsed.role;
  entry.callsIf = parsed.call == "if";
  entry.callsWhile = parsed.call == "while";
  entry.callsIfAnyCase = SameLetters(parsed.call, "if");
  entry.hasCondition = parsed.hasCondition;
  entries_.push_back(entry);
  order_.push_back(id);
  if (!parsed.label.empty()) labels_.emplace(id, parsed.label);
  if (source == cut_) return;
  if (!cutStored_) {
    cutSpan_ = Store(cut_);
    cutStored_ = true;
  }
  otherTexts_.emplace(id, cutSpan_);
}

void ScriptProgram::Shrink() {
  cut_ = std::string();
  texts_.shrink_to_fit();
  entries_.shrink_to_fit();
  order_.shrink_to_fit();
}

ScriptProgram::Span ScriptProgram::Store(std::string_view text) {
  const Span span{static_cast<std::uint32_t>(texts_.size()), static_cast<std::uint32_t>(text.size())};
  texts_.append(text);
  return span;
}

std::string_view ScriptProgram::Source(int index) const {
  const Entry& entry = At(index);
  return View({entry.source, entry.length});
}

std::string_view ScriptProgram::Text(int index) const {
  const Lowering lowering = At(index).lowering;
  if (lowering == Lowering::kEmptied || lowering == Lowering::kInsertedJump) return {};
  const auto other = otherTexts_.find(IdOf(index));
  return other == otherTexts_.end() ? Source(index) : View(other->second);
}

const std::string& ScriptProgram::DefinedLabel(int index) const {
  static const std::string kNone;
  const auto found = labels_.find(IdOf(index));
  return found == labels_.end() ? kNone : found->second;
}

bool ScriptProgram::IsAsParsed(int index, Role role) const {
  const Entry& entry = At(index);
  return entry.lowering == Lowering::kAsParsed && entry.role == role;
}

bool ScriptProgram::CallsIfOrWhile(int index, bool isWhile) const {
  const Entry& entry = At(index);
  return isWhile ? entry.callsWhile : entry.callsIf;
}

bool ScriptProgram::RunsIf(int index) const {
  if (!IsAsParsed(index, Role::kCall)) return false;
  return At(index).callsIfAnyCase || Loop(index) != nullptr;
}

void ScriptProgram::SetLoopTargets(int index, LoopTargets targets) { loops_[IdOf(index)] = targets; }

const ScriptProgram::LoopTargets* ScriptProgram::Loop(int index) const {
  const auto found = loops_.find(IdOf(index));
  return found == loops_.end() ? nullptr : &found->second;
}

void ScriptProgram::MakeJump(int index, Lowering jump, int label) {
  At(index).lowering = jump;
  jumps_[IdOf(index)] = label;
}

int ScriptProgram::JumpLabel(int index) const {
  const auto found = jumps_.find(IdOf(index));
  return found == jumps_.end() ? -1 : found->second;
}

void ScriptProgram::Empty(int index) { At(index).lowering = Lowering::kEmptied; }

// An insertion moves the loop targets at or after it, as it moves the statements they name; a jump
// appended after the last statement moves nothing.
void ScriptProgram::InsertJump(int index, int label) {
  const auto id = static_cast<std::uint32_t>(entries_.size());
  Entry entry;
  entry.lowering = Lowering::kInsertedJump;
  entries_.push_back(entry);
  jumps_[id] = label;
  if (index > static_cast<int>(order_.size())) {
    order_.push_back(id);
    return;
  }
  for (auto& [header, targets] : loops_) {
    if (targets.breakTo >= index) ++targets.breakTo;
    if (targets.continueTo >= index) ++targets.continueTo;
  }
  order_.insert(order_.begin() + (index - 1), id);
}

}  // namespace quendrel
