// The state of the tree's child controls (scroll bars, corner frame, canvas, editors) that
// the core computes and a widget mirrors.
#pragma once

#include <string>
#include <vector>

namespace quendrel {

// Position and size in twips within the control.
struct TreeRect {
  float Left = 0.0f;
  float Top = 0.0f;
  float Width = 0.0f;
  float Height = 0.0f;
};

struct TreeScrollBar {
  TreeRect Place;
  bool Visible = false;
  bool Enabled = false;
  int Min = 0;
  int Max = 0;
  int Value = 0;
  int SmallChange = 1;
  int LargeChange = 1;
};

struct TreeEditorState {
  bool TextShown = false;
  std::string Text;
  TreeRect TextPlace{0.0f, 0.0f, 1695.0f, 315.0f};

  bool ListShown = false;
  // Item i carries the value i.
  std::vector<std::string> Items;
  int ListIndex = -1;
  TreeRect ListPlace{0.0f, 0.0f, 1695.0f, 315.0f};
};

}  // namespace quendrel
