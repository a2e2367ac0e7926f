// The in-memory and the file-backed text streams must read any text identically, so every case
// here runs against both.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "foundation/files/FileTextStream.h"
#include "foundation/files/TextStream.h"
#include "foundation/files/qovStringStream.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

using namespace std::string_literals;

struct StringSource {
  std::unique_ptr<TextStream> Over(const std::string& text) {
    return std::make_unique<qovStringStream>(text);
  }
};

struct FileSource {
  TempFolder folder;
  int files = 0;
  std::unique_ptr<TextStream> Over(const std::string& text) {
    const auto path = folder.Path() / ("text" + std::to_string(++files) + ".txt");
    std::ofstream(path, std::ios::binary) << text;
    auto stream = FileTextStream::Open(path.string());
    EXPECT_NE(stream, nullptr);
    return stream;
  }
};

template <class Source>
class TextStreamTest : public ::testing::Test {
 protected:
  std::unique_ptr<TextStream> Over(const std::string& text) { return source_.Over(text); }

  std::vector<std::string> AllLines(const std::string& text) {
    auto stream = Over(text);
    std::vector<std::string> lines;
    while (!stream->AtEndOfStream()) lines.push_back(stream->ReadLine());
    return lines;
  }

 private:
  Source source_;
};

using Sources = ::testing::Types<StringSource, FileSource>;
TYPED_TEST_SUITE(TextStreamTest, Sources);

using Lines = std::vector<std::string>;

TYPED_TEST(TextStreamTest, LinesEndAtCrLfLfOrLoneCr) {
  EXPECT_EQ(this->AllLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(this->AllLines("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(this->AllLines("a\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(this->AllLines("a\r\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(this->AllLines("a\n\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(this->AllLines("\r\n\r\n"), (Lines{"", ""}));
  EXPECT_EQ(this->AllLines("a\r"), (Lines{"a"}));
  EXPECT_EQ(this->AllLines(""), (Lines{}));
}

TYPED_TEST(TextStreamTest, BytesPassThroughUnchanged) {
  const std::string bytes = "\x00\xFF\x80\t\x1A end"s;
  auto stream = this->Over(bytes + "\r\nnext");
  EXPECT_EQ(stream->ReadLine(), bytes);
  EXPECT_EQ(stream->ReadAll(), "next");
}

TYPED_TEST(TextStreamTest, ReadTakesCountCharactersAndFewerAtTheEnd) {
  auto stream = this->Over("abc\r\ndef");
  EXPECT_EQ(stream->Read(2), "ab");
  EXPECT_EQ(stream->Read(0), "");
  EXPECT_EQ(stream->ReadLine(), "c");
  EXPECT_EQ(stream->Read(10), "def");
  EXPECT_TRUE(stream->AtEndOfStream());
  EXPECT_EQ(stream->Read(1), "");
}

TYPED_TEST(TextStreamTest, ReadAllTakesTheRestAndThenEnds) {
  auto stream = this->Over("first\nsecond\nthird\n");
  EXPECT_EQ(stream->ReadLine(), "first");
  EXPECT_EQ(stream->ReadAll(), "second\nthird\n");
  EXPECT_TRUE(stream->AtEndOfStream());
  EXPECT_EQ(stream->ReadLine(), "");
  EXPECT_EQ(stream->ReadAll(), "");
}

TYPED_TEST(TextStreamTest, ClosedStreamReadsAsEnded) {
  auto stream = this->Over("text\nmore");
  stream->Close();
  EXPECT_TRUE(stream->AtEndOfStream());
  EXPECT_EQ(stream->ReadLine(), "");
  EXPECT_EQ(stream->ReadAll(), "");
}

TEST(FileTextStreamTest, LargeFileReadsWhole) {
  TempFolder folder;
  const auto path = folder.Path() / "large.txt";
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + "\r\n";
  std::ofstream(path, std::ios::binary) << text;
  auto stream = FileTextStream::Open(path.string());
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->ReadAll(), text);
}

TEST(FileTextStreamTest, MissingFileOrFolderDoesNotOpen) {
  TempFolder folder;
  EXPECT_EQ(FileTextStream::Open((folder.Path() / "missing.txt").string()), nullptr);
  EXPECT_EQ(FileTextStream::Open(folder.Path().string()), nullptr);
  EXPECT_EQ(FileTextStream::Open(""), nullptr);
}

TEST(qovStringStreamTest, SetDataRestartsOnTheNewText) {
  qovStringStream stream("old\ntext");
  EXPECT_EQ(stream.ReadLine(), "old");
  stream.SetData("new");
  EXPECT_FALSE(stream.AtEndOfStream());
  EXPECT_EQ(stream.ReadAll(), "new");
  stream.Close();
  stream.SetData("again");
  EXPECT_EQ(stream.ReadLine(), "again");
}

}  // namespace
}  // namespace quendrel
