// Fault rules: their text, which requests each selector hits, and how hits combine.

#include "drivesim/FaultPlan.h"

#include <gtest/gtest.h>

namespace quendrel {
namespace {

FaultRule Rule(const std::string& text) {
  std::string error;
  auto rule = FaultRule::Parse(text, error);
  EXPECT_TRUE(rule) << text << ": " << error;
  return rule.value_or(FaultRule{});
}

// Which of the first `count` requests the rule hits, as a string of 0 and 1.
std::string Pattern(FaultRule rule, int count, std::uint32_t seed = 1) {
  std::mt19937 random(seed);
  std::string hits;
  for (int i = 0; i < count; ++i) hits += rule.Hits(random) ? '1' : '0';
  return hits;
}

TEST(FaultPlanTest, SelectorsHitTheRequestsTheyName) {
  struct Case {
    const char* rule;
    const char* hits;
  };
  const Case cases[] = {
      {"drop", "11111111"},          {"drop always", "11111111"}, {"drop next 2", "11000000"},
      {"drop next 0", "00000000"},   {"drop every 3", "00100100"}, {"drop after 5", "00000111"},
      {"drop prob 0", "00000000"},   {"drop prob 1", "11111111"},
  };
  for (const auto& c : cases) EXPECT_EQ(Pattern(Rule(c.rule), 8), c.hits) << c.rule;
}

TEST(FaultPlanTest, ProbabilityRepeatsWithTheSameSeed) {
  const std::string first = Pattern(Rule("crc prob 0.5"), 64, 7);
  EXPECT_EQ(Pattern(Rule("crc prob 0.5"), 64, 7), first);
  EXPECT_NE(Pattern(Rule("crc prob 0.5"), 64, 8), first);
  const auto hits = std::count(first.begin(), first.end(), '1');
  EXPECT_GT(hits, 16);
  EXPECT_LT(hits, 48);
}

TEST(FaultPlanTest, RejectsMalformedRules) {
  for (const char* text : {"", "explode", "drop next", "drop next x", "drop every 0", "drop prob 1.5",
                           "drop prob", "late next 1 -5", "late next 1 soon", "drop next -1"}) {
    std::string error;
    EXPECT_FALSE(FaultRule::Parse(text, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(FaultPlanTest, EachKindSetsItsActionWithDefaultsAndArguments) {
  const auto decide = [](const std::string& text) {
    FaultPlan plan;
    plan.Add(Rule(text));
    return plan.Decide();
  };
  EXPECT_FALSE(decide("drop").answer);
  EXPECT_TRUE(decide("drop").serve);
  EXPECT_TRUE(decide("crc").corruptCrc);
  EXPECT_EQ(decide("address").fromAddress, -2);
  EXPECT_EQ(decide("address always 9").fromAddress, 9);
  EXPECT_EQ(decide("noise").noiseBytes, 4);
  EXPECT_EQ(decide("noise next 1 12").noiseBytes, 12);
  EXPECT_EQ(decide("split").pieces, 3);
  EXPECT_EQ(decide("split always 5 7").pieceGapMs, 7);
  EXPECT_EQ(decide("late").lateMs, 1000);
  EXPECT_EQ(decide("late next 1 1500").lateMs, 1500);
  const FaultActions stop = decide("stop");
  EXPECT_FALSE(stop.serve || stop.answer);
  const FaultActions close = decide("close next 1 250");
  EXPECT_TRUE(close.closePort);
  EXPECT_FALSE(close.serve);
  EXPECT_EQ(close.reopenAfterMs, 250);
}

TEST(FaultPlanTest, RulesCombineAndSpentOnesLeave) {
  FaultPlan plan;
  plan.Add(Rule("noise next 1 2"));
  plan.Add(Rule("split every 2 4 10"));
  const FaultActions first = plan.Decide();
  EXPECT_EQ(first.noiseBytes, 2);
  EXPECT_EQ(first.pieces, 1);
  const FaultActions second = plan.Decide();
  EXPECT_EQ(second.noiseBytes, 0);
  EXPECT_EQ(second.pieces, 4);
  plan.Clear();
  EXPECT_TRUE(plan.Empty());
  EXPECT_TRUE(plan.Decide().answer);
}

TEST(FaultPlanTest, NoiseFollowsTheSeed) {
  FaultPlan a(5);
  FaultPlan b(5);
  EXPECT_EQ(a.Noise(16), b.Noise(16));
  EXPECT_EQ(a.Noise(3).size(), 3U);
}

}  // namespace
}  // namespace quendrel
