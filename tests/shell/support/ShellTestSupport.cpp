#include "shell/support/ShellTestSupport.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/FakeClock.h"
#include "support/TestOutput.h"

namespace quendrel {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quendrel-shell-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void TempFolder::Write(const std::string& name, const std::string& content) const {
  std::ofstream(File(name), std::ios::binary) << content;
}

std::string TempFolder::Read(const std::string& name) const {
  std::ifstream in(File(name), std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string RenderOutputPath(const std::string& name) { return TestOutputPath("shell", name); }

udtDriveResponse CountingModule::Exchange(const DriveRequest&, double, bool) {
  ++exchanges;
  if (clock_ != nullptr) clock_->Advance(secondsPerExchange);
  udtDriveResponse response;
  response.driveID = 1;
  response.rawreply = std::string("\x01\x43\x00", 3);
  return response;
}

}  // namespace quendrel
