#include "foundation/ReplaceFile.h"

#include "foundation/support/FileText.h"
#include "foundation/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace quendrel {
namespace {

namespace fs = std::filesystem;

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

TEST(ReplaceFileTest, ReplacesTheContentsAndKeepsTheModeAndTheUsersNeighbours) {
  TempFolder folder;
  const std::string path = folder.File("set.KVB");
  WriteFile(path, std::string(5000, 'o'));
  ::chmod(path.c_str(), 0604);
  // Names a careless save would have used for its temporary file.
  WriteFile(path + ".tmp", "mine");
  WriteFile(path + ".new-XXXXXX", "mine too");

  const ReplaceFileResult saved = ReplaceFile(path, [](const FileByteSink& sink) {
    return sink("new ") && sink("") && sink("contents");
  });
  ASSERT_TRUE(saved) << saved.Reason;
  EXPECT_TRUE(saved.Reason.empty());
  EXPECT_EQ(ReadFile(path), "new contents");
  EXPECT_EQ(fs::status(path).permissions(), static_cast<fs::perms>(0604));
  EXPECT_EQ(ReadFile(path + ".tmp"), "mine");
  EXPECT_EQ(ReadFile(path + ".new-XXXXXX"), "mine too");
  EXPECT_EQ(folder.Names().size(), 3U) << "no temporary file left behind";

  ASSERT_TRUE(ReplaceFile(folder.File("fresh.FC2"), std::string_view("\0\1", 2)));
  EXPECT_EQ(ReadFile(folder.File("fresh.FC2")), std::string("\0\1", 2));
}

struct RefusalCase {
  const char* what;
  std::string path;
  std::string reason;
};

TEST(ReplaceFileTest, ARefusedOrAbandonedSaveKeepsTheOldFileAndSaysWhy) {
  TempFolder folder;
  const std::string kept = folder.File("kept.INI");
  WriteFile(kept, "old");
  fs::create_directory(folder.File("Quendrel.INI"));
  const RefusalCase cases[] = {
      {"missing folder", folder.File("missing/Quendrel.INI"),
       "the folder " + folder.File("missing") + " does not exist"},
      {"a folder in the target's place", folder.File("Quendrel.INI"), folder.File("Quendrel.INI") + " is a folder"},
      {"a file in the folder's place", kept + "/Quendrel.INI", kept + " is not a folder"},
      {"no name", "", "no file name was given"},
  };
  for (const auto& c : cases) {
    const ReplaceFileResult saved = ReplaceFile(c.path, "new");
    EXPECT_FALSE(saved) << c.what;
    EXPECT_EQ(saved.Reason, c.reason) << c.what;
  }

  const ReplaceFileResult abandoned = ReplaceFile(kept, [](const FileByteSink& sink) {
    return sink("half") && false;
  });
  EXPECT_FALSE(abandoned);
  EXPECT_FALSE(abandoned.Reason.empty());
  EXPECT_EQ(ReadFile(kept), "old");
  EXPECT_TRUE(fs::is_directory(folder.File("Quendrel.INI")));
  auto names = folder.Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Quendrel.INI", "kept.INI"})) << "no temporary file left";
}

}  // namespace
}  // namespace quendrel
