// Paths a reader must refuse at once, without blocking and without reading them into memory: a folder,
// a pipe nobody writes to, an endless device, a missing file and a huge sparse file.
#pragma once

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace quendrel::testing {

struct RefusedPath {
  std::string What;
  std::string Path;
  // The reader's reason after the path ("Unable to open <path>: <reason>.").
  std::string Reason;
};

// Made inside folder; the pipe's writer never comes, so a reader that opens it blocking hangs the test.
inline std::vector<RefusedPath> UnopenablePaths(const std::string& folder) {
  const std::string fifo = folder + "/pipe.KVB";
  ::mkfifo(fifo.c_str(), 0644);
  return {
      {"folder", folder, "it is a folder"},
      {"pipe", fifo, "it is a pipe, not a file"},
      {"endless device", "/dev/zero", "it is a device, not a file"},
      {"missing file", folder + "/missing.KVB", "it does not exist"},
  };
}

// A file of `size` bytes that starts with head and holds no disk blocks beyond it; "" when it could not
// be made.
inline std::string SparseFile(const std::string& path, std::uint64_t size, const std::string& head = "") {
  std::ofstream(path, std::ios::binary) << head;
  if (::truncate(path.c_str(), static_cast<off_t>(size)) != 0) return "";
  return path;
}

inline constexpr std::uint64_t kSixHundredMegabytes = 600ULL << 20;

// The most memory the test process has held so far, in KB.
inline long PeakMemoryKB() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace quendrel::testing
