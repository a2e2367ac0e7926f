// Crash-safe replacement of a whole file: at every moment the target holds its old or its new contents.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quendrel {

struct ReplaceFileResult {
  bool Replaced = false;
  // Why the file was not replaced, in words for the caller's message ("the folder ... does not exist");
  // empty when it was.
  std::string Reason;

  explicit operator bool() const { return Replaced; }
};

// Hands the new contents to the file piece by piece; false when a piece could not be written.
using FileByteSink = std::function<bool(std::string_view bytes)>;
// Produces the new contents through the sink; false abandons the save.
using FileContentWriter = std::function<bool(const FileByteSink& sink)>;

// Writes the contents to a temporary file of a unique name in the target's folder, flushes it to disk,
// gives it the old file's permissions and renames it over the target. A target reached through symbolic
// links is the file the last link names, replaced in that file's folder: the links stay links. The
// temporary name keeps within the folder's name limit, however long the target's name is. A target or
// folder the user may not write is refused before anything is written, as the rename would otherwise
// replace a read-only file. On any failure the old file is untouched and the temporary file is gone.
ReplaceFileResult ReplaceFile(const std::string& path, const FileContentWriter& write);
ReplaceFileResult ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace quendrel
