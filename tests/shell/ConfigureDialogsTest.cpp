// The serial and Ethernet dialogs: filled from the settings, OK writes and applies them and
// selects the module, a refused entry keeps the dialog open and changes nothing, Cancel changes
// nothing; and through the main window against the simulated drive, a real exchange shows its
// response time.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <tuple>
#include <utility>

#include "comms/modules/EthernetModule.h"
#include "comms/modules/SerialModule.h"
#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "drivesim/DriveSimProcess.h"
#include "foundation/settings/Config.h"
#include "platform/Clock.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"
#include "shell/qt/frmMainMDI.h"
#include "shell/support/ShellTestSupport.h"
#include "widgets/qt/dialogs/frmEthernetConfigure.h"
#include "widgets/qt/dialogs/frmSerialPortConfigure.h"

namespace quendrel {
namespace {

template <typename Widget>
Widget* Child(const QWidget& parent, const char* name) {
  auto* child = parent.findChild<Widget*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

void Choose(QComboBox* box, const QString& text) {
  const int index = box->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  box->setCurrentIndex(index);
}

// Runs once the next modal dialog is up: the user's part while exec() waits.
void WhenModal(std::function<void(QWidget&)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
  });
}

FakeClock& SharedFakeClock() {
  static FakeClock clock;
  return clock;
}

class ConfigureDialogsTest : public ::testing::Test {
 protected:
  explicit ConfigureDialogsTest(Clock& clock = SharedFakeClock()) : server(clock) {
    QtTestApp();
    ResetConfig();
    server.RegisterModule(std::make_unique<SerialModule>(clock));
  }
  ~ConfigureDialogsTest() override {
    server.Shutdown();
    ResetConfig();
  }

  CountingModule& AddEthernet() {
    return static_cast<CountingModule&>(server.RegisterModule(std::make_unique<CountingModule>("Ethernet")));
  }

