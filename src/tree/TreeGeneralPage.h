// What the tree's "General" property page holds and does, apart from its widgets: it reads a
// tree's settings into the page's controls and writes them back, refusing the whole page when
// the indent is no number the tree can hold or a list has no entry chosen.
#pragma once

#include <string>
#include <vector>

namespace quendrel {

class ParameterTree;

class TreeGeneralPage {
 public:
  struct Entry {
    std::string Text;
    int Value = 0;
  };
  static const std::vector<Entry>& AppearanceEntries();
  static const std::vector<Entry>& ScrollBarEntries();
  static constexpr const char* NoIconList = "<None>";

  // The page's controls.
  bool EnabledChecked = false;
  bool CheckboxesChecked = false;
  bool AutoGrayChecked = false;
  bool AutoGrayAvailable = false;
  std::string IndentText;
  int AppearanceIndex = -1;
  int ScrollBarsIndex = -1;
  std::vector<std::string> IconListEntries;
  int IconListIndex = -1;
  bool Changed = false;

  // Fills the controls from the tree.
  void SelectionChanged(const ParameterTree& tree);
  // Writes the controls into the tree and refreshes it. False, after telling the user, when
  // the indent is not a number from -32768 to 32767 or no Appearance or Scrollbars entry is
  // chosen; nothing is written then.
  bool ApplyChanges(ParameterTree& tree);

  // The check box handler: the grey option only makes sense with check boxes.
  void SetCheckboxesChecked(bool checked);
  void MarkChanged() { Changed = true; }
};

}  // namespace quendrel
