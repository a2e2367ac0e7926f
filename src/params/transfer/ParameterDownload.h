// Writes a parameter set into a drive of the same series, in the dependency order of the drive's own
// firmware template, leaving out whatever must not or cannot be written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "params/files/KVBFile.h"
#include "params/transfer/DriveTransfer.h"

namespace quendrel {

class FirmwareInformationTemplate;

class ParameterDownload {
 public:
  ParameterDownload(const KVBFile& file, GIOContext& ctx, ProgressServer& progress,
                    const KVBFile::TransferFeedback& feedback);

  // True only when every write was made and accepted; a value skipped as no number or out of range
  // counts as a write not made. Without the drive's template nothing is written: its never-download
  // marks are what keep a file from another drive from re-addressing this one. A quick setup slot is
  // written as the parameter its pointer on the drive names, read just before the write.
  bool Run(bool sameModel);

  // The raw word a value stands for with that many decimal places: the value formatted to them, the point
  // removed, low 16 bits through RoundToWord (40000 gives -25536, which is how unsigned values reach a
  // drive). Nothing for a value that is not finite or whose integer lies beyond the 32-bit range: its low
  // bits would be an unrelated number.
  static std::optional<std::int16_t> RawValue(double value, int decimals);
  // The same for a value text under a PAD; also nothing when the text holds no number.
  static std::optional<std::int16_t> RawValue(const std::string& valueText, const std::string& pad);
  // The raw word of a value a user has just typed: as RawValue, but nothing when the integer lies
  // outside -32768..65535. No 16-bit register holds such a value, signed or unsigned, so it was not
  // meant for one; its low bits (70000 gives 4464) must not reach a drive or a file.
  static std::optional<std::int16_t> TypedRawValue(double value, int decimals);

 private:
  // NotWritable: left out as the rules for the parameter demand, like a read-only one.
  enum class Write { Skipped, Written, Failed, Ended, NotWritable };
  // A write through a quick setup slot: sent to the slot, with the value of one entry of the file,
  // scaled by the parameter that receives it. A plain parameter is all three itself.
  struct Route {
    std::int32_t sentTo;
    std::int32_t entry;
    std::int32_t receiver;
  };

  bool SameSeries(float driveVersion);
  bool Writable(std::int32_t n, const FirmwareInformationTemplate& fit, bool sameModel) const;
  bool FileForbids(std::int32_t n) const;
  bool ReceiverWritable(std::int32_t n, const FirmwareInformationTemplate& fit, bool sameModel) const;
  // The file has the parameter with a value to write.
  bool Holds(std::int32_t n) const;
  Write WriteParameter(std::int32_t n, const FirmwareInformationTemplate& fit, bool sameModel);
  Write WriteSlot(std::int32_t slot, std::int32_t pointer, const FirmwareInformationTemplate& fit, bool sameModel);
  std::optional<std::int32_t> SlotValueEntry(std::int32_t slot, std::int32_t pointer, std::int32_t receiver) const;
  std::string ScalePad(std::int32_t n, const FirmwareInformationTemplate& fit) const;
  Write WriteValue(const Route& route, const FirmwareInformationTemplate& fit);
  Write Failure(const udtDriveResponse& response, const char* doing, std::int32_t n);
  void Report(const std::string& line) const;

  const KVBFile& file_;
  DriveTransfer transfer_;
  const KVBFile::TransferFeedback& feedback_;
};

}  // namespace quendrel
