#include "graph/support/GraphLogRig.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "drivesim/DefaultParameterTable.h"
#include "foundation/settings/Config.h"
#include "foundation/text/DateText.h"
#include "graph/data/ScanList.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/support/OwnTemplate.h"
#include "platform/FakeImageList.h"
#include "support/FileText.h"

namespace quendrel::testing {

namespace {

const FakeImageList& Icons() {
  static const FakeImageList icons = [] {
    FakeImageList list;
    for (const char* key : {"pram", "readonly", "bitpram0", "bitpram1", "readonlybit0", "readonlybit1"}) {
      list.AddSolid(key, 0xFF808080);
    }
    return list;
  }();
  return icons;
}

}  // namespace

GraphLogRig::GraphLogRig(const std::string& tableText, bool useIcons) {
  ResetConfig();
  CreateScanList(folder.File(""));
  if (!FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2)) {
    throw std::runtime_error("cannot load the simulated drive's compatibility file");
  }
  Config().SetValue("LogFile", "Graph/Log", LogPath());
  auto module = tableText.empty() ? std::make_unique<InProcessDrive>() : std::make_unique<InProcessDrive>(tableText);
  drive = module.get();
  server.RegisterModule(std::move(module));
  server.SelectModule(drive->Name());
  GraphLogSession::Services services;
  services.Server = &server;
  services.UseIcons = useIcons;
  services.Icons = &Icons();
  services.TimeSource = &clock;
  session = std::make_shared<GraphLogSession>(view, tree, services);
  view.onClose = [this] {
    if (session->Form_QueryUnload()) session->Form_Unload();
  };
}

GraphLogRig::~GraphLogRig() {
  ui.OnPump({});
  ui.WhileAsked({});
  view.onClose = {};
  session.reset();
  FirmwareCompatibility() = FirmwareCompatibilityFile{};
  CreateScanList("");
  ResetConfig();
}

void GraphLogRig::Load() { session->Form_Load(); }

void GraphLogRig::Connect() {
  session->bConnect_Click();
  ASSERT_EQ(session->ConnectionState(), GraphLogSession::StateConnected) << session->StatusText();
}

void GraphLogRig::Tick(const std::string& key, bool ticked) {
  ParameterTreeNode& node = Node(key);
  node.SetChecked(ticked ? 1 : 0);
  session->treePramList_CheckChanged(node);
}

std::vector<std::string> GraphLogRig::SeriesNames() const {
  std::vector<std::string> names;
  for (const auto& s : session->gdcGraphData().SeriesSet()) names.push_back(s->Name());
  return names;
}

void GraphLogRig::LoseDrive() {
  drive->SetSilent(true);
  session->TimerConnection_Timer();
}

void GraphLogRig::AtPump(int pump, std::function<void()> action) {
  auto count = std::make_shared<int>(0);
  ui.OnPump([count, pump, action] {
    if (++*count == pump) action();
  });
}

std::shared_ptr<FirmwareInformationTemplate> GraphLogRig::OwnTemplate() { return InstallOwnTemplate(); }

std::vector<std::string> GraphLogRig::LogLines() const {
  const std::string text = ReadTestFile(LogPath());
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      ADD_FAILURE() << "log line without CR LF: " << text.substr(at);
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

std::string TableWith(const std::string& from, const std::string& to) {
  std::string text = DefaultParameterTableText();
  const std::size_t at = text.find(from);
  if (at == std::string::npos) throw std::runtime_error("no " + from + " in the table");
  return text.replace(at, from.size(), to);
}

std::string StampText(double secondsAfterStart, bool tabSeparated) {
  return FormatTimestamp(FakeClock::DefaultStart + secondsAfterStart, true, tabSeparated);
}

}  // namespace quendrel::testing
