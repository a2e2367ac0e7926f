// The quick setup pointers of a connected drive, read at the moment a read or write is about to go
// through a slot. An editor routes by its parameter set's bindings; this reads the pointers that
// decide the route from the drive and copies them into the set first, so the set cannot route by a
// pointer the drive no longer holds (changed on the keypad, by the wizard or by another tool).
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "comms/server/udtDriveResponse.h"

namespace quendrel {

class GIOContext;
class KVBFile;

// Each pointer is read at most once in the object's life, so one object serves one handler: a write
// and its read-back, or one pass over the rows.
class DriveSlotPointers {
 public:
  DriveSlotPointers(KVBFile& set, GIOContext& ctx) : set_(set), ctx_(ctx) {}

  // The slot that p is read and written through: the first slot whose pointer on the drive names p;
  // p itself when none does, or when the drive would not tell (a read failed, or it runs a version
  // whose template is not the set's).
  std::int32_t SlotFor(std::int32_t p);
  // The same without a round trip: through a slot only when its pointer was read already, else p
  // itself, which always holds p's value.
  std::int32_t ReadSlotFor(std::int32_t p) const;
  // The parameter a quick setup slot shows on the drive (GetPresentBoundParameter after its pointer
  // was read); nothing when the drive would not tell.
  std::optional<std::int32_t> Shown(std::int32_t slot);
  // The pointer parameters whose value on the drive differed from the set's, since the last call.
  std::vector<std::int32_t> TakeMoved() { return std::exchange(moved_, {}); }
  // Round trips spent so far.
  int Reads() const { return reads_; }

 private:
  // False when the drive would not tell.
  bool Refresh(std::int32_t slot);
  bool DriveRunsTheSetsVersion();
  udtDriveResponse Read(std::int32_t n);

  KVBFile& set_;
  GIOContext& ctx_;
  std::optional<bool> sameVersion_;
  bool failed_ = false;
  std::set<std::int32_t> fresh_;
  std::vector<std::int32_t> moved_;
  int reads_ = 0;
};

}  // namespace quendrel
