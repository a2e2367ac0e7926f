#include "foundation/threads/OrderedJobs.h"

#include <chrono>
#include <system_error>
#include <thread>

namespace quendrel {

OrderedJobs::OrderedJobs(std::vector<std::function<void()>> jobs, unsigned helpers) {
  jobs_.reserve(jobs.size());
  done_.reserve(jobs.size());
  for (std::function<void()>& job : jobs) {
    jobs_.emplace_back(std::move(job));
    done_.push_back(jobs_.back().get_future());
  }
  for (unsigned i = 0; i < helpers && i + 1 < jobs_.size(); ++i) {
    try {
      helpers_.push_back(std::async(std::launch::async, [this] {
        while (RunNext()) {
        }
      }));
    } catch (const std::system_error&) {
      break;
    }
  }
}

OrderedJobs::~OrderedJobs() {
  next_.store(jobs_.size());
  for (std::future<void>& helper : helpers_) helper.wait();
}

// A job's exception stays in its future, so a helper never ends early.
bool OrderedJobs::RunNext() {
  const std::size_t i = next_.fetch_add(1);
  if (i >= jobs_.size()) return false;
  jobs_[i]();
  return true;
}

void OrderedJobs::Wait(std::size_t i) {
  std::future<void>& done = done_[i];
  if (!done.valid()) return;  // waited for before
  while (done.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
    if (!RunNext()) break;
  }
  done.get();
}

unsigned OrderedJobs::MachineThreads() {
  const unsigned threads = std::thread::hardware_concurrency();
  return threads == 0 ? 1 : threads;
}

}  // namespace quendrel
