#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "foundation/files/OpenTextSource.h"
#include "resources/BuiltInText.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

class OpenTextSourceTest : public ::testing::Test {
 protected:
  std::string WriteFile(const std::string& name, const std::string& text) const { return folder_.Write(name, text); }
  std::string MissingFile() const { return folder_.File("missing.txt"); }

  // Some number the program has built in, or -1 while no text is built in yet.
  static int AnyBuiltInNumber() {
    const auto numbers = BuiltInTextNumbers();
    return numbers.empty() ? -1 : numbers.front();
  }

 private:
  TempFolder folder_;
};

constexpr int kNoSuchResource = 987654;

TEST_F(OpenTextSourceTest, FileOnlyReadsTheFileAndNeverTheBuiltInText) {
  const auto path = WriteFile("user.txt", "from the file\r\n");
  auto stream = OpenTextSource(kNoSuchResource, path, orfFileOnly);
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->ReadLine(), "from the file");
  EXPECT_TRUE(stream->AtEndOfStream());

  const int builtIn = AnyBuiltInNumber();
  EXPECT_EQ(OpenTextSource(builtIn, MissingFile(), orfFileOnly), nullptr);
  EXPECT_EQ(OpenTextSource(builtIn, "", orfFileOnly), nullptr);
}

TEST_F(OpenTextSourceTest, ResourceOnlyIgnoresAnyFile) {
  const auto path = WriteFile("user.txt", "from the file");
  EXPECT_EQ(OpenTextSource(kNoSuchResource, path, orfResourceForkOnly), nullptr);

  const int builtIn = AnyBuiltInNumber();
  if (builtIn < 0) GTEST_SKIP() << "no built-in text in this build";
  auto stream = OpenTextSource(builtIn, path, orfResourceForkOnly);
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->ReadAll(), *BuiltInText(builtIn));
}

TEST_F(OpenTextSourceTest, FileThenResourceFallsBackWhenTheFileIsMissing) {
  const auto path = WriteFile("user.txt", "user's copy");
  EXPECT_EQ(OpenTextSource(kNoSuchResource, path, orfFileThenResource)->ReadAll(), "user's copy");
  EXPECT_EQ(OpenTextSource(kNoSuchResource, MissingFile(), orfFileThenResource), nullptr);

  const int builtIn = AnyBuiltInNumber();
  if (builtIn < 0) GTEST_SKIP() << "no built-in text in this build";
  EXPECT_EQ(OpenTextSource(builtIn, path, orfFileThenResource)->ReadAll(), "user's copy");
  auto fallback = OpenTextSource(builtIn, MissingFile(), orfFileThenResource);
  ASSERT_NE(fallback, nullptr);
  EXPECT_EQ(fallback->ReadAll(), *BuiltInText(builtIn));
}

// Every numbered file in the resources folder must come out of the program byte for byte, or a
// grammar or template would silently differ from what its author wrote.
TEST(BuiltInTextTest, EveryResourceFileIsBuiltInByteForByte) {
  const auto folder = std::filesystem::path(__FILE__).parent_path() / "../../src/resources";
  ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const auto name = entry.path().filename().string();
    const auto dash = name.find('-');
    if (dash == 0 || dash == std::string::npos || name.find_first_not_of("0123456789") != dash) {
      continue;
    }
    const std::string bytes = ReadTestFile(entry.path());
    const auto builtIn = BuiltInText(std::stoi(name.substr(0, dash)));
    ASSERT_TRUE(builtIn.has_value()) << name;
    EXPECT_EQ(*builtIn, bytes) << name;
    ++checked;
  }
  EXPECT_EQ(checked, static_cast<int>(BuiltInTextNumbers().size()));
  EXPECT_FALSE(BuiltInText(kNoSuchResource).has_value());
}

}  // namespace
}  // namespace quendrel
