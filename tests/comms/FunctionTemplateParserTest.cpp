// The drive function template text: the built-in one loads whole, and a broken one loads nothing.
#include <gtest/gtest.h>

#include "comms/functions/DFTValueType.h"
#include "comms/functions/FunctionTemplateParser.h"
#include "comms/functions/FunctionTemplates.h"
#include "foundation/values/RuntimeError.h"

namespace quendrel {
namespace {

class FunctionTemplatesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadFunctionTemplates()); }
  void TearDown() override { FunctionTemplates().RemoveAll(); }
};

TEST_F(FunctionTemplatesTest, BuiltInTextHoldsEveryDriveFunctionInOrder) {
  const std::vector<std::pair<std::string, int>> expected{
      {"ReadFlashProgramString", 1}, {"ReadPAD", 2}, {"ReadValue", 3}, {"ReadName", 4}, {"WriteName", 5},
      {"WriteValue", 6}, {"ReadManufacturerID", 32}, {"ReadDeviceID", 33}, {"ReadDataWord", 34},
      {"WriteDataWord", 35}, {"ChangePage", 36}, {"EraseFlash", 37}, {"VerifyFlashErase", 38},
      {"WriteFileToBuffer", 39}, {"ResetFlashMemory", 41}, {"FlashSectorErase", 42},
      {"ReadFlashSectorProtect", 43}, {"VerifyPageErase", 44}, {"ProgramBufferToPage", 45}, {"ClearBuffer", 46},
      {"GoToNewMainLoop", 47}, {"ClearProcessorFlash", 48}, {"ProgramProcessorFlash", 49},
      {"VerifyProcessorFlashErase", 50}, {"VerifyProcessorVsBuffer", 51}, {"ProcessorReset", 52},
      {"IsEthernet", 0x48}, {"ReadEIBValue", 0x48}, {"SetEIBValue", 0x48}, {"SaveEIBSettings", 0x48},
      {"ResetEIB", 0x48}};
  ASSERT_EQ(FunctionTemplates().Count(), static_cast<int>(expected.size()));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto function = FunctionTemplates().Item(static_cast<int>(i) + 1).AsObject<DriveFunctionTemplate>();
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(function->Name(), expected[i].first);
    EXPECT_EQ(function->Code(), expected[i].second) << expected[i].first;
    EXPECT_FALSE(function->Description().empty()) << expected[i].first;
  }
}

TEST_F(FunctionTemplatesTest, SpecialsAndFlashFailureMeaningsAreMarked) {
  for (const char* name : {"WriteFileToBuffer", "ProcessorReset", "IsEthernet", "ReadEIBValue", "SetEIBValue",
                           "SaveEIBSettings", "ResetEIB"}) {
    EXPECT_TRUE(FindFunctionTemplate(name)->Special()) << name;
  }
  EXPECT_FALSE(FindFunctionTemplate("ReadValue")->Special());
  using Meaning = DriveFunctionTemplate::ErrorMeaning;
  for (const char* name : {"EraseFlash", "VerifyFlashErase", "FlashSectorErase", "VerifyPageErase",
                           "ClearProcessorFlash", "VerifyProcessorFlashErase"}) {
    EXPECT_EQ(FindFunctionTemplate(name)->OnError(), Meaning::EraseFailed) << name;
  }
  for (const char* name : {"WriteFileToBuffer", "ProgramBufferToPage", "ProgramProcessorFlash",
                           "VerifyProcessorVsBuffer"}) {
    EXPECT_EQ(FindFunctionTemplate(name)->OnError(), Meaning::ProgramFailed) << name;
  }
  EXPECT_EQ(FindFunctionTemplate("ChangePage")->OnError(), Meaning::General);
}

TEST_F(FunctionTemplatesTest, ItemsAreReadOneBased) {
  const auto readValue = FindFunctionTemplate("readvalue");
  ASSERT_NE(readValue, nullptr);
  EXPECT_EQ(readValue->Name(), "ReadValue");
  ASSERT_EQ(readValue->Parameters(), 1);
  EXPECT_EQ(readValue->Parameter(1).Type, dftMxxPxx);
  EXPECT_EQ(readValue->Parameter(1).Description, "Parameter");
  ASSERT_EQ(readValue->Returns(), 5);
  EXPECT_EQ(readValue->ReturnValue(5).Type, dftString);
  EXPECT_EQ(readValue->ReturnValue(5).Length, "NameLength");
  EXPECT_THROW(readValue->Parameter(0), RuntimeError);
  EXPECT_THROW(readValue->ReturnValue(6), RuntimeError);
  EXPECT_EQ(FindFunctionTemplate("ReadDataWordFromAddress"), nullptr);
  EXPECT_EQ(FindFunctionTemplate("VerifyPageVersusBuffer"), nullptr);
}

