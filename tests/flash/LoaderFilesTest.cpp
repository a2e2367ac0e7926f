// The loader's program images and initialisation data: how their texts load, what is refused
// before anything reaches the drive, and how data sections are cut into acknowledged blocks.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "comms/server/GIOServer.h"
#include "flash/loader/InitializeDataFile.h"
#include "flash/loader/InitializeHexFile.h"
#include "flash/support/LoaderModule.h"
#include "foundation/progress/ProgressServer.h"
#include "platform/FakeClock.h"
#include "support/CaseName.h"

namespace quendrel {
namespace {

// Count digits of four each: "0003" -> words "0001" "0002" "0003"...
std::string Words(int count, int first = 1) {
  std::string text;
  char word[8];
  for (int i = 0; i < count; ++i) {
    std::snprintf(word, sizeof word, "%04X", (first + i) & 0xFFFF);
    text += word;
  }
  return text;
}

const std::string kImage = "0000" "0003" "1000" "0000" "0001" "0002" "0003";

std::vector<std::string> AllWords(InitializeHexFile& image) {
  std::vector<std::string> words;
  for (std::string word = image.NextWord(); !word.empty(); word = image.NextWord()) words.push_back(word);
  return words;
}

TEST(InitializeHexFile, ReadsHeaderAndWordsLowByteFirst) {
  InitializeHexFile image;
  ASSERT_TRUE(image.LoadFromText(kImage));
  EXPECT_EQ(image.Length(), 3);
  EXPECT_EQ(image.Address(), 0x1000);
  EXPECT_EQ(image.LittleAddress(), 0x0010);
  EXPECT_EQ(image.LittleLength(), 0x0200);
  EXPECT_EQ(AllWords(image), (std::vector<std::string>{{"\x01\x00", 2}, {"\x02\x00", 2}, {"\x03\x00", 2}}));
  EXPECT_EQ(image.NextWord(), "") << "stays used up";
  image.Rewind();
  EXPECT_EQ(image.NextWord(), std::string("\x01\x00", 2));
}

TEST(InitializeHexFile, SignedHeaderWordsAndSwappedForms) {
  InitializeHexFile image;
  ASSERT_TRUE(image.LoadFromText("12AB" "0001" "8001" "FFFF" "1A2B"));
  EXPECT_EQ(image.Unused(), 0x12AB);
  EXPECT_EQ(image.LittleUnused(), static_cast<std::int16_t>(0xAB12));
  EXPECT_EQ(image.Address(), static_cast<std::int16_t>(0x8001));
  EXPECT_EQ(image.LittleAddress(), 0x0180);
  EXPECT_EQ(image.LittleLength(), 0);
  EXPECT_EQ(image.NextWord(), "\x2B\x1A");
}

struct TextCase {
  std::string name;
  std::string text;
};

class SameImage : public testing::TestWithParam<TextCase> {};

TEST_P(SameImage, LoadsAsTheOneLineText) {
  InitializeHexFile reference;
  InitializeHexFile image;
  ASSERT_TRUE(reference.LoadFromText(kImage));
  ASSERT_TRUE(image.LoadFromText(GetParam().text));
  EXPECT_EQ(image.Length(), reference.Length());
  EXPECT_EQ(image.Address(), reference.Address());
  EXPECT_EQ(AllWords(image), AllWords(reference));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SameImage,
    testing::Values(TextCase{"SeveralLines", "000000031000\r\n0000\n0001\r0002\r\n0003\r\n"},
                    TextCase{"Marker", kImage + "Download completed"},
                    TextCase{"MarkerOnItsOwnLine", kImage + "\r\nDownload completed\r\n"},
                    TextCase{"LowerCaseDigitsAndTextAfterTheWords", "0000000310000000000100020003zz\x01"},
                    TextCase{"UnusedWordsAreNotChecked", "G000000310000x0x000100020003"}),
    NameByField<&TextCase::name>());

class RefusedImage : public testing::TestWithParam<TextCase> {};

TEST_P(RefusedImage, FailsAndKeepsThePreviousImage) {
  InitializeHexFile image;
  ASSERT_TRUE(image.LoadFromText(kImage));
  EXPECT_FALSE(image.LoadFromText(GetParam().text));
  EXPECT_EQ(image.Length(), 3);
  EXPECT_EQ(AllWords(image).size(), 3U);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RefusedImage,
    testing::Values(TextCase{"Empty", ""}, TextCase{"ShortHeader", "000000031000000"},
                    TextCase{"HeaderOnlyMarker", "Download completed"},
                    TextCase{"LengthZero", "0000000010000000"},
                    TextCase{"LengthNegative", "0000FFFF100000000001"},
                    TextCase{"LengthNotHex", "00000G0310000000000100020003"},
                    TextCase{"AddressNotHex", "000000031O00000000100020003"},
                    TextCase{"DataWordNotHex", "00000003100000000001000Z0003"},
                    TextCase{"DataShort", "0000000310000000" "00010002"},
                    TextCase{"DataWordCutShort", "0000000310000000" "00010002000"}),
    NameByField<&TextCase::name>());

TEST(InitializeHexFile, MissingStreamOrFileFails) {
  InitializeHexFile image;
  EXPECT_FALSE(image.LoadFromStream(nullptr));
  EXPECT_FALSE(image.Load("/nonexistent/loader.hex"));
}

// Data files ------------------------------------------------------------------------------------

std::string Section(int length, int address, const std::string& data) {
  char header[16];
  std::snprintf(header, sizeof header, "%04X%04X0000", length & 0xFFFF, address & 0xFFFF);
  return header + data;
}

TEST(InitializeDataFile, ReadsSectionsWordsInTheOrderWritten) {
  InitializeDataFile file;
  ASSERT_TRUE(file.LoadFromText("0002" + Section(2, 0x100, "1A2B3C4D") + "\r\n" + Section(1, 0x200, "5e6f")));
  ASSERT_EQ(file.Sections().size(), 2U);
  EXPECT_EQ(file.Sections()[0].Address(), 0x100);
  EXPECT_EQ(file.Sections()[0].Data(), "\x1A\x2B\x3C\x4D");
  EXPECT_EQ(file.Sections()[1].Length(), 1);
  EXPECT_EQ(file.Sections()[1].Data(), "\x5E\x6F");
}

struct DataCase {
  std::string name;
  std::string text;
  std::vector<int> lengths;  // of the sections kept
};

class DataText : public testing::TestWithParam<DataCase> {};

TEST_P(DataText, KeepsTheSectionsBeforeTheEnd) {
  InitializeDataFile file;
  ASSERT_TRUE(file.LoadFromText(GetParam().text));
  std::vector<int> lengths;
  for (const auto& section : file.Sections()) lengths.push_back(section.Length());
  EXPECT_EQ(lengths, GetParam().lengths);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DataText,
    testing::Values(
        DataCase{"Marker", "0001" + Section(2, 0, Words(2)) + "Download completed", {2}},
        DataCase{"LinesAnywhere", "00\r\n01" + Section(2, 0, "00\n0100\r\n02"), {2}},
        DataCase{"LengthZeroEndsReading", "0003" + Section(1, 0, Words(1)) + "0000" + Section(2, 0, Words(2)), {1}},
        DataCase{"NegativeLengthEndsReading", "0002" + Section(1, 0, Words(1)) + "FFFFgarbage", {1}},
        DataCase{"TrailingTextUnderFourCharacters", "0001" + Section(2, 0, Words(2)) + "x!", {2}},
        DataCase{"CountNotChecked", "zzzz" + Section(1, 0, Words(1)), {1}},
        DataCase{"NoSections", "0000", {}}),
    NameByField<&DataCase::name>());

class RefusedData : public testing::TestWithParam<TextCase> {};

TEST_P(RefusedData, FailsAndKeepsThePreviousSections) {
  InitializeDataFile file;
  ASSERT_TRUE(file.LoadFromText("0001" + Section(3, 0x40, Words(3))));
  EXPECT_FALSE(file.LoadFromText(GetParam().text));
  ASSERT_EQ(file.Sections().size(), 1U);
  EXPECT_EQ(file.Sections()[0].Length(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RefusedData,
    testing::Values(TextCase{"LengthNotHex", "0001" "00G2" "00000000" + Words(2)},
                    TextCase{"AddressNotHex", "0001" "0002" "01X00000" + Words(2)},
                    TextCase{"DataWordNotHex", "0001" + Section(2, 0, "0001 002")},
                    TextCase{"EndsInsideTheData", "0001" + Section(3, 0, Words(2))},
                    TextCase{"EndsInsideTheAddress", "0001" "0002" "01"},
                    TextCase{"SecondSectionCorrupt", "0002" + Section(1, 0, Words(1)) + Section(2, 0, "00010-02")}),
    NameByField<&TextCase::name>());

// Sending ---------------------------------------------------------------------------------------

struct Block {
  int address;
  int count;
  std::vector<int> words;
  int closing;
};

// Cuts the bytes a data transfer wrote into blocks: address, count - 1, words, closing word.
std::vector<Block> Blocks(const std::string& written) {
  const std::vector<int> words = LittleEndianWords(written);
  std::vector<Block> blocks;
  for (std::size_t at = 0; at + 2 < words.size();) {
    Block block{words[at], words[at + 1] + 1, {}, -1};
    at += 2;
    block.words.assign(words.begin() + static_cast<long>(at), words.begin() + static_cast<long>(at) + block.count);
    at += static_cast<std::size_t>(block.count);
    block.closing = words[at++];
    blocks.push_back(block);
  }
  return blocks;
}

class DataSend : public testing::Test {
 protected:
  DataSend() {
    module_ = static_cast<LoaderModule*>(&server_.RegisterModule(std::make_unique<LoaderModule>()));
    server_.SelectModule("Loader");
  }

  bool Send(const std::string& text) {
    InitializeDataFile file;
    if (!file.LoadFromText(text)) return false;
    return file.Send(LoaderLine{server_, 30.0}, &progress_);
  }

  FakeClock clock_;
  GIOServer server_{clock_};
  LoaderModule* module_ = nullptr;
  ProgressServer progress_;
};

struct SplitCase {
  std::string name;
  std::vector<int> lengths;  // one section each, at 0x1000, 0x4000, ...
  std::vector<std::vector<int>> blocks;  // address, count, closing
};

class DataSplit : public DataSend, public testing::WithParamInterface<SplitCase> {};

TEST_P(DataSplit, BlocksOfAtMost200WordsOnlyTheVeryLastClosesWithZero) {
  std::string text = "0000";
  int first = 1;
  for (std::size_t i = 0; i < GetParam().lengths.size(); ++i) {
    const int length = GetParam().lengths[i];
    text += Section(length, 0x1000 + 0x3000 * static_cast<int>(i), Words(length, first));
    first += length;
  }
  ASSERT_TRUE(Send(text));
  const auto blocks = Blocks(module_->written);
  std::vector<std::vector<int>> shape;
  int expectedWord = 1;
  for (const Block& block : blocks) {
    shape.push_back({block.address, block.count, block.closing});
    for (const int word : block.words) EXPECT_EQ(word, expectedWord++ & 0xFFFF) << "words in order, none lost";
  }
  EXPECT_EQ(shape, GetParam().blocks);
  EXPECT_EQ(module_->echoTested, module_->written) << "every byte is echo-tested";
  EXPECT_EQ(module_->waits, std::vector<double>(blocks.size(), 30.0)) << "one acknowledgement a block";
  EXPECT_FALSE(progress_.Swapped());
}

INSTANTIATE_TEST_SUITE_P(
    Sections, DataSplit,
    testing::Values(SplitCase{"OneWord", {1}, {{0x1000, 1, 0}}},
                    SplitCase{"Words200", {200}, {{0x1000, 200, 0}}},
                    SplitCase{"Words201", {201}, {{0x1000, 200, 1}, {0x1000 + 200, 1, 0}}},
                    SplitCase{"Words450", {450}, {{0x1000, 200, 1}, {0x10C8, 200, 1}, {0x1190, 50, 0}}},
                    SplitCase{"TwoSections", {201, 3}, {{0x1000, 200, 1}, {0x10C8, 1, 1}, {0x4000, 3, 0}}}),
    NameByField<&SplitCase::name>());

TEST_F(DataSend, BlockAddressesWrapToSixteenBits) {
  ASSERT_TRUE(Send("0001" + Section(201, 0xFFF0, Words(201))));
  const auto blocks = Blocks(module_->written);
  ASSERT_EQ(blocks.size(), 2U);
  EXPECT_EQ(blocks[1].address, (0xFFF0 + 200) & 0xFFFF);
}

TEST_F(DataSend, NoAcknowledgementStopsBeforeTheClosingWord) {
  module_->acknowledge = false;
  EXPECT_FALSE(Send("0002" + Section(2, 0x10, Words(2)) + Section(1, 0x20, Words(1))));
  EXPECT_EQ(LittleEndianWords(module_->written), (std::vector<int>{0x10, 1, 1, 2}));
  EXPECT_FALSE(progress_.Swapped());
}

TEST_F(DataSend, FailedDataEchoStopsAtOnce) {
  module_->failEchoAt = 6;  // the first byte of the second data word
  EXPECT_FALSE(Send("0001" + Section(3, 0x10, Words(3))));
  EXPECT_EQ(module_->written.size(), 8U) << "the failed word goes whole, nothing after it";
  EXPECT_TRUE(module_->waits.empty());
}

TEST_F(DataSend, UnechoedHeaderAndClosingWordsDoNotFailTheBlock) {
  module_->failEchoAt = 0;
  EXPECT_TRUE(Send("0001" + Section(1, 0x10, Words(1))));
  EXPECT_EQ(LittleEndianWords(module_->written), (std::vector<int>{0x10, 0, 1, 0})) << "every word whole";
}

TEST_F(DataSend, NothingToSendFails) {
  EXPECT_FALSE(Send("0000"));
  EXPECT_TRUE(module_->written.empty());
}

}  // namespace
}  // namespace quendrel
