// The drive test window's controls for the special functions: the file to send, and the Ethernet
// interface's value selector, value box and check box, shown and filled by the chosen function.
#pragma once

#include <string>
#include <vector>

#include "foundation/values/qovArrayList.h"

namespace quendrel {

class DriveFunctionTemplate;

class DriveTestPanel {
 public:
  struct Control {
    bool visible = false;
    bool enabled = false;
  };
  struct EibValue {
    std::string caption;
    int selector = 0;       // eibValueConstants
    bool usesFlag = false;  // "SetEIBValue" takes the check box instead of the value box
  };
  // The state every control shows; the window copies it onto its widgets.
  struct State {
    bool gridShown = true;
    bool frameBorder = false;
    Control fileControls;
    std::string filename;
    Control subcommand;  // its label and list
    std::string subcommandCaption;
    std::vector<EibValue> eibValues;
    int chosenEib = -1;  // index into eibValues
    Control eibValue;    // its label and box
    std::string eibValueCaption;
    std::string eibValueText;
    Control flag;
    std::string flagCaption;
    bool flagTicked = false;
  };

  static const std::vector<EibValue>& EibValues();

  // Sets the controls for the chosen function; none chosen leaves the grid alone on show.
  void ShowTemplateControls(const DriveFunctionTemplate& function);
  void ChooseEibValue(int index);

  const State& Controls() const { return state_; }
  void SetFilename(std::string path) { state_.filename = std::move(path); }
  void SetEibValueText(std::string text) { state_.eibValueText = std::move(text); }
  void SetFlagTicked(bool ticked) { state_.flagTicked = ticked; }

  // The arguments of a special function. Returns the field whose text holds no usable number, or "";
  // `send` is false when there is nothing to send (no EIB value chosen).
  std::string CollectArguments(qovArrayList& arguments, bool& send) const;

 private:
  void SetupEIBControls();
  bool IsEibFunction() const;

  std::string name_;
  State state_;
};

}  // namespace quendrel
