// What each quick setup slot of a parameter set showed when an editor last looked, so that the editor
// can tell which slots an edit of a pointer moved to another parameter.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace quendrel {

class KVBFile;

class SlotTargets {
 public:
  // Remembers what every slot of the set shows now.
  void Take(const KVBFile& set);
  // The slots that show another parameter than when last looked at, remembered from now on. Each
  // one's entry in the set takes the value of the parameter it shows now, as the drive's slot reads,
  // so that a download writes that parameter's own value through it.
  std::vector<std::int32_t> Follow(KVBFile& set);

 private:
  std::map<std::int32_t, std::int32_t> shown_;
};

}  // namespace quendrel
