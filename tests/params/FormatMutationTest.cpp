// Thousands of damaged parameter and compatibility file images: the readers refuse each one cleanly (the
// right message, an empty result) or read a file that writes back unchanged; they never crash or read
// outside the image, which the sanitizer build checks.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "params/compatibility/FC2Codec.h"
#include "params/compatibility/FS2Compiler.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/files/KVBCodec.h"
#include "params/files/KVBFile.h"
#include "params/support/ParamImages.h"
#include "platform/ScriptedUi.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

constexpr int kImagesPerKind = 2000;
constexpr unsigned kSeed = 20240611;

// Takes every message box a load shows and remembers its title; any other question is a fault.
class MessageLog : public ScriptedUi {
 public:
  std::vector<std::string> Titles;

  int MsgBox(const std::string&, int, const std::string& title) override {
    Titles.push_back(title);
    return vbOK;
  }
};

class Mutator {
 public:
  explicit Mutator(unsigned seed) : random_(seed) {}

  std::size_t Below(std::size_t bound) { return bound == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_); }
  char Byte() { return static_cast<char>(Below(256)); }

  // One to four edits of the kinds a damaged disk or a bad transfer makes, with lengths and counts
  // favoured: small values and all-ones are where a reader's bounds are tested.
  std::string Mutate(std::string bytes) {
    const std::size_t edits = 1 + Below(4);
    for (std::size_t i = 0; i < edits; ++i) Edit(bytes);
    return bytes;
  }

 private:
  void Edit(std::string& bytes) {
    const std::size_t at = Below(bytes.size() + 1);
    switch (Below(7)) {
      case 0:
        if (at < bytes.size()) bytes[at] = static_cast<char>(bytes[at] ^ (1 << Below(8)));
        break;
      case 1:
        if (at < bytes.size()) bytes[at] = Byte();
        break;
      case 2:
        if (at < bytes.size()) bytes[at] = static_cast<char>(Below(2) == 0 ? 0xFF : Below(4));
        break;
      case 3:
        bytes.resize(at);
        break;
      case 4:
        bytes.insert(at, 1 + Below(8), Byte());
        break;
      case 5:
        bytes.erase(at, 1 + Below(8));
        break;
      default:
        if (at < bytes.size()) bytes.insert(at, bytes.substr(at, 1 + Below(24)));
        break;
    }
  }

  std::mt19937 random_;
};

KVBFile SmallSet() {
  const KVBFile full = FullSet();
  KVBFile set;
  set.SetDescription(full.Description());
  for (std::int32_t n = 0; n < 24; ++n) {
    const std::int32_t slot = n * 87;
    set.SetIdentifier(slot, full.Identifier(slot));
    set.SetName(slot, full.Name(slot));
    set.SetValue(slot, full.Value(slot));
    set.SetValueName(slot, full.ValueName(slot));
    set.SetPAD(slot, full.PAD(slot));
    for (std::int32_t i = 0; i < full.NumDVDs(slot); ++i) set.AddDVD(slot, full.DVDNumber(slot, i), full.DVD(slot, i));
  }
  return set;
}

class KvbMutationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string path = folder_.File("base.KVB");
    ASSERT_TRUE(SmallSet().SaveKVBFile(path, false));
    image_ = ReadTestFile(path);
    body_ = OpenKvb(image_);
  }

  // Whatever happens, the reader refuses with one of its two messages and an empty set, or it reads a
  // set that a save and a load reproduce exactly.
  void Check(const std::string& image, int iteration) {
    SCOPED_TRACE("image " + std::to_string(iteration) + " of seed " + std::to_string(kSeed));
    MessageLog log;
    KVBFile set;
    if (!set.LoadKVBString(image, "mutated")) {
      ASSERT_EQ(log.Titles.size(), 1U);
      ASSERT_TRUE(log.Titles[0] == "Error Loading File" || log.Titles[0] == "File open error") << log.Titles[0];
      for (std::int32_t n = 0; n < KVBFile::kSlotCount; ++n) ASSERT_EQ(set.Identifier(n), "");
      ++refused_;
      return;
    }
    ASSERT_TRUE(log.Titles.empty());
    const auto written = KVBCodec::Encode(set, false);
    ASSERT_TRUE(written.has_value());
    KVBFile again;
    ASSERT_TRUE(again.LoadKVBString(*written));
    ExpectSameSets(set, again);
    ++read_;
  }

  TempFolder folder_;
  std::string image_;
  std::string body_;
  int refused_ = 0;
  int read_ = 0;
};

