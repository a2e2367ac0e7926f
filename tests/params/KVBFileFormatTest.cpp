// Binary parameter files: what a save writes is what a load reads, and every damaged file is refused
// with the right message, never read past its end.
#include "params/files/KVBFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "params/support/ParamImages.h"
#include "platform/ScriptedUi.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

constexpr const char* kCorrupted = "KVB file is corrupted, cannot open.";

std::string SaveToImage(const KVBFile& set, bool onlyWorkFlagged) {
  TempFolder folder;
  const std::string path = folder.File("set.KVB");
  EXPECT_TRUE(set.SaveKVBFile(path, onlyWorkFlagged));
  return ReadTestFile(path);
}

// Loads the image into a set that held a slot, and expects the corrupted-file message and an empty set.
void ExpectCorrupted(std::string_view image) {
  ScriptedUi ui;
  ui.AnswerMsgBox(vbOK);
  KVBFile set;
  set.SetIdentifier(1, "M00P01");
  ASSERT_FALSE(set.LoadKVBString(image));
  ASSERT_EQ(ui.Questions().size(), 1U);
  EXPECT_EQ(ui.Questions()[0].Prompt, kCorrupted);
  EXPECT_EQ(ui.Questions()[0].Title, "Error Loading File");
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) ASSERT_EQ(set.Identifier(n), "") << n;
}

// The body of a one-record file, for building damaged ones field by field.
std::string OneRecordBody(std::uint32_t number, std::uint32_t names) {
  std::string body = Be16(4) + "desc" + Be16(1) + Be16(number) + Text8("M01P02") + Text8("Min Frequency") +
                     Text8("0.00") + Text8("") + Text8("0000000000010010") + Be16(names);
  for (std::uint32_t i = 0; i < names; ++i) body += Be16(i * 2) + Text8("v");
  return body;
}

TEST(KVBFileFormatTest, AFullSetSurvivesSaveAndLoad) {
  const KVBFile original = FullSet();
  TempFolder folder;
  const std::string path = folder.File("full.KVB");
  ASSERT_TRUE(original.SaveKVBFile(path, false));

  KVBFile loaded;
  loaded.SetIdentifier(3, "stale");
  ASSERT_TRUE(loaded.LoadKVBFile(path));
  ExpectSameSets(original, loaded);
  EXPECT_EQ(loaded.PAD(6), "") << "an empty PAD stays empty";
  EXPECT_EQ(loaded.DVDNumber(3, 0), -1);
  EXPECT_EQ(loaded.DVDNumber(3, 2), 11) << "value-name numbers keep their gaps";
  EXPECT_FALSE(loaded.WorkFlag(0)) << "work flags are not part of the file";
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"full.KVB"}) << "no temporary file is left behind";
}

TEST(KVBFileFormatTest, AWorkFlaggedSaveHoldsOnlyTheFlaggedSlots) {
  const KVBFile original = FullSet();
  KVBFile loaded;
  ASSERT_TRUE(loaded.LoadKVBString(SaveToImage(original, true)));
  for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) {
    if (original.WorkFlag(n)) {
      ASSERT_EQ(loaded.Identifier(n), original.Identifier(n)) << n;
      ASSERT_EQ(loaded.Value(n), original.Value(n)) << n;
    } else {
      ASSERT_EQ(loaded.Identifier(n), "") << n;
      ASSERT_EQ(loaded.Name(n), "") << n;
    }
  }
  EXPECT_EQ(loaded.Description(), original.Description());
}

TEST(KVBFileFormatTest, TheImageFollowsTheDocumentedLayout) {
  KVBFile set;
  set.SetDescription("desc");
  set.SetIdentifier(102, "M01P02");
  set.SetName(102, "Min Frequency");
  set.SetValue(102, "0.00");
  set.SetPAD(102, "0000000000010010");
  set.AddDVD(102, 0, "v");
  set.AddDVD(102, 2, "v");
  set.SetName(10, "no identifier, so absent and not saved");
  EXPECT_EQ(SaveToImage(set, false), SealKvb(OneRecordBody(102, 2)));
}

TEST(KVBFileFormatTest, AFileWithoutTheMagicIsNotAKvbFile) {
  TempFolder folder;
  for (const std::string& bytes : {std::string(), std::string("KVB"), std::string("KVB2 whatever"),
                                   std::string("kvb1") + SealKvb(OneRecordBody(1, 0)).substr(4)}) {
    const std::string path = folder.File("wrong.KVB");
    WriteTestFile(path, bytes);
    ScriptedUi ui;
    ui.AnswerMsgBox(vbOK);
    KVBFile set;
    set.SetIdentifier(1, "M00P01");
    EXPECT_FALSE(set.LoadKVBFile(path));
    ASSERT_EQ(ui.Questions().size(), 1U);
    EXPECT_EQ(ui.Questions()[0].Prompt, path + " is not a valid KVB file.");
    EXPECT_EQ(ui.Questions()[0].Title, "File open error");
    EXPECT_EQ(set.Identifier(1), "") << "the set was reset before reading";
  }
}

TEST(KVBFileFormatTest, AFileThatCannotBeOpenedIsReported) {
  ScriptedUi ui;
  ui.AnswerMsgBox(vbOK);
  KVBFile set;
  EXPECT_FALSE(set.LoadKVBFile("/nonexistent/folder/set.KVB"));
  ASSERT_EQ(ui.Titles(), std::vector<std::string>{"File open error"});
}

struct CorruptCase {
  const char* what;
  std::string image;
};

