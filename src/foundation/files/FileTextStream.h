#pragma once

// A text stream reading a file on disk; the file stays open until Close or destruction.

#include <memory>
#include <string>

#include "foundation/files/RegularFile.h"
#include "foundation/files/TextStream.h"

namespace quendrel {

class FileTextStream : public TextStream {
 public:
  // The file opened for reading, or nullptr when it is missing, unreadable or no regular file (a
  // folder, a device, a pipe: none of them is ever read or waited for).
  static std::unique_ptr<FileTextStream> Open(const std::string& path);

  // Only Open can make one: the tag keeps the constructor out of other hands.
  struct OpenTag {
    explicit OpenTag() = default;
  };
  FileTextStream(OpenTag, const std::string& path) : file_(path) {}

  std::string ReadAll() override;
  std::string ReadLine() override;
  std::string Read(int count) override;
  bool AtEndOfStream() const override;
  void Close() override;

 private:
  // The next byte without taking it; -1 at the end of the file.
  int Peek() const;
  int Take();

  // Peeking at the next byte refills the buffer but does not change what the stream will read.
  mutable RegularFile file_;
  mutable std::string buffer_;
  mutable std::size_t at_ = 0;
};

}  // namespace quendrel
