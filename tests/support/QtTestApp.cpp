#include "support/QtTestApp.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

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

class PrivateHome {
 public:
  PrivateHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quendrel-qt-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
    std::filesystem::create_directories(path_ / "runtime");
    std::filesystem::permissions(path_ / "runtime", std::filesystem::perms::owner_all);
    setenv("XDG_CONFIG_HOME", (path_ / "config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (path_ / "runtime").c_str(), 1);
  }
  ~PrivateHome() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  PrivateHome(const PrivateHome&) = delete;
  PrivateHome& operator=(const PrivateHome&) = delete;

 private:
  std::filesystem::path path_;
};

}  // namespace

QApplication& QtTestApp() {
  static PrivateHome home;
  static int argc = 1;
  static char name[] = "quendrel-test";
  static char* argv[] = {name, nullptr};
  if (Application() == nullptr) Application() = new QApplication(argc, argv);
  return *Application();
}

}  // namespace quendrel
