// The download order: dependencies first, ties by number, cycles broken by number. The simulated drive's
// own template is ordered by the download tests.
#include "params/transfer/ParameterDependencyGraph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <vector>


namespace quendrel {
namespace {

struct OrderCase {
  const char* Name;
  std::map<std::int32_t, std::vector<std::int32_t>> Dependencies;
  std::vector<std::int32_t> Expected;
};

class OrderTest : public testing::TestWithParam<OrderCase> {};

TEST_P(OrderTest, WritesEachParameterAfterWhatItDependsOn) {
  ParameterDependencyGraph graph;
  for (const auto& [n, dependencies] : GetParam().Dependencies) graph.AddParameter(n, dependencies);
  EXPECT_EQ(graph.Order(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Graphs, OrderTest,
    testing::Values(
        OrderCase{"NoDependenciesGoByNumber", {{301, {}}, {5, {}}, {1201, {}}}, {5, 301, 1201}},
        OrderCase{"APointerGoesBeforeItsLowerNumberedSlot", {{1, {1201}}, {2, {}}, {1201, {}}}, {2, 1201, 1}},
        OrderCase{"AChainRunsBackwards", {{1, {2}}, {2, {3}}, {3, {}}}, {3, 2, 1}},
        OrderCase{"ReleasedParametersRejoinTheNumberOrder", {{10, {30}}, {20, {}}, {30, {}}, {40, {}}},
                  {20, 30, 10, 40}},
        OrderCase{"SeveralDependenciesAllComeFirst", {{103, {101, 102}}, {101, {}}, {102, {101}}}, {101, 102, 103}},
        OrderCase{"UnknownDependenciesAreIgnored", {{1, {999}}, {2, {}}}, {1, 2}},
        OrderCase{"ASelfDependencyIsIgnored", {{7, {7}}, {3, {}}}, {3, 7}},
        OrderCase{"ACycleStartsAtItsLowestMember", {{5, {9}}, {9, {5}}, {1, {}}}, {1, 5, 9}},
        OrderCase{"ACycleBehindAChainIsBrokenInsideTheCycle", {{1, {2}}, {2, {3}}, {3, {2}}, {4, {1}}}, {2, 1, 3, 4}},
        OrderCase{"TwoCyclesAreBrokenOneAtATime", {{1, {2}}, {2, {1}}, {3, {4}}, {4, {3}}, {5, {1, 3}}},
                  {1, 2, 3, 4, 5}}),
    [](const testing::TestParamInfo<OrderCase>& info) { return std::string(info.param.Name); });

// Random graphs: every parameter comes out exactly once however tangled the cycles, and a graph without
// cycles has every dependency honoured.
TEST(ParameterDependencyGraphTest, RandomGraphsOrderEveryParameterOnce) {
  std::mt19937 random(20261206);
  for (int round = 0; round < 300; ++round) {
    const bool acyclic = round % 2 == 0;
    std::vector<std::int32_t> numbers(40);
    std::iota(numbers.begin(), numbers.end(), 0);
    std::shuffle(numbers.begin(), numbers.end(), random);
    std::map<std::int32_t, std::vector<std::int32_t>> dependencies;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      std::vector<std::int32_t>& own = dependencies[numbers[i] * 7];
      for (int k = 0; k < 3; ++k) {
        const std::size_t limit = acyclic ? i : numbers.size();
        if (limit == 0) break;
        own.push_back(numbers[random() % limit] * 7);
      }
    }
    ParameterDependencyGraph graph;
    for (const auto& [n, own] : dependencies) graph.AddParameter(n, own);
    const std::vector<std::int32_t> order = graph.Order();
    ASSERT_EQ(std::set<std::int32_t>(order.begin(), order.end()).size(), dependencies.size());
    ASSERT_EQ(order.size(), dependencies.size());
    if (!acyclic) continue;
    std::map<std::int32_t, std::size_t> position;
    for (std::size_t i = 0; i < order.size(); ++i) position[order[i]] = i;
    for (const auto& [n, own] : dependencies) {
      for (const std::int32_t d : own) ASSERT_LT(position[d], position[n]) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace quendrel
