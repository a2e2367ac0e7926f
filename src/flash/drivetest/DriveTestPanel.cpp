#include "flash/drivetest/DriveTestPanel.h"

#include <array>

#include "comms/functions/DriveFunctionTemplate.h"
#include "comms/functions/eibValueConstants.h"
#include "flash/drivetest/TypedArgument.h"
#include "foundation/text/BitText.h"

namespace quendrel {
namespace {

constexpr std::array<const char*, 5> kEibFunctions = {"IsEthernet", "ReadEIBValue", "SetEIBValue", "SaveEIBSettings",
                                                      "ResetEIB"};

constexpr DriveTestPanel::Control kShown{true, true};
constexpr DriveTestPanel::Control kHidden{false, false};

}  // namespace

const std::vector<DriveTestPanel::EibValue>& DriveTestPanel::EibValues() {
  static const std::vector<EibValue> values = {
      {"Serial Timeout", eibValueSerialTimeout, false}, {"Ethernet Timeout", eibValueEthernetTimeout, false},
      {"MBTCP Enable", eibValueMBTCPEnable, true},      {"VSIO Enable", eibValueVSIOEnable, true},
      {"SIO Enable", eibValueSIOEnable, true},          {"Scan Enable", eibValueScanEnable, true},
      {"Drive Parity", eibValueDriveParity, false},     {"Drive Baud", eibValueDriveBaud, false},
      {"SIO Parity", eibValueSIOParity, false},         {"SIO Baud", eibValueSIOBaud, false}};
  return values;
}

bool DriveTestPanel::IsEibFunction() const {
  for (const char* eib : kEibFunctions) {
    if (name_ == eib) return true;
  }
  return false;
}

void DriveTestPanel::ShowTemplateControls(const DriveFunctionTemplate& function) {
  name_ = function.Special() ? function.Name() : std::string();
  const bool file = name_ == "WriteFileToBuffer";
  const bool eib = IsEibFunction();
  state_.gridShown = !file && !eib;
  state_.frameBorder = !state_.gridShown;
  state_.fileControls = file ? kShown : kHidden;
  state_.filename.clear();
  if (!eib) {
    state_.subcommand = state_.eibValue = state_.flag = kHidden;
    state_.eibValueText.clear();
    return;
  }
  SetupEIBControls();
}

void DriveTestPanel::SetupEIBControls() {
  const bool reads = name_ == "ReadEIBValue";
  const bool sets = name_ == "SetEIBValue";
  state_.subcommand = reads || sets ? kShown : kHidden;
  state_.eibValue = sets ? kShown : kHidden;
  state_.eibValueText.clear();
  state_.flag = name_ == "ResetEIB" ? kShown : kHidden;
  state_.eibValues.clear();
  state_.chosenEib = -1;
  if (name_ == "ResetEIB") state_.flagCaption = "Reset to Defaults";
  if (!reads && !sets) return;
  state_.subcommandCaption = reads ? "Value to read:" : "Value to set:";
  state_.eibValueCaption = "Value:";
  state_.eibValues = EibValues();
  ChooseEibValue(0);
}

void DriveTestPanel::ChooseEibValue(int index) {
  if (index < 0 || index >= static_cast<int>(state_.eibValues.size())) return;
  state_.chosenEib = index;
  if (name_ != "SetEIBValue") return;
  const bool usesFlag = state_.eibValues[static_cast<std::size_t>(index)].usesFlag;
  state_.eibValue = usesFlag ? kHidden : kShown;
  state_.flag = usesFlag ? kShown : kHidden;
  if (!usesFlag) state_.eibValueText.clear();
  if (!usesFlag) return;
  state_.flagCaption = "Enable";
  state_.flagTicked = false;
}

std::string DriveTestPanel::CollectArguments(qovArrayList& arguments, bool& send) const {
  send = true;
  if (name_ == "WriteFileToBuffer") arguments.append(Variant(state_.filename));
  if (name_ == "ResetEIB") arguments.append(Variant(state_.flagTicked));
  if (name_ != "ReadEIBValue" && name_ != "SetEIBValue") return "";
  send = state_.chosenEib >= 0;
  if (!send) return "";
  const EibValue& chosen = state_.eibValues[static_cast<std::size_t>(state_.chosenEib)];
  if (name_ == "ReadEIBValue") {
    arguments.append(Variant(std::int32_t{chosen.selector}));
    return "";
  }
  // The value goes out as one 16-bit word.
  std::optional<double> value;
  if (FieldTakesTypedNumber(state_.eibValueText, dftShort)) value = TypedWholeNumber(state_.eibValueText);
  // The hidden, empty value box of an on/off selector still sends its 0.
  if (chosen.usesFlag && !value) value = 0.0;
  if (!value) return "Value";
  arguments.append(Variant(std::int32_t{chosen.selector}));
  arguments.append(Variant(LowWordOf(static_cast<std::int32_t>(*value))));
  arguments.append(Variant(std::int16_t{state_.flagTicked ? std::int16_t{1} : std::int16_t{0}}));
  return "";
}

}  // namespace quendrel