  GIOServer server;
  ScriptedUi ui;
};

TEST_F(ConfigureDialogsTest, SerialDialogShowsTheSettingsAndThePortsWithTheirDevices) {
  Config().LoadText(
      "[Serial Port]\nPortNames=/dev/ttyQA0;/dev/ttyQA1\nComPort=1\nBaudRate=9600\nParity=1\n"
      "DataBits=7\nStopBits=2\nTimeout=0.5\nRetries=2\nLocalEcho=True\n");
  frmSerialPortConfigure dialog(nullptr, &server);
  QComboBox* port = Child<QComboBox>(dialog, "cbPort");
  ASSERT_EQ(port->count(), 2);
  EXPECT_EQ(port->itemText(0), "COM1 (/dev/ttyQA0)");
  EXPECT_EQ(port->currentText(), "COM2 (/dev/ttyQA1)");
  EXPECT_EQ(Child<QComboBox>(dialog, "cbBaudRate")->currentText(), "9600");
  EXPECT_EQ(Child<QComboBox>(dialog, "cbBaudRate")->count(), 10);
  EXPECT_EQ(Child<QComboBox>(dialog, "cbParity")->currentText(), "Odd");
  EXPECT_EQ(Child<QComboBox>(dialog, "cbDataBits")->currentText(), "7");
  EXPECT_EQ(Child<QComboBox>(dialog, "cbStopBits")->currentText(), "2");
  EXPECT_EQ(Child<QLineEdit>(dialog, "tbTimeout")->text(), "0.5");
  EXPECT_EQ(Child<QLineEdit>(dialog, "tbRetries")->text(), "2");
  EXPECT_TRUE(Child<QCheckBox>(dialog, "chkLocalEcho")->isChecked());
}

TEST_F(ConfigureDialogsTest, SerialDialogListsThePresentPortsAndTheConfiguredOne) {
  // 30000000 is out of range: the default port, and the dialog opens at once.
  for (const auto& [comPort, listed] : {std::pair{"3", QStringList{"COM1 (/dev/ttyQA0)", "COM4"}},
                                        std::pair{"30000000", QStringList{"COM1 (/dev/ttyQA0)"}}}) {
    Config().LoadText(std::string("[Serial Port]\nPortNames=/dev/ttyQA0\nComPort=") + comPort + "\n");
    frmSerialPortConfigure dialog(nullptr, &server);
    QComboBox* port = Child<QComboBox>(dialog, "cbPort");
    QStringList shown;
    for (int index = 0; index < port->count(); ++index) shown << port->itemText(index);
    EXPECT_EQ(shown, listed) << comPort;
    EXPECT_EQ(port->currentText(), listed.back()) << comPort;
  }
}

TEST_F(ConfigureDialogsTest, SerialOkWritesAppliesAndSelects) {
  Config().SetValue("PortNames", "Serial Port", "/dev/ttyQA0;/dev/ttyQA1");
  server.SelectModule("None");
  frmSerialPortConfigure dialog(nullptr, &server);
  Choose(Child<QComboBox>(dialog, "cbPort"), "COM2 (/dev/ttyQA1)");
  Choose(Child<QComboBox>(dialog, "cbBaudRate"), "57600");
  Choose(Child<QComboBox>(dialog, "cbParity"), "Even");
  Choose(Child<QComboBox>(dialog, "cbDataBits"), "7");
  Choose(Child<QComboBox>(dialog, "cbStopBits"), "1.5");
  Child<QLineEdit>(dialog, "tbTimeout")->setText(" 2.50");
  Child<QLineEdit>(dialog, "tbRetries")->setText("1");
  Child<QCheckBox>(dialog, "chkLocalEcho")->setChecked(true);
  Child<QPushButton>(dialog, "bOK")->click();

  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(Config().Value("ComPort", "Serial Port"), "1");
  EXPECT_EQ(Config().Value("BaudRate", "Serial Port"), "57600");
  EXPECT_EQ(Config().Value("Parity", "Serial Port"), "2");
  EXPECT_EQ(Config().Value("DataBits", "Serial Port"), "7");
  EXPECT_EQ(Config().Value("StopBits", "Serial Port"), "1");
  EXPECT_EQ(Config().Value("Timeout", "Serial Port"), "2.5");
  EXPECT_EQ(Config().Value("Retries", "Serial Port"), "1");
  EXPECT_EQ(Config().Value("LocalEcho", "Serial Port"), "True");
  EXPECT_EQ(Config().Value("GIOTarget", "General"), "Serial");
  EXPECT_EQ(server.SelectedModule(), "Serial");
  // The module took the new settings when it was selected.
  const auto& serial = static_cast<const SerialModule&>(*server.Module("Serial"));
  EXPECT_EQ(serial.DevicePath(), "/dev/ttyQA1");
  EXPECT_EQ(serial.BaudRate(), 8);
  EXPECT_EQ(serial.Parity(), 2);
  EXPECT_EQ(serial.DataBits(), "7");
  EXPECT_DOUBLE_EQ(serial.ConfiguredTimeout(), 2.5);
}

TEST_F(ConfigureDialogsTest, SerialOkWithABadTimeoutSaysWhyAndStaysOpen) {
  server.SelectModule("None");
  frmSerialPortConfigure dialog(nullptr, &server);
  dialog.show();
  Child<QLineEdit>(dialog, "tbTimeout")->setText("0");
  ui.AnswerMsgBox(vbOK);
  Child<QPushButton>(dialog, "bOK")->click();
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(ui.Questions().size(), 1u);
  EXPECT_EQ(ui.Questions()[0].Title, "Serial Port Settings");
  EXPECT_NE(ui.Questions()[0].Prompt.find("timeout"), std::string::npos);
  EXPECT_FALSE(Config().HasKey("Timeout", "Serial Port"));
  EXPECT_EQ(server.SelectedModule(), "None");
}

TEST_F(ConfigureDialogsTest, EthernetDialogShowsTheSettingsWithTheLoginPasswordMasked) {
  Config().LoadText("[Ethernet]\nHost=10.0.0.7\nPort=1502\nProtocol=1\nAuthenticate=True\nTimeout=3\nRetries=1\n");
  Config().SetValue("Password", "Ethernet", EthernetModule::StoredPassword("gate"));
  frmEthernetConfigure dialog(nullptr, &server);
  EXPECT_EQ(Child<QLineEdit>(dialog, "tbHost")->text(), "10.0.0.7");
  EXPECT_EQ(Child<QLineEdit>(dialog, "tbPort")->text(), "1502");
  EXPECT_EQ(Child<QComboBox>(dialog, "cbProtocol")->currentText(), "RTU frames over TCP");
  EXPECT_TRUE(Child<QCheckBox>(dialog, "chkLogin")->isChecked());
  QLineEdit* password = Child<QLineEdit>(dialog, "tbPassword");
  EXPECT_EQ(password->text(), "gate");
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  EXPECT_TRUE(password->isEnabled());
  Child<QCheckBox>(dialog, "chkLogin")->setChecked(false);
  EXPECT_FALSE(password->isEnabled());
  EXPECT_EQ(Child<QLineEdit>(dialog, "tbTimeout")->text(), "3");
}

TEST_F(ConfigureDialogsTest, EthernetOkWritesAppliesAndSelects) {
  CountingModule& ethernet = AddEthernet();
  server.SelectModule("Serial");
  frmEthernetConfigure dialog(nullptr, &server);
  Child<QLineEdit>(dialog, "tbHost")->setText("  drive-7.plant.local ");
  Child<QLineEdit>(dialog, "tbPort")->setText("5020");
  Choose(Child<QComboBox>(dialog, "cbProtocol"), "RTU frames over TCP");
  Child<QCheckBox>(dialog, "chkLogin")->setChecked(true);
  Child<QLineEdit>(dialog, "tbPassword")->setText("open sesame");
  Child<QLineEdit>(dialog, "tbTimeout")->setText("0.75");
  Child<QLineEdit>(dialog, "tbRetries")->setText("1");
  Child<QPushButton>(dialog, "bOK")->click();

  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(Config().Value("Host", "Ethernet"), "drive-7.plant.local");
  EXPECT_EQ(Config().Value("Port", "Ethernet"), "5020");
  EXPECT_EQ(Config().Value("Protocol", "Ethernet"), "1");
  EXPECT_EQ(Config().Value("Authenticate", "Ethernet"), "True");
  EXPECT_EQ(Config().Value("Timeout", "Ethernet"), "0.75");
  EXPECT_EQ(Config().Value("Retries", "Ethernet"), "1");
  const std::string stored = Config().Value("Password", "Ethernet");
  EXPECT_EQ(stored.find("open sesame"), std::string::npos);
  EXPECT_EQ(EthernetModule::PasswordFromStore(stored), "open sesame");
  EXPECT_EQ(server.SelectedModule(), "Ethernet");
  EXPECT_EQ(Config().Value("GIOTarget", "General"), "Ethernet");
  EXPECT_EQ(ethernet.startups, 1);
}

TEST_F(ConfigureDialogsTest, EthernetOkWithABadPortSaysWhyAndChangesNothing) {
  AddEthernet();
  server.SelectModule("Serial");
  frmEthernetConfigure dialog(nullptr, &server);
  dialog.show();
  Child<QLineEdit>(dialog, "tbPort")->setText("70000");
  ui.AnswerMsgBox(vbOK);
  Child<QPushButton>(dialog, "bOK")->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"Ethernet Settings"});
  EXPECT_NE(ui.Questions()[0].Prompt.find("65535"), std::string::npos);
  EXPECT_TRUE(Config().Keys("Ethernet").empty());
  EXPECT_EQ(server.SelectedModule(), "Serial");
}