std::vector<CorruptCase> CorruptImages() {
  const std::string good = SealKvb(OneRecordBody(102, 2));
  std::string badCrc = good;
  badCrc.back() = static_cast<char>(badCrc.back() ^ 0x01);
  std::string flipped = good;
  flipped[12] = static_cast<char>(flipped[12] ^ 0x40);
  const std::string body = OneRecordBody(102, 2);
  std::string extraByte = SealKvb(body);
  extraByte.insert(extraByte.size() - 2, "x");
  const std::string twoRecords = Be16(0) + Be16(2) + OneRecordBody(102, 0).substr(8) + OneRecordBody(102, 0).substr(8);
  const std::string descending = Be16(0) + Be16(2) + OneRecordBody(102, 0).substr(8) + OneRecordBody(101, 0).substr(8);
  std::string sameNumbers = Be16(0) + Be16(1) + OneRecordBody(5, 0).substr(8);
  sameNumbers.resize(sameNumbers.size() - 2);
  sameNumbers += Be16(2) + Be16(7) + Text8("a") + Be16(7) + Text8("b");
  return {
      {"only the magic", "KVB1"},
      {"no check sum", "KVB1" + Be32(0)},
      {"bad check sum", badCrc},
      {"a flipped body bit", flipped},
      {"body length beyond the file", Restamp(good.substr(0, 4) + Be32(0x7FFFFFFF) + good.substr(8))},
      {"body length short of the file", Restamp(good.substr(0, 4) + Be32(static_cast<std::uint32_t>(body.size() - 1)) +
                                                good.substr(8))},
      {"bytes after the body", Restamp(extraByte)},
      {"bytes after the last record", SealKvb(body + "x")},
      {"record count beyond the records", SealKvb(Be16(0) + Be16(5) + body.substr(8))},
      {"record count short of the records", SealKvb(Be16(0) + Be16(0) + body.substr(8))},
      {"value-name count beyond the list", SealKvb(body.substr(0, body.size() - 10) + Be16(900) +
                                                   body.substr(body.size() - 8))},
      {"description length beyond the body", SealKvb(Be16(60000) + body.substr(2))},
      {"name length beyond the body", SealKvb(body.substr(0, 17) + "\xFF" + body.substr(18))},
      {"record number 2100", SealKvb(OneRecordBody(2100, 0))},
      {"record number 65535", SealKvb(OneRecordBody(65535, 0))},
      {"a duplicate record", SealKvb(twoRecords)},
      {"records out of order", SealKvb(descending)},
      {"two value names with one number", SealKvb(sameNumbers)},
      {"a record without an identifier", SealKvb(body.substr(0, 10) + Text8("") + body.substr(17))},
  };
}

TEST(KVBFileFormatTest, DamagedFilesAreCorruptedAndLeaveTheSetEmpty) {
  for (const auto& c : CorruptImages()) {
    SCOPED_TRACE(c.what);
    ExpectCorrupted(c.image);
  }
}

TEST(KVBFileFormatTest, TheDamageCasesAreOtherwiseWellFormed) {
  // A case that failed for a reason other than its own would prove nothing: the good image loads.
  KVBFile set;
  ASSERT_TRUE(set.LoadKVBString(SealKvb(OneRecordBody(102, 2))));
  EXPECT_EQ(set.Name(102), "Min Frequency");
  EXPECT_EQ(set.DVDNumber(102, 1), 2);
}

// The body is also cut inside a re-sealed envelope, so the check sum passes and only the body's own
// structure can tell.
TEST(KVBFileFormatTest, AFileOrABodyCutShortAtAnyLengthIsCorrupted) {
  const std::string image = SaveToImage(FullSet(), true);
  for (std::size_t length = 4; length < image.size(); length += (length < 64 ? 1 : 97)) {
    SCOPED_TRACE(length);
    ExpectCorrupted(std::string_view(image).substr(0, length));
  }
  const std::string body = OpenKvb(image);
  for (std::size_t length = 0; length < body.size(); length += (length < 100 ? 1 : 97)) {
    SCOPED_TRACE(length);
    ExpectCorrupted(SealKvb(body.substr(0, length)));
  }
}

// Failed saves are silent: any message box fails the test.
TEST(KVBFileFormatTest, AFailedSaveLeavesTheOldFileIntact) {
  ScriptedUi ui;
  TempFolder folder;
  const std::string path = folder.File("keep.KVB");
  WriteTestFile(path, std::string(100000, 'x'));
  KVBFile old;
  old.SetIdentifier(1, "M00P01");
  old.SetValue(1, "12.5");
  ASSERT_TRUE(old.SaveKVBFile(path, false)) << "a save replaces a longer file";
  const std::string before = ReadTestFile(path);
  ASSERT_EQ(before, SaveToImage(old, false));

  KVBFile tooLong = FullSet();
  tooLong.SetName(1500, std::string(256, 'n'));
  EXPECT_FALSE(tooLong.SaveKVBFile(path, false)) << "a field the format cannot hold";
  KVBFile badNumber;
  badNumber.SetIdentifier(2, "M00P02");
  badNumber.AddDVD(2, 40000, "beyond 16 bits");
  EXPECT_FALSE(badNumber.SaveKVBFile(path, false));
  EXPECT_EQ(ReadTestFile(path), before);

  EXPECT_FALSE(old.SaveKVBFile("", false));
  EXPECT_FALSE(old.SaveKVBFile("/nonexistent/folder/set.KVB", false));
  EXPECT_FALSE(old.SaveKVBFile(folder.File(""), false)) << "a folder is no file";
  EXPECT_EQ(ReadTestFile(path), before);

  // A file of the user's whose name a temporary file might have taken.
  WriteTestFile(path + ".tmp", "mine");
  ASSERT_TRUE(FullSet().SaveKVBFile(path, false));
  EXPECT_EQ(ReadTestFile(path + ".tmp"), "mine");
}

}  // namespace
}  // namespace quendrel
