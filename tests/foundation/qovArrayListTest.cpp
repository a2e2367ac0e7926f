#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "foundation/values/RuntimeError.h"
#include "foundation/values/qovArrayList.h"

namespace quendrel {
namespace {

qovArrayList ListOf(std::initializer_list<Variant> values) {
  qovArrayList list;
  for (const auto& value : values) list.append(value);
  return list;
}

std::vector<std::string> Texts(const qovArrayList& list) {
  std::vector<std::string> texts;
  for (int i = 1; i <= list.Count(); ++i) texts.push_back(list.Item(i).AsText());
  return texts;
}

using Strings = std::vector<std::string>;

TEST(qovArrayListTest, ItemIsOneBasedAndBelowOneReadsEmpty) {
  qovArrayList list = ListOf({"a", "b"});
  EXPECT_EQ(list.Item(1).AsText(), "a");
  EXPECT_EQ(list.Item(2).AsText(), "b");
  EXPECT_TRUE(list.Item(0).IsEmpty());
  list.SetItem(2, 7);
  EXPECT_EQ(Texts(list), (Strings{"a", "7"}));
}

TEST(qovArrayListTest, IndexBeyondCountRaisesOutOfBounds) {
  qovArrayList list = ListOf({1, 2});
  const auto expectOutOfBounds = [](auto&& operation, const char* what) {
    try {
      operation();
      ADD_FAILURE() << what << " did not raise";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Description(), "Array index out of bounds") << what;
      EXPECT_EQ(error.Source(), "qovArrayList") << what;
    }
  };
  expectOutOfBounds([&] { list.Item(3); }, "Item(3)");
  expectOutOfBounds([&] { list.SetItem(3, 0); }, "SetItem(3)");
  expectOutOfBounds([&] { list.SetItem(0, 0); }, "SetItem(0)");
  expectOutOfBounds([&] { list.Insert(4, 0); }, "Insert(4)");
  expectOutOfBounds([&] { list.Remove(3); }, "Remove(3)");
  expectOutOfBounds([&] { qovArrayList().Item(1); }, "Item(1) of an empty list");
  EXPECT_EQ(list.Count(), 2);
}

TEST(qovArrayListTest, InsertAndRemoveShiftLaterElements) {
  qovArrayList list = ListOf({"a", "c"});
  list.Insert(2, "b");
  list.Insert(1, "start");
  list.Insert(5, "end");
  EXPECT_EQ(Texts(list), (Strings{"start", "a", "b", "c", "end"}));
  list.Remove(1);
  list.Remove(3);
  EXPECT_EQ(Texts(list), (Strings{"a", "b", "end"}));
  list.RemoveAll();
  EXPECT_EQ(list.Count(), 0);
}

TEST(qovArrayListTest, QueueTakesFromFrontAndStackFromBack) {
  qovArrayList list;
  list.Enqueue(1);
  list.Push(2);
  list.append(3);
  EXPECT_EQ(list.Dequeue().AsText(), "1");
  EXPECT_EQ(list.Pop().AsText(), "3");
  EXPECT_EQ(list.Pop().AsText(), "2");
  EXPECT_TRUE(list.Pop().IsEmpty());
  EXPECT_TRUE(list.Dequeue().IsEmpty());
  EXPECT_EQ(list.Count(), 0);
}

TEST(qovArrayListTest, SplitAppendsEveryPieceIncludingEmptyOnes) {
  struct Case {
    std::string text;
    std::string delimiter;
    int limit;
    int compare;
    Strings pieces;
  };
  const Case cases[] = {
      {"a,b,c", ",", 0, 0, {"a", "b", "c"}},
      {",a,,b,", ",", 0, 0, {"", "a", "", "b", ""}},
      {"", ",", 0, 0, {}},
      {",", ",", 0, 0, {"", ""}},
      {"a<>b<>c", "<>", 0, 0, {"a", "b", "c"}},
      {"a\tb", "", 0, 0, {"a\tb"}},
      {"a,b,c,d", ",", 2, 0, {"a", "b,c,d"}},
      {"xANDyandz", "and", 0, 1, {"x", "y", "z"}},
      {"xANDyandz", "and", 0, 0, {"xANDy", "z"}},
  };
  for (const auto& c : cases) {
    qovArrayList list = ListOf({"kept"});
    list.Split(c.text, c.delimiter, c.limit, c.compare);
    Strings expected{"kept"};
    expected.insert(expected.end(), c.pieces.begin(), c.pieces.end());
    EXPECT_EQ(Texts(list), expected)
        << "splitting \"" << c.text << "\" at \"" << c.delimiter << '"';
  }
}

TEST(qovArrayListTest, JoinSkipsTheFirstStartElements) {
  const qovArrayList list = ListOf({"cmd", 1, 2.5, true, ""});
  EXPECT_EQ(list.Join(" "), "cmd 1 2.5 True ");
  EXPECT_EQ(list.Join(",", 1, 0), "1,2.5,True,");
  EXPECT_EQ(list.Join(",", 1, 2), "1,2.5");
  EXPECT_EQ(list.Join(",", 9, 0), "");
  EXPECT_EQ(qovArrayList().Join(","), "");
  // A count meaning "all the rest" must not overflow when added to the start.
  EXPECT_EQ(list.Join(",", 3, INT_MAX), "True,");
  EXPECT_EQ(list.Join(",", INT_MAX, INT_MAX), "");
}

TEST(qovArrayListTest, SortByOwnElements) {
  qovArrayList numbers = ListOf({10, 2, 33, -1, 2.5});
  numbers.Sort();
  EXPECT_EQ(Texts(numbers), (Strings{"-1", "2", "2.5", "10", "33"}));
  numbers.Sort(true);
  EXPECT_EQ(Texts(numbers), (Strings{"33", "10", "2.5", "2", "-1"}));

  qovArrayList mixed = ListOf({"b", 5, "A", Variant(), "a"});
  mixed.Sort();
  EXPECT_EQ(Texts(mixed), (Strings{"", "5", "A", "a", "b"}));
}

TEST(qovArrayListTest, SortExchangesSortbyInStep) {
  qovArrayList names = ListOf({"speed", "torque", "current", "voltage"});
  qovArrayList times = ListOf({3.5, 1.0, 2.25, 1.0});
  names.Sort(false, &times);
  EXPECT_EQ(Texts(names), (Strings{"torque", "voltage", "current", "speed"}));
  EXPECT_EQ(Texts(times), (Strings{"1", "1", "2.25", "3.5"}));

  names.Sort(true, &times);
  EXPECT_EQ(Texts(names), (Strings{"speed", "current", "torque", "voltage"}));
  EXPECT_EQ(Texts(times), (Strings{"3.5", "2.25", "1", "1"}));
}

TEST(qovArrayListTest, LongerSortbyKeepsItsExtraElementsAndAShorterOneIsIgnored) {
  qovArrayList list = ListOf({"x", "y"});
  qovArrayList longer = ListOf({2, 1, 0});
  list.Sort(false, &longer);
  EXPECT_EQ(Texts(list), (Strings{"y", "x"}));
  EXPECT_EQ(Texts(longer), (Strings{"1", "2", "0"}));

  list = ListOf({3, 1, 2});
  qovArrayList shorter = ListOf({"c", "a"});
  list.Sort(false, &shorter);
  EXPECT_EQ(Texts(list), (Strings{"1", "2", "3"}));
  EXPECT_EQ(Texts(shorter), (Strings{"c", "a"}));

  list.Sort(true, &list);
  EXPECT_EQ(Texts(list), (Strings{"3", "2", "1"}));
}

TEST(qovArrayListTest, ObjectsSortedByKeysStayTheSameObjects) {
  auto first = std::make_shared<std::string>("first");
  auto second = std::make_shared<std::string>("second");
  qovArrayList objects = ListOf({first, second});
  qovArrayList keys = ListOf({9, 4});
  objects.Sort(false, &keys);
  EXPECT_EQ(objects.Item(1).AsObject<std::string>(), second);
  EXPECT_EQ(objects.Item(2).AsObject<std::string>(), first);
}

TEST(qovArrayListTest, SortingByObjectsRaisesAndLeavesBothListsAlone) {
  qovArrayList objects = ListOf({std::make_shared<int>(2), std::make_shared<int>(1)});
  const void* firstBefore = objects.Item(1).ObjectAddress();
  EXPECT_THROW(objects.Sort(), RuntimeError);
  EXPECT_EQ(objects.Item(1).ObjectAddress(), firstBefore);
  EXPECT_EQ(objects.Count(), 2);
}

}  // namespace
}  // namespace quendrel
