#include "foundation/FileTextStream.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

namespace quendrel {

namespace {
constexpr auto kEnd = std::filebuf::traits_type::eof();
}  // namespace

std::unique_ptr<FileTextStream> FileTextStream::Open(const std::string& path) {
  std::error_code error;
  // A folder opens without complaint here but fails on the first read.
  if (std::filesystem::is_directory(path, error)) return nullptr;
  auto stream = std::make_unique<FileTextStream>(OpenTag{});
  if (stream->file_.open(path, std::ios::in | std::ios::binary) == nullptr) return nullptr;
  return stream;
}

std::string FileTextStream::ReadAll() {
  std::string rest;
  std::array<char, 65536> chunk{};
  for (;;) {
    const auto got = file_.sgetn(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    if (got <= 0) return rest;
    rest.append(chunk.data(), static_cast<std::size_t>(got));
  }
}

std::string FileTextStream::ReadLine() {
  std::string line;
  for (auto c = file_.sbumpc(); c != kEnd; c = file_.sbumpc()) {
    if (c == '\n') break;
    if (c == '\r') {
      if (file_.sgetc() == '\n') file_.sbumpc();
      break;
    }
    line.push_back(static_cast<char>(c));
  }
  return line;
}

std::string FileTextStream::Read(int count) {
  if (count <= 0) return {};
  std::string piece(static_cast<std::size_t>(count), '\0');
  const auto got = file_.sgetn(piece.data(), count);
  piece.resize(static_cast<std::size_t>(std::max<std::streamsize>(got, 0)));
  return piece;
}

bool FileTextStream::AtEndOfStream() const { return file_.sgetc() == kEnd; }

}  // namespace quendrel
