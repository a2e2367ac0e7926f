#include "tree/TreeGeneralPage.h"

#include <cmath>
#include <optional>

#include "foundation/text/NumberText.h"
#include "platform/UiServices.h"
#include "tree/ParameterTree.h"

namespace quendrel {
namespace {

// The indent as the tree can hold it: a whole number text (decimal, "&H" or "&O") whose
// rounded value fits 16 bits.
std::optional<std::int16_t> IndentValue(const std::string& text) {
  const std::optional<double> value = NumericTextValue(text);
  if (!value) return std::nullopt;
  const double rounded = RoundHalfEvenValue(*value);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) return std::nullopt;
  return static_cast<std::int16_t>(rounded);
}

int IndexOfValue(const std::vector<TreeGeneralPage::Entry>& entries, int value) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].Value == value) return static_cast<int>(i);
  }
  return -1;
}

// The chosen entry's value; none when no entry is chosen (the tree held a value the list
// does not offer).
std::optional<int> ValueAt(const std::vector<TreeGeneralPage::Entry>& entries, int index) {
  if (index < 0 || index >= static_cast<int>(entries.size())) return std::nullopt;
  return entries[static_cast<std::size_t>(index)].Value;
}

bool Refuse(const std::string& reason) {
  Ui().MsgBox(reason, vbExclamation, "Parameter Tree Properties");
  return false;
}

}  // namespace

const std::vector<TreeGeneralPage::Entry>& TreeGeneralPage::AppearanceEntries() {
  static const std::vector<Entry> entries = {
      {"1 - Text Only", 1},           {"2 - Text, Plus/Minus", 2},
      {"3 - Text, Picture", 3},       {"4 - Text, Lines", 4},
      {"5 - Text, Picture, Lines", 5}, {"6 - Text, Plus/Minus, Lines", 6},
      {"7 - Text, Picture, Plus/Minus", 7}, {"8 - Full Decoration", 8}};
  return entries;
}

const std::vector<TreeGeneralPage::Entry>& TreeGeneralPage::ScrollBarEntries() {
  static const std::vector<Entry> entries = {{"0 - None", 0},
                                             {"1 - Horizontal Only", 1},
                                             {"2 - Vertical Only", 2},
                                             {"3 - Both", 3},
                                             {"4 - Automatic", 4}};
  return entries;
}

void TreeGeneralPage::SelectionChanged(const ParameterTree& tree) {
  EnabledChecked = tree.Enabled();
  CheckboxesChecked = tree.Checkboxes();
  AutoGrayChecked = tree.AutoGray();
  AutoGrayAvailable = tree.Checkboxes();
  IndentText = std::to_string(tree.Indent());
  AppearanceIndex = IndexOfValue(AppearanceEntries(), tree.Appearance());
  const int bars = tree.ScrollBars();
  ScrollBarsIndex = (bars & 4) != 0 ? static_cast<int>(ScrollBarEntries().size()) - 1
                                    : IndexOfValue(ScrollBarEntries(), bars);
  IconListEntries = {NoIconList};
  IconListIndex = 0;
  for (const NamedImageList& list : tree.ContainerImageLists()) {
    IconListEntries.push_back(list.Name);
    if (tree.IconList() != nullptr && list.List == tree.IconList()) {
      IconListIndex = static_cast<int>(IconListEntries.size()) - 1;
    }
  }
  Changed = false;
}

bool TreeGeneralPage::ApplyChanges(ParameterTree& tree) {
  // Every field is checked before any is written, so a refused page leaves the tree as it was.
  const std::optional<std::int16_t> indent = IndentValue(IndentText);
  if (!indent) return Refuse("Indent Distance must be a number from -32768 to 32767.");
  const std::optional<int> appearance = ValueAt(AppearanceEntries(), AppearanceIndex);
  if (!appearance) return Refuse("Choose an Appearance from the list.");
  const std::optional<int> bars = ValueAt(ScrollBarEntries(), ScrollBarsIndex);
  if (!bars) return Refuse("Choose a Scrollbars setting from the list.");
  tree.SetEnabled(EnabledChecked);
  tree.SetCheckboxes(CheckboxesChecked);
  tree.SetAutoGray(AutoGrayChecked);
  tree.SetIndent(*indent);
  tree.SetAppearance(*appearance);
  tree.SetScrollBars(*bars);
  const ImageList* chosen = nullptr;
  const bool named = IconListIndex > 0 && IconListIndex < static_cast<int>(IconListEntries.size());
  for (const NamedImageList& list : tree.ContainerImageLists()) {
    if (named && list.Name == IconListEntries[static_cast<std::size_t>(IconListIndex)]) {
      chosen = list.List;
    }
  }
  tree.SetIconList(chosen);
  tree.Refresh();
  Changed = false;
  return true;
}

void TreeGeneralPage::SetCheckboxesChecked(bool checked) {
  CheckboxesChecked = checked;
  AutoGrayAvailable = checked;
  Changed = true;
}

}  // namespace quendrel
