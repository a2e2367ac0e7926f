// Renders the shell's windows and pictures to PNG files under the test output folder, so anyone
// can look at them, and checks that each picture shows what it must.
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <gtest/gtest.h>

#include <memory>

#include "comms/modules/SerialModule.h"
#include "comms/server/GIOServer.h"
#include "foundation/settings/Config.h"
#include "platform/FakeClock.h"
#include "shell/qt/frmAbout.h"
#include "shell/qt/frmMainMDI.h"
#include "shell/qt/frmSplash.h"
#include "shell/support/ShellTestSupport.h"
#include "widgets/qt/dialogs/frmEthernetConfigure.h"
#include "widgets/qt/dialogs/frmSerialPortConfigure.h"
#include "widgets/qt/progress/TextProgressBar.h"
#include "widgets/qt/windows/Artwork.h"

namespace quendrel {
namespace {

class RenderTest : public ::testing::Test {
 protected:
  RenderTest() : server(clock) {
    QtTestApp();
    ResetConfig();
    Config().SetValue("PortNames", "Serial Port", "/dev/ttyUSB0;/dev/ttyUSB1");
    server.RegisterModule(std::make_unique<SerialModule>(clock));
    server.SelectModule("Serial");
  }
  ~RenderTest() override { ResetConfig(); }

  static QImage Save(QWidget& widget, const std::string& name) {
    widget.show();
    const QImage image = widget.grab().toImage();
    EXPECT_TRUE(image.save(QString::fromStdString(RenderOutputPath(name))));
    return image;
  }

  static QImage Save(const QPixmap& pixmap, const std::string& name) {
    EXPECT_TRUE(pixmap.save(QString::fromStdString(RenderOutputPath(name))));
    return pixmap.toImage();
  }

  FakeClock clock;
  GIOServer server;
};

TEST_F(RenderTest, MainWindow) {
  frmMainMDI window(&server);
  window.resize(900, 600);
  auto* child = window.MdiArea()->addSubWindow(new QLabel("  A child window"));
  child->setWindowTitle("Graph/Log Parameters");
  child->resize(360, 220);
  window.SetStatus("Ready");
  window.SetStatusPanel(3, "12 ms");
  const QImage image = Save(window, "main-window.png");
  EXPECT_EQ(image.size(), QSize(900, 600) * image.devicePixelRatio());
}

TEST_F(RenderTest, AboutBox) {
  frmAbout about;
  Save(about, "about.png");
  EXPECT_NE(about.findChild<QLabel*>("lblVersion")->text().indexOf(QStringLiteral(QUENDREL_TEST_VERSION)), -1);
}

TEST_F(RenderTest, ConfigurationDialogs) {
  frmSerialPortConfigure serial(nullptr, &server);
  Save(serial, "serial-port-dialog.png");
  frmEthernetConfigure ethernet(nullptr, &server);
  Save(ethernet, "ethernet-dialog.png");
  EXPECT_EQ(serial.windowTitle(), "Serial Port Settings");
  EXPECT_EQ(ethernet.windowTitle(), "Ethernet Settings");
}

TEST_F(RenderTest, TextProgressBars) {
  QWidget sheet;
  sheet.resize(320, 100);
  const struct {
    float value;
    int style;
    const char* text;
  } bars[] = {{0, 0, "Waiting for the drive"}, {37, 1, ""}, {72, 2, "Programming"}, {100, 2, "Done"}};
  int y = 4;
  for (const auto& b : bars) {
    auto* bar = new TextProgressBar(&sheet);
    bar->setGeometry(4, y, 312, 20);
    bar->SetValue(b.value);
    bar->SetTextStyle(b.style);
    bar->SetText(b.text);
    y += 24;
  }
  const QImage image = Save(sheet, "text-progress-bars.png");
  EXPECT_EQ(image.pixelColor(6, 24 * 3 + 6), QColor(6, 176, 37));
}

TEST_F(RenderTest, IconSetsSplashAndPictures) {
  // Every set in a row, each icon also at four times its size for a closer look.
  constexpr int cell = 72;
  QImage sheet(static_cast<int>(TreeIconKeys.size()) * cell, 4 * cell, QImage::Format_ARGB32);
  sheet.fill(Qt::white);
  {
    QPainter painter(&sheet);
    for (int set = 0; set < 4; ++set) {
      for (std::size_t i = 0; i < TreeIconKeys.size(); ++i) {
        const QPixmap icon = Artwork::TreeIcon(static_cast<IconSetKind>(set), TreeIconKeys[i]);
        const int x = static_cast<int>(i) * cell;
        painter.drawPixmap(x + 4, set * cell + 4, icon);
        painter.drawPixmap(QRect(x + 4, set * cell + 4 + 18, 64, 64).adjusted(0, 0, 0, -14), icon);
      }
    }
  }
  EXPECT_TRUE(sheet.save(QString::fromStdString(RenderOutputPath("tree-icons.png"))));

  frmSplash splash;
  Save(splash, "splash.png");
  EXPECT_EQ(Save(Artwork::WindowPicture(64), "window-icon.png").size(), QSize(64, 64));
  EXPECT_EQ(Save(Artwork::WizardPicture(101), "wizard-101.png").size(), QSize(164, 314));
  EXPECT_EQ(Save(Artwork::WizardPicture(102), "wizard-102.png").size(), QSize(64, 64));
  EXPECT_TRUE(Artwork::WizardPicture(103).isNull());
  EXPECT_FALSE(Artwork::WindowIcon().isNull());
}

}  // namespace
}  // namespace quendrel
