#include "support/QtTestApp.h"

#include <stdlib.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "support/TempFolder.h"

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
    const std::filesystem::path& path = folder_.Path();
    std::filesystem::create_directories(path / "runtime");
    std::filesystem::permissions(path / "runtime", std::filesystem::perms::owner_all);
    setenv("XDG_CONFIG_HOME", (path / "config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (path / "runtime").c_str(), 1);
  }

 private:
  TempFolder folder_;
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
