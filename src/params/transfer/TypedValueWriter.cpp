#include "params/transfer/TypedValueWriter.h"

#include <cmath>

#include "comms/server/GIOContext.h"
#include "foundation/text/FixedPoint.h"
#include "params/files/KVBFile.h"
#include "params/transfer/DriveSlotPointers.h"
#include "params/transfer/ParameterBinding.h"
#include "params/transfer/ParameterDownload.h"

namespace quendrel {

namespace {

std::uint8_t MenuOf(std::int32_t n) { return static_cast<std::uint8_t>(n / 100); }
std::uint8_t PramOf(std::int32_t n) { return static_cast<std::uint8_t>(n % 100); }

}  // namespace

TypedValueWriter::Result TypedValueWriter::Write(std::int32_t p, double value) {
  Result result;
  // Judged before the route is read: only a slot's own row needs a round trip to know its receiver.
  result.receiver = Receiver(p);
  const auto raw = ParameterDownload::TypedRawValue(value, DecimalPlacesFromFlags(set_.PAD(result.receiver)));
  if (!raw) return result;
  result.sentTo = pointers_.SlotFor(p);
  result.reply = ctx_.WriteValue(MenuOf(result.sentTo), PramOf(result.sentTo), *raw);
  result.outcome = result.reply.Error ? Outcome::Failed : Outcome::Written;
  return result;
}

udtDriveResponse TypedValueWriter::ReadBack(const Result& written) {
  return ctx_.ReadValue(MenuOf(written.sentTo), PramOf(written.sentTo));
}

double TypedValueWriter::Accepted(const Result& written) const {
  const int decimals = DecimalPlacesFromFlags(set_.PAD(written.receiver));
  return written.reply.intData / std::pow(10.0, decimals);
}

std::int32_t TypedValueWriter::Receiver(std::int32_t p) {
  if (!SlotPointerParameter(set_, p)) return p;
  // A drive that will not tell leaves the slot's own scale, as the drive answers an unset slot.
  return pointers_.Shown(p).value_or(p);
}

}  // namespace quendrel
