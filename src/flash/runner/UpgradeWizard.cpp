#include "flash/runner/UpgradeWizard.h"

#include <cmath>
#include <exception>

#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "flash/runner/ScriptFileLoader.h"
#include "flash/runner/UpgradeWizardView.h"
#include "flash/scripts/FUPFile.h"
#include "flash/scripts/IFlashCommandFile.h"
#include "foundation/files/BrowseForFile.h"
#include "foundation/progress/ProgressServer.h"
#include "foundation/settings/OptOutMsgBox.h"
#include "foundation/text/DriveAddress.h"
#include "foundation/text/NumberText.h"
#include "foundation/values/RuntimeError.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "platform/UiServices.h"

namespace quendrel {

namespace {

constexpr float kWindowTimeout = 1.0F;
constexpr float kModuleTimeout = -1.0F;
constexpr float kSendWithoutWaiting = 0.0F;
constexpr std::uint8_t kFlashModeQuery = 1;
constexpr std::uint8_t kProcessorReset = 52;
constexpr const char* kVersionFormat = "0.000";
constexpr const char* kPackageFilter = "Firmware Update Files (*.FUP)|*.FUP|All Files (*.*)|*.*";
constexpr const char* kNeedsByteChannel =
    "A firmware upgrade needs a serial port, or Ethernet with serial frames over TCP: the drive's flash loader takes "
    "the new firmware byte by byte, which Modbus/TCP cannot carry. Please choose another connection.";
constexpr const char* kFailedText =
    "Failed to upgrade firmware!\r\nIf the keypad LCD is blank after resetting the drive, your drive's firmware may be "
    "corrupted.";

// The firmware series: a version's whole-number part.
double Series(double version) { return std::floor(version); }

// Steps that let a run go on.
bool GoesOn(dfResponseCodes code) {
  return code == dfResponseOK || code == dfResponseSkipLine || code == dfResponseJump;
}

}  // namespace

UpgradeWizard::UpgradeWizard(ScriptEnvironment environment, UpgradeWizardView& view, ProgressControls progress)
    : environment_(std::move(environment)),
      server_(*environment_.commServer),
      view_(view),
      progressControls_(std::move(progress)),
      reservation_(server_) {}

UpgradeWizard::~UpgradeWizard() { Form_Unload(); }

std::string UpgradeWizard::AddressText(std::string_view typed) {
  const std::uint8_t address = DriveAddressFromText(typed);
  return std::to_string(address < 1 ? 1 : address);
}

std::uint8_t UpgradeWizard::Address() const { return DriveAddressFromText(controls_.tbAddressText); }

void UpgradeWizard::Form_Load() {
  package_.reset();
  script_.reset();
  ShowPage(SelectDrive);
  controls_.lblCommTestStatus.clear();
  controls_.lblNewFirmwareVersion.clear();
  const ProgressControls& shown = progressControls_;
  if (shown.lblFlashStatus) shown.lblFlashStatus->SetCaption("");
  for (const auto& bar : {shown.tpbProgress, shown.tpbSubProgress}) {
    if (bar) bar->SetText("");
  }
  if (shown.tpbSubProgress) shown.tpbSubProgress->SetVisible(false);
  if (shown.lblSubProgress) shown.lblSubProgress->SetVisible(false);
  obCommMode_Click(server_.SelectedModule() == "Ethernet" ? 1 : 0);
  controls_.bPrevEnabled = false;
}

void UpgradeWizard::Form_Unload() {
  if (running_) return;
  reservation_.Release();
  script_.reset();
  if (context_) context_->CloseContext();
  context_.reset();
}

void UpgradeWizard::ShowPage(int page) { controls_.Page = page; }

// Selecting restarts the module, which would drop a connection the user has just configured: a module
// already selected is left running.
void UpgradeWizard::SelectModule(const std::string& name) {
  if (server_.SelectedModule() == name) return;
  server_.SelectModule(name);
  view_.CommunicationsUpdate();
}

void UpgradeWizard::obCommMode_Click(int index) {
  if (running_) return;
  const bool ethernet = index == 1;
  controls_.obCommMode = ethernet ? 1 : 0;
  controls_.bConfigureGIOCaption = ethernet ? "&Configure Ethernet..." : "&Configure Serial Port...";
  SelectModule(ethernet ? "Ethernet" : "Serial");
  controls_.lblCommTestStatus.clear();
}

void UpgradeWizard::bConfigureGIO_Click() {
  if (running_) return;
  if (server_.SelectedModule() != "Ethernet") {
    view_.ConfigureSerialPort();
  } else {
    view_.ConfigureEthernet();
  }
  // Either dialog selects its module when applied.
  view_.CommunicationsUpdate();
  controls_.lblCommTestStatus.clear();
  OpenWindowContext();
}

void UpgradeWizard::tbAddress_Change(std::string_view text) {
  if (running_) return;
  controls_.tbAddressText = AddressText(text);
}

std::shared_ptr<GIOContext> UpgradeWizard::OpenWindowContext() {
  if (context_) context_->CloseContext();
  context_ = server_.OpenContext(Address(), kWindowTimeout);
  return context_;
}

void UpgradeWizard::bTestCommunication_Click() {
  if (running_) return;
  UiServices& ui = *environment_.ui;
  const std::shared_ptr<GIOContext> context = OpenWindowContext();
  if (!context->ReadName(0, 0).Error) {
    ui.MsgBox("Successfully communicated with Drive.", vbInformation | vbOKOnly, "Communication Successful");
    controls_.lblCommTestStatus = "Connection OK";
    return;
  }
  const udtDriveResponse flashMode = context->RawQuery(kFlashModeQuery, "");
  if (flashMode.Error) {
    ui.MsgBox("Unable to connect to drive (Error " + std::to_string(flashMode.intData) + ")",
              vbCritical | vbOKOnly, "Connection Failed");
    controls_.lblCommTestStatus = "Connection Unavailable";
    return;
  }
  ui.MsgBox("Drive already in flash mode, resetting.", vbInformation | vbOKOnly, "Communication Successful");
  context->SetTimeout(kSendWithoutWaiting);
  context->RawQuery(kProcessorReset, "");
  context->SetTimeout(kWindowTimeout);
  controls_.lblCommTestStatus = "Connection OK";
}

void UpgradeWizard::bBrowse_Click() {
  if (running_) return;
  const std::string path = BrowseForFile(false, kPackageFilter, 1, "Select Update File...", "");
  if (path.empty()) return;
  const std::string absolute = ScriptFileLoader::AbsolutePath(path);
  auto package = std::make_shared<FUPFile>();
  // A file that is no package says nothing about versions: the one chosen before stays chosen.
  if (!package->Load(absolute)) return ScriptFileLoader(environment_).RefusePackage(path, *package);
  package_ = std::move(package);
  packageFolder_ = ScriptFileLoader::ExistingFolderOf(absolute);
  controls_.lblNewFirmwareVersion.clear();
  const double driveVersion = LeadingNumber(controls_.lblOldFirmwareVersion);
  if (!package_->IgnoreVersions() && Series(package_->Version()) != Series(driveVersion)) {
    environment_.ui->MsgBox("Must choose a update file containing a compatible version of the firmware.",
                            vbExclamation | vbOKOnly, "Incompatible FUP file");
    package_.reset();
    return;
  }
  controls_.lblNewFirmwareVersion = FormatNumber(package_->Version(), kVersionFormat);
}

bool UpgradeWizard::bNextFinish_Click() {
  if (running_) return false;
  switch (controls_.Page) {
    case SelectDrive:
      if (ConnectionCarriesUpgrade()) ReadDriveVersion();
      return false;
    case LoadUpgradeFile:
      CheckPackageAndLoad();
      return false;
    case PerformUpgrade:
      Upgrade();
      return false;
    default:
      return true;
  }
}

void UpgradeWizard::bPrev_Click() {
  if (running_) return;
  const int page = controls_.Page;
  if (page != LoadUpgradeFile && page != PerformUpgrade) {
    throw RuntimeError(errInvalidProcedureCall, "bPrev", "Shouldn't be able to get here.");
  }
  if (page == LoadUpgradeFile) controls_.bPrevEnabled = false;
  ShowPage(page - 1);
}

// Said before anything reaches the drive: over a connection without the loader's byte channel the run
// would stop once the drive had restarted into its loader, out of reach of that connection.
bool UpgradeWizard::ConnectionCarriesUpgrade() const {
  if (server_.HasByteChannel()) return true;
  environment_.ui->MsgBox(kNeedsByteChannel, vbExclamation | vbOKOnly, "Unsuitable Connection");
  return false;
}

void UpgradeWizard::ReadDriveVersion() {
  const std::shared_ptr<GIOContext> context = OpenWindowContext();
  const std::int32_t n = FirmwareCompatibility().SoftwareVersion();
  const udtDriveResponse version =
      context->ReadValue(static_cast<std::uint8_t>(n / 100), static_cast<std::uint8_t>(n % 100));
  if (version.Error) {
    environment_.ui->MsgBox("Unable to access drive. Please check your settings and try again.",
                            vbExclamation | vbOKOnly, "Cannot Access Drive");
    return;
  }
  controls_.lblOldFirmwareVersion = FormatNumber(version.sglData, kVersionFormat);
  controls_.bPrevEnabled = true;
  ShowPage(LoadUpgradeFile);
}

// The version shown is the one compared: the drive's as read and rounded for the label, the package's
// as the package states it, both as single-precision numbers.
bool UpgradeWizard::OlderPackageAccepted() const {
  const auto driveVersion = static_cast<float>(LeadingNumber(controls_.lblOldFirmwareVersion));
  if (Series(driveVersion) != Series(package_->Version()) || driveVersion <= package_->Version()) return true;
  const int answer = OptOutMsgBox(
      "This firmware update file contains a firmware version older than your current firmware. Install it anyway?",
      "Old FUP", vbYesNo | vbQuestion, "OldFUP", true);
  return answer == OptOutYes;
}

void UpgradeWizard::CheckPackageAndLoad() {
  UiServices& ui = *environment_.ui;
  if (!package_) {
    ui.MsgBox("Please select a firmware update file before proceeding.", vbExclamation | vbOKOnly, "No FUP selected");
    return;
  }
  const double driveVersion = LeadingNumber(controls_.lblOldFirmwareVersion);
  if (!package_->IgnoreVersions() && Series(package_->Version()) != Series(driveVersion)) {
    ui.MsgBox("This firmware update file contains a firmware version incompatible with your drive.",
              vbCritical | vbOKOnly, "FUP Error");
    return;
  }
  if (!OlderPackageAccepted()) return;
  std::unique_ptr<IFlashCommandFile> script = ScriptFileLoader(environment_).LoadPackageRoot(package_, packageFolder_);
  if (!script) return;
  script_ = std::move(script);
  ShowPage(PerformUpgrade);
}

void UpgradeWizard::Upgrade() {
  controls_.bPrevEnabled = false;
  controls_.bNextFinishEnabled = false;
  controls_.bCancelEnabled = false;
  controls_.BarTextStyle = kBarTextAndPercent;
  running_ = true;
  view_.ShowControls();
  const bool upgraded = RunUpgrade();
  running_ = false;
  controls_.BarTextStyle = kBarTextOnly;
  controls_.bCancelEnabled = true;
  if (!upgraded) {
    if (progressControls_.lblFlashStatus) progressControls_.lblFlashStatus->SetCaption(kFailedText);
    return;
  }
  controls_.bNextFinishCaption = "&Finish";
  controls_.bNextFinishEnabled = true;
  ShowPage(UpgradeComplete);
}

void UpgradeWizard::PrepareProgress() {
  const ProgressControls& shown = progressControls_;
  progress_ = std::make_unique<ProgressServer>();
  progress_->SetClient(shown.window);
  progress_->SetupPrimary(nullptr, shown.tpbProgress, nullptr, shown.lblFlashStatus, nullptr, nullptr, nullptr, 0,
                          script_->ProgramLength(), 0);
  progress_->SetupSecondary(nullptr, shown.tpbSubProgress, nullptr, shown.lblFlashStatus, nullptr, nullptr, nullptr,
                            0, 100, 0);
  progress_->SetSimpleMessages(true);
  script_->SetProgress(progress_.get());
  script_->SetSubProgressHook([this](bool visible) { ShowSubProgress(visible); });
}

void UpgradeWizard::ShowSubProgress(bool visible) {
  const ProgressControls& shown = progressControls_;
  if (shown.lblSubProgress) {
    shown.lblSubProgress->SetVisible(visible);
    shown.lblSubProgress->Refresh();
  }
  if (shown.window) shown.window->Refresh();
}

bool UpgradeWizard::RunUpgrade() {
  std::shared_ptr<GIOContext> context;
  const dfResponseCodes code = RunScript(context);
  // Whatever ended the run, the other windows may reach the drive again.
  reservation_.Release();
  if (code == dfResponseEOF) {
    context->CloseContext();
    return true;
  }
  environment_.ui->MsgBox("An error was encountered while upgrading the firmware!", vbCritical | vbOKOnly,
                          "Fatal Error");
  return false;
}

// The window is not pumped between steps: the run holds it until the script ends. An error raised on
// the way ends the run as a failed step does.
dfResponseCodes UpgradeWizard::RunScript(std::shared_ptr<GIOContext>& context) {
  try {
    PrepareProgress();
    context = server_.OpenContext(Address(), kModuleTimeout);
    script_->SetContext(context);
    script_->SetAddress(Address());
    script_->SetTimeout(kWindowTimeout);
    // No other window's frame may reach the drive while its loader takes the new firmware.
    reservation_.Hold(context);
    script_->Reset();
    dfResponseCodes code = dfResponseOK;
    do {
      code = script_->singleStep();
    } while (GoesOn(code));
    return code;
  } catch (const std::exception&) {
    return dfResponseGeneralError;
  }
}

}  // namespace quendrel
