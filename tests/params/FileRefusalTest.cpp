// Parameter and compatibility files that cannot be read are refused with one box naming the file and
// the reason, judged on their first bytes and size before the rest is read; saves say why they failed.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "foundation/support/RefusedFiles.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/files/KVBFile.h"
#include "params/support/ParamImages.h"
#include "platform/ScriptedUi.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

constexpr const char* kCorrupted = "KVB file is corrupted, cannot open.";

struct LoadCase {
  std::string What;
  std::string Path;
  std::string Prompt;
  std::string Title;
};

// Every refusal a load of a user's path can meet, each with its one box.
std::vector<LoadCase> RefusedLoads(const TempFolder& folder) {
  std::vector<LoadCase> cases;
  for (const auto& c : testing::UnopenablePaths(folder.File(""))) {
    cases.push_back({c.What, c.Path, "Unable to open " + c.Path + ": " + c.Reason + ".", "File open error"});
  }
  const std::string zeros = testing::SparseFile(folder.File("zeros.KVB"), testing::kSixHundredMegabytes);
  cases.push_back({"600 MB of zeros", zeros, zeros + " is not a valid KVB file.", "File open error"});
  const std::string claims = testing::SparseFile(folder.File("claims.KVB"), testing::kSixHundredMegabytes,
                                                 "KVB1" + Be32(100));
  cases.push_back({"600 MB behind a header for 100 bytes", claims,
                   std::string(kCorrupted) + "\n\n" + claims + ": its size does not match its header.",
                   "Error Loading File"});
  std::string image = SealKvb(Be16(0) + Be16(0));
  image.back() = static_cast<char>(image.back() ^ 1);
  const std::string damaged = folder.File("damaged.KVB");
  WriteTestFile(damaged, image);
  cases.push_back({"a failed check sum", damaged, std::string(kCorrupted) + "\n\n" + damaged +
                   ": its contents are damaged.", "Error Loading File"});
  return cases;
}

TEST(FileRefusalTest, AKvbLoadThatCannotSucceedShowsOneBoxWithTheFileAndTheReason) {
  TempFolder folder;
  const std::vector<LoadCase> cases = RefusedLoads(folder);
  const long before = testing::PeakMemoryKB();
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.What);
    ScriptedUi ui;
    ui.AnswerMsgBox(vbOK);
    KVBFile set;
    set.SetIdentifier(1, "M00P01");
    EXPECT_FALSE(set.LoadKVBFile(c.Path));
    EXPECT_EQ(ui.Prompts(), std::vector<std::string>{c.Prompt});
    EXPECT_EQ(ui.Titles(), std::vector<std::string>{c.Title});
    EXPECT_EQ(set.Identifier(1), "");
  }
  EXPECT_LT(testing::PeakMemoryKB() - before, 32 * 1024) << "KB more at the peak";
}

TEST(FileRefusalTest, ACompatibilityFileIsRefusedOnItsFirstBytes) {
  TempFolder folder;
  const std::string zeros = testing::SparseFile(folder.File("zeros.FC2"), testing::kSixHundredMegabytes);
  const long before = testing::PeakMemoryKB();
  FirmwareCompatibilityFile file;
  EXPECT_FALSE(file.Load(zeros));
  EXPECT_EQ(file.LoadError(), "Not a firmware compatibility file.");
  EXPECT_FALSE(file.Load("/dev/zero"));
  EXPECT_EQ(file.LoadError(), "Unable to open /dev/zero: it is a device, not a file.");
  EXPECT_LT(testing::PeakMemoryKB() - before, 32 * 1024) << "KB more at the peak";
}

TEST(FileRefusalTest, AFailedKvbSaveSaysWhy) {
  TempFolder folder;
  const std::string locked = folder.File("locked.KVB");
  WriteTestFile(locked, "old");
  ::chmod(locked.c_str(), 0444);
  KVBFile set;
  set.SetIdentifier(1, "M00P01");
  KVBFile tooLong = set;
  tooLong.SetName(1, std::string(256, 'n'));
  const struct {
    const char* What;
    const KVBFile& Set;
    std::string Path;
    std::string Reason;
  } cases[] = {
      {"missing folder", set, folder.File("gone/set.KVB"), "the folder " + folder.File("gone") + " does not exist"},
      {"read-only file", set, locked, locked + " is read-only"},
      {"no name", set, "", "no file name was given"},
      {"a name too long for the format", tooLong, folder.File("set.KVB"),
       "a text or number of the set does not fit the KVB format"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    const ReplaceFileResult saved = c.Set.SaveKVBFile(c.Path, false);
    EXPECT_FALSE(saved);
    EXPECT_EQ(saved.Reason, c.Reason);
  }
  EXPECT_EQ(ReadTestFile(locked), "old");
}

}  // namespace
}  // namespace quendrel
