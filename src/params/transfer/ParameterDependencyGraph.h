// The order in which a download writes a template's parameters, so that each one reaches the drive
// after the parameters it depends on (a quick setup pointer before its slot, a limit before its value).
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <vector>

namespace quendrel {

class FirmwareInformationTemplate;

class ParameterDependencyGraph {
 public:
  ParameterDependencyGraph() = default;
  // Every entry of the template that exists, with its dependencies.
  explicit ParameterDependencyGraph(const FirmwareInformationTemplate& fit);

  // A dependency on a number that is not a parameter of the graph is ignored: nothing would write it.
  void AddParameter(std::int32_t n, const std::vector<std::int32_t>& dependencies = {});

  // Every parameter once, each after its dependencies; among those ready at the same time the lowest
  // number goes first. A cycle cannot be honoured: when only parameters caught on cycles are left, the
  // lowest-numbered member of one cycle goes first and the others follow as far as they can.
  std::vector<std::int32_t> Order() const;

 private:
  std::map<std::int32_t, std::set<std::int32_t>> dependencies_;
};

}  // namespace quendrel
