// Qt's keys, modifiers and mouse buttons as the codes and bits our controls report.
#pragma once

#include <Qt>

namespace quendrel {

// Letters and digits keep their codes; keys the controls never act on give 0.
int KeyCodeFromQt(int qtKey);
int ShiftStateFromQt(Qt::KeyboardModifiers modifiers);
int ButtonsFromQt(Qt::MouseButtons buttons);

}  // namespace quendrel
