#include "foundation/values/qovArrayList.h"

#include <algorithm>
#include <cctype>
#include <numeric>

#include "foundation/values/RuntimeError.h"

namespace quendrel {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

std::size_t FindDelimiter(std::string_view text, std::string_view delimiter, std::size_t from,
                          bool ignoreCase) {
  if (!ignoreCase) return text.find(delimiter, from);
  for (std::size_t at = from; at + delimiter.size() <= text.size(); ++at) {
    if (SameIgnoringCase(text.substr(at, delimiter.size()), delimiter)) return at;
  }
  return std::string_view::npos;
}

std::vector<Variant> Permuted(const std::vector<Variant>& items,
                              const std::vector<std::size_t>& order) {
  std::vector<Variant> result;
  result.reserve(items.size());
  for (const std::size_t from : order) result.push_back(items[from]);
  return result;
}

}  // namespace

std::size_t qovArrayList::CheckedOffset(int index, int highest) const {
  if (index < 1 || index > highest) {
    throw RuntimeError(errSubscriptOutOfRange, "qovArrayList", "Array index out of bounds");
  }
  return static_cast<std::size_t>(index - 1);
}

Variant qovArrayList::Item(int index) const {
  if (index < 1) return {};
  return items_[CheckedOffset(index, Count())];
}

void qovArrayList::SetItem(int index, Variant value) {
  items_[CheckedOffset(index, Count())] = std::move(value);
}

void qovArrayList::append(Variant value) { items_.push_back(std::move(value)); }

void qovArrayList::Enqueue(Variant value) { items_.push_back(std::move(value)); }

void qovArrayList::Push(Variant value) { items_.push_back(std::move(value)); }

Variant qovArrayList::Dequeue() {
  if (items_.empty()) return {};
  Variant first = std::move(items_.front());
  items_.erase(items_.begin());
  return first;
}

Variant qovArrayList::Pop() {
  if (items_.empty()) return {};
  Variant last = std::move(items_.back());
  items_.pop_back();
  return last;
}

void qovArrayList::Insert(int index, Variant value) {
  const auto offset = CheckedOffset(index, Count() + 1);
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(offset), std::move(value));
}

void qovArrayList::Remove(int index) {
  const auto offset = CheckedOffset(index, Count());
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(offset));
}

void qovArrayList::RemoveAll() { items_.clear(); }

void qovArrayList::Split(std::string_view text, std::string_view delimiter, int limit,
                         int compare) {
  if (text.empty()) return;
  int pieces = 1;
  std::size_t start = 0;
  while (!delimiter.empty() && (limit <= 0 || pieces < limit)) {
    const auto at = FindDelimiter(text, delimiter, start, compare == 1);
    if (at == std::string_view::npos) break;
    items_.emplace_back(text.substr(start, at - start));
    start = at + delimiter.size();
    ++pieces;
  }
  items_.emplace_back(text.substr(start));
}

std::string qovArrayList::Join(std::string_view separator, int start, int count) const {
  const int first = std::max(start, 0);
  // Compared as what is left after first, since first + count may not fit an int.
  const int last = count > 0 && count < Count() - first ? first + count : Count();
  std::string joined;
  for (int i = first; i < last; ++i) {
    if (i > first) joined += separator;
    joined += items_[static_cast<std::size_t>(i)].AsText();
  }
  return joined;
}

void qovArrayList::Sort(bool descending, qovArrayList* sortby) {
  const bool inStep = sortby != nullptr && sortby != this && sortby->Count() >= Count();
  const std::vector<Variant>& keys = inStep ? sortby->items_ : items_;

  std::vector<std::size_t> order(items_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  // Sorting positions rather than values leaves both lists untouched if a key raises.
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const int relation = Variant::Compare(keys[a], keys[b]);
    return descending ? relation > 0 : relation < 0;
  });

  items_ = Permuted(items_, order);
  if (!inStep) return;
  // Keys beyond this list's length have no partner and stay where they are.
  auto sortedKeys = Permuted(sortby->items_, order);
  std::move(sortedKeys.begin(), sortedKeys.end(), sortby->items_.begin());
}

}  // namespace quendrel
