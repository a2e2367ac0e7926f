// Running drive functions from their templates: arguments to request bytes by type, reply bytes to
// values, the report in both detail modes, the result codes and the special functions.
#include <gtest/gtest.h>

#include "comms/functions/DriveReport.h"
#include "comms/server/GIOError.h"
#include "comms/support/TemplateRig.h"

namespace quendrel {
namespace {

std::string OneParameter(const std::string& type) {
  return "FUNCTION Probe\n CODE 96\n PARAMETER X \"Value\" " + type + "\nEND\n";
}

std::string OneReturn(const std::string& type) {
  return "FUNCTION Probe\n CODE 96\n RETURN X \"Value\" " + type + "\nEND\n";
}

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

class RunCommandTest : public ::testing::Test {
 protected:
  TemplateRig rig_;
};

TEST_F(RunCommandTest, ArgumentsAreEncodedByTheirType) {
  struct EncodeCase {
    const char* type;
    Variant argument;
    std::string payload;
  };
  const EncodeCase cases[] = {
      {"BYTE", "300", "\x2C"},
      {"BYTE", "-1", "\xFF"},
      {"BYTE", "&H7F", "\x7F"},
      {"BYTE", "13.5", "\x0E"},
      {"SHORT", "-2", "\xFF\xFE"},
      {"SHORT", "40000", "\x9C\x40"},
      {"SHORT", "&H8000", std::string("\x80\x00", 2)},
      {"SHORT", std::int16_t{-300}, "\xFE\xD4"},
      {"MEDIUM", "&H123456", "\x12\x34\x56"},
      {"MEDIUM", "16777217", std::string("\x00\x00\x01", 3)},
      {"MEDIUM", "-1", "\xFF\xFF\xFF"},
      {"LONG", "&HFFFF", std::string("\x00\x00\xFF\xFF", 4)},
      {"LONG", "&o100000", std::string("\x00\x00\x80\x00", 4)},
      {"LONG", "&H1FFFFFFFF", "\xFF\xFF\xFF\xFF"},
      {"LONG", "-2", "\xFF\xFF\xFF\xFE"},
      {"LONG", "305419896", "\x12\x34\x56\x78"},
      {"FIXED 2", "1.5", std::string("\x00\x96", 2)},
      {"FIXED 2", "-1.5", "\xFF\x6A"},
      {"FIXED 3", "2.105", "\x08\x39"},
      {"FIXED 0", "3", std::string("\x00\x03", 2)},
      {"MXXPXX", "712", "\x07\x0C"},
      {"MXXPXX", 1129.0, "\x0B\x1D"},
      {"CHARACTER", "\"A\"", "A"},
      {"CHARACTER", "xyz", "x"},
      {"CHARACTER", "", std::string(1, '\0')},
      {"STRING 0", "\"Hi there\"", "\x08Hi there"},
      {"STRING 0", "", std::string(1, '\0')},
      {"STRING 0", true, "\x04True"},
  };
  for (const EncodeCase& c : cases) {
    SCOPED_TRACE(std::string(c.type) + " " + c.argument.AsText());
    rig_.RunText(OneParameter(c.type), {c.argument});
    EXPECT_EQ(rig_.LastFunction(), 96);
    EXPECT_EQ(rig_.LastPayload(), c.payload);
  }
}

TEST_F(RunCommandTest, AStringMayTakeItsLengthFromAnEarlierItem) {
  rig_.RunText("FUNCTION Probe\n CODE 96\n PARAMETER N \"Count\" BYTE\n PARAMETER T \"Text\" STRING N\nEND\n",
               {"2", "ab"});
  EXPECT_EQ(rig_.LastPayload(), "\x02" "ab");
  rig_.Module().AnswerPdu(std::string("\x60\x05\x03" "abcd", 7));
  const udtTemplateCallInfo call = rig_.RunText(
      "FUNCTION Probe\n CODE 96\n RETURN N \"Count\" BYTE\n RETURN T \"Text\" STRING N\nEND\n", {});
  EXPECT_EQ(call.strReturn, "3, abc");
}

TEST_F(RunCommandTest, ReplyItemsAreDecodedByTheirType) {
  struct DecodeCase {
    const char* type;
    std::string data;
    const char* value;
  };
  const DecodeCase cases[] = {
      {"BYTE", "\xFF", "255"},
      {"SHORT", "\xFF\xFE", "-2"},
      {"SHORT", "\x08\x39", "2105"},
      {"MEDIUM", "\xFF\xFF\xFF", "16777215"},
      {"LONG", "\xFF\xFF\xFF\xFE", "-2"},
      {"LONG", "\x7F\xFF\xFF\xFF", "2147483647"},
      {"FIXED 3", "\x08\x39", "2.105"},
      {"FIXED 1", "\xFF\x06", "-25.0"},
      {"FIXED 2", std::string("\x00\x05", 2), "0.05"},
      {"MXXPXX", "\x0B\x1D", "M11P29"},
      {"MXXPXX", std::string("\x00\x00", 2), "M00P00"},
      {"CHARACTER", "Q", "Q"},
      {"STRING 0", "\x03" "abc", "abc"},
      {"STRING 0", std::string(1, '\0'), ""},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.type);
    rig_.Module().AnswerPdu("\x60" + std::string(1, static_cast<char>(c.data.size())) + c.data);
    const udtTemplateCallInfo call = rig_.RunText(OneReturn(c.type), {});
    EXPECT_EQ(call.rcResponse, dfResponseOK);
    EXPECT_EQ(call.strReturn, c.value);
    EXPECT_EQ(rig_.Feedback().Text(), Lines({"Request", "=======", "Reply", "====="}) + "Value: " + c.value + "\r\n");
  }
}

TEST_F(RunCommandTest, AReplyTooShortForItsItemsIsAnInvalidPacket) {
  for (const char* type : {"SHORT", "LONG", "STRING 0"}) {
    SCOPED_TRACE(type);
    rig_.Module().AnswerPdu(std::string("\x60\x01\x05", 3));
    const udtTemplateCallInfo call = rig_.RunText(OneReturn(type), {});
    EXPECT_EQ(call.rcResponse, dfResponseGeneralError);
    EXPECT_EQ(call.strReturn, "");
    EXPECT_EQ(rig_.Feedback().Text(), Lines({"Request", "=======", "Reply", "=====", "Error 47"}));
  }
}

TEST_F(RunCommandTest, ReportListsRequestItemsThenReplyItems) {
  rig_.Module().AnswerPdu(std::string("\x43\x0E\x0B\x1C\x00\x02\x82\x03\x07" "QD-4007", 16));
  const udtTemplateCallInfo call = rig_.Run("ReadValue", {"1128"}, true);
  EXPECT_EQ(call.rcResponse, dfResponseOK);
  EXPECT_EQ(rig_.LastPayload(), "\x0B\x1C");
  EXPECT_EQ(call.strReturn, "M11P28, 2, -32253, 7, QD-4007");
  EXPECT_EQ(rig_.Feedback().Text(),
            Lines({"Request", "=======", "Parameter: 1128", "", "Reply", "=====", "Parameter: M11P28", "Raw Value: 2",
                   "Attribute Bits: -32253", "Value Name Length: 7", "Value Name: QD-4007"}));
  // The box is emptied before anything else is written.
  EXPECT_EQ(rig_.Feedback().shown.front(), "");
}

TEST_F(RunCommandTest, RawReportListsTheRequestBytesWithUnprintablesBlank) {
  rig_.Module().AnswerPdu(std::string("\x45\x04\x0C\x0B\x00\x01", 6));
  rig_.Run("WriteName", {"1211", "1", "A\r\xE9"}, true, true);
  EXPECT_EQ(rig_.Feedback().Text(),
            Lines({"Request", "=======", "Drive 1", "Function 69", "   [0x0C] ' '", "   [0x0B] ' '", "   [0x00] ' '",
                   "   [0x01] ' '", "   [0x03] ' '", "   [0x41] 'A'", "   [0x0D] ' '", "   [0xE9] '\xE9'", "",
                   "Reply", "=====", "Parameter: M12P11", "Value Index: 1"}));
}

TEST_F(RunCommandTest, WriteValueEchoIsDecodedAndLegacyDrivesAreReachedThroughThePolicy) {
  rig_.Module().AnswerException(gioInvalidFunction);
  rig_.Module().AnswerPdu(std::string("\x06\x01\x01\xFF\x38", 5));
  const udtTemplateCallInfo call = rig_.Run("WriteValue", {"101", "-200"}, true, true);
  ASSERT_EQ(rig_.Module().sent.size(), 2U);
  EXPECT_EQ(rig_.LastFunction(), 6);
  EXPECT_TRUE(rig_.Context().Legacy());
  EXPECT_EQ(call.strReturn, "M01P01, -200");
  EXPECT_NE(rig_.Feedback().Text().find("Function 6\r\n"), std::string::npos);
}

TEST_F(RunCommandTest, AMissingArgumentSendsNothing) {
  const udtTemplateCallInfo call = rig_.Run("WriteValue", {"101"});
  EXPECT_TRUE(rig_.Module().sent.empty());
  EXPECT_EQ(call.rcResponse, dfResponseGeneralError);
  EXPECT_EQ(rig_.Feedback().Text(), Lines({"Request", "=======", "Missing argument: Raw Value"}));
}

TEST_F(RunCommandTest, ANumberFieldGivenATextThatIsNoNumberSendsNothing) {
  const char* const texts[] = {"", " 12.5 volts", "\"abc\"", "\"1x\"", "0x0C", "\"\""};
  for (const char* type : {"BYTE", "SHORT", "MEDIUM", "LONG", "FIXED 1", "MXXPXX"}) {
    for (const char* text : texts) {
      SCOPED_TRACE(std::string(type) + " " + text);
      rig_.Module().sent.clear();
      const udtTemplateCallInfo call = rig_.RunText(OneParameter(type), {Variant(text)});
      EXPECT_TRUE(rig_.Module().sent.empty());
      EXPECT_EQ(call.rcResponse, dfResponseGeneralError);
      EXPECT_EQ(rig_.Feedback().Text(), Lines({"Request", "=======", "Not a number: Value"}));
    }
  }
  rig_.RunText(OneParameter("SHORT"), {Variant("\" -12 \"")});
  EXPECT_EQ(rig_.LastPayload(), "\xFF\xF4") << "a quoted text that is wholly a number";
}

TEST_F(RunCommandTest, AParameterNumberItsTwoBytesCannotCarrySendsNothing) {
  for (const Variant& number : {Variant("25802"), Variant(-1.0), Variant(25600.0), Variant("-0.6")}) {
    SCOPED_TRACE(number.AsText());
    rig_.Module().sent.clear();
    const udtTemplateCallInfo call = rig_.Run("ReadValue", {number});
    EXPECT_TRUE(rig_.Module().sent.empty());
    EXPECT_EQ(call.rcResponse, dfResponseGeneralError);
  }
  rig_.RunText(OneParameter("MXXPXX"), {Variant(25599.0)});
  EXPECT_EQ(rig_.LastPayload(), "\xFF\x63");
}

TEST_F(RunCommandTest, ResultCodesFollowTheErrorAndTheTemplatesMark) {
  struct ResultCase {
    const char* name;
    int exception;  // 0: answer with the error code instead
    int error;
    dfResponseCodes expected;
  };
  const ResultCase cases[] = {
      {"EraseFlash", 4, 0, dfResponseEraseFailed},       {"VerifyPageErase", 1, 0, dfResponseEraseFailed},
      {"ProgramBufferToPage", 4, 0, dfResponseProgramFailed}, {"ChangePage", 4, 0, dfResponseGeneralError},
      {"EraseFlash", 0, gioTimeout, dfResponseTimeout},  {"EraseFlash", 0, gioInvalidPacket, dfResponseGeneralError},
      {"EraseFlash", 0, gioSlaveNotResponding, dfResponseGeneralError},
  };
  for (const ResultCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.exception != 0) rig_.Module().AnswerException(c.exception);
    if (c.exception == 0) rig_.Module().AnswerError(c.error);
    const udtTemplateCallInfo call = rig_.Run(c.name, {"0"});
    EXPECT_EQ(call.rcResponse, c.expected);
    const int code = c.exception != 0 ? c.exception : c.error;
    EXPECT_EQ(rig_.Feedback().Text(), Lines({"Request", "=======", "Reply", "====="}) + "Error " + std::to_string(code) + "\r\n");
  }
  rig_.Module().AnswerPdu(std::string("\x25\x00", 2));
  const udtTemplateCallInfo done = rig_.Run("EraseFlash", {"0"});
  EXPECT_EQ(done.rcResponse, dfResponseOK);
  EXPECT_EQ(rig_.Feedback().Text(), Lines({"Request", "=======", "Reply", "=====", "Success"}));
}

