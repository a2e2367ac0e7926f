#pragma once

// A text stream reading a file on disk; the file stays open until Close or destruction.

#include <fstream>
#include <memory>
#include <string>

#include "foundation/TextStream.h"

namespace quendrel {

class FileTextStream : public TextStream {
 public:
  // The file opened for reading, or nullptr when it is missing, a folder or unreadable.
  static std::unique_ptr<FileTextStream> Open(const std::string& path);

  // Only Open can make one: the tag keeps the constructor out of other hands.
  struct OpenTag {
    explicit OpenTag() = default;
  };
  explicit FileTextStream(OpenTag) {}

  std::string ReadAll() override;
  std::string ReadLine() override;
  std::string Read(int count) override;
  bool AtEndOfStream() const override;
  void Close() override { file_.close(); }

 private:
  // Peeking at the next byte changes the buffer but not what the stream will read.
  mutable std::filebuf file_;
};

}  // namespace quendrel
