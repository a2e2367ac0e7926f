// Jobs worked out by a few helper threads and taken back one by one, in the order they were
// given, by the thread that gave them, which runs waiting jobs itself rather than idle: with no
// helper every job runs on the caller's thread, in order.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <future>
#include <vector>

namespace quendrel {

class OrderedJobs {
 public:
  // Helpers that cannot be started are done without.
  OrderedJobs(std::vector<std::function<void()>> jobs, unsigned helpers);
  // Jobs not yet started are dropped; the helpers are waited for.
  ~OrderedJobs();
  OrderedJobs(const OrderedJobs&) = delete;
  OrderedJobs& operator=(const OrderedJobs&) = delete;

  // Returns once job i has run; the first wait for it throws what it threw.
  void Wait(std::size_t i);

  // The threads a machine can run at once, at least one.
  static unsigned MachineThreads();

 private:
  bool RunNext();

  std::vector<std::packaged_task<void()>> jobs_;
  std::vector<std::future<void>> done_;
  std::atomic<std::size_t> next_{0};
  std::vector<std::future<void>> helpers_;
};

}  // namespace quendrel