TEST_F(ConfigureDialogsTest, EthernetOkRefusesAHostOrPasswordItCouldOnlyStoreAsQuestionMarks) {
  AddEthernet();
  server.SelectModule("Serial");
  for (const auto& [field, text, named] : {std::tuple{"tbPassword", u"пароль1", "password"},
                                           std::tuple{"tbHost", u"привод.local", "host"}}) {
    frmEthernetConfigure dialog(nullptr, &server);
    Child<QLineEdit>(dialog, "tbHost")->setText("10.0.0.7");
    Child<QCheckBox>(dialog, "chkLogin")->setChecked(true);
    Child<QLineEdit>(dialog, field)->setText(QString::fromUtf16(text));
    ui.AnswerMsgBox(vbOK);
    EXPECT_FALSE(dialog.bOK_Click()) << field;
    EXPECT_NE(ui.Questions().back().Prompt.find(named), std::string::npos) << ui.Questions().back().Prompt;
  }
  EXPECT_EQ(ui.Titles(), (std::vector<std::string>{"Ethernet Settings", "Ethernet Settings"}));
  EXPECT_TRUE(Config().Keys("Ethernet").empty());
  EXPECT_EQ(server.SelectedModule(), "Serial");
}

TEST_F(ConfigureDialogsTest, CancelChangesNothing) {
  AddEthernet();
  server.SelectModule("None");
  frmSerialPortConfigure serial(nullptr, &server);
  Choose(Child<QComboBox>(serial, "cbBaudRate"), "300");
  Child<QLineEdit>(serial, "tbTimeout")->setText("9");
  Child<QPushButton>(serial, "bCancel")->click();
  EXPECT_EQ(serial.result(), QDialog::Rejected);
  frmEthernetConfigure ethernet(nullptr, &server);
  Child<QLineEdit>(ethernet, "tbHost")->setText("elsewhere");
  Child<QPushButton>(ethernet, "bCancel")->click();
  EXPECT_TRUE(Config().Keys("Serial Port").empty());
  EXPECT_TRUE(Config().Keys("Ethernet").empty());
  EXPECT_EQ(server.SelectedModule(), "None");
}

