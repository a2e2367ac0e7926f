#include <gtest/gtest.h>

#include "foundation/settings/ParseBoolean.h"

namespace quendrel {
namespace {

TEST(ParseBooleanTest, ReadsWordsDatesAndNumbers) {
  const std::pair<const char*, bool> cases[] = {
      {"True", true},          {"FALSE", false},       {" true\t", true},       {"fAlSe ", false},
      {"-1", true},            {"1", true},            {"0", false},            {"0.0", false},
      {"0.5", true},           {" 2 ", true},          {"&H0", false},          {"&HFFFF", true},
      {"1e3", true},           {"01-01-2024", true},   {"12/30/1899", false},   {"2024-02-29", true},
      {"00:00", false},        {"12:00", true},        {"12:00 AM", false},     {"12/30/1899 00:00:01", true},
      {"", false},             {"   ", false},          {"yes", false},          {"no", false},
      {"truex", false},        {"1abc", false},        {"t rue", false},        {"02-30-2024", false},
      {"#TRUE#", false},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseBoolean(text), value) << '"' << text << '"';
}

}  // namespace
}  // namespace quendrel
