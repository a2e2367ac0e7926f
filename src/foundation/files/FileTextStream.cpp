#include "foundation/files/FileTextStream.h"

#include <algorithm>

namespace quendrel {

namespace {
constexpr std::uint64_t kChunk = 65536;
constexpr int kEnd = -1;
}  // namespace

std::unique_ptr<FileTextStream> FileTextStream::Open(const std::string& path) {
  auto stream = std::make_unique<FileTextStream>(OpenTag{}, path);
  if (!stream->file_.IsOpen()) return nullptr;
  return stream;
}

int FileTextStream::Peek() const {
  if (at_ == buffer_.size()) {
    buffer_ = file_.Read(kChunk).value_or(std::string());
    at_ = 0;
  }
  return at_ < buffer_.size() ? static_cast<unsigned char>(buffer_[at_]) : kEnd;
}

int FileTextStream::Take() {
  const int c = Peek();
  if (c != kEnd) ++at_;
  return c;
}

std::string FileTextStream::ReadAll() {
  std::string rest = buffer_.substr(at_);
  buffer_.clear();
  at_ = 0;
  rest += file_.Read(file_.Size()).value_or(std::string());
  // A file that grew since it was opened is read to its new end.
  for (;;) {
    const std::string more = file_.Read(kChunk).value_or(std::string());
    if (more.empty()) return rest;
    rest += more;
  }
}

std::string FileTextStream::ReadLine() {
  std::string line;
  for (int c = Take(); c != kEnd; c = Take()) {
    if (c == '\n') break;
    if (c == '\r') {
      if (Peek() == '\n') Take();
      break;
    }
    line.push_back(static_cast<char>(c));
  }
  return line;
}

std::string FileTextStream::Read(int count) {
  std::string piece;
  while (static_cast<int>(piece.size()) < count && Peek() != kEnd) {
    const std::size_t wanted = static_cast<std::size_t>(count) - piece.size();
    const std::size_t taken = std::min(wanted, buffer_.size() - at_);
    piece.append(buffer_, at_, taken);
    at_ += taken;
  }
  return piece;
}

bool FileTextStream::AtEndOfStream() const { return Peek() == kEnd; }

void FileTextStream::Close() {
  file_.Close();
  buffer_.clear();
  at_ = 0;
}

}  // namespace quendrel
