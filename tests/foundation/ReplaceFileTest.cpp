#include "foundation/files/ReplaceFile.h"

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace quendrel {
namespace {

namespace fs = std::filesystem;

TEST(ReplaceFileTest, ReplacesTheContentsAndKeepsTheModeAndTheUsersNeighbours) {
  TempFolder folder;
  const std::string path = folder.File("set.KVB");
  WriteTestFile(path, std::string(5000, 'o'));
  ::chmod(path.c_str(), 0604);
  // Names a careless save would have used for its temporary file.
  WriteTestFile(path + ".tmp", "mine");
  WriteTestFile(path + ".new-XXXXXX", "mine too");

  const ReplaceFileResult saved = ReplaceFile(path, [](const FileByteSink& sink) {
    return sink("new ") && sink("") && sink("contents");
  });
  ASSERT_TRUE(saved) << saved.Reason;
  EXPECT_TRUE(saved.Reason.empty());
  EXPECT_EQ(ReadTestFile(path), "new contents");
  EXPECT_EQ(fs::status(path).permissions(), static_cast<fs::perms>(0604));
  EXPECT_EQ(ReadTestFile(path + ".tmp"), "mine");
  EXPECT_EQ(ReadTestFile(path + ".new-XXXXXX"), "mine too");
  EXPECT_EQ(folder.Names().size(), 3U) << "no temporary file left behind";

  ASSERT_TRUE(ReplaceFile(folder.File("fresh.FC2"), std::string_view("\0\1", 2)));
  EXPECT_EQ(ReadTestFile(folder.File("fresh.FC2")), std::string("\0\1", 2));
}

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  return names;
}

struct RefusalCase {
  const char* what;
  std::string path;
  std::string reason;
};

TEST(ReplaceFileTest, ARefusedOrAbandonedSaveKeepsTheOldFileAndSaysWhy) {
  TempFolder folder;
  const std::string kept = folder.File("kept.INI");
  WriteTestFile(kept, "old");
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
  EXPECT_EQ(ReadTestFile(kept), "old");
  EXPECT_TRUE(fs::is_directory(folder.File("Quendrel.INI")));
  auto names = folder.Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Quendrel.INI", "kept.INI"})) << "no temporary file left";
}

// Each link, absolute or relative, stays a link and names what it named; only the file at the end of the
// chain, in its own folder, holds the new bytes, and neither folder keeps a temporary file.
TEST(ReplaceFileTest, ASaveThroughLinksReplacesTheFileTheyNameAndKeepsThemLinks) {
  TempFolder folder;
  fs::create_directories(folder.File("real/deep"));
  fs::create_directory(folder.File("links"));
  const std::string target = folder.File("real/deep/set.KVB");
  WriteTestFile(target, "old");
  struct Link {
    std::string path;
    std::string names;
  };
  const Link chain[] = {
      {folder.File("links/relative.KVB"), "../real/deep/set.KVB"},
      {folder.File("links/absolute.KVB"), target},
      {folder.File("links/second.KVB"), "relative.KVB"},
      {folder.File("third.KVB"), folder.File("links/second.KVB")},
      {folder.File("links/dangling.KVB"), "../real/new.KVB"},
  };
  for (const Link& link : chain) fs::create_symlink(link.names, link.path);

  const struct {
    const char* what;
    std::string saved;
    std::string holder;
  } cases[] = {
      {"one relative link", chain[0].path, target},
      {"one absolute link", chain[1].path, target},
      {"a chain of three links", chain[3].path, target},
      {"a link to a file yet to be made", chain[4].path, folder.File("real/new.KVB")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string bytes = std::string("saved through ") + c.what;
    const ReplaceFileResult saved = ReplaceFile(c.saved, bytes);
    ASSERT_TRUE(saved) << saved.Reason;
    EXPECT_EQ(ReadTestFile(c.holder), bytes);
    for (const Link& link : chain) {
      ASSERT_TRUE(fs::is_symlink(link.path)) << link.path;
      EXPECT_EQ(fs::read_symlink(link.path).string(), link.names);
    }
  }
  EXPECT_EQ(NamesIn(folder.File("real/deep")), std::vector<std::string>{"set.KVB"});
  EXPECT_EQ(NamesIn(folder.File("links")).size(), 4U);
}

TEST(ReplaceFileTest, ALinkToWhatMayNotBeReplacedIsRefusedWithTheReason) {
  TempFolder folder;
  const std::string locked = folder.File("locked.KVB");
  WriteTestFile(locked, "old");
  ::chmod(locked.c_str(), 0444);
  const std::string pipe = folder.File("pipe.KVB");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  fs::create_symlink(locked, folder.File("to-locked.KVB"));
  fs::create_symlink(pipe, folder.File("to-pipe.KVB"));
  fs::create_symlink("round-b.KVB", folder.File("round-a.KVB"));
  fs::create_symlink("round-a.KVB", folder.File("round-b.KVB"));

  const RefusalCase cases[] = {
      {"a read-only file", folder.File("to-locked.KVB"), locked + " is read-only"},
      {"a pipe", folder.File("to-pipe.KVB"), pipe + " is not a regular file"},
      {"a circle of links", folder.File("round-a.KVB"), "its links lead round in a circle"},
  };
  for (const auto& c : cases) {
    const ReplaceFileResult saved = ReplaceFile(c.path, "new");
    EXPECT_FALSE(saved) << c.what;
    EXPECT_EQ(saved.Reason, c.reason) << c.what;
  }
  EXPECT_EQ(ReadTestFile(locked), "old");
  EXPECT_TRUE(fs::is_symlink(folder.File("to-locked.KVB")));
  EXPECT_EQ(folder.Names().size(), 6U) << "no temporary file left";
}

// The temporary name is cut to fit beside a target whose name takes the whole limit, and a cut never
// splits a character.
TEST(ReplaceFileTest, NamesUpToTheFileSystemsLimitAreSaved) {
  TempFolder folder;
  // "x" and 127 two-byte characters: the cut for the temporary name falls inside one of them.
  std::string umlauts = "x";
  while (umlauts.size() < 255) umlauts += "\xC3\xA4";
  const std::string names[] = {std::string(245, 'a'), std::string(250, 'b'), std::string(255, 'c'), umlauts};
  for (const std::string& name : names) {
    SCOPED_TRACE(name.size());
    const std::string path = folder.File(name);
    WriteTestFile(path, "old");
    const ReplaceFileResult saved = ReplaceFile(path, "new " + name);
    ASSERT_TRUE(saved) << saved.Reason;
    EXPECT_EQ(ReadTestFile(path), "new " + name);
  }
  EXPECT_EQ(folder.Names().size(), 4U) << "no temporary file left";

  const ReplaceFileResult tooLong = ReplaceFile(folder.File(std::string(256, 'd')), "new");
  EXPECT_FALSE(tooLong);
  EXPECT_EQ(tooLong.Reason, "the name is too long");
  EXPECT_EQ(folder.Names().size(), 4U);
}

}  // namespace
}  // namespace quendrel
