#pragma once

// The general 1-based list of values of any kind, also used as a stack and as a queue.

#include <string>
#include <string_view>
#include <vector>

#include "foundation/values/Variant.h"

namespace quendrel {

class qovArrayList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }

  // An index below 1 reads the empty value; above Count raises "Array index out of bounds".
  Variant Item(int index) const;
  // Replaces the element at 1..Count; any other index raises "Array index out of bounds".
  void SetItem(int index, Variant value);

  void append(Variant value);
  void Enqueue(Variant value);
  void Push(Variant value);
  // Takes the first element; the empty value when the list is empty.
  Variant Dequeue();
  // Takes the last element; the empty value when the list is empty.
  Variant Pop();

  // The new element takes `index` (1..Count + 1); later elements move up by one.
  void Insert(int index, Variant value);
  // Later elements move down by one.
  void Remove(int index);
  void RemoveAll();

  // Appends every piece of `text` between occurrences of `delimiter` as text, empty pieces
  // included; an empty text appends nothing. `limit` above 0 caps the number of pieces (the last
  // keeps the rest of the text); `compare` 1 matches the delimiter ignoring letter case.
  void Split(std::string_view text, std::string_view delimiter, int limit = 0, int compare = 0);
  // The texts of the elements after the first `start` ones, `count` of them (0: all the rest),
  // joined with `separator`.
  std::string Join(std::string_view separator, int start = 0, int count = 0) const;

  // Orders the list ascending (or descending) by the elements of `sortby`, exchanging those in
  // step so position i of both lists still belongs together. When `sortby` is null, this list
  // or shorter than this list, the list is sorted by its own elements. Equal keys keep their
  // order. Raises a type mismatch when a key is an object.
  void Sort(bool descending = false, qovArrayList* sortby = nullptr);

 private:
  std::size_t CheckedOffset(int index, int highest) const;

  std::vector<Variant> items_;
};

}  // namespace quendrel
