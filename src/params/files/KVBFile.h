// One parameter set: a description and 2100 parameter slots, read from and written to *.KVB files,
// built from a firmware template, uploaded from and downloaded to a drive.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/files/ReplaceFile.h"

namespace quendrel {

class GIOContext;
class ProgressServer;

// Slots are indexed by parameter number, menu × 100 + parameter, 0..2099; any other number raises a
// subscript-out-of-range RuntimeError. A slot is present when its identifier is not empty.
class KVBFile {
 public:
  static constexpr std::int32_t kSlotCount = 2100;

  // Lines a download reports ("Error 3 writing M01P02"); an empty function reports nowhere.
  using TransferFeedback = std::function<void(const std::string&)>;

  KVBFile();

  // Back to a new set: no description, every slot absent and empty.
  void Reset();

  const std::string& Description() const { return description_; }
  void SetDescription(std::string text) { description_ = std::move(text); }

  // "M##P##"; whatever fills a slot writes this form, since the editors look nodes up by it.
  const std::string& Identifier(std::int32_t n) const;
  void SetIdentifier(std::int32_t n, std::string id);
  const std::string& Name(std::int32_t n) const;
  void SetName(std::int32_t n, std::string name);
  // The value as display text, already scaled by the PAD's decimal places ("12.50"); kept as written.
  const std::string& Value(std::int32_t n) const;
  void SetValue(std::int32_t n, std::string value);
  // The name the drive reported with the value, if it has value names.
  const std::string& ValueName(std::int32_t n) const;
  void SetValueName(std::int32_t n, std::string name);
  // 16 characters "0"/"1", most significant bit first. It may be empty; the properties below then read
  // every missing bit as 0.
  const std::string& PAD(std::int32_t n) const;
  void SetPAD(std::int32_t n, std::string pad);
  bool ReadOnly(std::int32_t n) const;            // bit 4 clear
  bool BitPram(std::int32_t n) const;             // bit 2 set
  std::int32_t SecurityLevel(std::int32_t n) const;  // bits 5-6, 0..3
  bool WorkFlag(std::int32_t n) const;
  void SetWorkFlag(std::int32_t n, bool flag);
  // The tree icon key: "menu" for a menu header; "bitpram"/"readonlybit" followed by "1" or "0" for a bit
  // parameter by its value; else "pram" or "readonly".
  std::string IconName(std::int32_t n) const;

  // Value names, in the order they were added, each under the value it names (numbers may have gaps).
  // Positions run 0..NumDVDs - 1, and position NumDVDs reads as an empty spare entry; reading beyond
  // it, or writing anywhere but an existing position, raises subscript out of range.
  std::int32_t NumDVDs(std::int32_t n) const;
  const std::string& DVD(std::int32_t n, std::int32_t position) const;
  void SetDVD(std::int32_t n, std::int32_t position, std::string text);
  std::int32_t DVDNumber(std::int32_t n, std::int32_t position) const;
  void ClearDVDs(std::int32_t n);
  // Replaces the text of the entry with that number, else appends an entry.
  void AddDVD(std::int32_t n, std::int32_t number, std::string text);

  // Marks every slot absent.
  void ClearIdentifiers();
  // False, and nothing changed, when the global compatibility file has no template for the version.
  // Otherwise resets the set and fills one slot per template entry that exists and is no hole: identifier,
  // name, PAD and value names under the numbers 0 .. count - 1.
  bool BuildFromTemplate(double version);

  // Both reset the set first. A file without the magic shows "<path> is not a valid KVB file." titled
  // "File open error"; a failed check sum, or a short, truncated or inconsistent file, shows "KVB file is
  // corrupted, cannot open." titled "Error Loading File" (a file's name and what is wrong with it
  // below); both then return false and leave the set empty. A path that names no readable regular file
  // shows "Unable to open <path>: <reason>." titled "File open error". A file is judged by its header
  // and size before the rest of it is read, so a wrong or oversized file costs no memory; a caller that
  // must keep its set on failure loads into a new one.
  bool LoadKVBFile(const std::string& path);
  bool LoadKVBString(std::string_view image, const std::string& sourceName = "Parameter data");
  // The ASCII format is not read: always false, the set unchanged.
  bool LoadKVDFile(const std::string& path);
  // Every present slot, or only the work-flagged ones. Any failure (an empty path, a field too long for
  // the format, a write error) shows no message and keeps an existing file's contents; the result says
  // why, for the caller's message.
  ReplaceFileResult SaveKVBFile(const std::string& path, bool onlyWorkFlagged) const;

  // Transfers between the set and a drive; defined with the binding helpers in KVBFileTransfer.cpp.
  bool UploadTemplateWithRetries(GIOContext& ctx, ProgressServer& progress, float& version);
  bool FullUpload(GIOContext& ctx, std::int32_t parts, ProgressServer& progress, bool onlyLevels1And2);
  bool UploadFromDrive(GIOContext& ctx, ProgressServer& progress, bool onlyLevels1And2);
  bool DownloadToDrive(GIOContext& ctx, bool sameModel, ProgressServer& progress, std::int32_t option,
                       const TransferFeedback& feedback);

 private:
  friend class KVBCodec;

  struct DVDEntry {
    std::int32_t Number = 0;
    std::string Text;
  };
  struct Slot {
    std::string Identifier;
    std::string Name;
    std::string Value;
    std::string ValueName;
    std::string PAD;
    bool WorkFlag = false;
    std::vector<DVDEntry> DVDs;
  };

  Slot& At(std::int32_t n);
  const Slot& At(std::int32_t n) const;
  bool PadBit(std::int32_t n, int bit) const;

  std::string description_;
  // Empty while every slot is as new (also after a move), so a new set, and the reset that starts every
  // load, cost nothing; the first change makes all 2100.
  std::vector<Slot> slots_;
};

}  // namespace quendrel
