#include "foundation/files/OpenTextSource.h"

#include "foundation/files/FileTextStream.h"
#include "foundation/files/qovStringStream.h"
#include "resources/BuiltInText.h"

namespace quendrel {

namespace {

std::unique_ptr<TextStream> OpenResource(int resource) {
  auto text = BuiltInText(resource);
  if (!text) return nullptr;
  return std::make_unique<qovStringStream>(std::move(*text));
}

std::unique_ptr<TextStream> OpenFile(const std::string& fileName) {
  if (fileName.empty()) return nullptr;
  return FileTextStream::Open(fileName);
}

}  // namespace

std::unique_ptr<TextStream> OpenTextSource(int resource, const std::string& fileName,
                                           ORFFlags mode) {
  switch (mode) {
    case orfResourceForkOnly:
      return OpenResource(resource);
    case orfFileOnly:
      return OpenFile(fileName);
    case orfFileThenResource:
      if (auto file = OpenFile(fileName)) return file;
      return OpenResource(resource);
  }
  return nullptr;
}

}  // namespace quendrel
