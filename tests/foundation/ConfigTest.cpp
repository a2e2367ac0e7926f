#include "foundation/settings/Config.h"

#include <gtest/gtest.h>

#include <string>

namespace quendrel {
namespace {

struct DefaultSetting {
  const char* section;
  const char* key;
  const char* value;
};

// Every setting the program reads, with the value a fresh installation must start from.
TEST(ConfigTest, BuiltInDefaultsHoldEveryKeyTheProgramReads) {
  const DefaultSetting settings[] = {
      {"General", "GIOTarget", "Serial"},
      {"General", "Retries", "3"},
      {"General", "UseIcons", "True"},
      {"General", "IconSet", "functional"},
      {"General", "PreserveINI", "False"},
      {"General", "DriveAddress", "1"},
      {"General", "KeepalivePeriod", "5"},
      {"Files", "FC2Path", "Quendrel.FC2"},
      {"Files", "SCPPath", "Quendrel.SCP"},
      {"Files", "LastPramFile", ""},
      {"Drive Flash", "LastScriptFile", ""},
      {"Drive Flash", "LogOutput", "False"},
      {"Drive Flash", "LogFile", "flash.log"},
      {"Serial Port", "ComPort", "0"},
      {"Serial Port", "BaudRate", "19200"},
      {"Serial Port", "Parity", "0"},
      {"Serial Port", "DataBits", "8"},
      {"Serial Port", "StopBits", "0"},
      {"Serial Port", "Timeout", "1"},
      {"Serial Port", "Retries", "0"},
      {"Serial Port", "LocalEcho", "False"},
      {"Serial Port", "PortNames", ""},
      {"Ethernet", "Host", "192.168.1.100"},
      {"Ethernet", "Port", "502"},
      {"Ethernet", "Protocol", "0"},
      {"Ethernet", "Authenticate", "False"},
      {"Ethernet", "Password", ""},
      {"Ethernet", "Timeout", "2"},
      {"Ethernet", "Retries", "0"},
      {"Graph/Log", "LogFile", "scan.log"},
      {"Graph/Log", "ScanPeriod", "3"},
      {"Graph/Log", "Style", "Line"},
      {"Graph/Log", "Timespan", "60"},
      {"Graph/Log", "BackgroundColor", "#F4F4F4"},
      {"Graph/Log", "AxesColor", "#000000"},
      {"Graph/Log", "RulesColor", "#CFCFCF"},
      {"Graph/Log", "TextColor", "#000000"},
      {"Graph/Log", "Title", "Parameter Value Graph"},
      {"Graph/Log", "TitleFont", "Verdana 16, Bold"},
      {"Graph/Log", "NumberFont", "Tahoma 8, Normal"},
      {"Graph/Log", "XRules", "False"},
      {"Graph/Log", "YRules", "True"},
      {"Graph/Log", "ShowAverage", "False"},
      {"Graph/Log", "ShowCurrent", "False"},
      {"Graph/Log", "IncludeGain", "True"},
      {"Graph/Log", "Legend", "Right"},
      {"Graph/Log", "LegendStyle", "Short"},
      {"Graph/Log", "XAxisLabels", "None"},
  };
  ResetConfig();
  for (const auto& s : settings) {
    EXPECT_TRUE(DefaultConfig().HasKey(s.key, s.section)) << "[" << s.section << "] " << s.key;
    EXPECT_EQ(Config().Value(s.key, s.section), s.value) << "[" << s.section << "] " << s.key;
  }
  EXPECT_EQ(DefaultConfig().Keys("Graph/Log").size(), 19U);
  // A remembered answer shipped as a default would silence a question nobody ever saw.
  EXPECT_TRUE(DefaultConfig().Keys("Warning Messages").empty());
}

TEST(ConfigTest, ExitSaveTextHoldsOnlyWhatTheUserChanged) {
  ResetConfig();
  Config().SetValue("Retries", "General", "5");
  EXPECT_EQ(Config().Value("Retries", "Serial Port"), "0") << "same key, other section";
  Config().SetValue("Retries", "General", "3");
  Config().SetValue("DriveAddress", "General", "1");
  Config().SetValue("UseIcons", "General", true);
  Config().SetValue("Legend", "Graph/Log", "Bottom");
  EXPECT_EQ(Config().Text(false), "[Graph/Log]\nLegend=Bottom\n");
}

TEST(ConfigTest, ResetForgetsUserSettingsAndPath) {
  ResetConfig();
  Config().Load("/nonexistent-folder-for-quendrel/Quendrel.INI");
  Config().SetValue("IconSet", "General", "cards");

  ResetConfig();
  EXPECT_EQ(Config().Value("IconSet", "General"), "functional");
  EXPECT_TRUE(Config().Path().empty());
  EXPECT_EQ(Config().Delegate(), &DefaultConfig());
  EXPECT_FALSE(Config().Save()) << "nothing loaded, so there is nowhere to save";
}

}  // namespace
}  // namespace quendrel
