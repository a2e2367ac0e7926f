#include "foundation/files/BrowseForFile.h"

#include "platform/UiServices.h"

namespace quendrel {

namespace {

// Neither dialog offers the read-only tick: the program never opens a file read-only on request.
constexpr int OpenFlags = cdlOFNFileMustExist | cdlOFNHideReadOnly;
constexpr int SaveFlags = cdlOFNOverwritePrompt | cdlOFNHideReadOnly;

static_assert(OpenFlags == 4100 && SaveFlags == 6);

}  // namespace

std::string BrowseForFile(bool save, const std::string& filter, std::int16_t filterIndex,
                          const std::string& title, const std::string& initialName) {
  FileDialogRequest request;
  request.Save = save;
  request.Filter = filter;
  request.FilterIndex = filterIndex;
  request.Title = title;
  request.InitialName = initialName;
  request.Flags = save ? SaveFlags : OpenFlags;
  return Ui().FileDialog(request);
}

}  // namespace quendrel
