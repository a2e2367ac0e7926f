// Reading a file the user named: only regular files are read, never more than asked for or than the
// caller's format can hold, and nothing else is waited for or read without end.
#include "foundation/files/RegularFile.h"

#include <gtest/gtest.h>

#include "foundation/files/FileTextStream.h"
#include "foundation/support/RefusedFiles.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

TEST(RegularFileTest, WhatIsNoReadableFileIsRefusedAtOnceWithItsReason) {
  TempFolder folder;
  for (const auto& c : testing::UnopenablePaths(folder.Path().string())) {
    SCOPED_TRACE(c.What);
    const RegularFile file(c.Path);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Reason(), c.Reason);
    std::string reason;
    EXPECT_FALSE(ReadRegularFile(c.Path, 1000, reason).has_value());
    EXPECT_EQ(reason, c.Reason);
    EXPECT_EQ(FileTextStream::Open(c.Path), nullptr);
  }
  EXPECT_EQ(RegularFile("").Reason(), "no file name was given");
}

TEST(RegularFileTest, ReadsPieceByPieceAndWholeUpToTheLimit) {
  TempFolder folder;
  const std::string path = folder.File("ten.txt");
  WriteTestFile(path, "0123456789");

  RegularFile file(path);
  ASSERT_TRUE(file.IsOpen());
  EXPECT_EQ(file.Size(), 10U);
  EXPECT_EQ(file.Read(4), "0123");
  std::string bytes = "head:";
  EXPECT_TRUE(file.ReadInto(bytes, 3));
  EXPECT_EQ(bytes, "head:456");
  EXPECT_EQ(file.Read(100), "789") << "fewer at the end";
  EXPECT_EQ(file.Read(100), "");
  file.Close();
  EXPECT_FALSE(file.Read(1).has_value());

  std::string reason = "stale";
  EXPECT_EQ(ReadRegularFile(path, 10, reason), "0123456789");
  EXPECT_EQ(reason, "");
  EXPECT_FALSE(ReadRegularFile(path, 9, reason).has_value());
  EXPECT_EQ(reason, TooLargeReason(10, 9));
  EXPECT_EQ(reason, "it is too large for this kind of file (10 bytes, at most 9)");
}

// The peak is the process's own, so a reader that took in the big file or the device would raise it by
// hundreds of MB; a refusal costs next to nothing.
TEST(RegularFileTest, AHugeFileOrAnEndlessDeviceCostsNoMemory) {
  TempFolder folder;
  const std::string huge = testing::SparseFile(folder.File("huge.KVB"), testing::kSixHundredMegabytes, "HEAD");
  ASSERT_FALSE(huge.empty());
  const long before = testing::PeakMemoryKB();

  RegularFile file(huge);
  ASSERT_TRUE(file.IsOpen());
  EXPECT_EQ(file.Size(), testing::kSixHundredMegabytes);
  EXPECT_EQ(file.Read(4), "HEAD");
  std::string reason;
  EXPECT_FALSE(ReadRegularFile(huge, 16 << 20, reason).has_value());
  EXPECT_EQ(reason, TooLargeReason(testing::kSixHundredMegabytes, 16 << 20));
  EXPECT_FALSE(ReadRegularFile("/dev/zero", UINT64_MAX, reason).has_value());
  EXPECT_EQ(FileTextStream::Open("/dev/zero"), nullptr);

  EXPECT_LT(testing::PeakMemoryKB() - before, 32 * 1024) << "KB more at the peak";
}

}  // namespace
}  // namespace quendrel
