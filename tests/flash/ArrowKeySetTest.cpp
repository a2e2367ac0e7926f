#include "flash/language/ArrowKeySet.h"

#include <gtest/gtest.h>

namespace quendrel {
namespace {

using Key = ArrowKeySet::Key;

// Keys that differ in one field only are different arrows; the set must keep every one of them
// through its growth, and forget them all when cleared.
TEST(ArrowKeySet, TellsArrowsApartByEveryFieldThroughGrowthAndClearing) {
  ArrowKeySet set;
  for (int i = 0; i < 5000; ++i) {
    const Key keys[] = {{i, 0, 0, 0}, {0, i + 1, 0, 0}, {0, 0, i + 1, 0}, {0, 0, 0, i + 1}};
    for (const Key& key : keys) {
      ASSERT_TRUE(set.Insert(key)) << key.pole << " " << key.rule << " " << key.dot << " " << key.length;
    }
  }
  EXPECT_EQ(set.Size(), 20000u);
  for (int i = 0; i < 5000; i += 7) {
    EXPECT_FALSE(set.Insert(Key{0, 0, i + 1, 0})) << "dot " << i + 1;
    EXPECT_FALSE(set.Insert(Key{i, 0, 0, 0})) << "pole " << i;
  }
  set.Clear();
  EXPECT_EQ(set.Size(), 0u);
  EXPECT_TRUE(set.Insert(Key{3, 0, 0, 0}));
}

}  // namespace
}  // namespace quendrel
