// Values, operators and operand errors as a script sees them.

#include <gtest/gtest.h>

#include "comms/server/GIOContext.h"
#include "comms/server/GIOServer.h"
#include "support/CaseName.h"
#include "flash/support/ScriptRig.h"

namespace quendrel {
namespace {

struct ExpressionCase {
  std::string name;
  std::string expression;
  std::string value;  // text form of x; empty with an error
  bool fails = false;
};

class ScriptExpression : public testing::TestWithParam<ExpressionCase> {};

TEST_P(ScriptExpression, GivesTheValueOrFailsTheStatement) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load("s = \"abc\"; z = \"\"; x = " + GetParam().expression + ";"));
  const auto codes = rig.Run();
  // A failing last statement reports its failure, and only the step after it the end.
  const std::vector<dfResponseCodes> expected =
      GetParam().fails ? std::vector{dfResponseOK, dfResponseOK, dfResponseGeneralError, dfResponseEOF}
                       : std::vector{dfResponseOK, dfResponseOK, dfResponseEOF};
  EXPECT_EQ(codes, expected);
  EXPECT_EQ(rig.Var("x"), GetParam().value);
  EXPECT_EQ(rig.Script().VarExists("x"), !GetParam().fails) << "a failed statement assigns nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Operators, ScriptExpression,
    testing::Values(ExpressionCase{"QuotedJoin", "s . \"d\"", "\"abcd\""},
                    ExpressionCase{"PlainJoin", "s + \"d\"", "abcd"},
                    ExpressionCase{"NumberLiteral007", "007", "7"},
                    ExpressionCase{"TextPlusOne", "\"007\" + 1", "8"},
                    ExpressionCase{"TextNeverEqualsNumber", "\"007\" == 7", "0"},
                    ExpressionCase{"RightGroupingMinus", "10 - 3 - 2", "9"},
                    ExpressionCase{"RightGroupingDivide", "8 / 4 / 2", "4"},
                    ExpressionCase{"AndFalse", "1 && 0", "False"},
                    ExpressionCase{"TrueStaysText", "(1 && 1) == 1", "0"},
                    ExpressionCase{"NotZero", "!0", "1"},
                    ExpressionCase{"NotFive", "!5", "0"},
                    ExpressionCase{"TenthsAddUp", "0.1 + 0.2 == 0.3", "1"},
                    ExpressionCase{"IntDivNegative", "-7 \\ 2", "-3"},
                    ExpressionCase{"IntDivHalvesToEven", "7 \\ 2.5", "3"},
                    ExpressionCase{"ModSignOfLeft", "-7 % 3", "-1"},
                    ExpressionCase{"ModHalvesToEven", "7.5 % 3", "2"},
                    ExpressionCase{"ShiftAtEdge", "16384 << 1", "", true},
                    ExpressionCase{"ShiftBelowEdge", "8192 << 1", "16384"},
                    ExpressionCase{"ShiftRight", "-8 >> 1", "-4"},
                    ExpressionCase{"HexLiteral0x", "0x1F", "31"},
                    ExpressionCase{"HexLiteralAmp", "&H1F + 1", "32"},
                    ExpressionCase{"NumberBelowText", "5 < \"a\"", "1"},
                    ExpressionCase{"TextsBytewise", "\"B\" < \"a\"", "1"},
                    ExpressionCase{"EmptyCountsAsZero", "z || 0", "False"},
                    ExpressionCase{"BitwiseAnd", "12 & 10", "8"},
                    ExpressionCase{"TextArithmetic", "s * 2", "", true},
                    ExpressionCase{"TextTestedAgainstZero", "s && 1", "", true},
                    ExpressionCase{"QuotedNot", "!\"0\"", "", true},
                    ExpressionCase{"DivideByZero", "1 / 0", "", true},
                    ExpressionCase{"ModByZero", "1 % 0.4", "", true},
                    ExpressionCase{"BitwiseOverflow", "4294967296 & 1", "", true},
                    ExpressionCase{"ChainedAnd", "1 && 1 && 1", "", true},
                    ExpressionCase{"UnknownNameIsItself", "nosuchname", "nosuchname"},
                    ExpressionCase{"PortConstant", "com5", "4"},
                    ExpressionCase{"LongPortNameIsNoConstant", "com10", "com10"}),
    NameByField<&ExpressionCase::name>());

struct SettingCase {
  std::string name;
  std::string script;
  std::string timeout;
  int address;
};

class ScriptSetting : public testing::TestWithParam<SettingCase> {};

TEST_P(ScriptSetting, ChangesOnlyWithAValueItCanTake) {
  ScriptRig rig;
  ASSERT_TRUE(rig.Load(GetParam().script));
  rig.Run();
  EXPECT_EQ(rig.Var("t"), GetParam().timeout);
  EXPECT_EQ(rig.Script().Address(), GetParam().address);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ScriptSetting,
    testing::Values(SettingCase{"TimeoutReadsBackAsWritten", "TIMEOUT = 0.1; t = timeout", "0.1", 1},
                    SettingCase{"ScriptVariableCannotShadow", "timeout = 2; t = Timeout", "2", 1},
                    SettingCase{"AddressOutOfRangeKeepsOld", "address = 7; address = 256; t = timeout", "5", 7},
                    SettingCase{"TextTimeoutKeepsOld", "timeout = \"abc\"; t = timeout", "5", 1},
                    SettingCase{"ConstantsAreReadOnly", "yes = 3; t = yes", "6", 1}),
    NameByField<&SettingCase::name>());

TEST(ScriptSettings, ReachTheContext) {
  ScriptRig rig;
  GIOServer server(rig.clock);
  const auto context = server.OpenContext(3, 2.0F);
  ASSERT_TRUE(rig.Load("l = legacy; a = address; address = 9; timeout = 0.5; noerrors = 1; legacy = 1; "
                       "address = 300;"));
  rig.Script().SetContext(context);
  const auto codes = rig.Run();
  EXPECT_EQ(codes.end()[-2], dfResponseGeneralError);
  EXPECT_EQ(rig.Var("l"), "0");
  EXPECT_EQ(rig.Var("a"), "3");
  EXPECT_EQ(context->Address(), 9) << "a failed conversion leaves the drive address alone";
  EXPECT_FLOAT_EQ(context->Timeout(), 0.5F);
  EXPECT_TRUE(context->Failsoft());
  EXPECT_TRUE(context->Legacy());
  ASSERT_TRUE(rig.Load("l = legacy;"));
  rig.Run();
  EXPECT_EQ(rig.Var("l"), "") << "no context, no legacy flag";
}

}  // namespace
}  // namespace quendrel