TEST_F(RunCommandTest, EthernetInterfaceFunctionsLayOutTheirSubCommands) {
  struct EibCase {
    const char* name;
    std::vector<Variant> arguments;
    std::string payload;
  };
  const EibCase cases[] = {
      {"IsEthernet", {}, std::string(1, '\0')},
      {"ReadEIBValue", {std::int32_t{5}}, "\x01\x05"},
      {"SetEIBValue", {std::int32_t{3}, std::int16_t{0}, std::int16_t{1}}, std::string("\x02\x03\x00\x00\x01", 5)},
      {"SetEIBValue", {"1", "-2", "7"}, "\x02\x01\xFF\xFE\x01"},
      {"SaveEIBSettings", {}, "\x03"},
      {"ResetEIB", {true}, "\x04\x01"},
      {"ResetEIB", {" FALSE "}, std::string("\x04\x00", 2)},
      {"ResetEIB", {"-1"}, "\x04\x01"},
  };
  for (const EibCase& c : cases) {
    SCOPED_TRACE(c.name);
    rig_.Run(c.name, c.arguments);
    EXPECT_EQ(rig_.LastFunction(), 0x48);
    EXPECT_EQ(rig_.LastPayload(), c.payload);
  }
  rig_.Module().AnswerPdu(std::string("\x48\x04\x01\x02\x00\x5A", 6));
  EXPECT_EQ(rig_.Run("ReadEIBValue", {"2"}).strReturn, "1, 2, 90");
}

