// Drive functions from the built-in templates against the simulated drive over Modbus/TCP.
#include <gtest/gtest.h>

#include "comms/functions/FunctionTemplates.h"
#include "comms/support/EthernetRig.h"
#include "comms/support/StringFeedback.h"
#include "platform/ScriptedUi.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

class TemplateDriveTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadFunctionTemplates()); }
  void TearDown() override { FunctionTemplates().RemoveAll(); }

  udtTemplateCallInfo Run(const std::string& name, const std::vector<Variant>& arguments,
                          bool showRequest = false) {
    udtTemplateCallInfo call;
    for (const Variant& argument : arguments) call.talParameters.append(argument);
    call.tbFeedback = feedback_;
    call.showRequest = showRequest;
    FindFunctionTemplate(name)->RunCommand(call, rig_.Context(), nullptr);
    return call;
  }

  EthernetRig rig_{EthernetRig::Options{}};
  std::shared_ptr<StringFeedback> feedback_ = std::make_shared<StringFeedback>();
};

TEST_F(TemplateDriveTest, ParameterServicesReadAndWriteTheDrive) {
  const udtTemplateCallInfo read = Run("ReadValue", {"1128"}, true);
  EXPECT_EQ(read.rcResponse, dfResponseOK);
  EXPECT_EQ(read.strReturn, "M11P28, 2, 0, 7, QD-4007");
  EXPECT_EQ(feedback_->Text(),
            "Request\r\n=======\r\nParameter: 1128\r\n\r\nReply\r\n=====\r\nParameter: M11P28\r\nRaw Value: 2\r\n"
            "Attribute Bits: 0\r\nValue Name Length: 7\r\nValue Name: QD-4007\r\n");
  EXPECT_EQ(Run("WriteValue", {"101", "-321"}).strReturn, "M01P01, -321");
  EXPECT_EQ(rig_.Sim().Value(101), -321);
  EXPECT_EQ(Run("WriteName", {"1211", "1", "\"Conveyor\""}).rcResponse, dfResponseOK);
  EXPECT_EQ(rig_.Context().ReadDVD(12, 11, 1).strData, "Conveyor");
  EXPECT_EQ(Run("ReadName", {"1129"}).strReturn, "M11P29, Software Version");
  const udtTemplateCallInfo missing = Run("ReadPAD", {"504"});
  EXPECT_EQ(missing.rcResponse, dfResponseGeneralError);
  EXPECT_EQ(feedback_->Text(), "Request\r\n=======\r\nReply\r\n=====\r\nError 2\r\n");
}

TEST_F(TemplateDriveTest, EthernetInterfaceSettingsAreKeptByTheDrive) {
  EXPECT_EQ(Run("IsEthernet", {}).strReturn, "0, 1");
  EXPECT_EQ(Run("SetEIBValue", {"2", "90", "0"}).strReturn, "2, 2, 90");
  EXPECT_EQ(Run("ReadEIBValue", {"2"}).strReturn, "1, 2, 90");
  EXPECT_EQ(Run("SaveEIBSettings", {}).rcResponse, dfResponseOK);
  EXPECT_EQ(Run("ResetEIB", {"True"}).strReturn, "4");
  EXPECT_EQ(Run("ReadEIBValue", {"2"}).strReturn, "1, 2, 60");
  EXPECT_EQ(Run("ReadEIBValue", {"11"}).rcResponse, dfResponseGeneralError);
}

TEST_F(TemplateDriveTest, FlashCommandsAreAcknowledgedAndTheResetIsNotWaitedFor) {
  rig_.Sim().ResetStats();
  EXPECT_EQ(Run("EraseFlash", {"0"}).rcResponse, dfResponseOK);
  EXPECT_EQ(Run("ProgramBufferToPage", {"3"}).rcResponse, dfResponseOK);
  EXPECT_EQ(Run("ProcessorReset", {}).rcResponse, dfResponseOK);
  // Its late acknowledgement carries an old transaction id and is passed over.
  EXPECT_FALSE(rig_.Context().ReadValue(11, 29).Error);
  EXPECT_EQ(rig_.Sim().RequestCount(52), 1);
}

TEST_F(TemplateDriveTest, AHexFileGoesToTheDrivePacketByPacket) {
  ScriptedUi ui;
  const TempFolder folder;
  const std::string path = folder.Write("image.hex", ":0401000001020304F1\n:03011000AABBCCBB\n:00000001FF\n");
  rig_.Sim().ResetStats();
  const udtTemplateCallInfo call = Run("WriteFileToBuffer", {"\"" + path + "\""});
  EXPECT_EQ(call.rcResponse, dfResponseOK);
  EXPECT_EQ(rig_.Sim().RequestCount(39), 2);
  EXPECT_EQ(ui.Pumps(), 2);
}

TEST_F(TemplateDriveTest, HexNumbersKeepTheirDigitsInAWideFieldAndTheirSignInAWord) {
  rig_.UseProtocol(EthernetModule::kRtuOverTcp);
  rig_.Sim().ReceivedBytes();
  EXPECT_EQ(Run("WriteDataWord", {"&H8000", "&HFFFF"}).rcResponse, dfResponseOK);
  // Drive 1, function 35, the 24-bit flash address, then the data word.
  EXPECT_EQ(rig_.Sim().ReceivedBytes().substr(0, 7), std::string("\x01\x23\x00\x80\x00\xFF\xFF", 7));
}

}  // namespace
}  // namespace quendrel
