#include "shell/support/ShellTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/FakeClock.h"

#include <gtest/gtest.h>

namespace quendrel {

namespace {

QApplication*& Application() {
  static QApplication* application = nullptr;
  return application;
}

// The application ends after the last test and before static destruction: Qt makes some of its
// own statics after the application (the mouse device on the first mouse event), which are gone
// by the time a static application would end, and an application never ended leaves font
// library memory behind.
class ApplicationTeardown : public ::testing::Environment {
 public:
  void TearDown() override {
    delete Application();
    Application() = nullptr;
  }
};

[[maybe_unused]] const ::testing::Environment* const kTeardown =
    ::testing::AddGlobalTestEnvironment(new ApplicationTeardown);

}  // namespace

QApplication& ShellTestApp() {
  static TempFolder home;
  static int argc = 1;
  static char name[] = "quendrel-shell-test";
  static char* argv[] = {name, nullptr};
  static const bool privateFolders = [] {
    std::filesystem::create_directories(home.File("runtime"));
    std::filesystem::permissions(home.File("runtime"), std::filesystem::perms::owner_all);
    setenv("XDG_CONFIG_HOME", home.File("config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", home.File("runtime").c_str(), 1);
    return true;
  }();
  static_cast<void>(privateFolders);
  if (Application() == nullptr) Application() = new QApplication(argc, argv);
  return *Application();
}

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

std::string RenderOutputPath(const std::string& name) {
  const char* root = std::getenv("QUENDREL_TEST_OUTPUT");
  const std::filesystem::path folder =
      std::filesystem::path(root != nullptr ? root : std::filesystem::temp_directory_path().string()) / "shell";
  std::filesystem::create_directories(folder);
  return (folder / name).string();
}

udtDriveResponse CountingModule::Exchange(const DriveRequest&, double, bool) {
  ++exchanges;
  if (clock_ != nullptr) clock_->Advance(secondsPerExchange);
  udtDriveResponse response;
  response.driveID = 1;
  response.rawreply = std::string("\x01\x43\x00", 3);
  return response;
}

}  // namespace quendrel