TEST_F(RunCommandTest, ProcessorResetSendsWithoutWaitingAndRestoresTheTimeout) {
  rig_.Module().AnswerPdu(std::string("\x34\x00", 2));
  const udtTemplateCallInfo call = rig_.Run("ProcessorReset", {});
  ASSERT_EQ(rig_.Module().sent.size(), 1U);
  EXPECT_EQ(rig_.Module().sent[0].timeout, 0.0);
  EXPECT_EQ(rig_.LastFunction(), 52);
  EXPECT_FLOAT_EQ(rig_.Context().Timeout(), 1.0F);
  EXPECT_EQ(call.rcResponse, dfResponseOK);
  EXPECT_EQ(rig_.Feedback().Text(), Lines({"Request", "=======", "Reply", "=====", "Success"}));
}

TEST_F(RunCommandTest, RunCommandLeavesTheContextOpen) {
  rig_.Run("ClearBuffer", {});
  EXPECT_FALSE(rig_.Context().IsClosed());
}

TEST(DriveReportTest, FixedSequencesReportTheirLastExchange) {
  udtDriveResponse written;
  written.rawreq = std::string("\x07\x46\x0B\x27\x00\x01\xAA\xBB", 8);
  EXPECT_EQ(DriveReport::ExchangeReport("Force Flash Upload for Drive ", 7, written, false, false),
            Lines({"Request", "=======", "Reply", "=====", "Success"}));
  EXPECT_EQ(DriveReport::ExchangeReport("Unlock Drive ", 7, written, true, false),
            Lines({"Request", "=======", "Unlock Drive 7", "", "Reply", "=====", "Success"}));
  written.Error = true;
  written.intData = 46;
  EXPECT_EQ(DriveReport::ExchangeReport("Unlock Drive ", 7, written, true, true),
            Lines({"Request", "=======", "Drive 7", "Function 70", "   [0x0B] ' '", "   [0x27] '''", "   [0x00] ' '",
                   "   [0x01] ' '", "", "Reply", "=====", "Error 46"}));
}

}  // namespace
}  // namespace quendrel
