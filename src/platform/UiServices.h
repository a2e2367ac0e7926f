// The dialogs, beep and message pump every window and long operation needs from the desktop,
// behind one interface so that core classes run in tests without a display.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/CanvasFont.h"
#include "platform/CanvasImage.h"

namespace quendrel {

// Message box style bits: a button set plus an icon plus a default button.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbAbortRetryIgnore = 2;
inline constexpr int vbYesNoCancel = 3;
inline constexpr int vbYesNo = 4;
inline constexpr int vbRetryCancel = 5;
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
inline constexpr int vbDefaultButton1 = 0;
inline constexpr int vbDefaultButton2 = 256;
inline constexpr int vbDefaultButton3 = 512;

// The button a message box returns.
inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbAbort = 3;
inline constexpr int vbRetry = 4;
inline constexpr int vbIgnore = 5;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// Masks to take a style apart.
inline constexpr int vbButtonSetMask = 0x7;
inline constexpr int vbIconMask = 0x70;
inline constexpr int vbDefaultButtonMask = 0x300;

// File dialog flags callers pass on; the Qt side honours the ones listed here.
inline constexpr int cdlOFNOverwritePrompt = 0x2;
inline constexpr int cdlOFNHideReadOnly = 0x4;
inline constexpr int cdlOFNFileMustExist = 0x1000;

// Colour dialog flags: start on the given colour, open with the custom colour part shown,
// offer no custom part at all.
inline constexpr int cdlCCRGBInit = 0x1;
inline constexpr int cdlCCFullOpen = 0x2;
inline constexpr int cdlCCPreventFullOpen = 0x4;
inline constexpr int cdlCCHelpButton = 0x8;

// Font dialog flags: screen fonts, printer fonts (both together 0x3), and the effects part with
// underline, strikethrough and the text colour.
inline constexpr int cdlCFScreenFonts = 0x1;
inline constexpr int cdlCFPrinterFonts = 0x2;
inline constexpr int cdlCFBoth = 0x3;
inline constexpr int cdlCFEffects = 0x100;

// The buttons of a style's button set in screen order (1..3 of them).
int ButtonCount(int style);
int ButtonOfSet(int style, int position);
// The button Enter presses: the one the default-button bits choose, or the first.
int DefaultButton(int style);

// One open or save question. Filter is "description|pattern|description|pattern...", a
// pattern may list several globs separated by ";"; FilterIndex is 1-based.
struct FileDialogRequest {
  bool Save = false;
  std::string Filter;
  int FilterIndex = 1;
  std::string Title;
  std::string InitialName;
  int Flags = 0;
};

// A font as the font dialog shows it, with the colour the dialog's effects part offers.
struct FontDialogChoice {
  CanvasFont Font;
  std::uint32_t Color = 0;
};

// One item of a popup menu: a caption with its "&" key, or a separator; an item with a submenu
// opens it and is never chosen itself.
struct PopupMenuItem {
  int Id = 0;  // what the menu returns when this item is chosen; 0 for a separator
  std::string Caption;
  bool Checked = false;
  bool Default = false;  // shown bold
  std::vector<PopupMenuItem> Submenu;
};

// A point on the screen in pixels.
struct ScreenPoint {
  int X = 0;
  int Y = 0;
};

// A popup menu shown at a point of a control's canvas (twips), which the control maps to the
// screen; the menu's left or right edge lies there.
struct PopupMenuRequest {
  std::vector<PopupMenuItem> Items;
  float X = 0.0f;
  float Y = 0.0f;
  std::function<ScreenPoint(float x, float y)> ToScreen;
  bool RightAligned = false;
};

// Text encodings. Prompts and titles of every box and dialog are UTF-8, so that a path quoted in a
// message shows as the user named it; the program's own texts are ASCII and read the same either
// way, and a byte that is not part of a UTF-8 character shows as its Latin-1 character (a drive's
// or a file's text quoted in a message). Paths (a file dialog's initial name and answer) are the
// file system's bytes. What the user types or picks as a value (an input box's text, a popup
// menu's captions) is Latin-1, as in every control.
class UiServices {
 public:
  virtual ~UiServices() = default;

  // Modal message box; returns the button pressed (vbOK..vbNo).
  virtual int MsgBox(const std::string& prompt, int style, const std::string& title) = 0;

  // Message box that may offer a "Do not show this message again" tick. The tick is only
  // shown when offerOptOut is true; optedOut tells whether the user ticked it.
  virtual int OptOutBox(const std::string& prompt, int style, const std::string& title,
                        bool offerOptOut, bool& optedOut) = 0;

  // Modal single-line input; returns the text entered, or "" when cancelled.
  virtual std::string InputBox(const std::string& prompt, const std::string& title,
                               const std::string& defaultText) = 0;

  // Open or save dialog; returns the chosen path, or "" when cancelled.
  virtual std::string FileDialog(const FileDialogRequest& request) = 0;

  // Colour dialog starting from color (0x00BBGGRR); false when cancelled, color untouched.
  virtual bool ColorDialog(std::uint32_t& color, int flags) = 0;

  // Font dialog starting from choice; false when cancelled, choice untouched.
  virtual bool FontDialog(FontDialogChoice& choice, int flags) = 0;

  // Print dialog, then the picture printed at the page origin in its own size. The picture is
  // taken once the user has confirmed the dialog, never on Cancel, so that the page shows what the
  // window showed then (a scan goes on while the dialog is open). Tells a cancelled dialog from a
  // job that could not be printed.
  enum class PrintOutcome { Printed, Cancelled, Failed };
  virtual PrintOutcome PrintPicture(const std::function<CanvasImage()>& picture, bool landscape) = 0;

  // The same for a picture in hand; false when the user cancelled or the job failed.
  bool PrintImage(const CanvasImage& image, bool landscape) {
    return PrintPicture([&image] { return image; }, landscape) == PrintOutcome::Printed;
  }
  // A modal popup menu; the Id of the item chosen, or 0 when it closed without a choice.
  virtual int PopupMenu(const PopupMenuRequest& /*request*/) { return 0; }
  virtual void Beep() = 0;

  // Lets queued window events run, so a long operation keeps its window responsive.
  virtual void PumpMessages() = 0;
};

// The program's UiServices; a silent default answering every question with its default
// button until SetUi installs another. SetUi(nullptr) restores the silent default. The
// caller keeps ownership of what it installs.
UiServices& Ui();
void SetUi(UiServices* services);

}  // namespace quendrel
