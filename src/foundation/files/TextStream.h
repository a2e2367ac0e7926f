#pragma once

// The reading side of a text stream, so built-in texts and disk files are read alike.

#include <string>

namespace quendrel {

class TextStream {
 public:
  virtual ~TextStream() = default;

  // Everything from the current position to the end.
  virtual std::string ReadAll() = 0;
  // The next line without its end; a line ends at CR LF, LF or a lone CR. The empty text at the
  // end of the stream.
  virtual std::string ReadLine() = 0;
  // The next `count` characters, fewer at the end of the stream.
  virtual std::string Read(int count) = 0;
  virtual bool AtEndOfStream() const = 0;
  // Releases the text; the stream then reads as ended.
  virtual void Close() = 0;
};

}  // namespace quendrel
