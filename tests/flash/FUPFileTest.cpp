// Firmware upgrade packages: what a well-formed package offers, that any broken one loads as an
// empty package, and that member names from the file never reach outside where they are put.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "flash/scripts/FUPFile.h"
#include "flash/support/PackageWriter.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

namespace fs = std::filesystem;

std::string AllByteValues() {
  std::string bytes;
  for (int value = 0; value < 256; ++value) bytes += static_cast<char>(value);
  return bytes;
}

PackageSpec Release() {
  PackageSpec spec;
  spec.versionText = "2.50 ";
  spec.flags = 0x80000003U;
  spec.rootName = "Main.FL2";
  spec.members = {{"main.fl2", "forcedriveflash();\n"},
                  {"boot.hex", AllByteValues()},
                  {"empty.txt", ""},
                  {"MAIN.FL2", "never found"}};
  return spec;
}

void ExpectEmpty(const FUPFile& package, const std::string& what) {
  EXPECT_EQ(package.RootFile(), "") << what;
  EXPECT_TRUE(package.MemberNames().empty()) << what;
  EXPECT_EQ(package.Flags(), 0U) << what;
  EXPECT_FALSE(package.FileExists("main.fl2")) << what;
}

TEST(FUPFile, AWellFormedPackage) {
  FUPFile package;
  ASSERT_TRUE(package.LoadImage(PackageImage(Release()) + "trailing bytes are not read"));
  EXPECT_FLOAT_EQ(package.Version(), 2.5F);
  EXPECT_TRUE(package.IgnoreVersions());
  EXPECT_EQ(package.RootFile(), "Main.FL2") << "kept as deciphered";
  EXPECT_EQ(package.MemberNames(), (std::vector<std::string>{"MAIN.FL2", "boot.hex", "empty.txt", "main.fl2"}));

  EXPECT_EQ(package.GetFile("C:\\Upgrades\\MAIN.FL2"), "forcedriveflash();\n");
  EXPECT_EQ(package.GetFile("/home/user/Boot.Hex"), AllByteValues());
  EXPECT_EQ(package.GetFile("empty.txt"), "");
  EXPECT_TRUE(package.FileExists("EMPTY.TXT"));
  auto stream = package.GetStream("sub/main.fl2");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->ReadLine(), "forcedriveflash();");
  EXPECT_EQ(package.GetFile("other.fl2"), std::nullopt);
  EXPECT_EQ(package.GetStream("other.fl2"), nullptr);

  package.SetIgnoreVersions(false);
  EXPECT_EQ(package.Flags(), 0x80000002U);
  package.SetIgnoreVersions(true);
  EXPECT_EQ(package.Flags(), 0x80000003U);
  package.SetRootFile("C:\\x\\Start.FL2");
  EXPECT_EQ(package.RootFile(), "start.fl2");
  package.Clear();
  ExpectEmpty(package, "cleared");
  EXPECT_FLOAT_EQ(package.Version(), 2.5F) << "Clear keeps the version";
}

TEST(FUPFile, APackageWithoutMembers) {
  PackageSpec spec;
  spec.versionText = "abc  ";
  spec.rootName = "start.fla";
  FUPFile package;
  ASSERT_TRUE(package.LoadImage(PackageImage(spec)));
  EXPECT_EQ(package.RootFile(), "start.fla");
  EXPECT_FLOAT_EQ(package.Version(), 0.0F) << "a version text that is no number";
  EXPECT_FALSE(package.FileExists("start.fla"));
  EXPECT_EQ(package.GetFile("start.fla"), std::nullopt);
  EXPECT_EQ(package.GetStream("start.fla"), nullptr);
}

