// Series points kept in time order across blocks, checked against a plain list that follows the
// chain rules point by point: walk back from the newest past every stamp at or after the new one.
#include "graph/data/gdSeries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "foundation/values/RuntimeError.h"
#include "platform/FakeClock.h"

namespace quendrel {
namespace {

using Point = std::pair<double, double>;  // time stamp, value

class ReferenceChain {
 public:
  std::size_t Add(double t, double v) {
    std::size_t at = points_.size();
    if (!points_.empty() && t <= points_.back().first) {
      while (at > 0 && points_[at - 1].first >= t) --at;
    }
    points_.insert(points_.begin() + static_cast<std::ptrdiff_t>(at), {t, v});
    lastAdded_ = v;
    return at;
  }
  // A stamp between the neighbours' stays put; any other goes where a new point would.
  std::size_t Restamp(std::size_t at, double t) {
    const bool fits = (at == 0 || points_[at - 1].first <= t) &&
                      (at + 1 == points_.size() || t <= points_[at + 1].first);
    if (fits) {
      points_[at].first = t;
      return at;
    }
    const double v = points_[at].second;
    const double lastAdded = lastAdded_;  // a move adds nothing
    points_.erase(points_.begin() + static_cast<std::ptrdiff_t>(at));
    const std::size_t moved = Add(t, v);
    lastAdded_ = lastAdded;
    return moved;
  }
  const std::vector<Point>& Points() const { return points_; }
  double LastAddedValue() const { return lastAdded_; }

