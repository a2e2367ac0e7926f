#include "flash/drivetest/DriveTestConsole.h"

#include <cmath>
#include <functional>

#include "comms/functions/DriveFunctionTemplate.h"
#include "comms/functions/DriveReport.h"
#include "comms/functions/FunctionTemplates.h"
#include "comms/functions/TextFeedback.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "flash/drivetest/TypedArgument.h"
#include "foundation/settings/Config.h"
#include "foundation/text/DriveAddress.h"
#include "foundation/text/NumberText.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/transfer/UnlockDrive.h"

namespace quendrel {
namespace {

constexpr float kCommandTimeout = 1.0F;
constexpr float kModuleTimeout = -1.0F;

// Clears the busy flag however the exchange ends, and tells the window at both ends.
class BusyScope {
 public:
  // Without a handler the window is not told: the exchange is over before it could show anything.
  BusyScope(bool& busy, const std::function<void()>* changed) : busy_(busy), changed_(changed) { Set(true); }
  ~BusyScope() { Set(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  void Set(bool busy) {
    busy_ = busy;
    if (changed_ != nullptr && *changed_) (*changed_)();
  }
  bool& busy_;
  const std::function<void()>* changed_;
};

udtDriveResponse ForceFlashSequence(GIOContext& gc) {
  const std::int32_t sv = FirmwareCompatibility().SoftwareVersion();
  const udtDriveResponse version = gc.ReadValue(static_cast<std::uint8_t>(sv / 100), static_cast<std::uint8_t>(sv % 100));
  if (version.Error) return version;
  const std::int32_t fu = FirmwareCompatibility().FirmwareUpload(version.sglData);
  return gc.WriteValue(static_cast<std::uint8_t>(fu / 100), static_cast<std::uint8_t>(fu % 100), 1);
}

// Text goes on the wire as Latin-1: a character it has no byte for would arrive as something else.
std::string OutsideLatin1Report(const std::string& field) {
  DriveReport report;
  report.RequestHeading();
  report.Line(field + ": can only hold Western European (Latin-1) characters - nothing sent");
  return report.Text();
}

}  // namespace

DriveTestConsole::DriveTestConsole(GIOServer& server, std::weak_ptr<TextFeedback> report)
    : server_(server), report_(std::move(report)) {}

void DriveTestConsole::Load() {
  commands_.clear();
  qovArrayList& templates = FunctionTemplates();
  for (int i = 1; i <= templates.Count(); ++i) {
    commands_.push_back(templates.Item(i).AsObject<DriveFunctionTemplate>()->Description());
  }
  chosen_ = -1;
  grid_ = DriveTestGrid();
  showRequest_ = true;
  SetPeriodText("1000");
  const std::string address = Config().Value("DriveAddress", "General");
  SetAddressText(address.empty() ? "1" : address);
}

std::shared_ptr<DriveFunctionTemplate> DriveTestConsole::ChosenTemplate() const {
  if (chosen_ < 0 || chosen_ >= FunctionTemplates().Count()) return nullptr;
  return FunctionTemplates().Item(chosen_ + 1).AsObject<DriveFunctionTemplate>();
}

void DriveTestConsole::ChooseCommand(int index) {
  chosen_ = index;
  const auto function = ChosenTemplate();
  if (!function) return;
  panel_.ShowTemplateControls(*function);
  grid_.Build(*function);
}

const std::string& DriveTestConsole::SetAddressText(std::string_view text) {
  const double value = std::fmod(RoundHalfEvenValue(BoxNumber(text)), 256.0) + 0.0;
  address_ = DoubleToText(value);
  addressValue_ = static_cast<int>(value);
  return address_;
}

const std::string& DriveTestConsole::SetPeriodText(std::string_view text) {
  const double value = std::fabs(BoxNumber(text));
  period_ = DoubleToText(value);
  interval_ = static_cast<int>(RoundHalfEvenValue(value));
  return period_;
}

// The box keeps the sign of what was typed: a negative remainder, like 0, names no single drive.
bool DriveTestConsole::AddressByte(int& address) {
  address = addressValue_;
  if (address >= 0 && AddressesOneDrive(static_cast<std::uint8_t>(address))) return true;
  ShowReport("Invalid drive address.");
  return false;
}

void DriveTestConsole::ShowReport(const std::string& text) {
  if (const auto report = report_.lock()) report->SetText(text);
}

bool DriveTestConsole::CollectArguments(const DriveFunctionTemplate& function, qovArrayList& arguments) {
  const std::string unsendable = function.Special() ? "" : grid_.TextOutsideLatin1(function);
  if (!unsendable.empty()) {
    ShowReport(OutsideLatin1Report(unsendable));
    return false;
  }
  bool send = true;
  const std::string refused = function.Special() ? panel_.CollectArguments(arguments, send)
                                                 : grid_.CollectArguments(function, arguments);
  if (!refused.empty()) ShowReport(RefusalReport(refused));
  return send && refused.empty();
}

void DriveTestConsole::ExecuteSelectedFunction() {
  const auto function = ChosenTemplate();
  if (busy_ || !function) return;
  udtTemplateCallInfo call;
  call.tbFeedback = report_;
  call.showRequest = showRequest_;
  call.showRaw = showRaw_;
  int address = 0;
  if (!AddressByte(address) || !CollectArguments(*function, call.talParameters)) return;
  // Disabling and enabling the buttons again costs more than a short exchange, and only a
  // transfer lets the window's events run before it ends.
  BusyScope busy(busy_, function->LetsEventsRun() ? &onBusyChanged_ : nullptr);
  const auto gc = server_.OpenContext(static_cast<std::uint8_t>(address), kCommandTimeout);
  function->RunCommand(call, *gc, nullptr);
  gc->CloseContext();
}

template <typename Sequence>
void DriveTestConsole::RunButton(const std::string& label, Sequence sequence) {
  int address = 0;
  if (busy_ || !AddressByte(address)) return;
  BusyScope busy(busy_, &onBusyChanged_);
  const auto gc = server_.OpenContext(static_cast<std::uint8_t>(address), kModuleTimeout);
  ShowReport("");
  const udtDriveResponse response = sequence(*gc);
  ShowReport(DriveReport::ExchangeReport(label, gc->Address(), response, showRequest_, showRaw_));
  gc->CloseContext();
}

void DriveTestConsole::UnlockDrive() {
  RunButton("Unlock Drive ", [](GIOContext& gc) { return quendrel::UnlockDrive(gc); });
}

void DriveTestConsole::ForceFlashMode() { RunButton("Force Flash Upload for Drive ", ForceFlashSequence); }

}  // namespace quendrel
