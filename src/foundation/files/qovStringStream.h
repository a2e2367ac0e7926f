#pragma once

// A text stream over an in-memory string.

#include <cstddef>
#include <string>
#include <utility>

#include "foundation/files/TextStream.h"

namespace quendrel {

class qovStringStream : public TextStream {
 public:
  qovStringStream() = default;
  explicit qovStringStream(std::string data) : data_(std::move(data)) {}

  // Replaces the text and starts reading it from the beginning.
  void SetData(std::string data);

  std::string ReadAll() override;
  std::string ReadLine() override;
  std::string Read(int count) override;
  bool AtEndOfStream() const override { return position_ >= data_.size(); }
  void Close() override;

 private:
  std::string data_;
  std::size_t position_ = 0;
};

}  // namespace quendrel
