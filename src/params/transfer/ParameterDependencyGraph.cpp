#include "params/transfer/ParameterDependencyGraph.h"

#include <algorithm>

#include "params/compatibility/FirmwareInformationTemplate.h"

namespace quendrel {

namespace {

using Pending = std::map<std::int32_t, std::set<std::int32_t>>;

// Called when nothing is ready: every parameter left waits, directly or through others, on a cycle.
// Following the lowest unwritten dependency from the lowest parameter left must come round to a cycle;
// its lowest member is the one released.
std::int32_t CycleBreaker(const Pending& pending) {
  std::vector<std::int32_t> path;
  std::int32_t current = pending.begin()->first;
  while (std::find(path.begin(), path.end(), current) == path.end()) {
    path.push_back(current);
    current = *pending.at(current).begin();
  }
  const auto cycle = std::find(path.begin(), path.end(), current);
  return *std::min_element(cycle, path.end());
}

}  // namespace

ParameterDependencyGraph::ParameterDependencyGraph(const FirmwareInformationTemplate& fit) {
  for (const std::int32_t n : fit.EntryNumbers()) AddParameter(n, fit.Template(n).Dependencies);
}

void ParameterDependencyGraph::AddParameter(std::int32_t n, const std::vector<std::int32_t>& dependencies) {
  auto& own = dependencies_[n];
  own.insert(dependencies.begin(), dependencies.end());
}

std::vector<std::int32_t> ParameterDependencyGraph::Order() const {
  // Kahn's algorithm with the ready parameters kept sorted. Pending holds, for every parameter not yet
  // ordered and not ready, the dependencies it still waits for.
  Pending pending;
  std::map<std::int32_t, std::vector<std::int32_t>> dependents;
  std::set<std::int32_t> ready;
  for (const auto& [n, dependencies] : dependencies_) {
    std::set<std::int32_t> waiting;
    for (const std::int32_t d : dependencies) {
      if (d == n || dependencies_.count(d) == 0) continue;
      waiting.insert(d);
      dependents[d].push_back(n);
    }
    if (waiting.empty()) {
      ready.insert(n);
    } else {
      pending.emplace(n, std::move(waiting));
    }
  }

  std::vector<std::int32_t> order;
  order.reserve(dependencies_.size());
  while (!ready.empty() || !pending.empty()) {
    if (ready.empty()) {
      const std::int32_t released = CycleBreaker(pending);
      pending.erase(released);
      ready.insert(released);
    }
    const std::int32_t next = *ready.begin();
    ready.erase(ready.begin());
    order.push_back(next);
    for (const std::int32_t dependent : dependents[next]) {
      const auto waiting = pending.find(dependent);
      if (waiting == pending.end()) continue;
      waiting->second.erase(next);
      if (!waiting->second.empty()) continue;
      pending.erase(waiting);
      ready.insert(dependent);
    }
  }
  return order;
}

}  // namespace quendrel