// A mistyped path must never leave the previous package to run.
TEST(FUPFile, AFailedLoadLeavesAnEmptyPackage) {
  const TempFolder folder;
  const fs::path good = folder.Path() / "good.fup";
  ASSERT_TRUE(WritePackageFile(good, PackageImage(Release())));
  PackageSpec spec = Release();
  spec.versionText = "9.75 ";
  const std::vector<MalformedPackage> variants = MalformedPackages(spec);
  const fs::path broken = folder.Path() / "broken.fup";
  FUPFile package;
  for (const MalformedPackage& variant : variants) {
    ASSERT_TRUE(package.Load(good.string()));
    ASSERT_TRUE(WritePackageFile(broken, variant.image));
    EXPECT_FALSE(package.Load(broken.string())) << variant.what;
    ExpectEmpty(package, variant.what);
    EXPECT_FLOAT_EQ(package.Version(), 2.5F) << variant.what;
  }
  EXPECT_GT(variants.size(), 100U);
  for (const fs::path& missing : {folder.Path() / "missing.fup", folder.Path()}) {
    ASSERT_TRUE(package.Load(good.string()));
    EXPECT_FALSE(package.Load(missing.string())) << missing;
    ExpectEmpty(package, missing.string());
  }
}

TEST(FUPFile, HostileMemberNamesLoadAndWriteNothingOutside) {
  const TempFolder temp;
  const fs::path into = temp.Path() / "unpacked";
  fs::create_directory(into);
  PackageSpec spec;
  spec.rootName = "../../root.fl2";
  const std::vector<std::string> hostile = HostileMemberNames(temp.Path());
  for (const std::string& name : hostile) spec.members.push_back({name, "hostile"});
  spec.members.push_back({"plain.txt", "kept"});
  FUPFile package;
  ASSERT_TRUE(package.LoadImage(PackageImage(spec)));
  EXPECT_EQ(package.RootFile(), "../../root.fl2");
  EXPECT_EQ(package.MemberNames().size(), hostile.size() + 1) << "every name is kept";

  for (const std::string& name : hostile) {
    const bool hidden = name.empty() || name.find_first_of("/\\:") != std::string::npos ||
                        std::any_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    if (hidden) {
      EXPECT_FALSE(package.FileExists(name)) << name;
    }
  }
  for (const std::string lookup : {"", "c:escaped.txt", "C:escaped.txt", "x/", "a\\"}) {
    EXPECT_FALSE(package.FileExists(lookup)) << lookup;
  }

  EXPECT_EQ(UnpackMembers(package, into), 1);
  EXPECT_EQ(temp.Names(), std::vector<std::string>{"unpacked"});
  std::set<std::string> unpacked;
  for (const auto& entry : fs::recursive_directory_iterator(into)) unpacked.insert(entry.path().filename().string());
  EXPECT_EQ(unpacked, std::set<std::string>{"plain.txt"});
}

// Bytes flipped, fields overwritten with extreme lengths, the image cut or padded: every image
// loads or is refused without reading past it, and what loads fits in what was read.
TEST(FUPFile, MutatedImagesNeverReadPastTheirEnd) {
  PackageSpec spec = Release();
  spec.members.push_back({"data.kvb", std::string(300, 'x')});
  const std::string original = PackageImage(spec);
  std::mt19937 random(20261207U);
  const std::vector<std::string> extremes = {"\x7F\xFF", "\xFF\xFF", "\x80\x00", "\x7F\xFF\xFF\xFF",
                                             "\xFF\xFF\xFF\xFF", "\x80\x00\x00\x00", "\x00\x00"};
  int loaded = 0;
  int refused = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string image = original;
    const int edits = 1 + static_cast<int>(random() % 3);
    for (int edit = 0; edit < edits && !image.empty(); ++edit) {
      const std::size_t at = random() % image.size();
      switch (random() % 4) {
        case 0: image[at] = static_cast<char>(random()); break;
        case 1: image.replace(at, 0, extremes[random() % extremes.size()]); break;
        case 2: image.resize(at); break;
        default: {
          const std::string& extreme = extremes[random() % extremes.size()];
          image.replace(at, std::min(extreme.size(), image.size() - at), extreme);
        }
      }
    }
    FUPFile package;
    if (!package.LoadImage(image)) {
      ++refused;
      ExpectEmpty(package, "round " + std::to_string(round));
      continue;
    }
    ++loaded;
    std::size_t held = package.RootFile().size();
    for (const std::string& name : package.MemberNames()) {
      held += name.size();
      const std::optional<std::string> contents = package.GetFile(name);
      if (contents) held += contents->size();
    }
    EXPECT_LE(held, image.size()) << "round " << round;
  }
  EXPECT_GT(loaded, 100);
  EXPECT_GT(refused, 1000);
}

}  // namespace
}  // namespace quendrel
