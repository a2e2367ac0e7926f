#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "foundation/values/RuntimeError.h"
#include "foundation/values/Variant.h"

namespace quendrel {
namespace {

struct Ordered {
  Variant smaller;
  Variant larger;
  const char* what;
};

TEST(VariantTest, OrdersNumbersByValueAndTextsByBytes) {
  const Ordered cases[] = {
      {Variant(2), Variant(10), "integers by value, not as texts"},
      {Variant("10"), Variant("2"), "texts by characters"},
      {Variant(-1.5), Variant(std::int16_t{-1}), "double against int16"},
      {Variant(true), Variant(), "True is -1, Empty is 0"},
      {Variant(), Variant(0.5), "Empty as 0 against a number"},
      {Variant(), Variant("a"), "Empty as \"\" against a text"},
      {Variant(1e300), Variant("0"), "any number before any text"},
      {Variant("z"), Variant("\xE9"), "bytes above 127 after ASCII"},
      {Variant("ab"), Variant("abc"), "a prefix first"},
      {Variant("B"), Variant("a"), "upper case before lower case"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Variant::Compare(c.smaller, c.larger), -1) << c.what;
    EXPECT_EQ(Variant::Compare(c.larger, c.smaller), 1) << c.what;
  }
  EXPECT_EQ(Variant::Compare(Variant(), Variant("")), 0);
  EXPECT_EQ(Variant::Compare(Variant(3), Variant(3.0)), 0);
  EXPECT_EQ(Variant::Compare(Variant(false), Variant()), 0);
}

TEST(VariantTest, TextOfEveryKindIsLocaleFree) {
  EXPECT_EQ(Variant().AsText(), "");
  EXPECT_EQ(Variant(0.1 + 0.2).AsText(), "0.3");
  EXPECT_EQ(Variant(1e20).AsText(), "1E+20");
  EXPECT_EQ(Variant(std::int16_t{-32768}).AsText(), "-32768");
  EXPECT_EQ(Variant(2147483647).AsText(), "2147483647");
  EXPECT_EQ(Variant(true).AsText(), "True");
  EXPECT_EQ(Variant(std::string("a\0b", 3)).AsText(), std::string("a\0b", 3));
}

TEST(VariantTest, StringLiteralIsTextNotBoolean) {
  EXPECT_EQ(Variant("x").Type(), Variant::Kind::Text);
  EXPECT_EQ(Variant(std::int16_t{5}).Type(), Variant::Kind::Int16);
  EXPECT_EQ(Variant(5).Type(), Variant::Kind::Int32);
}

TEST(VariantTest, NumberOfTextAcceptsOnlyWholeNumberTexts) {
  EXPECT_DOUBLE_EQ(Variant(" 12.5 ").AsDouble(), 12.5);
  EXPECT_DOUBLE_EQ(Variant("&HFF").AsDouble(), 255);
  EXPECT_DOUBLE_EQ(Variant(true).AsDouble(), -1);
  EXPECT_THROW(Variant("12abc").AsDouble(), RuntimeError);
  EXPECT_THROW(Variant("").AsDouble(), RuntimeError);
}

TEST(VariantTest, ObjectsComeBackAsTheirOwnTypeOnly) {
  auto shared = std::make_shared<std::string>("template");
  const Variant held(shared);
  EXPECT_TRUE(held.IsObject());
  EXPECT_EQ(held.AsObject<std::string>(), shared);
  EXPECT_EQ(held.AsObject<int>(), nullptr);
  EXPECT_EQ(Variant(5).AsObject<std::string>(), nullptr);
  // The list holds objects by reference: the copy sees changes made through the original.
  *shared = "changed";
  EXPECT_EQ(*Variant(held).AsObject<std::string>(), "changed");
}

TEST(VariantTest, ObjectsAreEqualOnlyToThemselvesAndNeverOrdered) {
  const Variant a(std::make_shared<int>(1));
  const Variant b(std::make_shared<int>(1));
  EXPECT_TRUE(a == Variant(a));
  EXPECT_FALSE(a == b);
  EXPECT_FALSE(a == Variant());
  try {
    Variant::Compare(a, Variant(1));
    FAIL() << "comparing an object must raise";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), errTypeMismatch);
  }
  EXPECT_THROW(a.AsText(), RuntimeError);
}

}  // namespace
}  // namespace quendrel
