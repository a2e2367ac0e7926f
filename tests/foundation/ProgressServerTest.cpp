#include "foundation/progress/ProgressServer.h"

#include "foundation/support/ProgressFakes.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace quendrel {
namespace {

using testing::FakeBar;
using testing::FakeClient;
using testing::FakeIndicator;
using testing::FakeLabel;
using testing::FakeSlider;
using testing::FakeTextBar;
using testing::FakeTextBox;

// A window with one full control set, as the drive flash and online editor windows register.
struct FullWindow {
  std::shared_ptr<FakeBar> bar = std::make_shared<FakeBar>();
  std::shared_ptr<FakeTextBar> textBar = std::make_shared<FakeTextBar>("Firmware Progress");
  std::shared_ptr<FakeSlider> slider = std::make_shared<FakeSlider>();
  std::shared_ptr<FakeLabel> statusLabel = std::make_shared<FakeLabel>();
  std::shared_ptr<FakeTextBox> statusBox = std::make_shared<FakeTextBox>();
  std::shared_ptr<FakeLabel> detailLabel = std::make_shared<FakeLabel>();
  std::shared_ptr<FakeTextBox> detailBox = std::make_shared<FakeTextBox>();

  void RegisterPrimary(ProgressServer& server, std::int32_t min, std::int32_t max,
                       std::int32_t progress) const {
    server.SetupPrimary(bar, textBar, slider, statusLabel, statusBox, detailLabel, detailBox, min,
                        max, progress);
  }
};

struct PositionCase {
  std::int32_t min;
  std::int32_t max;
  std::int32_t progress;
  std::int32_t shownMin;
  std::int32_t shownMax;
  std::int32_t shownValue;
  const char* barText;
};

class ProgressPositionTest : public ::testing::TestWithParam<PositionCase> {};

TEST_P(ProgressPositionTest, ClampsTheShownPositionAndWritesThePercentage) {
  const PositionCase& c = GetParam();
  ProgressServer server;
  const FullWindow window;
  window.RegisterPrimary(server, 0, 100, 0);
  server.SetProgressTextType(ProgressServer::TextTypePercent);
  server.SetPrefix("Uploading... ");

  server.SetMin(c.min);
  server.SetMax(c.max);
  server.SetProgress(c.progress);

  for (const auto& [min, max, value] :
       {std::tuple{window.bar->min, window.bar->max, window.bar->value},
        std::tuple{window.textBar->min, window.textBar->max, window.textBar->value},
        std::tuple{window.slider->min, window.slider->max, window.slider->value}}) {
    EXPECT_EQ(min, c.shownMin);
    EXPECT_EQ(max, c.shownMax);
    EXPECT_EQ(value, c.shownValue);
  }
  EXPECT_EQ(window.textBar->text, c.barText);
  EXPECT_TRUE(window.textBar->painted);
  EXPECT_EQ(server.Min(), c.min);
  EXPECT_EQ(server.Max(), c.max);
  EXPECT_EQ(server.Progress(), c.progress);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, ProgressPositionTest,
    ::testing::Values(PositionCase{0, 2099, 0, 0, 2099, 0, "Uploading... 0%"},
                      PositionCase{0, 2099, 2099, 0, 2099, 2099, "Uploading... 100%"},
                      // 99.95% is not done yet.
                      PositionCase{0, 2099, 2098, 0, 2099, 2098, "Uploading... 99%"},
                      PositionCase{1, 11, 6, 1, 11, 6, "Uploading... 50%"},
                      PositionCase{0, 100, 150, 0, 100, 100, "Uploading... 100%"},
                      PositionCase{0, 100, -5, 0, 100, 0, "Uploading... 0%"},
                      PositionCase{1, 40, 0, 1, 40, 1, "Uploading... 0%"},
                      PositionCase{5, 5, 5, 5, 5, 5, "Uploading... 0%"},
                      PositionCase{10, 0, 3, 10, 10, 10, "Uploading... 0%"},
                      PositionCase{0, 2147483647, 2147483647, 0, 2147483647, 2147483647,
                                   "Uploading... 100%"}),
    [](const ::testing::TestParamInfo<PositionCase>& info) {
      const PositionCase& c = info.param;
      return CaseName(info.index, std::to_string(c.progress) + " of " + std::to_string(c.min) + " to " +
                                      std::to_string(c.max));
    });

TEST(ProgressServerTest, SetupAndTextTypeNoneNeverWriteTheBarText) {
  ProgressServer server;
  const FullWindow window;
  window.RegisterPrimary(server, 0, 100, 7);
  EXPECT_EQ(window.bar->value, 7);
  EXPECT_EQ(window.slider->max, 100);
  EXPECT_TRUE(window.textBar->painted);
  server.SetPrefix("Uploading...");
  server.SetProgressTextType(ProgressServer::TextTypeNone);
  server.SetProgress(40);
  server.SetMax(80);
  EXPECT_EQ(window.textBar->text, "Firmware Progress");
  EXPECT_EQ(window.textBar->value, 40);

  server.SetProgressTextType(7);
  server.SetProgress(60);
  EXPECT_EQ(window.textBar->text, "Firmware Progress");
}

TEST(ProgressServerTest, StatusAndDetailReachTheirLabelAndTextBoxAndRepaint) {
  ProgressServer server;
  const FullWindow window;
  window.RegisterPrimary(server, 0, 100, 0);
  server.SetPrefix("Uploading...");

  server.SetStatus("Uploading Data");
  server.SetDetail("Error 12");

  EXPECT_EQ(window.statusLabel->caption, "Uploading Data");
  EXPECT_EQ(window.statusBox->text, "Uploading Data");
  EXPECT_EQ(window.detailLabel->caption, "Error 12");
  EXPECT_EQ(window.detailBox->text, "Error 12");
  for (const bool painted : {window.statusLabel->painted, window.statusBox->painted,
                             window.detailLabel->painted, window.detailBox->painted})
    EXPECT_TRUE(painted);
}

// The firmware upgrade wizard: primary bar with a fixed text, alternate bar for one file, both sets
// sharing the status label.
struct WizardWindow {
  std::shared_ptr<FakeTextBar> mainBar = std::make_shared<FakeTextBar>("Firmware Progress");
  std::shared_ptr<FakeTextBar> fileBar = std::make_shared<FakeTextBar>("File Progress");
  std::shared_ptr<FakeLabel> status = std::make_shared<FakeLabel>();
  std::shared_ptr<FakeClient> client = std::make_shared<FakeClient>();

