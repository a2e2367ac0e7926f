#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "foundation/files/PathText.h"

namespace quendrel {
namespace {

struct PathCase {
  std::string path;
  std::string folder;
  std::string fileName;
};

TEST(PathTextTest, SplitsAtTheLastSeparatorOfEitherKind) {
  const PathCase cases[] = {
      {R"(C:\drives\set.KVB)", R"(C:\drives)", "set.KVB"},
      {"/home/tech/set.KVB", "/home/tech", "set.KVB"},
      {R"(C:\mixed/dir\file.FL2)", R"(C:\mixed/dir)", "file.FL2"},
      {R"(a/b\c)", "a/b", "c"},
      {R"(folder\)", "folder", ""},
      {"/set.KVB", "/", "set.KVB"},
      {R"(\set.KVB)", R"(\)", "set.KVB"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetPathFolder(c.path), c.folder) << c.path;
    EXPECT_EQ(GetPathFileName(c.path), c.fileName) << c.path;
  }
}

TEST(PathTextTest, BareFileNameLivesInTheCurrentDirectory) {
  EXPECT_EQ(GetPathFileName("Quendrel.INI"), "Quendrel.INI");
  EXPECT_EQ(GetPathFolder("Quendrel.INI"), std::filesystem::current_path().string());
  EXPECT_EQ(GetPathFileName(""), "");
}

}  // namespace
}  // namespace quendrel