 private:
  std::vector<Point> points_;
  double lastAdded_ = 0.0;
};

std::vector<Point> ForwardWalk(gdSeries& series) {
  std::vector<Point> walked;
  for (auto node = series.FirstPoint(); node; node = node->NextNode())
    walked.emplace_back(node->Timestamp(), node->Value());
  return walked;
}

std::vector<Point> BackwardWalk(gdSeries& series) {
  std::vector<Point> walked;
  for (auto node = series.LastPoint(); node; node = node->PrevNode())
    walked.emplace_back(node->Timestamp(), node->Value());
  std::reverse(walked.begin(), walked.end());
  return walked;
}

void ExpectSameChain(gdSeries& series, const ReferenceChain& reference) {
  const std::vector<Point>& expected = reference.Points();
  ASSERT_EQ(series.PointCount(), expected.size());
  EXPECT_EQ(ForwardWalk(series), expected);
  EXPECT_EQ(BackwardWalk(series), expected);
  EXPECT_EQ(series.MostRecentValue(), reference.LastAddedValue());
  // The window look-up agrees with a search of the list, at stamps on and between points.
  for (std::size_t i = 0; i < expected.size(); i += 1 + expected.size() / 97) {
    for (const double t : {expected[i].first, expected[i].first + 0.01}) {
      const auto at = std::lower_bound(expected.begin(), expected.end(), t,
                                       [](const Point& p, double s) { return p.first < s; });
      const auto found = series.FirstPointAtOrAfter(t);
      if (at == expected.end()) {
        EXPECT_FALSE(found);
        continue;
      }
      ASSERT_TRUE(found);
      EXPECT_EQ(found->Index(), static_cast<std::size_t>(at - expected.begin()));
      EXPECT_EQ(series.PointAt(found->Index()).Value(), at->second);
    }
  }
}

struct OrderCase {
  const char* what;
  std::vector<Point> points;
};

std::vector<Point> Repeat(std::size_t count, const std::function<Point(std::size_t)>& make) {
  std::vector<Point> points;
  for (std::size_t i = 0; i < count; ++i) points.push_back(make(i));
  return points;
}

const OrderCase kOrderCases[] = {
    {"appends", {{1, 1}, {2, 2}, {3, 3}}},
    {"10, 20, 15", {{10, 1}, {20, 2}, {15, 3}}},
    {"equal stamps go to the older side", {{30, 1}, {30, 2}, {31, 3}, {30, 4}}},
    {"older than all", {{5, 1}, {6, 2}, {1, 3}}},
    {"newest first across blocks", Repeat(10000, [](std::size_t i) { return Point(1e6 - double(i), double(i)); })},
    {"scattered with repeats across blocks", Repeat(20000, [](std::size_t i) {
       return Point(double((i * 7919) % 3001), double(i));
     })},
    {"a block's worth then one in its middle", [] {
       auto points = Repeat(4096 * 2, [](std::size_t i) { return Point(double(i), 1.0); });
       points.push_back({4096.0 + 0.5, -7.0});
       points.push_back({4095.5, 8.0});
       return points;
     }()},
};

TEST(gdSeriesTest, PointsKeepTheChainOrderOfTheReference) {
  for (const OrderCase& c : kOrderCases) {
    SCOPED_TRACE(c.what);
    gdSeries series;
    ReferenceChain reference;
    for (const auto& [t, v] : c.points) {
      const gdSeriesNode added = series.AddPoint(t, v);
      EXPECT_EQ(added.Index(), reference.Add(t, v));
    }
    ExpectSameChain(series, reference);
  }
}

TEST(gdSeriesTest, ExtremesStartAtZeroAndClearStartsThemAfresh) {
  FakeClock clock(1000.5);
  SetClock(&clock);
  gdSeries series;
  EXPECT_EQ(series.maxTime(), 1000.5);
  EXPECT_EQ(series.minTime(), 1000.5);
  EXPECT_FALSE(series.FirstPoint());
  series.AddPoint(1, 5);
  EXPECT_EQ(std::pair(series.minVal(), series.maxVal()), std::pair(0.0, 5.0));
  series.AddPoint(2, -3);
  EXPECT_EQ(std::pair(series.minVal(), series.maxVal()), std::pair(-3.0, 5.0));
  series.Clear();
  EXPECT_EQ(series.maxVal(), 0.0);
  EXPECT_EQ(series.maxTime(), 1000.5);
  series.AddPoint(3, 7);
  EXPECT_EQ(std::pair(series.minVal(), series.maxVal()), std::pair(7.0, 7.0));
  SetClock(nullptr);
}

TEST(gdSeriesTest, ARestampThatKeepsTheOrderLeavesThePointWhereItIs) {
  gdSeries series;
  series.AddPoint(100, 1);
  gdSeriesNode newest = series.AddPoint(100.2, 2);
  newest.SetTimestamp(100);  // a second sweep in the same millisecond
  EXPECT_EQ(series.MostRecentValue(), 2);
  EXPECT_EQ(newest.Index(), 1U);
  newest.SetTimestamp(99);  // now older than its predecessor: it moves, and the cursor with it
  EXPECT_EQ(newest.Index(), 0U);
  EXPECT_EQ(newest.Value(), 2);
  EXPECT_EQ(series.MostRecentValue(), 2);  // still the point added last
}

// The latest reading, wherever its stamp put it and wherever other points moved since.
TEST(gdSeriesTest, MostRecentValueIsThePointAddedLast) {
  gdSeries series;
  series.AddPoint(10, 1);
  series.AddPoint(20, 2);
  series.AddPoint(15, 3);  // the clock went back
  EXPECT_EQ(series.MostRecentValue(), 3);
  series.FirstPoint()->SetTimestamp(40);  // an older point moves past it
  EXPECT_EQ(series.MostRecentValue(), 3);
  series.PointAt(1).SetTimestamp(5);  // and the one at 20 before it
  EXPECT_EQ(series.MostRecentValue(), 3);
  EXPECT_EQ(series.LastPoint()->Value(), 1);
  series.AddPoint(5, 4);  // a stamp equal to the oldest goes before it, yet is the latest reading
  EXPECT_EQ(series.MostRecentValue(), 4);
  series.Clear();
  EXPECT_EQ(series.MostRecentValue(), 0);
  series.AddPoint(1, 7);
  EXPECT_EQ(series.MostRecentValue(), 7);
}

// Scanning 10 points a second for two hours, then the clock goes back an hour and scanning goes on
// for an hour and a half, each point re-stamped with its sweep's mean time as the scan window does.
TEST(gdSeriesTest, AClockSetBackLosesNoPointAndKeepsTheOrder) {
  gdSeries series;
  ReferenceChain reference;
  std::mt19937 jitter(7);
  double now = 45000.0 * 86400.0;
  for (int sweep = 0; sweep < 10 * 3600 * 7 / 2; ++sweep) {
    if (sweep == 10 * 7200) now -= 3600.0;
    const double value = sweep % 97;
    gdSeriesNode added = series.AddPoint(now, value);
    std::size_t at = reference.Add(now, value);
    const double mean = now + (jitter() % 3) * 0.0005 - 0.0005;
    added.SetTimestamp(mean);
    at = reference.Restamp(at, mean);
    ASSERT_EQ(added.Index(), at) << "sweep " << sweep;
    ASSERT_EQ(added.Value(), value);
    ASSERT_EQ(series.MostRecentValue(), value) << "sweep " << sweep;
    now += 0.1;
  }
  ExpectSameChain(series, reference);
}

TEST(gdSeriesTest, DVDTextsGrowToTwiceTheIndexAndCountFilledSlots) {
  gdSeries series;
  series.SetDVD(5, "Run");
  EXPECT_EQ(series.NumDVDs(), 1);
  series.SetDVD(5, "Stop");
  series.SetDVD(10, "");  // the grown array reaches 10
  series.SetDVD(10, "x");  // "" left it empty, so this counts again
  series.SetDVD(-1, "ignored");
  EXPECT_EQ(series.NumDVDs(), 3);
  const std::pair<std::int16_t, std::string> reads[] = {{5, "Stop"}, {10, "x"}, {4, ""}, {-1, ""}, {11, ""}};
  for (const auto& [index, text] : reads) EXPECT_EQ(series.DVD(index), text) << index;
  series.SetDVD(16383, "last");
  EXPECT_EQ(series.DVD(16383), "last");
  gdSeries fresh;
  EXPECT_THROW(fresh.SetDVD(16384, "doubled beyond 16 bits"), RuntimeError);
}

}  // namespace
}  // namespace quendrel
