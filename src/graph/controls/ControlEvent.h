// The events the graph's small controls pass on to the window that holds them, with the key and
// mouse arguments that come with some of them.
#pragma once

namespace quendrel {

enum class ControlEvent { Changed, Click, DblClick, KeyDown, KeyPress, KeyUp, MouseDown, MouseMove, MouseUp };

// KeyCode is the key code for KeyDown and KeyUp and the character code for KeyPress; Button and
// Shift are the platform's bits (KeyCodes.h); X and Y are in twips.
struct ControlEventArgs {
  int KeyCode = 0;
  int Shift = 0;
  int Button = 0;
  float X = 0.0f;
  float Y = 0.0f;
};

}  // namespace quendrel
