// Reading a compatibility file takes memory in proportion to what the file holds, whatever template count
// a damaged header claims. This program counts every allocation it makes and keeps the peak.
#include <gtest/gtest.h>

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "params/compatibility/FC2Codec.h"
#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "params/support/ParamImages.h"

namespace {
std::atomic<std::size_t> gLive{0};
std::atomic<std::size_t> gPeak{0};
}  // namespace

// Kept out of line: inlined into a caller, GCC's optimiser pairs the malloc with the caller's
// delete and reports a mismatch that is not there.
[[gnu::noinline]] void* operator new(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  const std::size_t live = gLive += malloc_usable_size(block);
  for (std::size_t peak = gPeak.load(); live > peak && !gPeak.compare_exchange_weak(peak, live);) {
  }
  return block;
}
[[gnu::noinline]] void operator delete(void* block) noexcept {
  if (block != nullptr) gLive -= malloc_usable_size(block);
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace quendrel {
namespace {

// 400 templates of one entry each under the versions 1, 2, ...; the header claims `claimed`.
std::string OneEntryTemplates(std::uint32_t claimed) {
  Fc2Parts parts{Be16(1129) + Be16(1130) + Be16(claimed), {}};
  const std::string entry = Be16(101) + '\0' + Text8("n") + Be16(16) + Be16(0) + Be16(0);
  const std::string block = Be16(1128) + Be16(1130) + Be16(1139) + Be16(0) + Be16(1) + entry;
  for (int i = 1; i <= 400; ++i) parts.Templates.emplace_back(std::to_string(i), block);
  return SealFc2(parts);
}

TEST(FC2AllocationTest, MemoryFollowsTheFilesContentNotItsClaims) {
  // Far above the bookkeeping of the templates a file holds, far below a full slot table for each.
  constexpr std::size_t kBytesPerFileByte = 64;
  const std::pair<std::uint32_t, FC2Codec::Result> cases[] = {{400, FC2Codec::Result::Ok},
                                                              {65535, FC2Codec::Result::Corrupted}};
  for (const auto& [claimed, result] : cases) {
    SCOPED_TRACE(claimed);
    const std::string image = OneEntryTemplates(claimed);
    FirmwareCompatibilityFile file;
    const std::size_t before = gLive.load();
    gPeak = before;
    EXPECT_EQ(FC2Codec::Decode(image, file), result);
    EXPECT_LT(gPeak.load() - before, kBytesPerFileByte * image.size());
  }
}

}  // namespace
}  // namespace quendrel