  explicit WizardWindow(ProgressServer& server) {
    server.SetClient(client);
    server.SetupPrimary(nullptr, mainBar, nullptr, status, nullptr, nullptr, nullptr, 0, 40, 0);
    server.SetupSecondary(nullptr, fileBar, nullptr, status, nullptr, nullptr, nullptr, 0, 100, 0);
    fileBar->visible = false;
  }
};

TEST(ProgressServerTest, SwappedRoutesEveryCallToTheAlternateSetAndBack) {
  ProgressServer server;
  const WizardWindow window(server);
  server.SetProgress(12);

  server.SetSwapped(true);
  server.SetMax(2099);
  server.SetProgress(0);
  server.SetPrefix("Uploading...");
  server.SetProgressTextType(ProgressServer::TextTypePercent);
  server.SetProgress(2099);
  server.SetStatus("Uploading Data");
  EXPECT_EQ(server.tpbProgress(), window.fileBar);
  EXPECT_EQ(window.fileBar->max, 2099);
  EXPECT_EQ(window.fileBar->text, "Uploading...100%");
  EXPECT_EQ(window.mainBar->max, 40);
  EXPECT_EQ(window.mainBar->value, 12);
  EXPECT_EQ(window.status->caption, "Uploading Data");

  server.SetSwapped(false);
  EXPECT_EQ(server.tpbProgress(), window.mainBar);
  EXPECT_EQ(server.Max(), 40);
  EXPECT_EQ(server.Progress(), 12);
  server.SetProgress(13);
  EXPECT_EQ(window.mainBar->text, "Firmware Progress");
  EXPECT_EQ(window.fileBar->value, 2099);
}

TEST(ProgressServerTest, ShowAndHideAlternateLeaveSharedControlsVisible) {
  ProgressServer server;
  const WizardWindow window(server);

  server.ShowAlternate();
  EXPECT_TRUE(window.fileBar->visible);
  EXPECT_TRUE(window.fileBar->painted);
  EXPECT_EQ(window.client->refreshes, 1);

  server.HideAlternate();
  EXPECT_FALSE(window.fileBar->visible);
  EXPECT_TRUE(window.fileBar->painted);
  EXPECT_TRUE(window.status->visible);
  EXPECT_EQ(window.client->refreshes, 2);
}

TEST(ProgressServerTest, TextboxDetailIsThePrimaryDetailBoxEvenWhileSwapped) {
  ProgressServer server;
  EXPECT_EQ(server.TextboxDetail(), nullptr);

  const auto command = std::make_shared<FakeTextBox>();
  const auto data = std::make_shared<FakeTextBox>();
  const auto subBar = std::make_shared<FakeTextBar>();
  server.SetupSecondary(nullptr, subBar, nullptr, nullptr, data, nullptr, nullptr, 0, 100, 0);
  EXPECT_EQ(server.TextboxDetail(), nullptr);

  server.SetupPrimary(nullptr, std::make_shared<FakeTextBar>(), nullptr, nullptr, command, nullptr,
                      data, 0, 100, 0);
  server.SetSwapped(true);
  server.HideAlternate();
  EXPECT_EQ(server.TextboxDetail(), data);
  EXPECT_TRUE(data->visible);
  EXPECT_FALSE(subBar->visible);
}

TEST(ProgressServerTest, GreenAndRedPaintTheIndicatorBackground) {
  ProgressServer server;
  const auto indicator = std::make_shared<FakeIndicator>();
  server.SetLabelIndicator(indicator);

  server.Green();
  EXPECT_EQ(indicator->backColor, 0x00FF00u);
  EXPECT_TRUE(indicator->painted);
  server.Red();
  EXPECT_EQ(indicator->backColor, 0x0000FFu);
  EXPECT_TRUE(indicator->painted);
}

TEST(ProgressServerTest, AControlDestroyedMidOperationOrNeverGivenCountsAsAbsent) {
  ProgressServer server;
  auto window = std::make_unique<FullWindow>();
  auto client = std::make_shared<FakeClient>();
  auto indicator = std::make_shared<FakeIndicator>();
  window->RegisterPrimary(server, 0, 100, 0);
  server.SetupSecondary(window->bar, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 1, 0);
  server.SetClient(client);
  server.SetLabelIndicator(indicator);

  window.reset();
  client.reset();
  indicator.reset();

  server.SetProgressTextType(ProgressServer::TextTypePercent);
  server.SetProgress(50);
  server.SetStatus("Upload Complete");
  server.SetDetail("");
  server.Green();
  server.ShowAlternate();
  server.SetSwapped(true);
  server.SetProgress(3);
  server.HideAlternate();
  EXPECT_EQ(server.tpbProgress(), nullptr);
  EXPECT_EQ(server.TextboxDetail(), nullptr);
  EXPECT_EQ(server.Client(), nullptr);
  EXPECT_EQ(server.Progress(), 3);
}

}  // namespace
}  // namespace quendrel
