#include "foundation/files/qovStringStream.h"

#include <algorithm>
#include <utility>

namespace quendrel {

void qovStringStream::SetData(std::string data) {
  data_ = std::move(data);
  position_ = 0;
}

std::string qovStringStream::ReadAll() {
  if (AtEndOfStream()) return {};
  std::string rest = data_.substr(position_);
  position_ = data_.size();
  return rest;
}

std::string qovStringStream::ReadLine() {
  if (AtEndOfStream()) return {};
  const auto end = std::min(data_.find_first_of("\r\n", position_), data_.size());
  std::string line = data_.substr(position_, end - position_);
  position_ = end;
  if (AtEndOfStream()) return line;
  const bool carriageReturn = data_[position_] == '\r';
  ++position_;
  if (carriageReturn && !AtEndOfStream() && data_[position_] == '\n') ++position_;
  return line;
}

std::string qovStringStream::Read(int count) {
  if (count <= 0 || AtEndOfStream()) return {};
  std::string piece = data_.substr(position_, static_cast<std::size_t>(count));
  position_ += piece.size();
  return piece;
}

void qovStringStream::Close() {
  data_.clear();
  position_ = 0;
}

}  // namespace quendrel
