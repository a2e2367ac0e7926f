// The simulator's command line.

#include "drivesim/SimOptions.h"

#include <gtest/gtest.h>

namespace quendrel {
namespace {

std::optional<SimOptions> Parse(const std::vector<std::string>& arguments, std::string* error = nullptr) {
  std::string reason;
  auto options = SimOptions::Parse(arguments, reason);
  if (error != nullptr) *error = reason;
  return options;
}

TEST(SimOptionsTest, DefaultsToAPlainDriveAtAddressOne) {
  const auto options = Parse({});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->address, 1);
  EXPECT_FALSE(options->legacy);
  EXPECT_EQ(options->baudRate, 0);
  EXPECT_TRUE(options->tableFile.empty());
  EXPECT_TRUE(options->faults.empty());
}

TEST(SimOptionsTest, ReadsEveryOption) {
  const auto options = Parse({"--address", "17", "--table", "t.txt", "--legacy", "--local-echo", "--baud", "19200", "--seed", "42",
                              "--fault", "drop every 3", "--fault", "late next 1 200", "--link", "/tmp/l"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->address, 17);
  EXPECT_EQ(options->tableFile, "t.txt");
  EXPECT_TRUE(options->legacy);
  EXPECT_TRUE(options->localEcho);
  EXPECT_EQ(options->baudRate, 19200);
  EXPECT_EQ(options->seed, 42U);
  EXPECT_EQ(options->faults, (std::vector<std::string>{"drop every 3", "late next 1 200"}));
  EXPECT_EQ(options->linkPath, "/tmp/l");
}

TEST(SimOptionsTest, RefusesWhatMakesNoSense) {
  const std::vector<std::vector<std::string>> cases = {
      {"--address", "0"}, {"--address", "248"}, {"--address"},       {"--baud", "-1"},
      {"--seed", "x"},    {"--fault", "boom"},  {"--frobnicate", "1"}, {"stray"},
  };
  for (const auto& arguments : cases) {
    std::string error;
    EXPECT_FALSE(Parse(arguments, &error)) << arguments[0];
    EXPECT_FALSE(error.empty()) << arguments[0];
  }
}

}  // namespace
}  // namespace quendrel