TEST(DFTValueTypeTextTest, NamesEveryTypeAndNothingElse) {
  const std::pair<int, const char*> cases[] = {
      {dftByte, "8-bit Integer"},  {dftShort, "16-bit Integer"},       {dftMedium, "24-bit Integer"},
      {dftLong, "32-bit Integer"}, {dftString, "String"},              {dftFixed, "Fixed-Point Decimal"},
      {dftMxxPxx, "Menu/Parameter"}, {dftCharacter, "ASCII Character"}, {8, "Unknown Type"},
      {-1, "Unknown Type"}};
  for (const auto& [type, text] : cases) EXPECT_EQ(DFTValueTypeText(type), text);
}

TEST(FunctionTemplateParserTest, ReadsEveryItemForm) {
  const auto result = FunctionTemplateParser::Parse(
      "; a comment\r\n"
      "function Probe\r\n"
      "  Description \"Probe the drive\"\n"
      "  CODE 200\n"
      "  ONERROR program\n"
      "  PARAMETER Count \"Count\" byte\n"
      "  PARAMETER Text \"Text\" STRING Count\n"
      "  PARAMETER Label \"Label\" STRING 0\n"
      "  RETURN Speed \"Speed\" FIXED 2\n"
      "  RETURN Letter \"Letter\" CHARACTER\n"
      "END\n");
  ASSERT_TRUE(result.Loaded()) << result.error;
  ASSERT_EQ(result.templates.size(), 1U);
  const DriveFunctionTemplate& probe = *result.templates[0];
  EXPECT_EQ(probe.Description(), "Probe the drive");
  EXPECT_EQ(probe.Code(), 200);
  EXPECT_EQ(probe.OnError(), DriveFunctionTemplate::ErrorMeaning::ProgramFailed);
  EXPECT_EQ(probe.Parameter(2).Length, "Count");
  EXPECT_EQ(probe.Parameter(3).Length, "0");
  EXPECT_EQ(probe.ReturnValue(1).Type, dftFixed);
  EXPECT_EQ(probe.ReturnValue(1).Decimals, 2);
}

TEST(FunctionTemplateParserTest, ABrokenTextLoadsNothing) {
  const std::string good = "FUNCTION Good\n CODE 3\nEND\n";
  const std::pair<std::string, std::string> cases[] = {
      {good + "FUNCTION NoEnd\n CODE 4\n", "line 5: FUNCTION NoEnd has no END"},
      {good + "FUNCTION A\n CODE 4\nFUNCTION B\n CODE 5\nEND\n", "line 6: FUNCTION A has no END before the next FUNCTION"},
      {good + "FUNCTION A\n CODE 4\n RETURN X \"X\" WORD\nEND\n", "line 6: unknown type WORD"},
      {good + "FUNCTION A\n CODE 4\n RETURN X \"X\" STRING Len\nEND\n", "line 6: the length Len names no earlier item"},
      {good + "FUNCTION A\n CODE 4\n RETURN X \"X\" STRING Y\n RETURN Y \"Y\" BYTE\nEND\n",
       "line 6: the length Y names no earlier item"},
      {good + "FUNCTION A\n CODE 4\n PARAMETER Y \"Y\" BYTE\n RETURN X \"X\" STRING Y\nEND\n",
       "line 7: the length Y names no earlier item"},
      {good + "FUNCTION A\n CODE 4\n RETURN Y \"Y\" CHARACTER\n RETURN X \"X\" STRING Y\nEND\n",
       "line 7: the length Y is no whole number"},
      {good + "FUNCTION A\nEND\n", "line 5: FUNCTION A has no CODE"},
      {good + "FUNCTION A\n CODE 256\nEND\n", "line 5: cannot read \"CODE 256\""},
      {good + "FUNCTION A\n CODE 4\n RETURN X \"X BYTE\nEND\n", "line 6: a quoted text has no closing quote"},
      {good + "FUNCTION A\n CODE 4\n RETURN X \"X\" FIXED\nEND\n", "line 6: FIXED needs its length or decimals"},
      {good + "FUNCTION A\n CODE 4\n RETURN X \"X\" BYTE 2\nEND\n", "line 6: BYTE takes nothing after it"},
      {good + "FUNCTION A\n CODE 4\n RETURN X \"X\" BYTE\n RETURN X \"Y\" BYTE\nEND\n",
       "line 7: the item name X appears twice"},
      {good + " CODE 4\n", "line 4: CODE outside a FUNCTION block"},
  };
  for (const auto& [text, error] : cases) {
    SCOPED_TRACE(text);
    std::string reported;
    EXPECT_FALSE(LoadFunctionTemplates(text, &reported));
    EXPECT_EQ(reported, error);
    EXPECT_EQ(FunctionTemplates().Count(), 0);
  }
}

}  // namespace
}  // namespace quendrel