TEST_F(ConfigureDialogsTest, WithoutAnEthernetModuleTheSettingsAreKeptButNotSelected) {
  server.SelectModule("Serial");
  frmEthernetConfigure dialog(nullptr, &server);
  Child<QLineEdit>(dialog, "tbHost")->setText("10.1.1.1");
  ui.AnswerMsgBox(vbOK);
  Child<QPushButton>(dialog, "bOK")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(ui.Titles(), std::vector<std::string>{"Ethernet Settings"});
  EXPECT_EQ(Config().Value("Host", "Ethernet"), "10.1.1.1");
  EXPECT_EQ(server.SelectedModule(), "Serial");
}

TEST_F(ConfigureDialogsTest, TheMenuOpensTheDialogModallyAndTicksTheModuleChosen) {
  server.RegisterModule(std::make_unique<EthernetModule>(SharedFakeClock()));
  server.SelectModule("Serial");
  frmMainMDI window(&server);
  WhenModal([](QWidget& dialog) {
    Child<QLineEdit>(dialog, "tbHost")->setText("127.0.0.1");
    Child<QPushButton>(dialog, "bOK")->click();
  });
  window.MenuItem("mnuCommsEthernet")->trigger();
  EXPECT_TRUE(window.MenuItem("mnuCommsEthernet")->isChecked());
  EXPECT_FALSE(window.MenuItem("mnuCommsSerial")->isChecked());
  EXPECT_EQ(window.StatusPanelText(1), "Ethernet: 127.0.0.1:502 Modbus/TCP");

  // Cancel leaves the selection, and the tick the click put on Serial comes off again.
  WhenModal([](QWidget& dialog) { Child<QPushButton>(dialog, "bCancel")->click(); });
  window.MenuItem("mnuCommsSerial")->trigger();
  EXPECT_FALSE(window.MenuItem("mnuCommsSerial")->isChecked());
  EXPECT_TRUE(window.MenuItem("mnuCommsEthernet")->isChecked());
  EXPECT_EQ(server.SelectedModule(), "Ethernet");
}

class DialogsAgainstTheDriveTest : public ConfigureDialogsTest {
 protected:
  DialogsAgainstTheDriveTest() : ConfigureDialogsTest(SystemClockInstance()) {}

  // A real read through the selected module, then the ping timer shows how long it took.
  void ExpectAResponseTimeAfterARead(frmMainMDI& window) {
    const udtDriveResponse reply = server.OpenContext(1, -1)->ReadValue(11, 29);
    ASSERT_FALSE(reply.Error) << reply.intData;
    EXPECT_EQ(reply.intData, 2105);
    window.PingTimer_Timer();
    const QString shown = QString::fromStdString(window.StatusPanelText(3));
    EXPECT_TRUE(QRegularExpression("^\\d+ ms$").match(shown).hasMatch()) << shown.toStdString();
  }
};

TEST_F(DialogsAgainstTheDriveTest, ARealExchangeShowsItsResponseTime) {
  DriveSimProcess drive;
  Config().SetValue("PortNames", "Serial Port", "/dev/null-nothing;" + drive.DevicePath());
  server.SelectModule("None");
  frmMainMDI window(&server);
  const QString secondPort = QStringLiteral("COM2 (%1)").arg(QString::fromStdString(drive.DevicePath()));
  WhenModal([secondPort](QWidget& dialog) {
    Choose(Child<QComboBox>(dialog, "cbPort"), secondPort);
    Child<QPushButton>(dialog, "bOK")->click();
  });
  window.MenuItem("mnuCommsSerial")->trigger();
  ASSERT_EQ(server.SelectedModule(), "Serial");
  EXPECT_EQ(window.StatusPanelText(1), "Serial: COM2 (" + drive.DevicePath() + ") 19200 baud");
  ExpectAResponseTimeAfterARead(window);
}

TEST_F(DialogsAgainstTheDriveTest, TheEthernetDialogReachesTheDriveOverModbusTcp) {
  DriveSimProcess drive({"--tcp", "0"});
  server.RegisterModule(std::make_unique<EthernetModule>(SystemClockInstance()));
  server.SelectModule("Serial");
  frmMainMDI window(&server);
  const QString port = QString::number(drive.TcpPort());
  WhenModal([port](QWidget& dialog) {
    Child<QLineEdit>(dialog, "tbHost")->setText("127.0.0.1");
    Child<QLineEdit>(dialog, "tbPort")->setText(port);
    Child<QPushButton>(dialog, "bOK")->click();
  });
  window.MenuItem("mnuCommsEthernet")->trigger();
  ASSERT_EQ(server.SelectedModule(), "Ethernet");
  EXPECT_EQ(window.StatusPanelText(1), "Ethernet: 127.0.0.1:" + port.toStdString() + " Modbus/TCP");
  ExpectAResponseTimeAfterARead(window);
}

}  // namespace
}  // namespace quendrel
