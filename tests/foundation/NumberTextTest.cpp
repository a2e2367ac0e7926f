#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <clocale>
#include <cstdint>
#include <cstring>
#include <cmath>
#include <functional>
#include <limits>
#include <locale>
#include <optional>
#include <utility>
#include <string>

#include "foundation/text/NumberText.h"
#include "foundation/values/RuntimeError.h"

namespace quendrel {
namespace {

struct ReadCase {
  const char* text;
  double value;
  bool hasDigits;
};

TEST(NumberTextTest, LeadingNumberReadsTheNumberATextStartsWith) {
  const ReadCase cases[] = {
      {"42", 42, true},
      {"  -3.5kg", -3.5, true},
      {"1 2 3", 123, true},
      {"\t-\n 1 . 5", -1.5, true},
      {".5", 0.5, true},
      {"1.2.3", 1.2, true},
      {"1,5", 1, true},
      {"1E3", 1000, true},
      {"2D2", 200, true},
      {"2d+1", 20, true},
      {"1 E 3", 1000, true},
      {"1E", 1, true},
      {"1Ex", 1, true},
      {"12abc", 12, true},
      {"&H10", 16, true},
      {"&hff", 255, true},
      {"&H 1 0", 16, true},
      {"&O17", 15, true},
      {"&O8", 0, false},
      {"&H7FFF", 32767, true},
      {"&H8000", -32768, true},
      {"&HFFFF", -1, true},
      {"&H10000", 65536, true},
      {"&H80000000", -2147483648.0, true},
      {"&H100000000", 4294967296.0, true},
      {"&O177777", -1, true},
      {"&HG", 0, false},
      {"&", 0, false},
      {"-&H10", 0, false},
      {"", 0, false},
      {"abc", 0, false},
      {"-", 0, false},
      {".", 0, false},
      {"\r5", 0, false},
      {"-0", 0, true},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(HasLeadingNumber(c.text), c.hasDigits) << '"' << c.text << '"';
  }
}

// What a user types into an editor: a slip that holds no number, or one no float can hold, must
// never reach a drive as 0 or as infinity.
TEST(NumberTextTest, TypedNumberRefusesTextWithoutANumberOrBeyondAFloat) {
  const std::pair<const char*, std::optional<float>> cases[] = {
      {"12.5", 12.5f}, {" -3x", -3.0f}, {"0", 0.0f}, {"&H10", 16.0f}, {"3E38", 3E38f},
      {"", std::nullopt}, {"abc", std::nullopt}, {"-", std::nullopt}, {"4E38", std::nullopt},
      {"-1E400", std::nullopt}};
  for (const auto& [text, value] : cases) EXPECT_EQ(TypedNumberValue(text), value) << '"' << text << '"';
}

// A digit after the leading number means the user typed some other notation ("12,5", "0x10"), and
// the leading number alone is not what they meant; a unit or a word after it is read past as always.
TEST(NumberTextTest, TypedNumberRefusesDigitsLeftAfterTheNumber) {
  const std::pair<const char*, std::optional<float>> cases[] = {
      {"12,5", std::nullopt}, {"0x10", std::nullopt},  {"1.2.3", std::nullopt}, {"1,000", std::nullopt},
      {"&H1G2", std::nullopt}, {"5 x2", std::nullopt}, {"12 Hz", 12.0f},        {"12abc", 12.0f},
      {"1 2", 12.0f},          {"1E3", 1000.0f},       {"1E", 1.0f},            {"&HFF", 255.0f},
      {"-2.5 %", -2.5f},       {"40000", 40000.0f}};
  for (const auto& [text, value] : cases) EXPECT_EQ(TypedNumberValue(text), value) << '"' << text << '"';
}

// The same reading at full precision, for callers that round or sum the number themselves: a float
// would turn 16777217 into 16777216 and 0.1 into 0.100000001.
TEST(NumberTextTest, TypedNumberAtFullPrecisionRefusesWhatTheFloatReadingRefuses) {
  const std::pair<const char*, std::optional<double>> cases[] = {
      {"16777217", 16777217.0}, {"0.1", 0.1}, {" -2.5 %", -2.5}, {"&HFFFF", -1.0}, {"3E38", 3E38},
      {"", std::nullopt},       {"abc", std::nullopt}, {"12,5", std::nullopt}, {"4E38", std::nullopt}};
  for (const auto& [text, value] : cases) {
    EXPECT_EQ(TypedNumber(text), value) << '"' << text << '"';
    EXPECT_EQ(TypedNumberValue(text).has_value(), value.has_value()) << '"' << text << '"';
  }
}

TEST(NumberTextTest, LeadingNumberKeepsExtremeValuesFinite) {
  EXPECT_EQ(LeadingNumber("1E400"), std::numeric_limits<double>::max());
  EXPECT_EQ(LeadingNumber("-1E400"), -std::numeric_limits<double>::max());
  EXPECT_EQ(LeadingNumber("123456789E99999999999"), std::numeric_limits<double>::max());
  EXPECT_EQ(LeadingNumber("1E-400"), 0.0);
  EXPECT_EQ(LeadingNumber("0.000001E-400"), 0.0);
  EXPECT_EQ(LeadingNumber("&HFFFFFFFFFFFFFFFFFFFF"), 18446744073709551615.0);
  EXPECT_DOUBLE_EQ(LeadingNumber(std::string(400, '9')), std::numeric_limits<double>::max());
}

TEST(NumberTextTest, NumericTextMustBeOneWholeNumber) {
  struct Case {
    const char* text;
    bool numeric;
    double value;
  };
  const Case cases[] = {
      {"12", true, 12},        {" -3.5\t", true, -3.5}, {"1e5", true, 1e5},   {"1D5", true, 1e5},
      {".5", true, 0.5},       {"5.", true, 5},         {"&H10", true, 16},   {"&HFFFF", true, -1},
      {"+0", true, 0},         {"", false, 0},          {"  ", false, 0},     {"abc", false, 0},
      {"12abc", false, 0},     {"1 2", false, 0},       {"1,000", false, 0},  {"1.2.3", false, 0},
      {"1E", false, 0},        {".", false, 0},         {"-", false, 0},      {"&H", false, 0},
      {"$5", false, 0},        {"5\n", false, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsNumericText(c.text), c.numeric) << '"' << c.text << '"';
    const auto value = NumericTextValue(c.text);
    ASSERT_EQ(value.has_value(), c.numeric) << '"' << c.text << '"';
    if (value) {
      EXPECT_DOUBLE_EQ(*value, c.value) << '"' << c.text << '"';
    }
  }
}

struct FormatCase {
  double value;
  const char* pattern;
  const char* text;
};

TEST(NumberTextTest, PatternsShowDigitsAsTheirPlaceholdersSay) {
  const FormatCase cases[] = {
      // Parameter values with 0..3 decimal places.
      {12.6, "######0", "13"},
      {1250, "######0.00", "1250.00"},
      {0.0049, "######0.000", "0.005"},
      // Tree values.
      {12.5, "####0.0####", "12.5"},
      {3, "####0.0####", "3.0"},
      {0.123456, "####0.0####", "0.12346"},
      // Printed values beside marks, graph data, gains.
      {2, "0.0##", "2.0"},
      {1.23456, "0.0##", "1.235"},
      {1.234567, "0.0###", "1.2346"},
      {3, "0.##", "3."},
      {0.25, "0.##", "0.25"},
      {1234.56, "####", "1235"},
      {0.4, "####", ""},
      {-2.5, "####", "-3"},
      {1234.5, "###0.0", "1234.5"},
      // Fixed widths.
      {12.05, "00.00", "12.05"},
      {5, "00.00", "05.00"},
      {7, "00", "07"},
      {123, "00", "123"},
      {3.14159, "0.000", "3.142"},
      {42, "00000 ", "00042 "},
      {-42, "00000 ", "-00042 "},
      {0.5, "#.##", ".5"},
      {1.5, ".00", "1.50"},
      // Literal characters stay where the pattern has them.
      {5, "x0", "x5"},
      {12.5, "0.0 V", "12.5 V"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.pattern), c.text) << c.value << " with \"" << c.pattern << '"';
  }
}

TEST(NumberTextTest, PatternsRoundHalfAwayFromZeroOnTheValueAsTyped) {
  const FormatCase cases[] = {
      {0.5, "0", "1"},          {1.5, "0", "2"},          {2.5, "0", "3"},         {-2.5, "0", "-3"},
      {0.125, "0.00", "0.13"},  {2.675, "0.00", "2.68"},  {1.005, "0.00", "1.01"}, {-1.005, "0.00", "-1.01"},
      {9.995, "0.00", "10.00"}, {99.96, "0.0", "100.0"},  {999.5, "###", "1000"},  {0.0005, "0.000", "0.001"},
      {1.0e20, "0", "100000000000000000000"},
      {1.0e-20, "0.00", "0.00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.pattern), c.text) << c.value << " with \"" << c.pattern << '"';
  }
}

TEST(NumberTextTest, ValuesThatRoundToZeroLoseTheirMinusSign) {
  EXPECT_EQ(FormatNumber(-0.001, "0.00"), "0.00");
  EXPECT_EQ(FormatNumber(-0.4, "0"), "0");
  EXPECT_EQ(FormatNumber(-0.0, "0.0"), "0.0");
  EXPECT_EQ(FormatNumber(-0.005, "0.00"), "-0.01");
}

TEST(NumberTextTest, EmptyPatternAndNonFiniteValuesGiveTheGeneralText) {
  EXPECT_EQ(FormatNumber(12.5, ""), "12.5");
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity(), "0.0"), "Infinity");
  EXPECT_EQ(FormatNumber(std::nan(""), "0"), "NaN");
}