// Damage anywhere; damage with a check sum that matches again; and damage to the body alone inside a
// well-formed envelope, where only the body's own structure can tell.
TEST_F(KvbMutationTest, DamagedImagesAreRefusedOrReadConsistently) {
  Mutator mutator(kSeed);
  for (int i = 0; i < kImagesPerKind; ++i) Check(mutator.Mutate(image_), i);
  EXPECT_GT(refused_, kImagesPerKind / 2);
  for (int i = 0; i < kImagesPerKind; ++i) {
    const std::string mutated = mutator.Mutate(image_);
    if (mutated.size() >= 10) Check(Restamp(mutated), i);
  }
  read_ = refused_ = 0;
  for (int i = 0; i < kImagesPerKind; ++i) Check(SealKvb(mutator.Mutate(body_)), i);
  EXPECT_GT(read_, 0) << "some damage (a changed letter in a name) leaves a readable file";
  EXPECT_GT(refused_, 0);
}

class Fc2MutationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FirmwareCompatibilityFile file;
    ASSERT_TRUE(file.Load(QUENDREL_DRIVESIM_FC2)) << file.LoadError();
    // A second, smaller template so a damaged image can also lose or shift a whole block.
    FS2Compiler compiler;
    ASSERT_TRUE(compiler.Compile("Template 1.5\nParameter 01.01 | a | 0000000000010000 | x;y\nHole 01.02\nEnd\n"));
    ASSERT_TRUE(file.AddTemplate(compiler.Result().FitData(1.5)));
    image_ = FC2Codec::Encode(file).value();
  }

  void Check(const std::string& image, int iteration) {
    SCOPED_TRACE("image " + std::to_string(iteration) + " of seed " + std::to_string(kSeed));
    FirmwareCompatibilityFile file;
    if (!file.LoadImage(image)) {
      ASSERT_TRUE(file.LoadError() == "Firmware compatibility file is corrupted." ||
                  file.LoadError() == "Not a firmware compatibility file.")
          << file.LoadError();
      ASSERT_EQ(file, FirmwareCompatibilityFile{});
      ++refused_;
      return;
    }
    const auto written = FC2Codec::Encode(file);
    ASSERT_TRUE(written.has_value());
    FirmwareCompatibilityFile again;
    ASSERT_TRUE(again.LoadImage(*written));
    ASSERT_EQ(again, file);
    ++read_;
  }

  std::string image_;
  int refused_ = 0;
  int read_ = 0;
};

// The same three kinds of damage, the last to one template's version text or block.
TEST_F(Fc2MutationTest, DamagedImagesAreRefusedOrReadConsistently) {
  Mutator mutator(kSeed + 1);
  for (int i = 0; i < kImagesPerKind; ++i) Check(mutator.Mutate(image_), i);
  EXPECT_GT(refused_, kImagesPerKind / 2);
  for (int i = 0; i < kImagesPerKind; ++i) {
    const std::string mutated = mutator.Mutate(image_);
    if (mutated.size() >= 6) Check(Restamp(mutated), i);
  }
  read_ = refused_ = 0;
  const Fc2Parts parts = OpenFc2(image_);
  for (int i = 0; i < kImagesPerKind; ++i) {
    Fc2Parts damaged = parts;
    auto& [version, block] = damaged.Templates[mutator.Below(damaged.Templates.size())];
    if (mutator.Below(8) == 0) {
      version = mutator.Mutate(version);
    } else {
      block = mutator.Mutate(block);
    }
    Check(SealFc2(damaged), i);
  }
  EXPECT_GT(read_, 0);
  EXPECT_GT(refused_, 0);
}

}  // namespace
}  // namespace quendrel
