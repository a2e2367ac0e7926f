// A value a user typed for a parameter, written to a connected drive the one guarded way every window
// uses: refused when no 16-bit register holds it under the decimals of the parameter that receives it,
// sent through the quick setup slot that shows the parameter on the drive now (else to the parameter
// itself), and read back from where it went.
#pragma once

#include <cstdint>

#include "comms/server/udtDriveResponse.h"

namespace quendrel {

class DriveSlotPointers;
class GIOContext;
class KVBFile;

// The answer of every window to a typed value it will not send or store.
inline constexpr const char* ValueRefusedText = "Value out of range - not written";

class TypedValueWriter {
 public:
  enum class Outcome { Refused, Failed, Written };

  struct Result {
    Outcome outcome = Outcome::Refused;
    // The parameter whose value the write sets on the drive; its decimals scale the typed value.
    std::int32_t receiver = -1;
    // The parameter number the request went to: a slot that shows the receiver, or the receiver.
    std::int32_t sentTo = -1;
    // The write's reply; on success its intData is the raw word the drive took.
    udtDriveResponse reply;
  };

  // The pointers decide the route and are shared with the caller's other requests of the same
  // handler, so each pointer costs one round trip at most; set is the one they were made with.
  TypedValueWriter(const KVBFile& set, GIOContext& ctx, DriveSlotPointers& pointers)
      : set_(set), ctx_(ctx), pointers_(pointers) {}

  // p is the parameter the user's row names. Refused sends no write.
  Result Write(std::int32_t p, double value);
  // What the drive holds now where a write went, scaled by the drive.
  udtDriveResponse ReadBack(const Result& written);
  // The value the raw word of a write stands for under its receiver's decimals.
  double Accepted(const Result& written) const;

 private:
  // A slot's own row sets what the slot's pointer names at this moment; any other parameter sets
  // itself, whichever slot it goes through.
  std::int32_t Receiver(std::int32_t p);

  const KVBFile& set_;
  GIOContext& ctx_;
  DriveSlotPointers& pointers_;
};

}  // namespace quendrel
