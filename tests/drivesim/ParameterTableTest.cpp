// The table text format and the built-in table that later features rely on.

#include "drivesim/ParameterTable.h"

#include <gtest/gtest.h>

#include "drivesim/DefaultParameterTable.h"

namespace quendrel {
namespace {

TEST(ParameterTableTest, ReadsEveryFieldOfALine) {
  std::string error;
  const auto table = ParameterTable::FromText(
      "# comment\n\n  02.03 | Ramp Mode | 0000000000000001 | -5 | rw | Linear; S-Curve ;;Fast\r\n", error);
  ASSERT_TRUE(table) << error;
  const SimParameter* ramp = table->Find(203);
  ASSERT_NE(ramp, nullptr);
  EXPECT_EQ(ramp->name, "Ramp Mode");
  EXPECT_EQ(ramp->value, -5);
  EXPECT_EQ(ramp->pad, 0x0011);  // bit 4 from "rw"
  EXPECT_FALSE(ramp->readOnly);
  EXPECT_EQ(ramp->valueNames, (std::vector<std::string>{"Linear", "S-Curve", "", "Fast"}));
  EXPECT_EQ(ramp->Menu(), 2);
  EXPECT_EQ(ramp->Parameter(), 3);
}

TEST(ParameterTableTest, AccessFieldDecidesTheWritableBit) {
  std::string error;
  const auto table = ParameterTable::FromText("1.01 | A | 1111111111111111 | 0 | ro\n"
                                              "1.02 | B | 0000000000000000 | 0 | rw |\n",
                                              error);
  ASSERT_TRUE(table) << error;
  EXPECT_EQ(table->Find(101)->pad, 0xFFEF);
  EXPECT_TRUE(table->Find(101)->readOnly);
  EXPECT_EQ(table->Find(102)->pad, 0x0010);
  EXPECT_TRUE(table->Find(102)->valueNames.empty());
}

TEST(ParameterTableTest, ErrorsNameTheLineAndTheField) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"1.01 | A | 0000000000000000 | 0", "line 1: expected 5 or 6 fields separated by |"},
      {"#\n1.1 | A | 0000000000000000 | 0 | rw", "line 2: bad parameter \"1.1\" (menu.parameter, e.g. 11.29)"},
      {"21.00 | A | 0000000000000000 | 0 | rw", "line 1: bad parameter \"21.00\" (menu.parameter, e.g. 11.29)"},
      {"1.01 | A | 000000000000000 | 0 | rw", "line 1: bad PAD \"000000000000000\" (16 binary digits)"},
      {"1.01 | A | 0000000000000002 | 0 | rw", "line 1: bad PAD \"0000000000000002\" (16 binary digits)"},
      {"1.01 | A | 0000000000000000 | 32768 | rw", "line 1: bad value \"32768\" (-32768..32767)"},
      {"1.01 | A | 0000000000000000 | 1.5 | rw", "line 1: bad value \"1.5\" (-32768..32767)"},
      {"1.01 | A | 0000000000000000 | 0 | w", "line 1: bad access \"w\" (rw or ro)"},
      {"1.01 | exception 0", "line 1: bad exception \"0\" (1..255)"},
      {"1.01 | exception two", "line 1: bad exception \"two\" (1..255)"},
      {"21.01 | exception 2", "line 1: bad parameter \"21.01\" (menu.parameter, e.g. 11.29)"},
      {"1.01 | exception 2\n1.01 | exception 4", "line 2: exception listed twice"},
      {"1.01 | A | 0000000000000000 | 0 | rw\n01.01 | B | 0000000000000000 | 0 | rw",
       "line 2: parameter listed twice"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ParameterTable::FromText(c.text, error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

TEST(ParameterTableTest, AddRefusesDuplicatesAndNumbersOutOfRange) {
  ParameterTable table;
  const auto numbered = [](int number) {
    SimParameter parameter;
    parameter.number = number;
    return parameter;
  };
  EXPECT_TRUE(table.Add(numbered(2099)));
  EXPECT_FALSE(table.Add(numbered(2099)));
  EXPECT_FALSE(table.Add(numbered(2100)));
  EXPECT_FALSE(table.Add(numbered(-1)));
  EXPECT_EQ(table.Size(), 1U);
}

int Decimals(const SimParameter& parameter) { return parameter.pad & 3; }

TEST(DefaultParameterTableTest, HoldsTheSystemParametersOfMenu11) {
  const ParameterTable table = DefaultParameterTable();
  const SimParameter* version = table.Find(1129);
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->value, 2105);
  EXPECT_EQ(Decimals(*version), 3);
  EXPECT_TRUE(version->readOnly);
  const SimParameter* model = table.Find(1128);
  ASSERT_NE(model, nullptr);
  EXPECT_TRUE(model->readOnly);
  ASSERT_LT(static_cast<std::size_t>(model->value), model->valueNames.size());
  for (const int writable : {1123, 1130, 1139}) {
    ASSERT_NE(table.Find(writable), nullptr) << writable;
    EXPECT_FALSE(table.Find(writable)->readOnly) << writable;
  }
}

TEST(DefaultParameterTableTest, CoversTwentyMenusEachWithAHeader) {
  const ParameterTable table = DefaultParameterTable();
  for (int menu = 0; menu < 20; ++menu) {
    const SimParameter* header = table.Find(menu * 100);
    ASSERT_NE(header, nullptr) << menu;
    EXPECT_TRUE(header->readOnly) << menu;
  }
  EXPECT_EQ(table.Find(504), nullptr);
}

TEST(DefaultParameterTableTest, ExercisesEveryKindOfParameter) {
  const ParameterTable table = DefaultParameterTable();
  bool decimals[4] = {};
  bool levels[4] = {};
  int readOnlyBits = 0;
  int writableBits = 0;
  int negative = 0;
  bool latin1 = false;
  for (const auto& [number, parameter] : table.Parameters()) {
    decimals[Decimals(parameter)] = true;
    levels[(parameter.pad >> 5) & 3] = true;
    if (parameter.pad & 4) ++(parameter.readOnly ? readOnlyBits : writableBits);
    if (parameter.value < 0) ++negative;
    for (const auto& name : parameter.valueNames) latin1 |= name.find('\xE7') != std::string::npos;
  }
  EXPECT_TRUE(decimals[0] && decimals[1] && decimals[2] && decimals[3]);
  EXPECT_TRUE(levels[1] && levels[2] && levels[3]);
  EXPECT_GT(readOnlyBits, 0);
  EXPECT_GT(writableBits, 0);
  EXPECT_GT(negative, 0);
  EXPECT_TRUE(latin1);
}

// Each quick setup pointer holds two decimals naming an existing parameter.
TEST(DefaultParameterTableTest, QuickSetupPointersNameExistingParameters) {
  const ParameterTable table = DefaultParameterTable();
  for (int slot = 1; slot <= 5; ++slot) {
    ASSERT_NE(table.Find(slot), nullptr) << slot;
    const SimParameter* pointer = table.Find(1200 + slot);
    ASSERT_NE(pointer, nullptr) << slot;
    EXPECT_EQ(Decimals(*pointer), 2);
    EXPECT_NE(table.Find(pointer->value), nullptr) << "pointer " << pointer->value;
  }
  for (int slot = 1; slot <= 4; ++slot) {
    const SimParameter* name = table.Find(1210 + slot);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->valueNames.at(0), "(Default)");
    ASSERT_NE(table.Find(1220 + slot), nullptr);
    EXPECT_EQ(Decimals(*table.Find(1220 + slot)), 3);
  }
}

}  // namespace
}  // namespace quendrel
