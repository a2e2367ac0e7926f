#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "foundation/text/BaudRate.h"

namespace quendrel {
namespace {

TEST(BaudRateTest, CodesAndRatesGoBothWays) {
  const std::int32_t rates[] = {110, 300, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
  for (std::int32_t code = 0; code < 10; ++code) {
    EXPECT_EQ(BaudRateFromIndex(code), rates[code]) << code;
    EXPECT_EQ(BaudRateIndex(std::to_string(rates[code])), code) << rates[code];
    // A rate passed where a code is expected is already the answer.
    EXPECT_EQ(BaudRateFromIndex(rates[code]), rates[code]);
  }
}

TEST(BaudRateTest, ReadsKbpsTextsAndFallsBackTo19200) {
  const std::pair<std::string, std::int16_t> cases[] = {
      {"19.2kbps", 6}, {"115.2 Kbps", 9}, {"57.6KBPS", 8}, {"1.2kbps", 2},
      {"56", 8},       {"56000", 8},      {"56kbps", 8},   {" 9600 ", 5},
      {"9600 bps", 5}, {"", 6},           {"fast", 6},     {"14400", 6},
      {"0", 6},        {"-9600", 6},      {"1e400", 6},    {"38400kbps", 6},
  };
  for (const auto& [text, code] : cases) EXPECT_EQ(BaudRateIndex(text), code) << '"' << text << '"';
}

}  // namespace
}  // namespace quendrel
