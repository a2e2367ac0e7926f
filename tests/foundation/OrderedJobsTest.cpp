// Jobs handed to helper threads must come back in the order given, each run once, with a job's
// failure reported where that job is waited for, and without helpers everything must stay on
// the caller's thread, each job run only when the caller gets to it.
#include "foundation/threads/OrderedJobs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace quendrel {
namespace {

constexpr std::size_t kJobs = 40;

// Each job records that it ran and what it worked out.
struct Ledger {
  std::vector<std::atomic<int>> runs = std::vector<std::atomic<int>>(kJobs);
  std::vector<long> results = std::vector<long>(kJobs, -1);

  std::vector<std::function<void()>> Jobs() {
    std::vector<std::function<void()>> jobs;
    for (std::size_t i = 0; i < kJobs; ++i) {
      jobs.emplace_back([this, i] {
        ++runs[i];
        results[i] = Work(i);
      });
    }
    return jobs;
  }
  // Long enough for helpers to overlap.
  static long Work(std::size_t i) {
    long sum = 0;
    for (std::size_t k = 0; k <= i * 1000; ++k) sum += static_cast<long>(k % 7);
    return sum;
  }
};

TEST(OrderedJobsTest, EachJobRunsOnceAndIsDoneWhenWaitedFor) {
  for (const unsigned helpers : {0u, 1u, 3u, 16u}) {
    SCOPED_TRACE(helpers);
    Ledger ledger;
    {
      OrderedJobs jobs(ledger.Jobs(), helpers);
      for (std::size_t i = 0; i < kJobs; ++i) {
        jobs.Wait(i);
        EXPECT_EQ(ledger.results[i], Ledger::Work(i)) << i;
      }
    }
    for (std::size_t i = 0; i < kJobs; ++i) EXPECT_EQ(ledger.runs[i], 1) << i;
  }
}

TEST(OrderedJobsTest, WithoutHelpersJobsRunOnTheCallersThreadWhenItGetsToThem) {
  std::vector<std::thread::id> ranOn;
  std::vector<std::function<void()>> work;
  for (int i = 0; i < 5; ++i) {
    work.emplace_back([&ranOn] { ranOn.push_back(std::this_thread::get_id()); });
  }
  OrderedJobs jobs(std::move(work), 0);
  EXPECT_TRUE(ranOn.empty());
  jobs.Wait(1);
  EXPECT_EQ(ranOn.size(), 2u);
  jobs.Wait(4);
  ASSERT_EQ(ranOn.size(), 5u);
  for (const std::thread::id id : ranOn) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST(OrderedJobsTest, AFailureIsThrownWhereItsJobIsWaitedFor) {
  for (const unsigned helpers : {0u, 2u}) {
    SCOPED_TRACE(helpers);
    std::vector<int> done(4, 0);
    std::vector<std::function<void()>> work;
    for (int i = 0; i < 4; ++i) {
      work.emplace_back([&done, i] {
        if (i == 2) throw std::runtime_error("job 2 failed");
        done[static_cast<std::size_t>(i)] = 1;
      });
    }
    OrderedJobs jobs(std::move(work), helpers);
    EXPECT_NO_THROW(jobs.Wait(0));
    EXPECT_NO_THROW(jobs.Wait(1));
    EXPECT_THROW(jobs.Wait(2), std::runtime_error);
    EXPECT_NO_THROW(jobs.Wait(2));  // reported once
    EXPECT_NO_THROW(jobs.Wait(3));
    EXPECT_EQ(done, (std::vector<int>{1, 1, 0, 1}));
  }
}

// A drawing that fails half way leaves its other jobs behind: they are dropped or finish, and
// nothing is left running once the jobs are gone.
TEST(OrderedJobsTest, JobsNotWaitedForAreDroppedOrFinishedBeforeTheEnd) {
  for (const unsigned helpers : {0u, 3u}) {
    SCOPED_TRACE(helpers);
    auto ledger = std::make_unique<Ledger>();
    {
      OrderedJobs jobs(ledger->Jobs(), helpers);
      jobs.Wait(0);
    }
    int ran = 0;
    for (std::size_t i = 0; i < kJobs; ++i) {
      EXPECT_LE(ledger->runs[i], 1) << i;
      if (ledger->runs[i] == 1) {
        ++ran;
        EXPECT_EQ(ledger->results[i], Ledger::Work(i)) << i;
      }
    }
    if (helpers == 0) {
      EXPECT_EQ(ran, 1);
    }
    ledger.reset();  // no helper may touch it now
  }
}

}  // namespace
}  // namespace quendrel
