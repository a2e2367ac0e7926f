#include "graph/support/ScanWindowRig.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QTest>
#include <gtest/gtest.h>

#include <stdexcept>

#include "comms/modules/EthernetModule.h"
#include "comms/modules/SerialModule.h"
#include "foundation/settings/Config.h"
#include "foundation/text/NumberText.h"
#include "graph/data/ScanList.h"
#include "params/compatibility/FS2Compiler.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "platform/Clock.h"
#include "support/FileText.h"
#include "support/QtTestApp.h"
#include "tree/qt/ParameterTreeWidget.h"
#include "widgets/TreeIcons.h"
#include "widgets/qt/windows/Artwork.h"

namespace quendrel::testing {

namespace {

std::vector<std::string> WithTcp(DriveLink link, std::vector<std::string> arguments) {
  if (link == DriveLink::ModbusTcp) arguments.insert(arguments.end(), {"--tcp", "0"});
  return arguments;
}

void SelectLink(GIOServer& server, DriveLink link, const DriveSimProcess& sim) {
  if (link == DriveLink::PseudoTerminal) {
    Config().SetValue("PortNames", "Serial Port", sim.DevicePath());
    Config().SetValue("ComPort", "Serial Port", "0");
    Config().SetValue("Timeout", "Serial Port", DoubleToText(ScanWindowRig::kTimeout));
    Config().SetValue("Retries", "Serial Port", "0");
    server.RegisterModule(std::make_unique<SerialModule>(SystemClockInstance()));
    server.Startup();
    server.SelectModule("Serial");
    return;
  }
  Config().SetValue("Host", "Ethernet", "127.0.0.1");
  Config().SetValue("Timeout", "Ethernet", DoubleToText(ScanWindowRig::kTimeout));
  server.RegisterModule(std::make_unique<EthernetModule>(SystemClockInstance()));
  server.Startup();
  server.SelectModule("Ethernet");
  auto& module = static_cast<EthernetModule&>(*server.Module("Ethernet"));
  module.SetProtocol(EthernetModule::kModbusTcp);
  module.SetPort(sim.TcpPort());
}

}  // namespace

const char* DriveLinkName(DriveLink link) { return link == DriveLink::ModbusTcp ? "ModbusTcp" : "PseudoTerminal"; }

ScanWindowRig::ScanWindowRig(DriveLink link, std::vector<std::string> simulatorArguments, Compatibility compatibility)
    : app(QtTestApp()), server(SystemClockInstance()), icons(Artwork::TreeIconSize, Artwork::TreeIconSize) {
  ResetConfig();
  CreateScanList(folder.File(""));
  Config().SetValue("LogFile", "Graph/Log", LogPath());
  Config().SetValue("Retries", "General", "0");
  FirmwareCompatibility() = FirmwareCompatibilityFile{};
  if (compatibility == Compatibility::DrivesOwn && !FirmwareCompatibility().Load(QUENDREL_DRIVESIM_FC2)) {
    throw std::runtime_error("cannot load the simulated drive's compatibility file");
  }
  sim = std::make_unique<DriveSimProcess>(WithTcp(link, std::move(simulatorArguments)));
  SelectLink(server, link, *sim);
  Artwork::FillTreeIcons(icons, IconSetKind::Cards);
  SetUseIcons(true);
  area = new QMdiArea;
  main.setCentralWidget(area);
  main.resize(1100, 760);
  main.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
}

ScanWindowRig::~ScanWindowRig() {
  ui.OnPump({});
  ui.WhileAsked({});
  area->closeAllSubWindows();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  server.Shutdown();
  SetUseIcons(false);
  FirmwareCompatibility() = FirmwareCompatibilityFile{};
  CreateScanList("");
  ResetConfig();
}

void ScanWindowRig::UseCompatibilitySource(const std::string& source) {
  FS2Compiler compiler;
  ASSERT_TRUE(compiler.Compile(source));
  FirmwareCompatibility() = compiler.Result();
}

void ScanWindowRig::Open() {
  frmGraphLog::Links links;
  links.Server = &server;
  links.MainStatus = [this](const std::string& text) { mainStatus.push_back(text); };
  links.UseIcons = true;
  window = frmGraphLog::ShowWindow(WindowHost{area, &icons, &main}, links);
  QApplication::processEvents();
}

void ScanWindowRig::Connect() {
  QTest::mouseClick(window->ConnectButton(), Qt::LeftButton);
  ASSERT_EQ(Core().ConnectionState(), GraphLogSession::StateConnected) << Core().StatusText();
}

void ScanWindowRig::Tick(const std::string& key) {
  ParameterTree& tree = window->TreeWidget()->Tree();
  tree.SetSelected(&tree.Node(key));
  QTest::keyClick(window->TreeWidget()->CanvasWidget(), Qt::Key_Space);
}

ParameterTreeNode& ScanWindowRig::Node(const std::string& key) const { return window->TreeWidget()->Tree().Node(key); }

std::shared_ptr<gdSeries> ScanWindowRig::Series(const std::string& name) const {
  return Core().gdcGraphData().Series(name);
}

std::vector<std::string> ScanWindowRig::SeriesNames() const {
  std::vector<std::string> names;
  for (const auto& s : Core().gdcGraphData().SeriesSet()) names.push_back(s->Name());
  return names;
}

bool ScanWindowRig::WaitForLogLines(std::size_t count) {
  return QTest::qWaitFor([&] { return LogLines().size() >= count; }, 20000);
}

std::vector<std::string> ScanWindowRig::LogLines() const {
  const std::string text = ReadTestFile(LogPath());
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) break;  // a line still being written
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

}  // namespace quendrel::testing