TEST(NumberTextTest, DoubleTextIsShortestWithFifteenDigits) {
  const std::pair<double, const char*> cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {12, "12"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {123456789012345, "123456789012345"},
      {1234567890123456, "1.23456789012346E+15"},
      {1e15, "1E+15"},
      {1e100, "1E+100"},
      {0.00001, "0.00001"},
      {0.000001, "1E-06"},
      {1.5e-7, "1.5E-07"},
      {-2.5e-300, "-2.5E-300"},
      {12.05, "12.05"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(DoubleToText(value), text) << value;
}

TEST(NumberTextTest, DoubleTextReadsBackAsTheSameNumberWhenShort) {
  for (const double value : {0.1, 12.345, -9876.5, 1e-5, 3.0e14, 0.007, 65535.0}) {
    EXPECT_EQ(LeadingNumber(DoubleToText(value)), value) << DoubleToText(value);
  }
}

TEST(NumberTextTest, SingleTextHasSevenDigits) {
  const std::pair<float, const char*> cases[] = {
      {0.0f, "0"},       {12.3f, "12.3"},           {0.1f, "0.1"},           {-1.5f, "-1.5"},
      {1234567.0f, "1234567"}, {16777216.0f, "1.677722E+07"}, {1.0f / 3, "0.3333333"}, {1e-6f, "1E-06"},
      {3.4028235e38f, "3.402823E+38"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(SingleToText(value), text) << value;
}

// Ties at the eighth digit round to even; a float just under a power of ten that rounds up to it
// loses its nines.
TEST(NumberTextTest, SingleTextRoundsTheSeventhDigitHalfToEven) {
  const std::pair<float, const char*> cases[] = {
      {1234567.5f, "1234568"}, {1234568.5f, "1234568"}, {-1234567.5f, "-1234568"}, {0.0001f, "0.0001"},
      {0.00001f, "0.00001"},   {0.01f, "0.01"},         {9999999.0f, "9999999"},   {0.1234567f, "0.1234567"},
      {-0.0f, "0"},            {50.0f, "50"},           {-12.05f, "-12.05"},       {65535.0f, "65535"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(SingleToText(value), text) << value;
}

// Seven significant digits mean the float rounded exactly, whatever way the text is made: its value
// must be that of the standard library's seven digits. A stride through every float from below 1E-07
// to above 1E+08, of both signs.
TEST(NumberTextTest, SingleTextHasTheValueOfTheFloatRoundedToSevenDigits) {
  const auto valueOf = [](std::string_view text) {
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
  };
  constexpr std::uint32_t kFirst = 0x33000000;  // 2.98E-08
  constexpr std::uint32_t kLast = 0x4D000000;   // 1.34E+08
  constexpr std::uint32_t kStride = 2003;
  for (std::uint32_t bits = kFirst; bits < kLast; bits += kStride) {
    float magnitude = 0.0f;
    std::memcpy(&magnitude, &bits, sizeof magnitude);
    for (const float value : {magnitude, -magnitude}) {
      std::array<char, 32> digits{};
      const char* end =
          std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::scientific, 6).ptr;
      ASSERT_EQ(valueOf(SingleToText(value)), valueOf(std::string_view(digits.data(), end - digits.data())))
          << SingleToText(value);
    }
  }
}

TEST(NumberTextTest, ConversionsToIntegersRoundHalfToEven) {
  const std::pair<double, double> cases[] = {
      {0.5, 0},   {1.5, 2},   {2.5, 2},     {3.5, 4},     {-0.5, 0},   {-1.5, -2},    {-2.5, -2},
      {2.4999, 2}, {2.5001, 3}, {-2.5001, -3}, {7, 7},     {1e20, 1e20}, {4503599627370497.0, 4503599627370497.0},
  };
  for (const auto& [value, rounded] : cases) {
    EXPECT_EQ(RoundHalfEvenValue(value), rounded) << value;
    if (std::fabs(rounded) < 2e9) {
      EXPECT_EQ(RoundHalfEven(value), static_cast<std::int32_t>(rounded)) << value;
    }
  }
}

TEST(NumberTextTest, UncheckedRoundingHoldsToTheIntegerRange) {
  EXPECT_EQ(RoundHalfEven(3e9), 2147483647);
  EXPECT_EQ(RoundHalfEven(-3e9), -2147483647 - 1);
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
  EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::infinity()), 2147483647);
}

void ExpectOverflow(const std::function<void()>& conversion, const char* what) {
  try {
    conversion();
    ADD_FAILURE() << what << " did not raise";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 6) << what;
    EXPECT_EQ(error.Description(), "Overflow") << what;
  }
}

TEST(NumberTextTest, CheckedConversionsRaiseOverflowOutsideTheirRange) {
  EXPECT_EQ(ToInt32Checked(2147483647.4), 2147483647);
  EXPECT_EQ(ToInt32Checked(-2147483648.5), -2147483647 - 1);
  EXPECT_EQ(ToInt16Checked(32767.4), 32767);
  EXPECT_EQ(ToInt16Checked(32766.5), 32766);
  EXPECT_EQ(ToInt16Checked(-32768.4), -32768);
  EXPECT_EQ(ToInt16Checked(2.5), 2);
  ExpectOverflow([] { ToInt32Checked(2147483647.5); }, "2147483647.5 to 32 bits");
  ExpectOverflow([] { ToInt32Checked(-2147483649.0); }, "-2147483649 to 32 bits");
  ExpectOverflow([] { ToInt32Checked(std::nan("")); }, "NaN to 32 bits");
  ExpectOverflow([] { ToInt16Checked(32767.5); }, "32767.5 to 16 bits");
  ExpectOverflow([] { ToInt16Checked(-32769); }, "-32769 to 16 bits");
  ExpectOverflow([] { ToInt16Checked(std::numeric_limits<double>::infinity()); }, "infinity to 16 bits");
}

TEST(NumberTextTest, DriveWordsKeepTheLowSixteenBits) {
  const std::pair<double, std::int16_t> cases[] = {
      {1250, 1250},  {40000, -25536}, {65535, -1},        {65536, 0},       {-1, -1},     {-32769, 32767},
      {32767.5, -32768}, {2.5, 2},   {-40000, 25536},    {4294967296.0 + 5, 5},
      {std::nan(""), 0}, {std::numeric_limits<double>::infinity(), 0},
  };
  for (const auto& [value, word] : cases) EXPECT_EQ(RoundToWord(value), word) << value;
}

// The drive's texts always use ".", whatever decimal separator the machine is set up with.
class CommaDecimalPoint : public std::numpunct<char> {
 protected:
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

void ExpectLocaleChangesNothing() {
  EXPECT_DOUBLE_EQ(LeadingNumber("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(LeadingNumber("1,5"), 1);
  EXPECT_TRUE(IsNumericText("2.25"));
  EXPECT_FALSE(IsNumericText("2,25"));
  EXPECT_EQ(FormatNumber(1234.5, "######0.00"), "1234.50");
  EXPECT_EQ(DoubleToText(1234.5), "1234.5");
  EXPECT_EQ(SingleToText(0.25f), "0.25");
}

TEST(NumberTextTest, CommaLocalesChangeNothing) {
  const std::locale original;
  std::locale::global(std::locale(std::locale::classic(), new CommaDecimalPoint));
  ExpectLocaleChangesNothing();
  // The C library's own locale too, where the machine has a comma locale installed.
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8", "de_DE"}) {
    try {
      std::locale::global(std::locale(name));
    } catch (const std::runtime_error&) {
      continue;
    }
    ExpectLocaleChangesNothing();
    break;
  }
  std::locale::global(original);
  std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace quendrel
