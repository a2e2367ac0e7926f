// Local time stamps must keep the zone's exact offset on both sides of a summer time change, however
// often the same second is asked for and in whatever order seconds come (a clock set back).
#include "platform/ZoneOffsetCache.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace quendrel {
namespace {

// Central European time by its rule, so the test needs no zone files: summer time from the last
// Sunday of March 01:00 UTC to the last Sunday of October 01:00 UTC.
constexpr const char* kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";
constexpr std::time_t kSpringForward = 1711846800;  // 2024-03-31 01:00:00 UTC
constexpr std::time_t kFallBack = 1729990800;       // 2024-10-27 01:00:00 UTC
constexpr long kWinter = 3600;
constexpr long kSummer = 7200;

class ZoneOffsetCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* zone = std::getenv("TZ")) savedZone_ = zone;
    UseZone(kCentralEurope);
  }
  void TearDown() override {
    if (savedZone_) {
      ::setenv("TZ", savedZone_->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }
  static void UseZone(const char* zone) {
    ::setenv("TZ", zone, 1);
    ::tzset();
  }

 private:
  std::optional<std::string> savedZone_;
};

struct Ask {
  std::time_t second;
  long offset;
};

TEST_F(ZoneOffsetCacheTest, OneCacheFollowsTheZoneAcrossBothSummerTimeEdges) {
  const std::vector<Ask> walk = {
      {kSpringForward - 2, kWinter}, {kSpringForward - 1, kWinter}, {kSpringForward - 1, kWinter},
      {kSpringForward, kSummer},     {kSpringForward, kSummer},     {kSpringForward + 1, kSummer},
      // A clock set back across the edge.
      {kSpringForward - 1, kWinter}, {kSpringForward, kSummer},     {kFallBack - 1, kSummer},
      {kFallBack - 1, kSummer},      {kFallBack, kWinter},          {kFallBack + 3600, kWinter},
      {kFallBack - 1, kSummer},      {kFallBack, kWinter},
  };
  ZoneOffsetCache cache;
  for (const Ask& ask : walk) {
    EXPECT_EQ(cache.OffsetAt(ask.second), ask.offset) << "at " << ask.second;
  }
}

TEST_F(ZoneOffsetCacheTest, AgreesWithTheSystemEverySecondAroundTheEdges) {
  ZoneOffsetCache cache;
  for (const std::time_t edge : {kSpringForward, kFallBack}) {
    for (std::time_t second = edge - 5; second <= edge + 5; ++second) {
      std::tm local{};
      localtime_r(&second, &local);
      EXPECT_EQ(cache.OffsetAt(second), local.tm_gmtoff) << "at " << second;
    }
  }
}

TEST_F(ZoneOffsetCacheTest, AnotherZoneCountsFromTheNextSecondAskedFor) {
  ZoneOffsetCache cache;
  EXPECT_EQ(cache.OffsetAt(kFallBack), kWinter);
  UseZone("UTC0");
  EXPECT_EQ(cache.OffsetAt(kFallBack + 1), 0);
}

}  // namespace
}  // namespace quendrel
