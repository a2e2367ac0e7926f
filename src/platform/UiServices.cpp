#include "platform/UiServices.h"

#include <array>

namespace quendrel {
namespace {

constexpr std::array<std::array<int, 3>, 6> kButtonSets = {{
    {vbOK, 0, 0},
    {vbOK, vbCancel, 0},
    {vbAbort, vbRetry, vbIgnore},
    {vbYes, vbNo, vbCancel},
    {vbYes, vbNo, 0},
    {vbRetry, vbCancel, 0},
}};

int ButtonSet(int style) {
  const int set = style & vbButtonSetMask;
  return set < static_cast<int>(kButtonSets.size()) ? set : vbOKOnly;
}

// Answers every question as pressing Enter would, and shows nothing.
class SilentUi : public UiServices {
 public:
  int MsgBox(const std::string&, int style, const std::string&) override {
    return DefaultButton(style);
  }
  int OptOutBox(const std::string&, int style, const std::string&, bool,
                bool& optedOut) override {
    optedOut = false;
    return DefaultButton(style);
  }
  std::string InputBox(const std::string&, const std::string&,
                       const std::string& defaultText) override {
    return defaultText;
  }
  std::string FileDialog(const FileDialogRequest&) override { return {}; }
  bool ColorDialog(std::uint32_t&, int) override { return false; }
  bool FontDialog(FontDialogChoice&, int) override { return false; }
  PrintOutcome PrintPicture(const std::function<CanvasImage()>&, bool) override {
    return PrintOutcome::Cancelled;
  }
  void Beep() override {}
  void PumpMessages() override {}
};

SilentUi silentUi;
UiServices* installedUi = nullptr;

}  // namespace

int ButtonCount(int style) {
  const auto& set = kButtonSets[static_cast<std::size_t>(ButtonSet(style))];
  int count = 0;
  for (const int button : set) count += button != 0 ? 1 : 0;
  return count;
}

int ButtonOfSet(int style, int position) {
  if (position < 1 || position > ButtonCount(style)) return 0;
  return kButtonSets[static_cast<std::size_t>(ButtonSet(style))]
                    [static_cast<std::size_t>(position - 1)];
}

int DefaultButton(int style) {
  const int position = 1 + ((style & vbDefaultButtonMask) >> 8);
  const int button = ButtonOfSet(style, position);
  return button != 0 ? button : ButtonOfSet(style, 1);
}

UiServices& Ui() { return installedUi ? *installedUi : silentUi; }

void SetUi(UiServices* services) { installedUi = services; }

}  // namespace quendrel
